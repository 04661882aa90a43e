#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "runs/TrainingPlan.h"
#include "collections/Collection.h"
#include "i18n/LanguageState.h"
#include "platform/Clock.h"
#include "platform/InMemoryProfileStore.h"
#include "platform/Random.h"
#include "settings/Profile.h"

namespace tavlix {
namespace {

// Hands out the scripted numbers in turn and notes every seed.
class ScriptedRandom : public RandomSource {
public:
    explicit ScriptedRandom(std::vector<std::uint32_t> numbers) : m_numbers(std::move(numbers)) {}
    void Seed(std::uint32_t seed) override { seeds.push_back(seed); }
    std::uint32_t Next() override { return m_numbers[m_next++ % m_numbers.size()]; }
    std::vector<std::uint32_t> seeds;

private:
    std::vector<std::uint32_t> m_numbers;
    std::size_t m_next = 0;
};

Collection MakeCollection(bool myFavorites, std::initializer_list<const char*> questions)
{
    Collection collection(myFavorites);
    for (const char* q : questions)
        collection.Items().push_back({q, {}, "note"});
    return collection;
}

const Collection kNoItems(false);

// Table rows are named after their case.
template <typename Case>
std::string CaseName(const ::testing::TestParamInfo<Case>& row)
{
    return row.param.name;
}

StringArray Candidates(const TrainingPlan& plan, const Collection& troubleMakers = kNoItems,
                       const Collection& myFavorites = kNoItems)
{
    return BuildCandidates(plan, troubleMakers, myFavorites);
}

TrainingPlan WithinRange(Configuration start, Configuration end, bool jqk = false)
{
    TrainingPlan plan;
    plan.jqkEnabled = jqk;
    plan.fullRange = false;
    plan.startBounded = plan.endBounded = true;
    plan.start = start;
    plan.end = end;
    return plan;
}

class TrainingPlanSettingsTest : public ::testing::Test {
protected:
    TrainingPlan Load(bool training = false) { return LoadTrainingPlan(m_profile, training); }
    void Write(std::string_view name, std::uint32_t value, bool training = false)
    {
        m_store.WriteInt(training ? "Training" : "Training Game", name, value);
    }
    std::uint32_t Stored(std::string_view name, bool training = false)
    {
        return m_profile.GetProfileInt(training ? "Training" : "Training Game", name, 12345);
    }

