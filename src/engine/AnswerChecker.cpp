#include "engine/AnswerChecker.h"

#include <algorithm>

#include "diagnostics/DebugLog.h"
#include "i18n/LanguageState.h"
#include "i18n/StringIds.h"
#include "common/TextUtilities.h"

namespace tavlix {

namespace {

constexpr std::size_t kShortestAnswer = 7;  // four one-digit numbers and three operators

constexpr unsigned kStatusCorrect = 1;  // in RunStatus::m_uaAStatus
constexpr unsigned kStatusIncorrect = 2;

// A question box holds exactly the decimal form of one number from 1 to the maximum.
bool ReadBox(std::string_view text, unsigned maximum, unsigned& value)
{
    if (text.empty() || text.size() > 2 || text[0] == '0' ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    value = unsigned(std::stoul(std::string(text)));
    return value >= 1 && value <= maximum;
}

std::string LineEntry(std::size_t position, const std::string& text)
{
    return "\r\n    " + std::to_string(position) + ": " + text;
}

// The run's status entry of the question when the verdict is to be recorded there.
unsigned* RecordedStatus(const AnswerInput& input, bool bRecordResult, RunStatus run)
{
    const bool inRun = input.mode != RunMode::Free;
    if (!bRecordResult || !inRun || !run.m_uaAStatus || run.m_nIndex >= run.m_uaAStatus->size())
        return nullptr;
    return &(*run.m_uaAStatus)[run.m_nIndex];
}

}  // namespace

StringArray AnswerLines(const AnswerInput& input, CharacterSet charset)
{
    StringArray lines;
    if (input.noSolutionChecked)
        return lines;
    for (const std::string& line : GetSAFromMLString(input.answerText)) {
        const std::string_view trimmed = TrimBlanksAndLineEnds(line);
        if (!trimmed.empty())
            lines.push_back(CBMUtilities::GetNormalizedUserInput(trimmed, InputMode::AnswerLine, charset));
    }
    return lines;
}

AnswerChecker::AnswerChecker(const LanguageState& language, const DebugLog* log)
    : m_language(language), m_log(log)
{
}

// The step texts and their order never change: support tools and tests read the trace by them.
void AnswerChecker::Trace(const char* step) const
{
    if (m_log)
        m_log->Write("GetComments", step);
}

unsigned AnswerChecker::GetRequiredAnswerCount(int level, unsigned n)
{
    if (n == 0)
        return 0;
    switch (level) {
    case 1: return 1;
    case 2: return n >= 2 ? 2 : 1;
    case 4: return n;
    default: return std::min((n + 1) / 3 + 1, 6u);
    }
}

bool AnswerChecker::ReadQuestion(const AnswerInput& input, NumberArray& uaQ) const
{
    NumberArray numbers;
    for (const std::string& box : input.questionBoxes) {
        const std::string normalized = CBMUtilities::GetNormalizedUserInput(
            box, InputMode::QuestionNumber, m_language.InputCharacterSet());
        unsigned value = 0;
        if (!ReadBox(TrimBlanksAndLineEnds(normalized), LargestNumber(input.jqkEnabled), value))
            return false;
        numbers.push_back(value);
    }
    CBMUtilities::SortNumbers(numbers[0], numbers[1], numbers[2], numbers[3], 4, true);
    uaQ = numbers;
    return true;
}

bool AnswerChecker::CanCheckResult(const AnswerInput& input) const
{
    NumberArray uaQ;
    return ReadQuestion(input, uaQ) &&
           (input.noSolutionChecked ||
            CodePageLength(TrimBlanksAndLineEnds(input.answerText)) >= kShortestAnswer);
}

std::string AnswerChecker::InvalidQuestionText(const AnswerInput& input) const
{
    return m_language.GetLocalizedString(IDS_DIALOG_MAIN_PROMPT_INVALID_QUESTION,
                                         std::to_string(LargestNumber(input.jqkEnabled)));
}

std::string AnswerChecker::RuleName(const AnswerInput& input) const
{
    return m_language.GetLocalizedString(input.standardRule ? IDS_BMT_STANDARD_RULE
                                                            : IDS_BMT_ADVANCED_RULE);
}

// What every phase of judging one submission reads.
struct AnswerChecker::Submission {
    const AnswerInput& input;
    unsigned* recordedStatus;  // the run's status of the question; null when not recorded
    NumberArray uaQ{};
    unsigned solutionCount = 0;
    bool noSolution = false;    // also when the search gave up
    unsigned requiredCount = 0;

