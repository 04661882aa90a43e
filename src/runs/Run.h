#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "engine/AnswerChecker.h"

namespace tavlix {

class LanguageState;

// What a run is started with: the mode, the rule and J/Q/K it is played under, the
// difficulty level, its questions and its time limit.
struct RunSetup {
    RunMode mode = RunMode::Free;
    bool standardRule = true;
    bool jqkEnabled = false;
    int level = 1;
    StringArray questions;
    int timeLimitSeconds = -1;  // -1: none
};

// One pass through a list of questions: Training, Training Game or World Cup. Holds the
// state of every question, the time, and the texts the window shows about the run;
// the window owns one and drives it.
class Run {
public:
    // The questions on, none answered yet; the clock starts with StartClock, once the
    // player has read the rules.
    void Start(RunSetup setup);
    void StartClock(std::time_t now) { m_startTime = now; }
    // Back to free mode: nothing of the run is kept.
    void Reset();

    bool IsActive() const { return m_setup.mode != RunMode::Free; }
    RunMode Mode() const { return m_setup.mode; }
    bool IsGame() const { return IsScoredRun(m_setup.mode); }
    // Training goes on under the rule and J/Q/K the player switches to; the caption and the
    // rules note follow them.
    void FollowRules(bool standardRule, bool jqkEnabled);
    bool IsStandardRule() const { return m_setup.standardRule; }
    bool IsJqkEnabled() const { return m_setup.jqkEnabled; }
    int Level() const { return m_setup.level; }
    int TimeLimitSeconds() const { return m_setup.timeLimitSeconds; }
    std::size_t QuestionCount() const { return m_setup.questions.size(); }
    const std::string& Question(std::size_t index) const { return m_setup.questions[index]; }

    std::size_t Index() const { return m_nIndex; }
    void SetIndex(std::size_t index) { m_nIndex = index; }
    bool CanGoPrevious() const { return IsActive() && m_nIndex >= 1; }
    bool CanGoNext() const { return IsActive() && m_nIndex + 1 < QuestionCount(); }

    // Where answer checking records the verdict of the question on screen.
    RunStatus StatusOfCurrent() { return {&m_uaAStatus, m_nIndex}; }
    // 0 not answered, 1 correct, 2 and above incorrect.
    unsigned Status(std::size_t index) const { return m_uaAStatus[index]; }
    bool HasStatus(std::size_t index) const { return m_uaAStatus[index] != 0; }
    // In a game a question is submitted once; its controls stay locked after.
    bool IsLocked(std::size_t index) const { return IsGame() && HasStatus(index); }
    bool UsedAnswerBox(std::size_t index) const { return m_answerBoxFlags[index] != 0; }
    const std::string& SavedAnswer(std::size_t index) const { return m_savedAnswers[index]; }

    // After the question on screen was judged: what was submitted, and whether it had
    // been submitted before (which does not count again).
    void RecordSubmission(bool usedAnswerBox, std::string answer, bool repeated);
    bool AllAnswered() const { return m_answeredCount == QuestionCount(); }
    std::size_t Score() const;

    // The time left as "HH:MM:SS", when the run has a limit.
    std::optional<std::string> RemainingText(std::time_t now) const;
    bool IsTimeUp(std::time_t now) const;

    std::string Caption(const LanguageState& language) const;
    std::string StatusLine(const LanguageState& language) const;
    // The score report of a Training Game or a World Cup.
    std::string Report(const LanguageState& language, std::time_t now) const;
    // The rules of the run (F1 and Help during a run).
    std::string RunNote(const LanguageState& language) const;
    // "training", "training game" or "World Cup", as prompts name the run.
    std::string RunNameInText(const LanguageState& language) const;
    // Whole seconds since the clock started, no more than the time limit.
    long long SecondsUsed(std::time_t now) const;
    std::string TimeUsedText(const LanguageState& language, std::time_t now) const;

private:
    std::string LevelName(const LanguageState& language) const;
    std::string RuleText(const LanguageState& language) const;
    std::string DifficultyName(const LanguageState& language) const;
    std::string DifficultyNote(const LanguageState& language) const;
    std::string ValueRangeText() const;

    RunSetup m_setup;
    std::size_t m_nIndex = 0;
    std::vector<unsigned> m_uaAStatus;
    std::vector<unsigned> m_answerBoxFlags;
    std::vector<std::string> m_savedAnswers;
    std::size_t m_answeredCount = 0;
    std::time_t m_startTime = 0;
};

// The name of a mode as the toolbar and the caption show it ("Training", ...).
std::string ModeName(RunMode mode, const LanguageState& language);

}  // namespace tavlix