    InMemoryProfileStore m_store;
    Profile m_profile{m_store};
};

TEST_F(TrainingPlanSettingsTest, FreshSettingsGiveTheDefaultPlan)
{
    const TrainingPlan game = Load(false);
    EXPECT_FALSE(game.training);
    EXPECT_TRUE(game.standardRule);
    EXPECT_FALSE(game.jqkEnabled);
    EXPECT_EQ(game.difficultyLevel, 1);
    EXPECT_TRUE(game.fullSet);
    EXPECT_TRUE(game.useTroubleMakers && game.useMyFavorites);
    EXPECT_TRUE(game.withSolution && game.withoutSolution);
    EXPECT_TRUE(game.fullRange);
    EXPECT_FALSE(game.startBounded || game.endBounded);
    EXPECT_EQ(game.start, (Configuration{1, 1, 1, 1}));
    EXPECT_EQ(game.end, (Configuration{10, 10, 10, 10}));
    EXPECT_TRUE(game.random);
    EXPECT_TRUE(game.ascending);
    EXPECT_TRUE(game.timeLimitOn);
    EXPECT_EQ(game.questionCount, 40);
    EXPECT_EQ(game.minutes, 40);
    EXPECT_EQ(game.TimeLimitSeconds(), 2400);

    const TrainingPlan training = Load(true);
    EXPECT_TRUE(training.training);
    EXPECT_FALSE(training.timeLimitOn);
    EXPECT_EQ(training.TimeLimitSeconds(), -1);
}

TEST_F(TrainingPlanSettingsTest, EachModeHasItsOwnSection)
{
    Write("Question Count", 7, true);
    EXPECT_EQ(Load(true).questionCount, 7);
    EXPECT_EQ(Load(false).questionCount, 40);
}

struct MinutesCase {
    const char* name;
    std::uint32_t count;
    std::uint32_t minutes;
    int loaded;
};

class MinutesLoadingTest : public TrainingPlanSettingsTest, public ::testing::WithParamInterface<MinutesCase> {};

TEST_P(MinutesLoadingTest, LoadsAsTheRuleSays)
{
    Write("Question Count", GetParam().count);
    Write("Minutes", GetParam().minutes);
    EXPECT_EQ(Load().minutes, GetParam().loaded);
}

INSTANTIATE_TEST_SUITE_P(Table, MinutesLoadingTest,
    ::testing::Values(MinutesCase{"BelowATenthOfTheCount", 40, 3, 40},
                      MinutesCase{"ATenthOfTheCount", 40, 4, 4},
                      MinutesCase{"Zero", 40, 0, 40},
                      MinutesCase{"NegativeAsStored", 40, 0xFFFFFFFFu, 40},
                      MinutesCase{"OneForFewQuestions", 5, 1, 1},
                      MinutesCase{"TheDialogsLargest", 40, 900, 900},
                      MinutesCase{"AboveTheDialogsLargest", 40, 901, 40},
                      MinutesCase{"FollowsTheCheckedCount", 501, 3, 40}),
    CaseName<MinutesCase>);

TEST_F(TrainingPlanSettingsTest, MissingMinutesFollowTheQuestionCount)
{
    Write("Question Count", 120);
    EXPECT_EQ(Load().minutes, 120);
}

struct ValueCase {
    const char* name;
    const char* entry;
    std::uint32_t stored;
    int loaded;
    int TrainingPlan::*field;
};

class CountAndLevelTest : public TrainingPlanSettingsTest, public ::testing::WithParamInterface<ValueCase> {};

TEST_P(CountAndLevelTest, OutOfRangeTakesTheDefault)
{
    Write(GetParam().entry, GetParam().stored);
    EXPECT_EQ(Load().*GetParam().field, GetParam().loaded);
}

INSTANTIATE_TEST_SUITE_P(Table, CountAndLevelTest,
    ::testing::Values(ValueCase{"CountZero", "Question Count", 0, 40, &TrainingPlan::questionCount},
                      ValueCase{"CountOne", "Question Count", 1, 1, &TrainingPlan::questionCount},
                      ValueCase{"CountLargest", "Question Count", 500, 500, &TrainingPlan::questionCount},
                      ValueCase{"CountTooLarge", "Question Count", 501, 40, &TrainingPlan::questionCount},
                      ValueCase{"CountNegative", "Question Count", 0xFFFFFFFFu, 40, &TrainingPlan::questionCount},
                      ValueCase{"LevelZero", "Difficulty Level", 0, 1, &TrainingPlan::difficultyLevel},
                      ValueCase{"LevelUltimate", "Difficulty Level", 4, 4, &TrainingPlan::difficultyLevel},
                      ValueCase{"LevelFive", "Difficulty Level", 5, 1, &TrainingPlan::difficultyLevel}),
    CaseName<ValueCase>);

TEST_F(TrainingPlanSettingsTest, FlagsReadNonZeroOrExactlyOne)
{
    Write("Standard", 7);
    Write("Full Set", 0);
    Write("JQK", 2);
    Write("Data Range Start", 1);
    Write("Data Range End", 3);
    const TrainingPlan plan = Load();
    EXPECT_TRUE(plan.standardRule);
    EXPECT_FALSE(plan.fullSet);
    EXPECT_FALSE(plan.jqkEnabled);
    EXPECT_TRUE(plan.startBounded);
    EXPECT_FALSE(plan.endBounded);
    Write("JQK", 1);
    EXPECT_TRUE(Load().jqkEnabled);
    Write("Time", 1, true);
    EXPECT_FALSE(Load(true).timeLimitOn);
}

struct RangeCase {
    const char* name;
    bool jqk;
    Configuration storedStart;
    Configuration storedEnd;
    Configuration start;
    Configuration end;
};

class RangeLoadingTest : public TrainingPlanSettingsTest, public ::testing::WithParamInterface<RangeCase> {};

TEST_P(RangeLoadingTest, StartThenEndAreChecked)
{
    const RangeCase& c = GetParam();
    Write("JQK", c.jqk ? 1 : 0);
    const char* starts[] = {"Start 1", "Start 2", "Start 3", "Start 4"};
    const char* ends[] = {"End 1", "End 2", "End 3", "End 4"};
    for (std::size_t i = 0; i < 4; ++i) {
        Write(starts[i], c.storedStart[i]);
        Write(ends[i], c.storedEnd[i]);
    }
    const TrainingPlan plan = Load();
    EXPECT_EQ(plan.start, c.start);
    EXPECT_EQ(plan.end, c.end);
}

INSTANTIATE_TEST_SUITE_P(Table, RangeLoadingTest,
    ::testing::Values(
        RangeCase{"InOrderStays", false, {2, 3, 4, 5}, {6, 6, 7, 8}, {2, 3, 4, 5}, {6, 6, 7, 8}},
        RangeCase{"StartOneZero", false, {0, 5, 5, 5}, {9, 9, 9, 9}, {1, 5, 5, 5}, {9, 9, 9, 9}},
        RangeCase{"StartOneAboveMax", false, {11, 11, 11, 11}, {10, 10, 10, 10}, {1, 1, 1, 1}, {10, 10, 10, 10}},
        RangeCase{"StartFollowsTheOneBefore", false, {3, 2, 12, 4}, {10, 10, 10, 10}, {3, 3, 3, 4}, {10, 10, 10, 10}},
        RangeCase{"EndBeforeStartOne", false, {3, 3, 3, 3}, {2, 9, 9, 9}, {3, 3, 3, 3}, {10, 10, 10, 10}},
        RangeCase{"EndOutOfOrder", false, {1, 1, 1, 1}, {5, 4, 9, 9}, {1, 1, 1, 1}, {10, 10, 10, 10}},
        RangeCase{"EndAboveMax", false, {1, 1, 1, 1}, {5, 5, 5, 11}, {1, 1, 1, 1}, {10, 10, 10, 10}},
        RangeCase{"ThirteenWithJqk", true, {13, 13, 13, 13}, {13, 13, 13, 13}, {13, 13, 13, 13}, {13, 13, 13, 13}},
        RangeCase{"HugeValues", true, {0xFFFFFFFFu, 7, 7, 7}, {0xFFFFFFFFu, 1, 1, 1}, {1, 7, 7, 7}, {13, 13, 13, 13}}),
    CaseName<RangeCase>);

TEST_F(TrainingPlanSettingsTest, GarbageValuesLoadAsMissing)
{
    for (const char* name : {"Standard", "JQK", "Difficulty Level", "Full Range", "Start 1", "End 4",
                             "Question Count", "Minutes", "Randomly"})
        m_store.WriteString("Training Game", name, "garbage");
    TrainingPlan expected;
    expected.training = false;
    EXPECT_EQ(Load(), expected);
}

TEST_F(TrainingPlanSettingsTest, StoredPlanLoadsBack)
{
    TrainingPlan plan = WithinRange({2, 3, 3, 4}, {9, 12, 12, 13}, true);
    plan.training = false;
    plan.standardRule = false;
    plan.difficultyLevel = 3;
    plan.fullSet = false;
    plan.useTroubleMakers = false;
    plan.withoutSolution = false;
    plan.random = false;
    plan.ascending = false;
    plan.timeLimitOn = false;
    plan.questionCount = 77;
    plan.minutes = 15;
    StoreTrainingPlan(m_profile, plan);
    EXPECT_EQ(Load(), plan);
    EXPECT_EQ(Stored("JQK"), 1u);
    EXPECT_EQ(Stored("Standard"), 0u);
    EXPECT_EQ(Stored("Start 2"), 3u);
    EXPECT_EQ(Stored("End 1"), 9u);
}

TEST_F(TrainingPlanSettingsTest, StoringCleansUpTheRange)
{
    TrainingPlan plan = WithinRange({0, 4, 4, 4}, {6, 5, 9, 8});
    StoreTrainingPlan(m_profile, plan);
    // A start number outside 1..max drops the start; each end number follows the last.
    EXPECT_EQ(Stored("Start 1", true), 1u);
    EXPECT_EQ(Stored("Start 4", true), 1u);
    EXPECT_EQ(Stored("End 2", true), 6u);
    EXPECT_EQ(Stored("End 4", true), 9u);

    plan.start = {5, 3, 3, 7};
    plan.end = {4, 11, 11, 11};
    StoreTrainingPlan(m_profile, plan);
    EXPECT_EQ(Stored("Start 2", true), 5u);
    EXPECT_EQ(Stored("Start 4", true), 7u);
    EXPECT_EQ(Stored("End 1", true), 10u);
    EXPECT_EQ(Stored("End 4", true), 10u);
}

TEST_F(TrainingPlanSettingsTest, CountAndMinutesAreStoredAsGiven)
{
    TrainingPlan plan;
    plan.training = false;
    plan.questionCount = 3;
    plan.minutes = 2000;
    StoreTrainingPlan(m_profile, plan);
    EXPECT_EQ(Stored("Question Count"), 3u);
    EXPECT_EQ(Stored("Minutes"), 2000u);
    EXPECT_EQ(Load().questionCount, 3);
    EXPECT_EQ(Load().minutes, 3);
}

TEST(TrainingPlanTest, FullSetCountsEveryConfiguration)
{
    TrainingPlan plan;
    EXPECT_EQ(Candidates(plan).size(), 715u);
    plan.jqkEnabled = true;
    EXPECT_EQ(Candidates(plan).size(), 1820u);
    const StringArray all = Candidates(plan);
    EXPECT_EQ(all.front(), "1 1 1 1");
    EXPECT_EQ(all.back(), "13 13 13 13");
    EXPECT_TRUE(std::is_sorted(all.begin(), all.end(), [](const std::string& a, const std::string& b) {
        return CBMUtilities::CompareQuestionText(b, a);
    }));
}

struct FilterCase {
    const char* name;
    bool standardRule;
    bool jqk;
    std::size_t withSolutionOnly;
    std::size_t withoutSolutionOnly;
};

class SolutionFilterTest : public ::testing::TestWithParam<FilterCase> {};

TEST_P(SolutionFilterTest, CountsOfEachKind)
{
    TrainingPlan plan;
    plan.standardRule = GetParam().standardRule;
    plan.jqkEnabled = GetParam().jqk;
    plan.withoutSolution = false;
    const StringArray solvable = Candidates(plan);
    EXPECT_EQ(solvable.size(), GetParam().withSolutionOnly);
    plan.withoutSolution = true;
    plan.withSolution = false;
    const StringArray unsolvable = Candidates(plan);
    EXPECT_EQ(unsolvable.size(), GetParam().withoutSolutionOnly);
    EXPECT_EQ(unsolvable.front(), "1 1 1 1");
    for (const std::string& q : unsolvable)
        EXPECT_EQ(std::find(solvable.begin(), solvable.end(), q), solvable.end()) << q;
}

INSTANTIATE_TEST_SUITE_P(Table, SolutionFilterTest,
    ::testing::Values(FilterCase{"StandardTen", true, false, 566, 149},
                      FilterCase{"StandardThirteen", true, true, 1362, 458},
                      FilterCase{"AdvancedTen", false, false, 595, 120},
                      FilterCase{"AdvancedThirteen", false, true, 1430, 390}),
    CaseName<FilterCase>);

TEST(TrainingPlanTest, StartEqualToEndGivesThatOneQuestion)
{
    EXPECT_EQ(Candidates(WithinRange({5, 5, 5, 5}, {5, 5, 5, 5})), StringArray{"5 5 5 5"});
}

TEST(TrainingPlanTest, RangeHoldsEveryConfigurationFromStartToEnd)
{
    const StringArray range = Candidates(WithinRange({1, 1, 9, 10}, {1, 2, 2, 3}));
    EXPECT_EQ(range, (StringArray{"1 1 9 10", "1 1 10 10", "1 2 2 2", "1 2 2 3"}));
    EXPECT_EQ(Candidates(WithinRange({1, 1, 1, 1}, {13, 13, 13, 13}, true)).size(), 1820u);
}

TEST(TrainingPlanTest, OnlyTheChosenBoundsCount)
{
    TrainingPlan plan = WithinRange({10, 10, 10, 10}, {1, 1, 1, 2});
    plan.fullRange = true;
    EXPECT_EQ(Candidates(plan).size(), 715u);
    plan.fullRange = false;
    plan.startBounded = false;
    EXPECT_EQ(Candidates(plan), (StringArray{"1 1 1 1", "1 1 1 2"}));
    plan.startBounded = true;
    plan.endBounded = false;
    EXPECT_EQ(Candidates(plan), StringArray{"10 10 10 10"});
    // Switching J/Q/K on widens an unbounded end with it.
    plan.jqkEnabled = true;
    EXPECT_EQ(Candidates(plan).back(), "13 13 13 13");
}

TEST(TrainingPlanTest, AStartAfterTheEndGivesNothing)
{
    EXPECT_TRUE(Candidates(WithinRange({5, 6, 6, 6}, {5, 5, 5, 9})).empty());
}

TEST(TrainingPlanTest, CollectionQuestionsAreMergedSortedAndCountedOnce)
{
    TrainingPlan plan;
    plan.fullSet = false;
    const Collection troubleMakers = MakeCollection(false, {"3 3 8 8", "1 2 3 4", "not a question", "8 3 3 1"});
    const Collection myFavorites = MakeCollection(true, {"1 3 3 8", "4 3 2 1", "2 2 2 2"});
    EXPECT_EQ(Candidates(plan, troubleMakers, myFavorites), (StringArray{"1 2 3 4", "1 3 3 8", "2 2 2 2", "3 3 8 8"}));
    plan.useMyFavorites = false;
    EXPECT_EQ(Candidates(plan, troubleMakers, myFavorites), (StringArray{"1 2 3 4", "1 3 3 8", "3 3 8 8"}));
    plan.useMyFavorites = true;
    plan.useTroubleMakers = false;
    EXPECT_EQ(Candidates(plan, troubleMakers, myFavorites), (StringArray{"1 2 3 4", "1 3 3 8", "2 2 2 2"}));
}

TEST(TrainingPlanTest, CollectionQuestionsAboveTenNeedJqk)
{
    TrainingPlan plan;
    plan.fullSet = false;
    const Collection troubleMakers = MakeCollection(false, {"1 2 3 11", "12 12 1 1", "13 13 13 13", "5 5 5 5"});
    EXPECT_EQ(Candidates(plan, troubleMakers), StringArray{"5 5 5 5"});
    plan.jqkEnabled = true;
    EXPECT_EQ(Candidates(plan, troubleMakers),
              (StringArray{"1 1 12 12", "1 2 3 11", "5 5 5 5", "13 13 13 13"}));
}

TEST(TrainingPlanTest, CollectionQuestionsFollowTheRangeAndTheSolutionFilter)
{
    TrainingPlan plan = WithinRange({1, 1, 1, 2}, {3, 3, 8, 8});
    plan.fullSet = false;
    const Collection myFavorites = MakeCollection(true, {"1 1 1 1", "1 1 1 2", "3 3 8 8", "3 3 8 9", "1 2 3 4"});
    EXPECT_EQ(Candidates(plan, kNoItems, myFavorites), (StringArray{"1 1 1 2", "1 2 3 4", "3 3 8 8"}));
    plan.withSolution = false;
    EXPECT_EQ(Candidates(plan, kNoItems, myFavorites), StringArray{"1 1 1 2"});
}

// The review set sits beside the two others in a value of its own: "Full Set" keeps the
// choice an older version reads.
TEST_F(TrainingPlanSettingsTest, TheReviewSetHasAValueOfItsOwn)
{
    EXPECT_FALSE(Load(true).reviewSet);
    TrainingPlan plan = Load(true);
    plan.reviewSet = true;
    plan.fullSet = false;
    StoreTrainingPlan(m_profile, plan);
    EXPECT_EQ(Stored("Review Set", true), 1u);
    EXPECT_EQ(Stored("Full Set", true), 0u);
    EXPECT_EQ(Load(true), plan);
    EXPECT_FALSE(Load(false).reviewSet);
    Write("Review Set", 2, true);
    EXPECT_FALSE(Load(true).reviewSet);
}

// Exactly the due questions of the plan's rule, J/Q/K setting and range, one text each
// in ascending order; the collections and the full set play no part.
TEST(TrainingPlanTest, TheReviewSetTakesTheDueQuestionsOfThePlan)
{
    const std::vector<ReviewItem> due = {
        {"3 3 8 8", true, false, 100}, {"1 2 3 4", true, false, 50},  {"1 1 1 1", true, false, 10},
        {"1 2 3 4", false, false, 60}, {"4 4 10 10", true, false, 70}, {"2 4 6 12", true, true, 80},
        {"9 9 9 10", true, false, 90}, {"x y", true, false, 95},
    };
    TrainingPlan plan = WithinRange({1, 1, 1, 2}, {4, 10, 10, 10});
    plan.reviewSet = true;
    const Collection myFavorites = MakeCollection(true, {"1 1 1 3"});
    EXPECT_EQ(BuildCandidates(plan, kNoItems, myFavorites, due), (StringArray{"1 2 3 4", "3 3 8 8", "4 4 10 10"}));
    plan.standardRule = false;
    EXPECT_EQ(BuildCandidates(plan, kNoItems, myFavorites, due), StringArray{"1 2 3 4"});
    plan.standardRule = true;
    plan.jqkEnabled = true;
    plan.fullRange = true;
    EXPECT_EQ(BuildCandidates(plan, kNoItems, myFavorites, due), StringArray{"2 4 6 12"});
    EXPECT_EQ(BuildCandidates(plan, kNoItems, myFavorites), StringArray{});
    plan.reviewSet = false;
    EXPECT_EQ(BuildCandidates(plan, kNoItems, myFavorites, due).size(), 1820u);
}

// The choice keeps exactly the questions of the set that need the technique: the famous
// fraction questions of 1..10; none while the weakest technique is not known. The dialog's
// test takes it on to the review set.
TEST(TrainingPlanTest, TheTechniqueChoiceKeepsTheQuestionsThatNeedIt)
{
    TrainingPlan plan;
    plan.technique = TechniqueChoiceOf(Technique::Fraction);
    EXPECT_EQ(Candidates(plan), (StringArray{"1 3 4 6", "1 4 5 6", "1 5 5 5", "1 6 6 8", "2 4 10 10", "2 5 5 10",
                                             "2 7 7 10", "3 3 7 7", "3 3 8 8", "4 4 7 7"}));
    plan.standardRule = false;
    plan.technique = TechniqueChoiceOf(Technique::Power);
    EXPECT_EQ(Candidates(plan).size(), 13u);
    plan.technique = kWeakestTechnique;
    EXPECT_EQ(Candidates(plan), StringArray{});
    EXPECT_EQ(BuildCandidates(plan, kNoItems, kNoItems, {}, Technique::Large).size(), 5u);
}

TrainingPlan Sequential(bool ascending, int count)
{
    TrainingPlan plan;
    plan.random = false;
    plan.ascending = ascending;
    plan.questionCount = count;
    return plan;
}

TEST(ChooseQuestionsTest, DescendingTakesTheGreatestFromTheTop)
{
    StandardRandom random;
    const FixedClock clock(0);
    const StringArray all = CBMUtilities::EnumerateQuestions(10);
    const StringArray chosen = ChooseQuestions(Candidates(TrainingPlan{}), Sequential(false, 100), random, clock);
    ASSERT_EQ(chosen.size(), 100u);
    EXPECT_EQ(chosen.front(), "10 10 10 10");
    EXPECT_TRUE(std::equal(chosen.begin(), chosen.end(), all.rbegin()));
}

TEST(ChooseQuestionsTest, AscendingTakesTheFirst)
{
    StandardRandom random;
    const FixedClock clock(0);
    const StringArray all = CBMUtilities::EnumerateQuestions(10);
    const StringArray chosen = ChooseQuestions(all, Sequential(true, 40), random, clock);
    EXPECT_EQ(chosen, StringArray(all.begin(), all.begin() + 40));
}

TEST(ChooseQuestionsTest, FewerCandidatesThanWantedGivesThemAll)
{
    StandardRandom random;
    const FixedClock clock(0);
    const StringArray few = {"1 1 1 1", "2 2 2 2", "3 3 3 3"};
    EXPECT_EQ(ChooseQuestions(few, Sequential(true, 40), random, clock), few);
    EXPECT_EQ(ChooseQuestions(few, Sequential(false, 40), random, clock),
              (StringArray{"3 3 3 3", "2 2 2 2", "1 1 1 1"}));
    EXPECT_TRUE(ChooseQuestions({}, Sequential(true, 40), random, clock).empty());
}

TEST(ChooseQuestionsTest, RandomPicksSeededFromTheClockByModulo)
{
    // Each pick takes the scripted number modulo what is left: 7 % 5 = 2 ("c"),
    // 7 % 4 = 3 ("e"), 7 % 3 = 1 ("b"); then the order: 7 % 3 = 1, 7 % 2 = 1, 0.
    ScriptedRandom random({7});
    const FixedClock clock(1'700'000'123);
    TrainingPlan plan;
    plan.questionCount = 3;
    const StringArray chosen = ChooseQuestions({"a", "b", "c", "d", "e"}, plan, random, clock);
    EXPECT_EQ(chosen, (StringArray{"e", "b", "c"}));
    EXPECT_EQ(random.seeds, std::vector<std::uint32_t>{1'700'000'123u});
}

TEST(ChooseQuestionsTest, SequentialPickingLeavesTheGeneratorAlone)
{
    ScriptedRandom random({0});
    const FixedClock clock(5);
    ChooseQuestions({"a", "b"}, Sequential(true, 1), random, clock);
    EXPECT_TRUE(random.seeds.empty());
}

TEST(ChooseQuestionsTest, RandomListHoldsDistinctCandidatesAndRepeatsForTheSameSecond)
{
    TrainingPlan plan;
    plan.withoutSolution = false;
    const StringArray candidates = Candidates(plan);
    const std::set<std::string> pool(candidates.begin(), candidates.end());
    const auto choose = [&](std::time_t seconds, int count) {
        StandardRandom random;
        plan.questionCount = count;
        return ChooseQuestions(candidates, plan, random, FixedClock(seconds));
    };
    for (const int count : {40, 500}) {
        const StringArray chosen = choose(1000, count);
        ASSERT_EQ(chosen.size(), std::size_t(count));
        EXPECT_EQ(std::set<std::string>(chosen.begin(), chosen.end()).size(), chosen.size());
        for (const std::string& q : chosen)
            EXPECT_TRUE(pool.contains(q)) << q;
        EXPECT_EQ(choose(1000, count), chosen);
        EXPECT_NE(choose(1001, count), chosen);
    }
}

TEST(ChooseQuestionsTest, AllCandidatesAreShuffledWhenTooFew)
{
    const StringArray candidates = Candidates(WithinRange({1, 1, 1, 1}, {1, 1, 1, 6}));
    ASSERT_EQ(candidates.size(), 6u);
    TrainingPlan plan;
    const auto shuffle = [&](std::time_t seconds) {
        StandardRandom random;
        return ChooseQuestions(candidates, plan, random, FixedClock(seconds));
    };
    std::set<StringArray> orders;
    for (std::time_t seconds = 0; seconds < 20; ++seconds) {
        StringArray order = shuffle(seconds);
        EXPECT_TRUE(std::is_permutation(order.begin(), order.end(), candidates.begin()));
        orders.insert(std::move(order));
    }
    EXPECT_GT(orders.size(), 1u);
}

struct NormalizeCase {
    const char* name;
    bool jqk;
    bool fullRange;
    bool startBounded;
    bool endBounded;
    std::array<std::string, 8> texts;
    bool rebuild;
    std::optional<RangeValues> expected;
};

class NormalizeRangeListsTest : public ::testing::TestWithParam<NormalizeCase> {};

TEST_P(NormalizeRangeListsTest, GivesTheValuesToShow)
{
    const NormalizeCase& c = GetParam();
    TrainingPlan plan;
    plan.jqkEnabled = c.jqk;
    plan.fullRange = c.fullRange;
    plan.startBounded = c.startBounded;
    plan.endBounded = c.endBounded;
    const std::optional<RangeValues> values = NormalizeRangeLists(plan, c.texts, c.rebuild);
    ASSERT_EQ(values.has_value(), c.expected.has_value());
    if (values) {
        EXPECT_EQ(values->start, c.expected->start);
        EXPECT_EQ(values->end, c.expected->end);
    }
}

constexpr Configuration kOnes{1, 1, 1, 1};
constexpr Configuration kTens{10, 10, 10, 10};
constexpr Configuration kThirteens{13, 13, 13, 13};

INSTANTIATE_TEST_SUITE_P(Table, NormalizeRangeListsTest,
    ::testing::Values(
        NormalizeCase{"FullRangeDefaultsStay", false, true, false, false,
                      {"1", "1", "1", "1", "10", "10", "10", "10"}, false, std::nullopt},
        NormalizeCase{"FullRangeResetsOtherValues", false, true, true, true,
                      {"5", "5", "5", "5", "10", "10", "10", "10"}, false, RangeValues{kOnes, kTens}},
        NormalizeCase{"JqkOnUnderFullRange", true, true, false, false,
                      {"1", "1", "1", "1", "10", "10", "10", "10"}, true, RangeValues{kOnes, kThirteens}},
        NormalizeCase{"JqkOffDropsThirteens", false, false, true, true,
                      {"1", "1", "1", "1", "13", "13", "13", "13"}, true, RangeValues{kOnes, kTens}},
        NormalizeCase{"JqkOnKeepsTheSelection", true, false, true, true,
                      {"2", "3", "4", "5", "6", "7", "8", "9"}, true, RangeValues{{2, 3, 4, 5}, {6, 7, 8, 9}}},
        NormalizeCase{"EmptyList", false, false, true, true,
                      {"2", "3", "4", "5", "", "7", "8", "9"}, false, RangeValues{kOnes, kTens}},
        NormalizeCase{"LeadingZero", false, false, true, true,
                      {"02", "3", "4", "5", "6", "7", "8", "9"}, false, RangeValues{kOnes, kTens}},
        NormalizeCase{"InOrderWithoutRebuild", false, false, true, true,
                      {"2", "3", "4", "5", "6", "7", "8", "9"}, false, std::nullopt},
        NormalizeCase{"RaisedToTheOneBefore", false, false, true, true,
                      {"5", "3", "4", "9", "4", "2", "9", "1"}, true, RangeValues{{5, 5, 5, 9}, {5, 5, 9, 9}}},
        NormalizeCase{"EndNotBehindAnEqualStart", false, false, true, true,
                      {"5", "6", "6", "6", "5", "5", "5", "9"}, false, RangeValues{{5, 6, 6, 6}, {5, 6, 6, 9}}},
        NormalizeCase{"UncheckedBoundsTakeTheWholeRange", false, false, false, false,
                      {"5", "6", "6", "6", "7", "7", "8", "9"}, true, RangeValues{kOnes, kTens}},
        NormalizeCase{"UncheckedStartLeavesTheEnd", false, false, false, true,
                      {"5", "5", "5", "5", "3", "3", "3", "3"}, true, RangeValues{kOnes, {3, 3, 3, 3}}}),
    CaseName<NormalizeCase>);

TEST(RangeListLowerBoundTest, EachListFollowsTheOneBefore)
{
    const RangeValues values{{2, 3, 4, 5}, {6, 7, 8, 9}};
    const unsigned expected[] = {1, 2, 3, 4, 2, 6, 7, 8};
    for (std::size_t i = 0; i < 8; ++i)
        EXPECT_EQ(RangeListLowerBound(values, i), expected[i]) << i;
}

TEST(TypedNumberTest, PromptsForWhatOkRefuses)
{
    LanguageState language;
    language.InitLanguage(Edition::Standard, kLcidEnglish);
    const std::string between = "Please enter an integer between 5 and 500.";
    const std::string positive = "Please enter a positive integer.";
    const std::pair<const char*, std::string> cases[] = {
        {"40", ""},     {" 5 ", ""},     {"500", ""},      {"4", between},   {"501", between},
        {"0", between}, {"99999999999", between},          {"", positive},   {"-5", positive},
        {"4.5", positive}, {"1e3", positive}, {"forty", positive},
    };
    for (const auto& [typed, prompt] : cases)
        EXPECT_EQ(TypedNumberPrompt(typed, 5, 500, language), prompt) << typed;
    EXPECT_EQ(ReadTypedNumber("\t017 "), 17);
    EXPECT_EQ(ReadTypedNumber("99999999999"), 999999999);
}

}  // namespace
}  // namespace tavlix
