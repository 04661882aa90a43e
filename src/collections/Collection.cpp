#include "collections/Collection.h"

#include <algorithm>
#include <unordered_map>

#include "engine/AnswerChecker.h"
#include "settings/CConfigFile.h"
#include "i18n/LanguageState.h"
#include "i18n/StringIds.h"
#include "common/TextUtilities.h"

namespace tavlix {

namespace {

constexpr std::size_t kShortTyping = 6;  // shorter typing gets no "invalid" reproach

// A collection holds questions up to 13 whatever the J/Q/K choice.
bool ReadsAsQuestion(std::string_view text, NumberArray& numbers)
{
    return CBMUtilities::GetQuestionFromString(text, numbers, kLargestNumber);
}

bool ReadsAsQuestion(std::string_view text)
{
    NumberArray numbers;
    return ReadsAsQuestion(text, numbers);
}

std::string InvalidQuestion(const LanguageState& language)
{
    return language.GetLocalizedString(IDS_DIALOG_MAIN_PROMPT_INVALID_QUESTION, std::to_string(kLargestNumber));
}

StringArray SolutionsOf(const NumberArray& question, bool advanced)
{
    StringArray solutions;
    CBMUtilities::GetSolutions(question, solutions, Rules{!advanced, kLargestNumber});
    return solutions;
}

// Anything but comments and the collection's own header: what a file must hold to be
// worth keeping when it gives no item.
bool HoldsMoreThanAnEmptyCollection(const CConfigFile& config, std::string_view name)
{
    const std::string header = "[" + std::string(name) + "]";
    return std::any_of(config.Lines().begin(), config.Lines().end(), [&](const std::string& line) {
        return !line.empty() && !line.starts_with(';') && line != header;
    });
}

}  // namespace

std::string_view Collection::Name() const { return m_isMyFavorites ? "My Favorites" : "Trouble Makers"; }

std::string_view Collection::FileName() const { return m_isMyFavorites ? "cmf.ini" : "ctm.ini"; }

std::string Collection::Key(std::size_t n) const
{
    return (m_isMyFavorites ? "fmf " : "fmt ") + std::to_string(n);
}

void Collection::Load(const std::filesystem::path& file)
{
    m_items.clear();
    m_notUnderstood.clear();
    CConfigFile config;
    config.Load(file);
    if (HoldsMoreThanAnEmptyCollection(config, Name()))
        m_notUnderstood = file;

    // The section's entries at once: a large collection loads in linear time.
    int count = 0;
    const int header = config.FindSection(Name(), count);
    if (header < 0)
        return;
    std::unordered_map<std::string, std::string> values;
    const auto& lines = config.Lines();
    for (std::size_t i = std::size_t(header) + 1; i < lines.size() && !lines[i].starts_with('['); ++i) {
        const std::size_t equals = lines[i].find(" = ");
        if (equals != std::string::npos)
            values.emplace(lines[i].substr(0, equals), lines[i].substr(equals + 3));
    }

    std::unordered_map<std::string, bool> seen;
    for (std::size_t n = 1;; ++n) {
        const auto value = values.find(Key(n));
        if (value == values.end())
            break;
        const std::string_view entry = TrimBlanksAndLineEnds(value->second);
        const std::size_t comma = entry.find(',');
        if (comma == std::string_view::npos)
            break;
        CollectionItem item{std::string(TrimBlanksAndLineEnds(entry.substr(0, comma))), {},
                            std::string(TrimBlanksAndLineEnds(entry.substr(comma + 1)))};
        if (ReadsAsQuestion(item.question) && seen.emplace(item.question, true).second)
            m_items.push_back(std::move(item));
    }
    Normalize();
    if (!m_items.empty())
        m_notUnderstood.clear();
}

std::filesystem::path Collection::SetAsidePath(const std::filesystem::path& file, int attempt)
{
    const std::string mark = attempt <= 1 ? " (not understood)" : " (not understood " + std::to_string(attempt) + ")";
    return file.parent_path() / (file.stem().string() + mark + file.extension().string());
}

bool Collection::SetAsideNotUnderstood(const std::filesystem::path& file, const LanguageState& language,
                                       std::string& errorText)
{
    constexpr int kAttempts = 100;
    std::error_code error;
    std::filesystem::path aside = SetAsidePath(file, 1);
    for (int attempt = 2; attempt <= kAttempts && std::filesystem::exists(aside, error); ++attempt)
        aside = SetAsidePath(file, attempt);
    if (!std::filesystem::exists(aside, error) && std::filesystem::copy_file(file, aside, error))
        return true;
    errorText = language.GetLocalizedString(IDS_ERROR_FILE_CAN_NOT_WRITE_FILE_CHECK_FP);
    ReplaceAll(errorText, "#1", aside.string());
    return false;
}

void Collection::Normalize()
{
    if (m_items.size() < 2)
        return;
    std::unordered_map<std::string, bool> seen;
    std::erase_if(m_items, [&](const CollectionItem& item) {
        return !ReadsAsQuestion(item.question) || !seen.emplace(item.question, true).second;
    });
    // The order of CompareQuestionText; a stable sort gives what the exchange sort
    // gives, as no two questions are equal any more.
    std::stable_sort(m_items.begin(), m_items.end(), [](const CollectionItem& a, const CollectionItem& b) {
        return CBMUtilities::CompareQuestionText(b.question, a.question);
    });
}

bool Collection::Save(const std::filesystem::path& file, const LanguageState& language,
                      std::string& errorText)
{
    std::error_code error;
    if (!m_notUnderstood.empty() && std::filesystem::equivalent(m_notUnderstood, file, error)) {
        if (!SetAsideNotUnderstood(file, language, errorText))
            return false;
        m_notUnderstood.clear();
    }
    Normalize();
    std::vector<std::string> lines;
    lines.reserve(m_items.size() + 1);
    lines.push_back("[" + std::string(Name()) + "]");
    for (std::size_t i = 0; i < m_items.size(); ++i)
        lines.push_back(Key(i + 1) + " = " + m_items[i].question + "," + m_items[i].note);
    CConfigFile config;
    config.SetLines(std::move(lines));
    return config.Save(file, language, &errorText);
}

std::size_t Collection::Find(std::string_view question) const
{
    const auto it = std::find_if(m_items.begin(), m_items.end(),
                                 [&](const CollectionItem& item) { return item.question == question; });
    return it == m_items.end() ? std::string::npos : std::size_t(it - m_items.begin());
}

bool Collection::Contains(std::string_view question) const { return Find(question) != std::string::npos; }

StringArray Collection::Questions() const
{
    StringArray questions;
    questions.reserve(m_items.size());
    for (const CollectionItem& item : m_items)
        questions.push_back(item.question);
    return questions;
}

SaveToState CheckSaveToQuestion(std::string_view typed, const Collection& target, unsigned maximum,
                                const LanguageState& language)
{
    const std::string_view question = TrimBlanksAndLineEnds(typed);
    NumberArray numbers;
    const bool valid = CBMUtilities::GetQuestionFromString(question, numbers, maximum) &&
                       CBMUtilities::IsValidQuestion(numbers, maximum);
    if (!valid)
        return {typed.size() > kShortTyping
                    ? language.GetLocalizedString(IDS_DIALOG_MAIN_ERROR_INVALID_QUESTION_SHORT)
                    : std::string(),
                false};
    if (CBMUtilities::IsQuestionInList(question, target.Questions()) == 1)
        return {language.GetLocalizedString(IDS_DIALOG_MAIN_ALREADY_EXIST_IN_SET,
                                            language.GetLocalizedString(target.IsMyFavorites()
                                                                            ? IDS_DIALOG_SF_PROMPT_TITLE_MY_FAVORITES
                                                                            : IDS_DIALOG_SF_PROMPT_TITLE_TROUBLE_MAKERS)),
                false};
    return {{}, true};
}

ItemCheck CheckItem(std::string_view typed, const Collection& collection, std::size_t editedIndex,
                    const LanguageState& language)
{
    NumberArray q;
    if (!ReadsAsQuestion(typed, q))
        return {ItemCheck::Invalid, {}, InvalidQuestion(language)};
    CBMUtilities::SortNumbers(q[0], q[1], q[2], q[3], 4, true);
    const std::string stored = CBMUtilities::FormatQuestion(q[0], q[1], q[2], q[3]);
    const std::size_t existing = collection.Find(stored);
    if (existing != std::string::npos && existing != editedIndex)
        return {ItemCheck::Duplicate, stored, language.GetLocalizedString(IDS_DIALOG_MAIN_PROMPT_Q_ALREADY_EXISTS)};
    std::string notice;
    if (stored != typed)
        notice = language.GetLocalizedString(IDS_DIALOG_MAIN_PROMPT_Q_WAS_REORDERED, stored);
    return {ItemCheck::Accepted, stored, notice};
}

std::string SolutionsText(std::string_view question, bool advanced, const LanguageState& language,
                          bool instructWhenShort)
{
    NumberArray numbers;
    if (ReadsAsQuestion(question, numbers))
        return AnswerChecker::FormatSolutionList(SolutionsOf(numbers, advanced), language);
    if (instructWhenShort && question.size() <= kShortTyping)
        return language.GetLocalizedString(IDS_DIALOG_FMI_INSTANT_SOLUTIONS_INSTRUCTION);
    return InvalidQuestion(language);
}

std::string ExportText(const Collection& collection, const ExportOptions& options,
                       const LanguageState& language)
{
    std::string text = "\t\t" + options.title + "\r\n\r\n";
    const std::string q = language.GetLocalizedString(IDS_BMT_Q);
    const std::string note = language.GetLocalizedString(IDS_BMT_NOTE);
    const std::string none = language.GetLocalizedString(IDS_BMT_NONE);
    for (std::size_t i = 0; i < collection.Items().size(); ++i) {
        const CollectionItem& item = collection.Items()[i];
        text += q + std::to_string(i + 1) + ": " + item.question + "\r\n";
        if (options.notes)
            text += note + ": \r\n" + (item.note.empty() ? "(" + none + ")" : item.note) + "\r\n";
        if (options.answers)
            text += SolutionsText(item.question, false, language, false) + "\r\n\r\n";
    }
    return TrimTrailingLineEnds(text);
}

}  // namespace tavlix