    // Scored runs below Ultimate check only as many lines as the level asks for.
    std::size_t LinesToCheck(std::size_t lineCount) const
    {
        const bool checkAllLines = !IsScoredRun(input.mode) || input.level == 4;
        return checkAllLines ? lineCount : requiredCount;
    }
};

enum class AnswerChecker::LineKind { Correct, Incorrect, SameAsEarlier, SimilarToEarlier };

// A checked answer line; a line that repeats an earlier one names it, counted from 0.
struct AnswerChecker::JudgedLine {
    std::string text;
    LineKind kind = LineKind::Incorrect;
    std::string normalAnswer;  // empty for an incorrect line
    std::string subNormalAnswer;
    std::size_t earlierLine = 0;

    bool RepeatsEarlier() const
    {
        return kind == LineKind::SameAsEarlier || kind == LineKind::SimilarToEarlier;
    }
};

std::string AnswerChecker::GetComments(const AnswerInput& input, bool bRecordResult, RunStatus run)
{
    m_lastOutcome = CheckOutcome::NothingJudged;
    Trace("CanCheckResult()");
    if (!CanCheckResult(input))
        return {};

    Trace("bool bRepeat = false;");
    Submission submission{.input = input,
                          .recordedStatus = RecordedStatus(input, bRecordResult, run)};
    Trace("if(this->m_uaAStatus.GetAt(m_nIndex)>0)");
    // A run judges a question once; only training lets the player try again.
    const unsigned* status = submission.recordedStatus;
    if (status && *status > 0 && input.mode != RunMode::Training)
        return {};

    Trace("if(!CheckValidInput(uaQ))");
    if (!ReadQuestion(input, submission.uaQ)) {
        m_lastOutcome = CheckOutcome::Rejected;
        return InvalidQuestionText(input);
    }
    SolveQuestion(submission);

    const StringArray lines = ReadAnswerLines(input);
    if (std::optional<std::string> early = EarlyVerdict(submission, lines.size()))
        return *early;

    Trace("saAnswer.SetSize(nCheckCount)");
    const std::size_t checkCount = submission.LinesToCheck(lines.size());
    const StringArray checkedLines(lines.begin(), lines.begin() + std::ptrdiff_t(checkCount));
    if (checkCount == 1 && submission.requiredCount <= 1)
        return JudgeSingleLine(submission, checkedLines[0], lines.size());
    return WordVerdict(submission, ClassifyLines(submission, checkedLines), lines.size());
}

void AnswerChecker::SolveQuestion(Submission& submission) const
{
    Trace("strA = ...");
    Trace("bool bNoSolution = false;");
    StringArray solutions;
    const bool searched =
        CBMUtilities::GetSolutions(submission.uaQ, solutions, submission.input.GetRules());
    Trace("GetSolutionCount");
    submission.solutionCount = unsigned(solutions.size());
    submission.noSolution = !searched || solutions.empty();
    if (submission.noSolution)
        Trace("bNoSolution = true");
    submission.requiredCount =
        GetRequiredAnswerCount(submission.input.level, submission.solutionCount);
    Trace("strAnswerCount.Format...");
}

// AnswerLines, its steps traced line by line.
StringArray AnswerChecker::ReadAnswerLines(const AnswerInput& input) const
{
    Trace("GetSAFromMLString");
    StringArray lines = AnswerLines(input, m_language.InputCharacterSet());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        Trace("GetNormalizedUserInput");
        Trace("saAnswer0.SetAt(i,strLine)");
    }
    return lines;
}

// The verdicts that need no line checked: nothing typed or "No solution" claimed, a
// question without a solution, too many lines, or fewer lines than the level asks for.
std::optional<std::string> AnswerChecker::EarlyVerdict(const Submission& submission,
                                                       std::size_t lineCount)
{
    const AnswerInput& input = submission.input;
    Trace("if(nSize==0)");
    if (lineCount == 0 || input.noSolutionChecked) {
        if (submission.noSolution)
            return Conclude(submission, CheckOutcome::Correct,
                            m_language.GetLocalizedString(IDS_DIALOG_MAIN_BINGO_NO_SOLUTION));
        return Conclude(submission, CheckOutcome::Wrong,
                        m_language.GetLocalizedString(IsScoredRun(input.mode)
                                                          ? IDS_DIALOG_MAIN_YOU_LOST_WITH_ANSWER_COUNT
                                                          : IDS_DIALOG_MAIN_YOU_LOST_CAN_CLICK,
                                                      std::to_string(submission.solutionCount),
                                                      RuleName(input)));
    }
    Trace("if(bNoSolution)");
    if (submission.noSolution)
        return Conclude(submission, CheckOutcome::Wrong,
                        m_language.GetLocalizedString(IDS_DIALOG_MAIN_YOU_LOST_WITH_NO_ANSWER,
                                                      RuleName(input)));
    Trace("if(nSize>30)");
    if (lineCount > kMaxAnswerLines) {
        m_lastOutcome = CheckOutcome::Rejected;
        return m_language.GetLocalizedString(IDS_DIALOG_MAIN_TOO_MANY_ANSWERS);
    }
    Trace("if(nCheckCount>nSize)");
    if (lineCount < submission.LinesToCheck(lineCount))
        return Conclude(submission, CheckOutcome::Wrong,
                        m_language.GetLocalizedString(IDS_DIALOG_MAIN_NO_SCORE) + "\r\n\r\n" +
                            m_language.GetLocalizedString(IDS_DIALOG_MAIN_PROMPT_INSUFFICIENT_ANSWERS));
    return std::nullopt;
}

// One answer asked for and one line checked: a plain right or wrong, no lists.
std::string AnswerChecker::JudgeSingleLine(const Submission& submission, const std::string& line,
                                           std::size_t lineCount)
{
    Trace("if(CBMUtilities::CheckValidSolution(uaQ,strExp))");
    const bool correct = CBMUtilities::CheckValidSolution(submission.uaQ, line, submission.input.GetRules());
    std::string comment = m_language.GetLocalizedString(correct ? IDS_DIALOG_MAIN_BINGO_WITH_SOLUTION
                                                                : IDS_DIALOG_MAIN_YOU_LOST);
    if (lineCount > 1)
        comment += "\r\n\r\n" + m_language.GetLocalizedString(IDS_DIALOG_MAIN_PROMPT_MORE_ANSWERS);
    Trace("strComments = strInfo;");
    return Conclude(submission, correct ? CheckOutcome::Correct : CheckOutcome::Wrong, comment);
}

std::vector<AnswerChecker::JudgedLine> AnswerChecker::ClassifyLines(const Submission& submission,
                                                                    const StringArray& lines) const
{
    Trace("uaWCMStatus.SetSize(nCheckCount)");
    const NumberArray& uaQ = submission.uaQ;
    const std::string question = std::to_string(uaQ[0]) + ':' + std::to_string(uaQ[1]) + ':' +
                                 std::to_string(uaQ[2]) + ':' + std::to_string(uaQ[3]);
    std::vector<JudgedLine> judged;
    for (const std::string& line : lines) {
        Trace(question.c_str());
        judged.push_back(ClassifyLine(submission, line, judged));
    }
    return judged;
}

// Correct lines with the same normal answer are one solution typed twice: the same when
// their sub-normal answers match too, else similar.
AnswerChecker::JudgedLine AnswerChecker::ClassifyLine(
    const Submission& submission, const std::string& line, const std::vector<JudgedLine>& earlierLines) const
{
    JudgedLine judged;
    judged.text = line;
    const Rules rules = submission.input.GetRules();
    if (!CBMUtilities::CheckValidSolution(submission.uaQ, line, rules))
        return judged;
    Trace("CBMUtilities::GetNormalAnswer(uaQ,strSubNA,strExp)");
    NumberArray numbers = submission.uaQ;
    judged.normalAnswer = CBMUtilities::GetNormalAnswer(numbers, judged.subNormalAnswer, line, rules.maximum);
    Trace(line.c_str());
    Trace("bool bFoundRepeat = false;");
    const auto first =
        std::ranges::find(earlierLines, judged.normalAnswer, &JudgedLine::normalAnswer);
    if (first != earlierLines.end()) {
        judged.kind = first->subNormalAnswer == judged.subNormalAnswer ? LineKind::SameAsEarlier
                                                                       : LineKind::SimilarToEarlier;
        judged.earlierLine = std::size_t(first - earlierLines.begin());
    } else {
        Trace("saNA.SetAt(i,strExp);");
        judged.kind = LineKind::Correct;
    }
    Trace("saSubNA.SetAt(i,strSubNA)");
    return judged;
}

std::string AnswerChecker::WordVerdict(const Submission& submission,
                                       const std::vector<JudgedLine>& lines, std::size_t lineCount)
{
    const auto correctCount =
        std::size_t(std::ranges::count(lines, LineKind::Correct, &JudgedLine::kind));
    const bool allCorrect = correctCount == lines.size();
    std::string checkedFirstNote;
    if (lines.size() < lineCount)
        checkedFirstNote = "\r\n\r\n" + m_language.GetLocalizedString(
                                            IDS_DIALOG_MAIN_PROMPT_CHECK_FIRST_X_ANSWERS,
                                            std::to_string(lineCount),
                                            std::to_string(submission.requiredCount));

    Trace("if(bWin && (nWin>=nSCount))");
    const bool enough = correctCount >= submission.requiredCount;
    if (allCorrect && enough)
        return Conclude(submission, CheckOutcome::Correct,
                        TrimTrailingLineEnds(
                            m_language.GetLocalizedString(IDS_DIALOG_MAIN_BINGO_ALL) + checkedFirstNote));

    const std::string lists =
        "\r\n\r\n" +
        LineList(lines, {LineKind::Correct}, IDS_DIALOG_MAIN_PROMPT_WCM_IS_CORRECT,
                 IDS_DIALOG_MAIN_PROMPT_WCM_ARE_CORRECT) +
        LineList(lines, {LineKind::Incorrect}, IDS_DIALOG_MAIN_PROMPT_WCM_IS_INCORRECT,
                 IDS_DIALOG_MAIN_PROMPT_WCM_ARE_INCORRECT) +
        LineList(lines, {LineKind::SameAsEarlier, LineKind::SimilarToEarlier},
                 IDS_DIALOG_MAIN_PROMPT_WCM_IS_REPETITIVE, IDS_DIALOG_MAIN_PROMPT_WCM_ARE_REPETITIVE);
    return Conclude(submission, enough ? CheckOutcome::Correct : CheckOutcome::Wrong,
                    TrimTrailingLineEnds(VerdictTitle(submission, correctCount, allCorrect) +
                                         checkedFirstNote + lists));
}

std::string AnswerChecker::VerdictTitle(const Submission& submission, std::size_t correctCount,
                                        bool allCorrect) const
{
    if (correctCount == submission.solutionCount)
        return m_language.GetLocalizedString(IDS_DIALOG_MAIN_PROMPT_FOUND_ALL);
    if (correctCount >= submission.requiredCount)
        return m_language.GetLocalizedString(IDS_DIALOG_MAIN_PROMPT_GOOD);
    if (IsScoredRun(submission.input.mode))
        return m_language.GetLocalizedString(IDS_DIALOG_MAIN_NO_SCORE);
    return m_language.GetLocalizedString(allCorrect ? IDS_DIALOG_MAIN_PROMPT_INSUFFICIENT_ANSWERS
                                                    : IDS_DIALOG_MAIN_PROMPT_NEED_MORE_EXERCISES);
}

// A heading, then "position: line" for each line of the given kinds; nothing when none.
std::string AnswerChecker::LineList(const std::vector<JudgedLine>& lines,
                                    std::initializer_list<LineKind> kinds, int oneLineId,
                                    int manyLinesId) const
{
    std::string entries;
    std::size_t count = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (std::ranges::find(kinds, lines[i].kind) == kinds.end())
            continue;
        entries += LineEntry(i + 1, ListedText(lines[i]));
        ++count;
    }
    if (count == 0)
        return {};
    return m_language.GetLocalizedString(count == 1 ? oneLineId : manyLinesId) + entries + "\r\n";
}

