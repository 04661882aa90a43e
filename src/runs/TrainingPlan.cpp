#include "runs/TrainingPlan.h"

#include <algorithm>
#include <charconv>
#include <unordered_set>

#include "platform/Clock.h"
#include "platform/Random.h"
#include "common/TextUtilities.h"
#include "i18n/LanguageState.h"
#include "i18n/StringIds.h"
#include "settings/SettingsTable.h"
#include "collections/Collection.h"

namespace tavlix {

namespace {

constexpr int kLargestTypedNumber = 999999999;

struct PlanFlag {
    const FlagSetting* setting;
    bool TrainingPlan::*field;
};
constexpr PlanFlag kPlanFlags[] = {
    {&setting::kPlanStandardRule, &TrainingPlan::standardRule},
    {&setting::kPlanJqk, &TrainingPlan::jqkEnabled},
    {&setting::kPlanFullSet, &TrainingPlan::fullSet},
    {&setting::kPlanReviewSet, &TrainingPlan::reviewSet},
    {&setting::kPlanTroubleMakers, &TrainingPlan::useTroubleMakers},
    {&setting::kPlanMyFavorites, &TrainingPlan::useMyFavorites},
    {&setting::kPlanWithSolution, &TrainingPlan::withSolution},
    {&setting::kPlanWithoutSolution, &TrainingPlan::withoutSolution},
    {&setting::kPlanFullRange, &TrainingPlan::fullRange},
    {&setting::kPlanStartBounded, &TrainingPlan::startBounded},
    {&setting::kPlanEndBounded, &TrainingPlan::endBounded},
    {&setting::kPlanRandom, &TrainingPlan::random},
    {&setting::kPlanAscending, &TrainingPlan::ascending},
    {&setting::kPlanTimeLimitOn, &TrainingPlan::timeLimitOn},
};

Configuration AllOf(unsigned n) { return {n, n, n, n}; }

void RaiseToPrevious(Configuration& numbers)
{
    for (std::size_t i = 1; i < numbers.size(); ++i)
        numbers[i] = std::max(numbers[i], numbers[i - 1]);
}

bool IsWithin(const Configuration& numbers, unsigned maximum)
{
    return std::ranges::all_of(numbers, [maximum](unsigned n) { return n >= 1 && n <= maximum; });
}

// The loading checks: a start number that does not fit follows the one before it; an
// end that does not fit is the whole range's end.
void CheckLoadedRange(TrainingPlan& plan)
{
    const unsigned maximum = plan.Maximum();
    Configuration& start = plan.start;
    if (start[0] < 1 || start[0] > maximum)
        start[0] = 1;
    for (std::size_t i = 1; i < start.size(); ++i)
        if (start[i] < start[i - 1] || start[i] > maximum)
            start[i] = start[i - 1];
    if (plan.end[0] < start[0] || !std::ranges::is_sorted(plan.end) || plan.end[3] > maximum)
        plan.end = AllOf(maximum);
}

// The minutes a plan loads with: too few for the questions (under one minute per ten)
// give one minute per question.
int CheckedMinutes(std::uint32_t stored, int questionCount)
{
    const int minutes = int(stored);
    return minutes < questionCount / 10 ? questionCount : minutes;
}

// The range as it is stored: a start or end with a number outside 1..max is dropped
// for the default, and each number is at least the one before it.
RangeValues CleanedRange(const TrainingPlan& plan)
{
    const unsigned maximum = plan.Maximum();
    RangeValues range{plan.start, plan.end};
    if (!IsWithin(range.start, maximum))
        range.start = AllOf(1);
    if (range.end[0] < range.start[0] || !IsWithin(range.end, maximum))
        range.end = AllOf(maximum);
    RaiseToPrevious(range.start);
    RaiseToPrevious(range.end);
    return range;
}

std::string Text(const Configuration& c) { return CBMUtilities::FormatQuestion(c[0], c[1], c[2], c[3]); }

// Configurations compare as CompareQuestionText orders their texts: number by number.
bool InRange(const Configuration& c, const Configuration& from, const Configuration& to)
{
    return from <= c && c <= to;
}

StringArray FullSetCandidates(unsigned maximum, const Configuration& from, const Configuration& to)
{
    StringArray candidates;
    for (unsigned a = 1; a <= maximum; ++a)
        for (unsigned b = a; b <= maximum; ++b)
            for (unsigned c = b; c <= maximum; ++c)
                for (unsigned d = c; d <= maximum; ++d)
                    if (InRange({a, b, c, d}, from, to))
                        candidates.push_back(Text({a, b, c, d}));
    return candidates;
}

// A collection keeps questions as they were typed ("8 3 3 1"); the plan works with
// their sorted form, so that the range, the no-solution lists and the merging of the
// two collections all see one text per configuration.
std::optional<Configuration> ReadConfiguration(std::string_view question, unsigned maximum)
{
    NumberArray numbers;
    if (!CBMUtilities::GetQuestionFromString(question, numbers, kLargestNumber))
        return std::nullopt;
    Configuration c{numbers[0], numbers[1], numbers[2], numbers[3]};
    std::ranges::sort(c);
    if (c[3] > maximum)
        return std::nullopt;
    return c;
}

// One text per configuration, in ascending order.
StringArray AscendingTexts(std::vector<Configuration> found)
{
    std::ranges::sort(found);
    found.erase(std::unique(found.begin(), found.end()), found.end());
    StringArray candidates;
    candidates.reserve(found.size());
    for (const Configuration& c : found)
        candidates.push_back(Text(c));
    return candidates;
}

StringArray CollectionCandidates(const TrainingPlan& plan, const Collection& troubleMakers,
                                 const Collection& myFavorites)
{
    const Configuration from = plan.EffectiveStart();
    const Configuration to = plan.EffectiveEnd();
    std::vector<Configuration> found;
    const auto gather = [&](const Collection& collection) {
        for (const CollectionItem& item : collection.Items()) {
            const auto c = ReadConfiguration(item.question, plan.Maximum());
            if (c && InRange(*c, from, to))
                found.push_back(*c);
        }
    };
    if (plan.useTroubleMakers)
        gather(troubleMakers);
    if (plan.useMyFavorites)
        gather(myFavorites);
    return AscendingTexts(std::move(found));
}

StringArray ReviewCandidates(const TrainingPlan& plan, std::span<const ReviewItem> dueForReview)
{
    const Configuration from = plan.EffectiveStart();
    const Configuration to = plan.EffectiveEnd();
    std::vector<Configuration> found;
    for (const ReviewItem& item : dueForReview) {
        if (item.standardRule != plan.standardRule || item.jqk != plan.jqkEnabled)
            continue;
        const auto c = ReadConfiguration(item.question, plan.Maximum());
        if (c && InRange(*c, from, to))
            found.push_back(*c);
    }
    return AscendingTexts(std::move(found));
}

// With both kinds chosen (or, as a stored plan may say, neither) every candidate stays.
void ApplySolutionFilter(StringArray& candidates, const TrainingPlan& plan)
{
    if (plan.withSolution == plan.withoutSolution)
        return;
    StringArray list;
    CBMUtilities::LoadNoSolutionList(plan.standardRule, plan.jqkEnabled, list);
    const std::unordered_set<std::string> unsolvable(list.begin(), list.end());
    std::erase_if(candidates, [&](const std::string& question) {
        return unsolvable.contains(question) == plan.withSolution;
    });
}

void ApplyTechniqueFilter(StringArray& candidates, const TrainingPlan& plan, std::optional<Technique> weakest)
{
    if (plan.technique == kAnyTechnique)
        return;
    const Rules rules = Rules::Of(plan.standardRule, plan.jqkEnabled);
    std::erase_if(candidates, [&](const std::string& text) {
        NumberArray question;
        CBMUtilities::GetQuestionFromString(text, question, rules.maximum);
        return !KeepsQuestion(plan.technique, LookUpQuestionNeeds(question, rules), weakest);
    });
}

std::string TakeAt(StringArray& list, std::size_t index)
{
    std::string taken = std::move(list[index]);
    list.erase(list.begin() + std::ptrdiff_t(index));
    return taken;
}

std::string TakeRandom(StringArray& list, RandomSource& random)
{
    return TakeAt(list, random.Next() % list.size());
}

std::optional<unsigned> ListNumber(const std::string& text)
{
    unsigned value = 0;
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(text.data(), last, value);
    if (error != std::errc() || end != last || std::to_string(value) != text)
        return std::nullopt;
    return value;
}

// Each number at least the one before it, and the end not before the start.
bool IsInOrder(const RangeValues& values)
{
    return std::ranges::is_sorted(values.start) && std::ranges::is_sorted(values.end) && values.end >= values.start;
}

}  // namespace

std::optional<int> ReadTypedNumber(std::string_view text)
{
    const std::string_view digits = TrimCharacters(text, " \t");
    if (digits.empty() || !std::ranges::all_of(digits, [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    std::int64_t value = 0;
    for (const char c : digits)
        value = std::min<std::int64_t>(value * 10 + (c - '0'), kLargestTypedNumber);
    return int(value);
}

std::string TypedNumberPrompt(std::string_view text, int low, int high, const LanguageState& language)
{
    const std::optional<int> number = ReadTypedNumber(text);
    if (!number)
        return language.GetLocalizedString(IDS_DIALOG_PROMPT_POSITIVE_INTEGER);
    if (*number < low || *number > high)
        return language.GetLocalizedString(IDS_DIALOG_PROMPT_INTEGER_BETWEEN, std::to_string(low),
                                           std::to_string(high));
    return {};
}

int TrainingPlan::TimeLimitSeconds() const { return !training && timeLimitOn ? minutes * 60 : -1; }

Configuration TrainingPlan::EffectiveStart() const
{
    return !fullRange && startBounded ? start : AllOf(1);
}

Configuration TrainingPlan::EffectiveEnd() const
{
    return !fullRange && endBounded ? end : AllOf(Maximum());
}

TrainingPlan LoadTrainingPlan(const Profile& profile, bool training)
{
    const SettingParts ofPlan{TrainingPlanSection(training)};
    TrainingPlan plan;
    plan.training = training;
    for (const auto& [flag, field] : kPlanFlags)
        plan.*field = ReadSetting(profile, *flag, ofPlan);
    plan.timeLimitOn = plan.timeLimitOn && !training;

    plan.difficultyLevel = int(ReadSetting(profile, setting::kPlanDifficulty, ofPlan));
    plan.questionCount = int(ReadSetting(profile, setting::kPlanQuestionCount, ofPlan));
    plan.minutes = CheckedMinutes(
        ReadSetting(profile, setting::kPlanMinutes, std::uint32_t(plan.questionCount), ofPlan), plan.questionCount);
    plan.technique = int(ReadSetting(profile, setting::kPlanTechnique, ofPlan));

    for (std::size_t i = 0; i < 4; ++i) {
        const std::string place = std::to_string(i + 1);
        const SettingParts number{ofPlan.first, place};
        plan.start[i] = ReadSetting(profile, setting::kPlanRangeStart, number);
        plan.end[i] = ReadSetting(profile, setting::kPlanRangeEnd, plan.Maximum(), number);
    }
    CheckLoadedRange(plan);
    return plan;
}

void StoreTrainingPlan(Profile& profile, const TrainingPlan& plan)
{
    const SettingParts ofPlan{TrainingPlanSection(plan.training)};
    for (const auto& [flag, field] : kPlanFlags)
        WriteSetting(profile, *flag, plan.*field, ofPlan);
    WriteSetting(profile, setting::kPlanDifficulty, std::uint32_t(plan.difficultyLevel), ofPlan);
    WriteSetting(profile, setting::kPlanQuestionCount, std::uint32_t(plan.questionCount), ofPlan);
    WriteSetting(profile, setting::kPlanMinutes, std::uint32_t(plan.minutes), ofPlan);
    WriteSetting(profile, setting::kPlanTechnique, std::uint32_t(plan.technique), ofPlan);
    const RangeValues range = CleanedRange(plan);
    for (std::size_t i = 0; i < 4; ++i) {
        const std::string place = std::to_string(i + 1);
        const SettingParts number{ofPlan.first, place};
        WriteSetting(profile, setting::kPlanRangeStart, range.start[i], number);
        WriteSetting(profile, setting::kPlanRangeEnd, range.end[i], number);
    }
}

StringArray BuildCandidates(const TrainingPlan& plan, const Collection& troubleMakers,
                            const Collection& myFavorites, std::span<const ReviewItem> dueForReview,
                            std::optional<Technique> weakestTechnique)
{
    StringArray candidates = plan.reviewSet ? ReviewCandidates(plan, dueForReview)
                             : plan.fullSet
                                 ? FullSetCandidates(plan.Maximum(), plan.EffectiveStart(), plan.EffectiveEnd())
                                 : CollectionCandidates(plan, troubleMakers, myFavorites);
    ApplySolutionFilter(candidates, plan);
    ApplyTechniqueFilter(candidates, plan, weakestTechnique);
    return candidates;
}

StringArray ChooseQuestions(StringArray candidates, const TrainingPlan& plan, RandomSource& random,
                            const Clock& clock)
{
    const std::size_t wanted = std::size_t(std::max(plan.questionCount, 0));
    if (plan.random)
        random.Seed(static_cast<std::uint32_t>(clock.Now()));

    StringArray chosen;
    if (candidates.size() <= wanted) {
        chosen = std::move(candidates);
    } else if (plan.random) {
        while (chosen.size() < wanted)
            chosen.push_back(TakeRandom(candidates, random));
    } else {
        const auto first = plan.ascending ? candidates.begin() : candidates.end() - std::ptrdiff_t(wanted);
        chosen.assign(std::make_move_iterator(first), std::make_move_iterator(first + std::ptrdiff_t(wanted)));
    }

    if (plan.random) {
        StringArray ordered;
        ordered.reserve(chosen.size());
        while (!chosen.empty())
            ordered.push_back(TakeRandom(chosen, random));
        return ordered;
    }
    if (!plan.ascending)
        std::ranges::reverse(chosen);
    return chosen;
}

std::optional<RangeValues> NormalizeRangeLists(const TrainingPlan& plan,
                                               const std::array<std::string, 8>& listTexts, bool rebuild)
{
    const RangeValues whole{AllOf(1), AllOf(plan.Maximum())};
    RangeValues values;
    for (std::size_t i = 0; i < listTexts.size(); ++i) {
        const std::optional<unsigned> number = ListNumber(listTexts[i]);
        if (!number)
            return whole;
        (i < 4 ? values.start[i] : values.end[i - 4]) = *number;
    }
    const bool fits = plan.fullRange ? values == whole
                                     : IsWithin(values.start, plan.Maximum()) && IsWithin(values.end, plan.Maximum());
    if (!fits)
        return whole;
    if (IsInOrder(values) && !rebuild)
        return std::nullopt;

    if (!plan.startBounded)
        values.start = whole.start;
    if (!plan.endBounded)
        values.end = whole.end;
    RaiseToPrevious(values.start);
    values.end[0] = std::max(values.end[0], values.start[0]);
    // While the end begins like the start, it may not fall behind it.
    for (std::size_t i = 1; i < 4 && values.end[i - 1] == values.start[i - 1]; ++i)
        values.end[i] = std::max(values.end[i], values.start[i]);
    RaiseToPrevious(values.end);
    return values;
}

unsigned RangeListLowerBound(const RangeValues& values, std::size_t index)
{
    if (index == 0)
        return 1;
    if (index < 4)
        return values.start[index - 1];
    return index == 4 ? values.start[0] : values.end[index - 5];
}

}  // namespace tavlix
