#include "runs/RunController.h"

#include <QTimer>
#include <QWidget>

#include "controls/CBMMessageBox.h"
#include "controls/DialogSupport.h"
#include "diagnostics/DebugLog.h"
#include "history/AnswerRecord.h"
#include "history/HistoryStore.h"
#include "history/TechniqueStatistics.h"
#include "i18n/LanguageState.h"
#include "i18n/StringIds.h"
#include "platform/Clock.h"
#include "runs/CTrainingPlanDlg.h"
#include "runs/CWorldCupDlg.h"
#include "runs/TrainingPlan.h"

namespace tavlix {

RunController::RunController(Services services, QWidget* dialogParent)
    : QObject(dialogParent),
      m_services(std::move(services)),
      m_dialogParent(dialogParent),
      m_checker(m_services.language, m_services.log),
      m_timer(new QTimer(this))
{
    m_timer->setObjectName(QStringLiteral("runTimer"));
    connect(m_timer, &QTimer::timeout, this, &RunController::OnTick);
    m_questionShownAt = m_services.clock.NowMilliseconds();
}

RunController::~RunController() = default;

std::string RunController::Caption() const { return m_run.Caption(m_services.language); }

std::string RunController::StatusLine() const { return m_run.StatusLine(m_services.language); }

// The step texts and their order never change: support tools and tests read the trace by them.
void RunController::Trace(const char* step) const
{
    if (m_services.log)
        m_services.log->Write("OnMainSubmit", step);
}

bool RunController::CanSubmit(const AnswerInput& input) const
{
    return m_checker.CanCheckResult(input) && !(m_run.IsActive() && m_run.IsLocked(m_run.Index()));
}

void RunController::Submit(const AnswerInput& input, bool hintUsed)
{
    Trace("start");
    if (!CanSubmit(input))
        return;
    Trace("bool bLoop");
    const bool repeated = m_run.Mode() == RunMode::Training && m_run.HasStatus(m_run.Index());
    Trace("bool bRepeat = false;");
    Trace("SetComments(GetComments(true))");
    Judgement judgement;
    judgement.comment = m_checker.GetComments(input, true, m_run.IsActive() ? m_run.StatusOfCurrent() : RunStatus{});
    judgement.outcome = m_checker.LastOutcome();
    RecordAnswer(input, judgement.outcome, hintUsed);
    Trace("SetComments(GetComments(true))1");
    if (!m_run.IsActive()) {
        emit answerJudged(judgement);
        return;
    }
    Trace("if(!m_bTraining)");
    JudgeInRun(input, std::move(judgement), repeated);
}

// A judged question keeps its verdict, its answer and, in a game, its locked controls; the
// run offers to finish once all are answered. An input the checker refused (more lines than
// it reads) leaves the question as it was.
void RunController::JudgeInRun(const AnswerInput& input, Judgement judgement, bool repeated)
{
    judgement.inRun = true;
    const bool judged = judgement.outcome == CheckOutcome::Correct || judgement.outcome == CheckOutcome::Wrong;
    if (judged) {
        Trace("COLORREF\tcrBtnColor;");
        judgement.questionCorrect = m_run.Status(m_run.Index()) == 1;
        m_run.RecordSubmission(!input.noSolutionChecked, input.answerText, repeated);
    }
    emit answerJudged(judgement);
    Trace("SetCaption()");
    emit captionChanged();
    if (judged && m_run.IsGame() && m_run.AllAnswered() &&
        AskYesNo(LocalizedText(m_services.language, IDS_DIALOG_MAIN_PROMPT_SUBMIT), m_dialogParent))
        EndRun(true);
}

void RunController::QuestionEdited() { m_questionShownAt = m_services.clock.NowMilliseconds(); }

RunController::PlanHistory RunController::ReadPlanHistory() const
{
    if (!m_services.history)
        return {};
    std::string error;
    const std::vector<AnswerRecord> records = m_services.history->LoadAll(error);
    return {tavlix::DueForReview(records, m_services.clock.Now()), WeakestTechnique(records)};
}

void RunController::OnModeCommand(RunMode mode)
{
    if (m_run.Mode() == mode)
        AskToLeave();
    else if (m_run.IsActive())
        return;
    else if (mode == RunMode::WorldCup)
        StartWorldCup();
    else
        StartPractice(mode == RunMode::Training);
}

void RunController::StartPractice(bool training)
{
    const PlanHistory history = ReadPlanHistory();
    CTrainingPlanDlg dialog(training, m_services.profile, m_services.language, m_services.troubleMakers,
                            m_services.myFavorites, m_dialogParent, history.dueForReview, history.weakestTechnique);
    if (dialog.exec() == QDialog::Accepted)
        StartPlan(dialog.Plan(), history);
}

void RunController::StartPlan(const TrainingPlan& plan, const PlanHistory& history)
{
    StringArray questions = ChooseQuestions(BuildCandidates(plan, m_services.troubleMakers, m_services.myFavorites,
                                                            history.dueForReview, history.weakestTechnique),
                                            plan, m_services.random, m_services.clock);
    if (questions.empty())
        return;
    const LanguageState& language = m_services.language;
    if (questions.size() < std::size_t(plan.questionCount)) {
        const std::string runName =
            language.GetLocalizedString(plan.training ? IDS_BMT_TRAINING_LOWER : IDS_BMT_TRAINING_GAME_LOWER);
        ShowNotice(ToQString(language.GetLocalizedString(IDS_DIALOG_MAIN_PROMPT_INSUFFICIENT_QUESTIONS,
                                                         std::to_string(plan.questionCount), runName,
                                                         std::to_string(questions.size()))),
                   m_dialogParent, MB_ICONASTERISK);
    }
    StartRun({plan.training ? RunMode::Training : RunMode::TrainingGame, plan.standardRule, plan.jqkEnabled,
              plan.difficultyLevel, std::move(questions), plan.TimeLimitSeconds()});
}

void RunController::StartWorldCup()
{
    CWorldCupDlg dialog(m_services.profile, m_services.language, m_services.openHelpTopic, m_dialogParent);
    if (dialog.exec() != QDialog::Accepted || !CloseOtherInstances())
        return;
    const WorldCupChoice choice{dialog.IsStandardRule(), dialog.IsJqkEnabled()};
    const TrainingPlan plan = WorldCupPlan(choice);
    StringArray questions = ChooseQuestions(BuildCandidates(plan, m_services.troubleMakers, m_services.myFavorites),
                                            plan, m_services.random, m_services.clock);
    StartRun({RunMode::WorldCup, choice.standardRule, choice.jqkEnabled, WorldCupDifficulty(choice),
              std::move(questions), int(kWorldCupSeconds)});
}

// A World Cup is played alone: the other running copies of the program are asked to
// close first, when the player agrees.
bool RunController::CloseOtherInstances()
{
    if (!m_services.enumerateInstances || m_services.enumerateInstances(0) <= 1)
        return true;
    const int answer =
        BMMessageBox(LocalizedText(m_services.language, IDS_DIALOG_MAIN_PROMPT_EXIT_OTHER_TAVLIX,
                                   m_services.language.ProductName()),
                     {}, MB_OKCANCEL | MB_ICONQUESTION, false, {}, false, false, m_dialogParent);
    if (answer != IDOK)
        return false;
    m_services.enumerateInstances(1);
    return true;
}

// The clock starts once the player has read the rules.
void RunController::StartRun(RunSetup setup)
{
    emit rulesTaken(setup.standardRule, setup.jqkEnabled);
    m_run.Start(std::move(setup));
    emit modeChanged(m_run.Mode());
    emit captionChanged();
    ShowRunNote();
    if (m_run.Level() == 4)
        BMMessageBox(LocalizedText(m_services.language, IDS_DIALOG_MAIN_PROMPT_ULTIMATE,
                                   m_run.RunNameInText(m_services.language)),
                     LocalizedText(m_services.language, IDS_DIALOG_MAIN_PROMPT_ULTIMATE_CAPTION),
                     MB_OK | MB_ICONASTERISK, false, {}, false, false, m_dialogParent);
    m_run.StartClock(m_services.clock.Now());
    m_timer->start(m_services.tickMilliseconds);
    ShowQuestion(0);
    emit runStarted();
}

void RunController::ShowQuestion(std::size_t index)
{
    if (index >= m_run.QuestionCount())
        return;
    ShownQuestion shown;
    if (!CBMUtilities::GetQuestionFromString(m_run.Question(index), shown.numbers, kLargestNumber))
        return;
    m_run.SetIndex(index);
    AnswerInput input;
    for (std::size_t i = 0; i < 4; ++i)
        input.questionBoxes[i] = std::to_string(shown.numbers[i]);
    input.standardRule = m_run.IsStandardRule();
    input.jqkEnabled = m_run.IsJqkEnabled();
    input.mode = m_run.Mode();
    input.level = m_run.Level();
    shown.prompt = m_checker.GetAnswerCountPrompt(input);
    shown.answered = m_run.HasStatus(index);
    if (shown.answered) {
        shown.correct = m_run.Status(index) == 1;
        shown.usedAnswerBox = m_run.UsedAnswerBox(index);
        shown.savedAnswer = m_run.SavedAnswer(index);
    }
    emit questionShown(shown);
    emit captionChanged();
}

void RunController::Previous()
{
    if (!m_run.CanGoPrevious())
        return;
    ShowQuestion(m_run.Index() - 1);
    emit navigated(false);
}

void RunController::Next()
{
    if (!m_run.CanGoNext())
        return;
    ShowQuestion(m_run.Index() + 1);
    emit navigated(true);
}

void RunController::Finish()
{
    if (m_run.IsGame())
        EndRun(true);
}

void RunController::AskToLeave()
{
    if (AskYesNo(LocalizedText(m_services.language, IDS_DIALOG_PROMPT_EXIT_X, m_run.RunNameInText(m_services.language)),
                 m_dialogParent))
        EndRun(false);
}

void RunController::ShowRunNote() const
{
    const bool irrelevantHelp = m_run.Level() != 1;
    BMMessageBox(ToQString(m_run.RunNote(m_services.language)), {}, MB_OK | MB_ICONASTERISK, irrelevantHelp,
                 irrelevantHelp ? QLatin1String(CBMMessageBox::kIrrelevantHelpKey) : QString(), false, false,
                 m_dialogParent);
}

void RunController::FollowRules(bool standardRule, bool jqkEnabled)
{
    if (m_run.Mode() != RunMode::Training)
        return;
    m_run.FollowRules(standardRule, jqkEnabled);
    emit captionChanged();
}

void RunController::OnTick()
{
    if (!m_run.IsActive()) {
        m_timer->stop();
        return;
    }
    const std::time_t now = m_services.clock.Now();
    if (m_run.IsTimeUp(now)) {
        m_timer->stop();
        emit timeUp();
        EndRun(true);
        return;
    }
    if (const auto remaining = m_run.RemainingText(now))
        emit timeLeftChanged(QString::fromStdString(*remaining));
}

void RunController::EndRun(bool withReport)
{
    if (!m_run.IsActive())
        return;
    m_timer->stop();
    const std::time_t now = m_services.clock.Now();
    if (withReport && m_run.IsGame())
        ShowNotice(ToQString(m_run.Report(m_services.language, now)), m_dialogParent, MB_ICONASTERISK);
    if (withReport && m_run.Mode() == RunMode::WorldCup)
        OfferWorldCupRanking(m_services.profile, m_services.language, m_services.openHelpTopic, m_run.Score(),
                             m_run.SecondsUsed(now), m_run.IsStandardRule(), m_run.IsJqkEnabled(), m_dialogParent);
    m_run.Reset();
    emit modeChanged(RunMode::Free);
    emit runEnded();
    ShowHistoryNotice();
}

// A failed write never stops the game; the player hears of it once a session, outside a run.
// A history that can only be read was told of at start-up.
void RunController::RecordAnswer(const AnswerInput& input, CheckOutcome outcome, bool hintUsed)
{
    if (!m_services.history || m_services.history->ReadOnly())
        return;
    const std::optional<AnswerRecord> record =
        RecordOfSubmission(input, outcome, m_services.language.InputCharacterSet(), m_services.clock.Now(),
                           m_services.clock.NowMilliseconds() - m_questionShownAt, hintUsed);
    std::string error;
    if (!record || m_services.history->Add(*record, error) || m_historyNoticeShown)
        return;
    m_historyError = error;
    m_historyNoticeDue = true;
    if (!m_run.IsActive())
        QTimer::singleShot(0, this, [this] { ShowHistoryNotice(); });
}

void RunController::ShowHistoryNotice()
{
    if (!m_historyNoticeDue || m_historyNoticeShown || m_run.IsActive())
        return;
    m_historyNoticeDue = false;
    m_historyNoticeShown = true;
    if (m_services.log)
        m_services.log->Write("RecordAnswer", m_historyError);
    ShowNotice(LocalizedText(m_services.language, IDS_HISTORY_ADD_FAILED, m_historyError), m_dialogParent,
               MB_ICONEXCLAMATION);
}

}  // namespace tavlix
