#pragma once

#include <QObject>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/AnswerChecker.h"
#include "engine/Techniques.h"
#include "history/ReviewSchedule.h"
#include "runs/Run.h"
#include "runs/WorldCup.h"

class QTimer;
class QWidget;

namespace tavlix {

class Clock;
class Collection;
class DebugLog;
class HistoryStore;
class LanguageState;
class Profile;
class RandomSource;
struct TrainingPlan;

// What one submission came to: the comment for the comments pane, the checker's
// outcome, and in a run the verdict the question keeps (none when the checker refused
// the input, which leaves the question unanswered).
struct Judgement {
    std::string comment;
    CheckOutcome outcome = CheckOutcome::NothingJudged;
    bool inRun = false;
    std::optional<bool> questionCorrect;
};

// A question of the run brought on screen, with what was submitted for it before.
struct ShownQuestion {
    NumberArray numbers;        // as listed, in the list's order
    std::string prompt;         // how many answers the level asks for
    bool answered = false;      // the rest holds only for an answered question
    bool correct = false;
    bool usedAnswerBox = true;  // else "No solution" was claimed
    std::string savedAnswer;    // the answer box as submitted, CR LF between lines
};

// The game behind the main window: judges submissions in free play and in a run, starts
// Training, Training Game and the World Cup, moves through the run's questions, keeps
// its clock, ends it with the report and the rankings, and keeps each judged answer in
// the player's history. It asks the player through modal boxes over dialogParent and
// tells everything else through its signals.
class RunController : public QObject {
    Q_OBJECT

public:
    struct Services {
        const LanguageState& language;
        Profile& profile;  // the World Cup rankings
        const Clock& clock;
        RandomSource& random;  // picks the questions of a run
        const Collection& troubleMakers;
        const Collection& myFavorites;
        HistoryStore* history = nullptr;  // nullptr: answers are not kept
        const DebugLog* log = nullptr;
        std::function<void(int topic)> openHelpTopic;
        // How many main windows run, this one included; action 1 asks the others to close.
        std::function<int(int action)> enumerateInstances;
        int tickMilliseconds = 1000;  // how often a run looks at the clock
    };

    RunController(Services services, QWidget* dialogParent);
    ~RunController() override;

    const Run& CurrentRun() const { return m_run; }
    // The caption of the window and the status line below the panes.
    std::string Caption() const;
    std::string StatusLine() const;

    // A valid question and something to judge, and in a game a question not judged yet.
    bool CanSubmit(const AnswerInput& input) const;
    // Judges the answers on screen. hintUsed: a hint was shown for this question.
    void Submit(const AnswerInput& input, bool hintUsed);
    // The question boxes changed: the time of an answer runs from now.
    void QuestionEdited();

    // The command of a mode: starts it from its dialog in free play, or offers to leave it
    // while it runs.
    void OnModeCommand(RunMode mode);
    void Previous();
    void Next();
    // Done: a game ends with its report.
    void Finish();
    // Esc or the running mode's own command: leaves the run when the player agrees.
    void AskToLeave();
    // The rules of the run (F1 and Help during a run).
    void ShowRunNote() const;
    // The player switched the rule or J/Q/K; a Training goes on under the new choice.
    void FollowRules(bool standardRule, bool jqkEnabled);

signals:
    // A run starts under its own rule and J/Q/K, which become the window's.
    void rulesTaken(bool standardRule, bool jqkEnabled);
    void modeChanged(RunMode mode);
    void captionChanged();
    void questionShown(const tavlix::ShownQuestion& question);
    // Previous (false) or Next (true) moved to another question.
    void navigated(bool forward);
    void answerJudged(const tavlix::Judgement& judgement);
    // "HH:MM:SS" left of a timed run, once a second.
    void timeLeftChanged(const QString& text);
    void timeUp();
    // The first question of a new run is on screen.
    void runStarted();
    // Back in free play; nothing of the run is left.
    void runEnded();

private:
    // What the history tells a plan: the questions due for review now and the player's
    // weakest technique; nothing without a history.
    struct PlanHistory {
        std::vector<ReviewItem> dueForReview;
        std::optional<Technique> weakestTechnique;
    };
    PlanHistory ReadPlanHistory() const;
    // A Training or a Training Game from the plan dialog of the mode.
    void StartPractice(bool training);
    void StartWorldCup();
    bool CloseOtherInstances();
    // The plan's questions (history: what the plan dialog was shown); nothing starts when
    // the plan gives no question.
    void StartPlan(const TrainingPlan& plan, const PlanHistory& history);
    void StartRun(RunSetup setup);
    void ShowQuestion(std::size_t index);
    void JudgeInRun(const AnswerInput& input, Judgement judgement, bool repeated);
    void OnTick();
    void EndRun(bool withReport);
    void RecordAnswer(const AnswerInput& input, CheckOutcome outcome, bool hintUsed);
    void ShowHistoryNotice();
    void Trace(const char* step) const;

    Services m_services;
    QWidget* m_dialogParent;
    AnswerChecker m_checker;
    Run m_run;
    QTimer* m_timer;
    std::int64_t m_questionShownAt = 0;  // milliseconds, when the question on screen appeared
    bool m_historyNoticeDue = false;     // an answer could not be kept; not yet told
    bool m_historyNoticeShown = false;
    std::string m_historyError;
};

}  // namespace tavlix
