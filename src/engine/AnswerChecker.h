#pragma once

#include <array>
#include <cstddef>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "engine/CBMUtilities.h"

namespace tavlix {

class DebugLog;
class LanguageState;

enum class RunMode { Free, Training, TrainingGame, WorldCup };

// A Training Game or a World Cup: each question is submitted once, and scored.
constexpr bool IsScoredRun(RunMode mode)
{
    return mode == RunMode::TrainingGame || mode == RunMode::WorldCup;
}

// What the main window holds at the moment an answer is judged.
struct AnswerInput {
    std::array<std::string, 4> questionBoxes;  // the four question boxes as typed
    bool standardRule = true;
    bool jqkEnabled = true;                    // the maximum is 13, else 10
    int level = 1;                             // 1 Beginner .. 4 Ultimate; 1 outside a run
    RunMode mode = RunMode::Free;
    std::string answerText;                    // one answer per line, CR LF between lines
    bool noSolutionChecked = false;

    Rules GetRules() const { return Rules::Of(standardRule, jqkEnabled); }
};

// A submission holds at most this many answer lines: the checker rejects one with more,
// the hint reads no further.
inline constexpr std::size_t kMaxAnswerLines = 30;

// The non-blank lines of the answer box, trimmed and normalized for the character set;
// none when "No solution" is claimed, for the claim is judged alone whatever the box
// holds.
StringArray AnswerLines(const AnswerInput& input, CharacterSet charset);

// The status list of the run and the question on screen (m_uaAStatus, m_nIndex):
// 0 not answered, 1 correct, 2 and above incorrect.
struct RunStatus {
    std::vector<unsigned>* m_uaAStatus = nullptr;
    std::size_t m_nIndex = 0;
};

// What the last GetComments call concluded; the main window picks a sound from it.
enum class CheckOutcome { NothingJudged = 0, Correct = 1, Wrong = 2, Rejected = 3 };

// Judges the typed answers to the question on screen and words the comment, in the
// interface language.
class AnswerChecker {
public:
    explicit AnswerChecker(const LanguageState& language, const DebugLog* log = nullptr);

    // A valid question, and "No solution" checked or an answer of at least 7 characters.
    bool CanCheckResult(const AnswerInput& input) const;
    // The verdict and the comment; with bRecordResult, a run's status of the question.
    std::string GetComments(const AnswerInput& input, bool bRecordResult, RunStatus run = {});
    CheckOutcome LastOutcome() const { return m_lastOutcome; }

    static unsigned GetRequiredAnswerCount(int level, unsigned solutionCount);
    // "A1: ..." lines, or the reason there are none.
    std::string GetAllSolutionsText(const AnswerInput& input) const;
    // The "A1: ..." lines of a list of solutions, or "There is no solution.".
    static std::string FormatSolutionList(const StringArray& solutions, const LanguageState& language);
    // "Please submit N different solutions..." for a run question below Ultimate.
    std::string GetAnswerCountPrompt(const AnswerInput& input) const;

    // The four numbers of the question boxes, sorted, when they form a valid question.
    bool ReadQuestion(const AnswerInput& input, NumberArray& uaQ) const;

    // A judged line that repeats an earlier one; positions count the non-blank lines
    // from 0, as the comment's numbers count them from 1.
    struct RepeatedLine {
        std::size_t line = 0;
        std::size_t earlierLine = 0;
        bool same = false;  // else similar
        std::string text;
        std::string earlierText;
    };
    // The lines that GetComments would list as repetitive for input, in order; none
    // when it would list no lines. Nothing is traced or recorded.
    std::vector<RepeatedLine> RepeatedLines(const AnswerInput& input) const;

private:
    struct Submission;
    enum class LineKind;
    struct JudgedLine;

    void Trace(const char* step) const;
    std::string InvalidQuestionText(const AnswerInput& input) const;
    std::string RuleName(const AnswerInput& input) const;

    // The phases of GetComments, in the order it runs them.
    void SolveQuestion(Submission& submission) const;
    StringArray ReadAnswerLines(const AnswerInput& input) const;
    std::optional<std::string> EarlyVerdict(const Submission& submission, std::size_t lineCount);
    std::string JudgeSingleLine(const Submission& submission, const std::string& line,
                                std::size_t lineCount);
    std::vector<JudgedLine> ClassifyLines(const Submission& submission, const StringArray& lines) const;
    JudgedLine ClassifyLine(const Submission& submission, const std::string& line,
                            const std::vector<JudgedLine>& earlierLines) const;
    std::string WordVerdict(const Submission& submission, const std::vector<JudgedLine>& lines,
                            std::size_t lineCount);
    std::string VerdictTitle(const Submission& submission, std::size_t correctCount,
                             bool allCorrect) const;
    std::string LineList(const std::vector<JudgedLine>& lines, std::initializer_list<LineKind> kinds,
                         int oneLineId, int manyLinesId) const;
    std::string ListedText(const JudgedLine& line) const;
    std::string Conclude(const Submission& submission, CheckOutcome outcome, std::string comment);

    const LanguageState& m_language;
    const DebugLog* m_log;
    CheckOutcome m_lastOutcome = CheckOutcome::NothingJudged;
};

}  // namespace tavlix
