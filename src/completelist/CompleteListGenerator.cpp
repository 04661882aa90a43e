#include "completelist/CompleteListGenerator.h"

#include <string_view>
#include <utility>

#include "common/TextUtilities.h"
#include "i18n/LanguageState.h"
#include "i18n/StringIds.h"

namespace tavlix {

namespace {

// The paragraphs go into the page as they stand, "100%%" included: browsers read the
// doubled sign as an unknown value and keep the default line height.
constexpr std::string_view kHeadingParagraph =
    "<p style=\"word-spacing: 0; line-height: 100%%; text-indent: 0; margin: 0\" align=\"left\">"
    "<font size=\"2\"><b>BB</b></font></p>\r\n";
constexpr std::string_view kPlainParagraph =
    "<p style=\"word-spacing: 0; line-height: 100%%; text-indent: 0; margin: 0\" align=\"left\">NN</p>\r\n";

// The list is cut into parts of about this many lines, each laid out in columns of its own
// (see the templates): a reader goes down the columns of one part and on to the next, never
// back up more than a part's column, and a question stays whole in its column. A part of
// thirty lines stays within a screen at two columns or more, and the page grows by a tenth
// against columns balanced over the whole list.
constexpr std::size_t kPartLines = 30;
constexpr std::string_view kPartStart = "<div class=\"part\">\r\n";
constexpr std::string_view kQuestionStart = "<div class=\"q\">\r\n";
constexpr std::string_view kBlockEnd = "</div>\r\n";

std::string Paragraph(std::string_view snippet, std::string_view placeholder, std::string_view text)
{
    std::string paragraph(snippet);
    ReplaceAll(paragraph, placeholder, text);
    return paragraph;
}

}  // namespace

CompleteListGenerator::CompleteListGenerator(const CompleteListOptions& options)
    : m_options(options), m_questions(CBMUtilities::EnumerateQuestions(options.GetRules().maximum))
{
}

bool CompleteListGenerator::Step()
{
    if (IsFinished())
        return false;
    const std::string& text = m_questions[m_next++];
    NumberArray question;
    CBMUtilities::GetQuestionFromString(text, question, kLargestNumber);
    ListedConfiguration entry{0, text, {}};
    CBMUtilities::GetSolutions(question, entry.solutions, m_options.GetRules());

    const bool bothKinds = m_options.withSolutions && m_options.withoutSolution;
    const bool solvable = !entry.solutions.empty();
    const std::size_t kindCount = solvable ? ++m_withSolutions : ++m_withoutSolution;
    entry.number = bothKinds ? m_next : kindCount;
    if (solvable ? m_options.withSolutions : m_options.withoutSolution)
        m_listed.push_back(std::move(entry));
    return true;
}

void CompleteListGenerator::Run()
{
    while (Step()) {
    }
}

int CompleteListGenerator::Progress() const
{
    return static_cast<int>(m_next * kProgressRange / m_questions.size());
}

std::string CompleteListGenerator::HeadingText(const LanguageState& language, const ListedConfiguration& entry)
{
    return language.GetLocalizedString(IDS_BMT_Q) + std::to_string(entry.number) + ": " + entry.question;
}

std::string CompleteListGenerator::SolutionText(const LanguageState& language, std::size_t number,
                                                const std::string& solution)
{
    return language.GetLocalizedString(IDS_BMT_A) + std::to_string(number) + ": " + solution;
}

std::string CompleteListGenerator::GrandList(const LanguageState& language) const
{
    const std::string blank = Paragraph(kPlainParagraph, "NN", " &nbsp; ");
    std::string list;
    std::size_t partLines = kPartLines;
    for (const ListedConfiguration& entry : m_listed) {
        if (partLines >= kPartLines) {
            list += (list.empty() ? "" : std::string(kBlockEnd)) + std::string(kPartStart);
            partLines = 0;
        }
        list += kQuestionStart;
        list += Paragraph(kHeadingParagraph, "BB", HeadingText(language, entry));
        for (std::size_t i = 0; i < entry.solutions.size(); ++i)
            list += Paragraph(kPlainParagraph, "NN", SolutionText(language, i + 1, entry.solutions[i]));
        list += blank;
        list += kBlockEnd;
        partLines += entry.solutions.size() + 2;
    }
    return list.empty() ? list : list + std::string(kBlockEnd);
}

std::string CompleteListGenerator::FillTemplate(std::string page, const LanguageState& language) const
{
    const auto text = [&language](int id, const std::string& first = {}) {
        return language.GetLocalizedString(id, first);
    };
    const std::string level = text(LevelNameId(m_options.standardRule, m_options.jqkEnabled));
    const auto listed = [&](bool yes) { return text(yes ? IDS_DIALOG_CL_LISTED : IDS_DIALOG_CL_NOT_LISTED); };
    const std::pair<std::string_view, std::string> replacements[] = {
        {"%RULENAME%", level},
        {"%THE_STORY%", text(IDS_BMT_THE_X_STORY, level)},
        {"%RULE_SA%", text(m_options.standardRule ? IDS_TIP_STANDARD : IDS_TIP_ADVANCED)},
        {"%RULE_JQK%", text(IDS_TIP_ENABLE_JQK) + " - " + text(m_options.jqkEnabled ? IDS_BMT_YES : IDS_BMT_NO)},
        {"%Q_COUNT%", std::to_string(Total())},
        {"%HS_LS%", listed(m_options.withSolutions)},
        {"%HS_COUNT%", std::to_string(m_withSolutions)},
        {"%NS_LS%", listed(m_options.withoutSolution)},
        {"%NS_COUNT%", std::to_string(m_withoutSolution)},
        {"%GRANDLIST%", GrandList(language)},
    };
    for (const auto& [placeholder, value] : replacements)
        ReplaceAll(page, placeholder, value);
    return page;
}

}  // namespace tavlix
