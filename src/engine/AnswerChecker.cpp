#include "engine/AnswerChecker.h"

#include <algorithm>
#include <cstdio>

#include "diagnostics/DebugLog.h"
#include "i18n/LanguageState.h"
#include "i18n/StringIds.h"
#include "common/TextUtilities.h"

namespace tavlix {

namespace {

constexpr std::size_t kMaxAnswerLines = 30;
constexpr std::size_t kShortestAnswer = 7;  // four one-digit numbers and three operators

// Classes of a judged line: irrelevant to every earlier one, incorrect, or (any other
// value) repeating the earlier line with that index.
constexpr unsigned kNewLine = 1000;
constexpr unsigned kIncorrectLine = 999;

bool IsScoredRun(RunMode mode) { return mode == RunMode::TrainingGame || mode == RunMode::WorldCup; }

unsigned MaximumOf(const AnswerInput& input) { return input.jqkEnabled ? 13 : 10; }

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

}  // namespace

AnswerChecker::AnswerChecker(const LanguageState& language, const DebugLog* log)
    : m_language(language), m_log(log)
{
}

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
        if (!ReadBox(TrimBlanksAndLineEnds(normalized), MaximumOf(input), value))
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
                                         std::to_string(MaximumOf(input)));
}

std::string AnswerChecker::RuleName(const AnswerInput& input) const
{
    return m_language.GetLocalizedString(input.standardRule ? IDS_BMT_STANDARD_RULE
                                                            : IDS_BMT_ADVANCED_RULE);
}