std::string AnswerChecker::ListedText(const JudgedLine& line) const
{
    if (!line.RepeatsEarlier())
        return line.text;
    return m_language.GetLocalizedString(line.kind == LineKind::SameAsEarlier
                                             ? IDS_DIALOG_MAIN_PROMPT_WCM_SAME_AS
                                             : IDS_DIALOG_MAIN_PROMPT_WCM_SIMILAR_TO,
                                         line.text, std::to_string(line.earlierLine + 1));
}

// Every verdict that counts ends here, so that the outcome and the run's status agree.
std::string AnswerChecker::Conclude(const Submission& submission, CheckOutcome outcome,
                                    std::string comment)
{
    m_lastOutcome = outcome;
    Trace("if(bRecordResult && bLoop)");
    if (submission.recordedStatus)
        *submission.recordedStatus =
            outcome == CheckOutcome::Correct ? kStatusCorrect : kStatusIncorrect;
    return comment;
}

std::vector<AnswerChecker::RepeatedLine> AnswerChecker::RepeatedLines(const AnswerInput& input) const
{
    // A checker of its own, without the log, judges the lines as GetComments does.
    AnswerChecker quiet(m_language);
    Submission submission{.input = input, .recordedStatus = nullptr};
    if (!quiet.CanCheckResult(input) || !quiet.ReadQuestion(input, submission.uaQ))
        return {};
    quiet.SolveQuestion(submission);
    const StringArray lines = quiet.ReadAnswerLines(input);
    if (quiet.EarlyVerdict(submission, lines.size()))
        return {};
    const std::size_t checkCount = submission.LinesToCheck(lines.size());
    const StringArray checkedLines(lines.begin(), lines.begin() + std::ptrdiff_t(checkCount));
    std::vector<RepeatedLine> repeated;
    const std::vector<JudgedLine> judged = quiet.ClassifyLines(submission, checkedLines);
    for (std::size_t i = 0; i < judged.size(); ++i)
        if (judged[i].RepeatsEarlier())
            repeated.push_back({i, judged[i].earlierLine, judged[i].kind == LineKind::SameAsEarlier, judged[i].text,
                                judged[judged[i].earlierLine].text});
    return repeated;
}