std::string AnswerChecker::GetComments(const AnswerInput& input, bool bRecordResult, RunStatus run)
{
    m_nLastOutcome = kNothingJudged;
    const bool checkAllLines = !IsScoredRun(input.mode) || input.level == 4;

    Trace("CanCheckResult()");
    if (!CanCheckResult(input))
        return {};

    Trace("bool bRepeat = false;");
    const bool bLoop = input.mode != RunMode::Free;
    const std::string answerText = input.noSolutionChecked ? std::string() : input.answerText;
    const bool hasStatus = run.m_uaAStatus && run.m_nIndex < run.m_uaAStatus->size();
    const auto setStatus = [&](unsigned status) {
        if (bRecordResult && bLoop && hasStatus)
            (*run.m_uaAStatus)[run.m_nIndex] = status;
    };
    const auto verdict = [&](int outcome, unsigned status, std::string text) {
        m_nLastOutcome = outcome;
        Trace("if(bRecordResult && bLoop)");
        setStatus(status);
        return text;
    };

    Trace("if(this->m_uaAStatus.GetAt(m_nIndex)>0)");
    if (bLoop && hasStatus && (*run.m_uaAStatus)[run.m_nIndex] > 0 && bRecordResult &&
        input.mode != RunMode::Training)
        return {};

    Trace("if(!CheckValidInput(uaQ))");
    CBMUtilities::SetCurrentMaximum(MaximumOf(input));
    NumberArray uaQ;
    if (!ReadQuestion(input, uaQ)) {
        m_nLastOutcome = kRejected;
        return InvalidQuestionText(input);
    }

    Trace("strA = ...");
    Trace("bool bNoSolution = false;");
    StringArray solutions;
    const bool searched = CBMUtilities::GetSolutions(uaQ, solutions, input.standardRule);
    Trace("GetSolutionCount");
    const unsigned n = unsigned(solutions.size());
    const bool bNoSolution = !searched || n == 0;
    if (bNoSolution)
        Trace("bNoSolution = true");

    const unsigned nSCount = GetRequiredAnswerCount(input.level, n);
    Trace("strAnswerCount.Format...");
    const std::string strAnswerCount = std::to_string(n);
    const std::string ruleName = RuleName(input);

    Trace("GetSAFromMLString");
    StringArray saAnswer0;
    for (const std::string& line : GetSAFromMLString(answerText)) {
        const std::string_view trimmed = TrimBlanksAndLineEnds(line);
        if (trimmed.empty())
            continue;
        Trace("GetNormalizedUserInput");
        saAnswer0.push_back(CBMUtilities::GetNormalizedUserInput(trimmed, InputMode::AnswerLine,
                                                                 m_language.InputCharacterSet()));
        Trace("saAnswer0.SetAt(i,strLine)");
    }
    const std::size_t nSize = saAnswer0.size();

    Trace("if(nSize==0)");
    if (nSize == 0 || input.noSolutionChecked) {
        if (bNoSolution)
            return verdict(kCorrect, 1, m_language.GetLocalizedString(IDS_DIALOG_MAIN_BINGO_NO_SOLUTION));
        return verdict(kWrong, 2,
                       m_language.GetLocalizedString(IsScoredRun(input.mode)
                                                         ? IDS_DIALOG_MAIN_YOU_LOST_WITH_ANSWER_COUNT
                                                         : IDS_DIALOG_MAIN_YOU_LOST_CAN_CLICK,
                                                     strAnswerCount, ruleName));
    }
    Trace("if(bNoSolution)");
    if (bNoSolution)
        return verdict(kWrong, 2,
                       m_language.GetLocalizedString(IDS_DIALOG_MAIN_YOU_LOST_WITH_NO_ANSWER, ruleName));
    Trace("if(nSize>30)");
    if (nSize > kMaxAnswerLines) {
        m_nLastOutcome = kRejected;
        return m_language.GetLocalizedString(IDS_DIALOG_MAIN_TOO_MANY_ANSWERS);
    }

    const std::size_t nCheckCount = checkAllLines ? nSize : nSCount;
    Trace("if(nCheckCount>nSize)");
    if (nSize < nCheckCount)
        return verdict(kWrong, 2,
                       m_language.GetLocalizedString(IDS_DIALOG_MAIN_NO_SCORE) + "\r\n\r\n" +
                           m_language.GetLocalizedString(IDS_DIALOG_MAIN_PROMPT_INSUFFICIENT_ANSWERS));

    Trace("saAnswer.SetSize(nCheckCount)");
    const StringArray saAnswer(saAnswer0.begin(), saAnswer0.begin() + std::ptrdiff_t(nCheckCount));

    if (nCheckCount == 1 && nSCount <= 1) {
        Trace("if(CBMUtilities::CheckValidSolution(uaQ,strExp))");
        const bool correct = CBMUtilities::CheckValidSolution(uaQ, saAnswer[0]);
        std::string text = m_language.GetLocalizedString(correct ? IDS_DIALOG_MAIN_BINGO_WITH_SOLUTION
                                                                 : IDS_DIALOG_MAIN_YOU_LOST);
        if (nSize > 1)
            text += "\r\n\r\n" + m_language.GetLocalizedString(IDS_DIALOG_MAIN_PROMPT_MORE_ANSWERS);
        Trace("strComments = strInfo;");
        return verdict(correct ? kCorrect : kWrong, correct ? 1 : 2, text);
    }

    std::string head;
    if (nCheckCount < nSize)
        head = "\r\n\r\n" + m_language.GetLocalizedString(IDS_DIALOG_MAIN_PROMPT_CHECK_FIRST_X_ANSWERS,
                                                          std::to_string(nSize),
                                                          std::to_string(nSCount));

    Trace("uaWCMStatus.SetSize(nCheckCount)");
    std::vector<unsigned> uaWCMStatus(nCheckCount);
    StringArray saNA(nCheckCount), saSubNA(nCheckCount);
    unsigned nWin = 0, incorrect = 0, repetitive = 0;
    bool bWin = true;
    char question[64];
    std::snprintf(question, sizeof question, "%u:%u:%u:%u", uaQ[0], uaQ[1], uaQ[2], uaQ[3]);
    for (std::size_t i = 0; i < nCheckCount; ++i) {
        Trace(question);
        if (!CBMUtilities::CheckValidSolution(uaQ, saAnswer[i])) {
            uaWCMStatus[i] = kIncorrectLine;
            ++incorrect;
            bWin = false;
            continue;
        }
        Trace("CBMUtilities::GetNormalAnswer(uaQ,strSubNA,strExp)");
        NumberArray numbers = uaQ;
        std::string strSubNA;
        const std::string normal = CBMUtilities::GetNormalAnswer(numbers, strSubNA, saAnswer[i]);
        Trace(saAnswer[i].c_str());
        Trace("bool bFoundRepeat = false;");
        const auto earlier = std::find(saNA.begin(), saNA.begin() + std::ptrdiff_t(i), normal);
        if (earlier != saNA.begin() + std::ptrdiff_t(i)) {
            const std::size_t j = std::size_t(earlier - saNA.begin());
            saNA[i] = saSubNA[j] == strSubNA ? "same" : "similar";
            uaWCMStatus[i] = unsigned(j);
            ++repetitive;
            bWin = false;
        } else {
            Trace("saNA.SetAt(i,strExp);");
            saNA[i] = normal;
            uaWCMStatus[i] = kNewLine;
            ++nWin;
        }
        Trace("saSubNA.SetAt(i,strSubNA)");
        saSubNA[i] = strSubNA;
    }

    Trace("if(bWin && (nWin>=nSCount))");
    if (bWin && nWin >= nSCount)
        return verdict(kCorrect, 1,
                       TrimTrailingLineEnds(m_language.GetLocalizedString(IDS_DIALOG_MAIN_BINGO_ALL) + head));

    std::string title;
    int outcome = kCorrect;
    if (nWin == n) {
        title = m_language.GetLocalizedString(IDS_DIALOG_MAIN_PROMPT_FOUND_ALL);
    } else if (nWin >= nSCount) {
        title = m_language.GetLocalizedString(IDS_DIALOG_MAIN_PROMPT_GOOD);
    } else {
        outcome = kWrong;
        title = m_language.GetLocalizedString(
            IsScoredRun(input.mode) ? IDS_DIALOG_MAIN_NO_SCORE
            : bWin                  ? IDS_DIALOG_MAIN_PROMPT_INSUFFICIENT_ANSWERS
                                    : IDS_DIALOG_MAIN_PROMPT_NEED_MORE_EXERCISES);
    }

    const auto list = [&](unsigned count, int one, int many, auto&& belongs, auto&& entry) {
        if (count == 0)
            return std::string();
        std::string text = m_language.GetLocalizedString(count == 1 ? one : many);
        for (std::size_t i = 0; i < nCheckCount; ++i)
            if (belongs(uaWCMStatus[i]))
                text += LineEntry(i + 1, entry(i));
        return text + "\r\n";
    };
    const auto lineText = [&](std::size_t i) { return saAnswer[i]; };
    std::string lists = "\r\n\r\n";
    lists += list(nWin, IDS_DIALOG_MAIN_PROMPT_WCM_IS_CORRECT, IDS_DIALOG_MAIN_PROMPT_WCM_ARE_CORRECT,
                  [](unsigned s) { return s == kNewLine; }, lineText);
    lists += list(incorrect, IDS_DIALOG_MAIN_PROMPT_WCM_IS_INCORRECT,
                  IDS_DIALOG_MAIN_PROMPT_WCM_ARE_INCORRECT,
                  [](unsigned s) { return s == kIncorrectLine; }, lineText);
    lists += list(repetitive, IDS_DIALOG_MAIN_PROMPT_WCM_IS_REPETITIVE,
                  IDS_DIALOG_MAIN_PROMPT_WCM_ARE_REPETITIVE,
                  [](unsigned s) { return s < kIncorrectLine; },
                  [&](std::size_t i) {
                      return m_language.GetLocalizedString(
                          saNA[i] == "same" ? IDS_DIALOG_MAIN_PROMPT_WCM_SAME_AS
                                            : IDS_DIALOG_MAIN_PROMPT_WCM_SIMILAR_TO,
                          saAnswer[i], std::to_string(uaWCMStatus[i] + 1));
                  });
    return verdict(outcome, outcome == kCorrect ? 1 : 2, TrimTrailingLineEnds(title + head + lists));
}

std::string AnswerChecker::GetAllSolutionsText(const AnswerInput& input) const
{
    CBMUtilities::SetCurrentMaximum(MaximumOf(input));
    NumberArray uaQ;
    if (!ReadQuestion(input, uaQ))
        return InvalidQuestionText(input);
    StringArray solutions;
    CBMUtilities::GetSolutions(uaQ, solutions, input.standardRule);
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
    CBMUtilities::SetCurrentMaximum(MaximumOf(input));
    NumberArray uaQ;
    if (!ReadQuestion(input, uaQ) || input.level < 1 || input.level > 3)
        return {};
    StringArray solutions;
    CBMUtilities::GetSolutions(uaQ, solutions, input.standardRule);
    const unsigned required = GetRequiredAnswerCount(input.level, unsigned(solutions.size()));
    return required > 1 ? m_language.GetLocalizedString(IDS_DIALOG_MAIN_PROMPT_X_ANSWERS,
                                                         std::to_string(required))
                        : std::string();
}

}  // namespace tavlix