std::string AnswerChecker::GetAllSolutionsText(const AnswerInput& input) const
{
    NumberArray uaQ;
    if (!ReadQuestion(input, uaQ))
        return InvalidQuestionText(input);
    StringArray solutions;
    CBMUtilities::GetSolutions(uaQ, solutions, input.GetRules());
    return FormatSolutionList(solutions, m_language);
}

std::string AnswerChecker::FormatSolutionList(const StringArray& solutions, const LanguageState& language)
{
    if (solutions.empty())
        return language.GetLocalizedString(IDS_BMT_NO_SOLUTION);
    const std::string prefix = language.GetLocalizedString(IDS_BMT_A);
    std::string text;
    for (std::size_t k = 0; k < solutions.size(); ++k)
        text += prefix + std::to_string(k + 1) + ": " + solutions[k] + "\r\n";
    return TrimTrailingLineEnds(text);
}

std::string AnswerChecker::GetAnswerCountPrompt(const AnswerInput& input) const
{
    NumberArray uaQ;
    if (!ReadQuestion(input, uaQ) || input.level < 1 || input.level > 3)
        return {};
    StringArray solutions;
    CBMUtilities::GetSolutions(uaQ, solutions, input.GetRules());
    const unsigned required = GetRequiredAnswerCount(input.level, unsigned(solutions.size()));
    return required > 1 ? m_language.GetLocalizedString(IDS_DIALOG_MAIN_PROMPT_X_ANSWERS,
                                                         std::to_string(required))
                        : std::string();
}

}  // namespace tavlix
