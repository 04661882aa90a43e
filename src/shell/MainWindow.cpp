#include "shell/MainWindow.h"

#include <QCheckBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include "completelist/CompleteListDlg.h"
#include "common/TextUtilities.h"
#include "controls/CBMMessageBox.h"
#include "controls/DialogSupport.h"
#include "controls/HyperlinkLabel.h"
#include "controls/PictureButton.h"
#include "diagnostics/DebugLog.h"
#include "engine/CBMUtilities.h"
#include "history/StatisticsWindow.h"
#include "i18n/LanguageState.h"
#include "i18n/StringIds.h"
#include "media/CBackgroundDlg.h"
#include "media/CBackgroundMusicDlg.h"
#include "media/GameSounds.h"
#include "media/MusicPlayer.h"
#include "media/MusicType.h"
#include "media/WindowBackground.h"
#include "platform/Clock.h"
#include "settings/Profile.h"
#include "settings/SettingsTable.h"
#include "settings/UserDataDirectory.h"
#include "shell/AboutDlg.h"
#include "shell/CommandBindings.h"
#include "shell/CommentsPane.h"
#include "shell/QtTranslations.h"

namespace tavlix {

MainWindow::MainWindow(MainWindowServices services, QWidget* parent)
    : QDialog(parent),
      m_services(std::move(services)),
      m_checker(m_services.language, m_services.log),
      m_collections({m_services.language, m_services.profile, m_services.userData, m_services.setUpUserDataDirectory,
                     m_services.openHelpTopic, m_services.pickSaveFile})
{
    setObjectName(QStringLiteral("mainWindow"));
    setWindowFlag(Qt::WindowMinimizeButtonHint, true);
    // paintEvent covers every pixel, so nothing is cleared before it.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAcceptDrops(true);
    m_background = std::make_unique<WindowBackground>(m_services.programDirectory, [this] { update(); });
    m_background->Load(m_services.profile);

    // Start-up: the stored rule and J/Q/K choice, then the controls and texts.
    m_standardRule = ReadSetting(m_services.profile, setting::kGameStandardRule);
    m_jqk = ReadSetting(m_services.profile, setting::kGameJqk);
    m_runs = new RunController({m_services.language, m_services.profile, m_services.clock, m_services.random,
                                m_collections.TroubleMakers(), m_collections.MyFavorites(), m_services.history,
                                m_services.log, m_services.openHelpTopic, m_services.enumerateInstances,
                                m_services.runTickMilliseconds},
                               this);
    m_handlers = CommandHandlers();

    m_uiLock = true;
    m_ui.Build(this);
    m_pane = std::make_unique<CommentsPane>(m_ui.commentsPane, m_checker, m_services.language,
                                            [this] { return ReadInput(); });
    m_commands = new CommandBindings(m_ui.menuBar, m_services.language,
                                     {[this] { return Context(); }, [this](int id) { RunCommand(id); }}, this);
    m_commands->PutBefore({m_ui.answerBox, m_ui.questionBoxes[0], m_ui.questionBoxes[1], m_ui.questionBoxes[2],
                           m_ui.questionBoxes[3]});
    ConnectControls();
    ConnectRuns();
    ApplyLanguage();
    m_ui.timeField->clear();
    ApplyLayout(ReadSetting(m_services.profile, setting::kEnlargedUi));

    m_firstTick = new QTimer(this);
    m_firstTick->setSingleShot(true);
    m_firstTick->setInterval(100);
    connect(m_firstTick, &QTimer::timeout, this, &MainWindow::OnFirstTick);
    m_sounds = new GameSounds({m_services.audio, m_services.musicFiles, m_services.language,
                               m_services.openWithRegisteredPlayer, m_services.musicTickMilliseconds},
                              *m_runs, this);

    m_uiLock = false;
    m_initialized = true;
    UpdateToolbarImages();
    UpdateControlStates();
}

MainWindow::~MainWindow()
{
    // The rule and J/Q/K of the last game or plan are the next start's choice.
    WriteSetting(m_services.profile, setting::kGameStandardRule, m_standardRule);
    WriteSetting(m_services.profile, setting::kGameJqk, m_jqk);
    m_background->Save(m_services.profile);
}

const Run& MainWindow::CurrentRun() const { return m_runs->CurrentRun(); }

const MusicPlayer& MainWindow::Music() const { return m_sounds->Music(); }

QString MainWindow::Text(int id, const std::string& first) const
{
    return LocalizedText(m_services.language, id, first);
}

MainWindow::Handlers MainWindow::CommandHandlers()
{
    return {
        {ID_STANDARD_RULE, [this] { OnRuleCommand(true); }},
        {ID_ADVANCED_RULE, [this] { OnRuleCommand(false); }},
        {ID_ENABLE_JQK, [this] { SetJQK(!m_jqk); }},
        {ID_CHECK_SOLUTION, [this] { m_pane->ShowAllSolutions(); }},
        {ID_CHECK_SOLUTION_BUTTON, [this] { m_pane->ShowAllSolutions(); }},
        {ID_HINT, [this] { OnHint(); }},
        {ID_SUBMIT, [this] { m_runs->Submit(ReadInput(), m_pane->HintShown()); }},
        {ID_ENLARGED_UI, [this] { ToggleLayout(); }},
        {ID_LANGUAGE_ENGLISH, [this] { SetLanguage(kEnglish); }},
        {ID_LANGUAGE_SIMPLIFIED, [this] { SetLanguage(kSimplifiedChinese); }},
        {ID_LANGUAGE_TRADITIONAL, [this] { SetLanguage(kTraditionalChinese); }},
        {ID_MUSIC_ON, [this] { OnMusicOn(); }},
        {ID_BACKGROUND_MUSIC, [this] { OnBackgroundMusic(); }},
        {ID_OPTIONS, m_services.showOptions},
        {ID_HELP, [this] { OnHelp(); }},
        {ID_TRAINING, [this] { m_runs->OnModeCommand(RunMode::Training); }},
        {ID_TRAINING_GAME, [this] { m_runs->OnModeCommand(RunMode::TrainingGame); }},
        {ID_WORLD_CUP, [this] { m_runs->OnModeCommand(RunMode::WorldCup); }},
        {ID_PREVIOUS, [this] { m_runs->Previous(); }},
        {ID_NEXT, [this] { m_runs->Next(); }},
        {ID_DONE, [this] { m_runs->Finish(); }},
        {ID_ABOUT, [this] { OnAbout(); }},
        {ID_SAVE_TO_TROUBLE_MAKERS, [this] { OnSaveTo(false); }},
        {ID_SAVE_TO_MY_FAVORITES, [this] { OnSaveTo(true); }},
        {ID_TROUBLE_MAKERS, [this] { m_collections.Show(false, this); }},
        {ID_MY_FAVORITES, [this] { m_collections.Show(true, this); }},
        {ID_INSTANT_SOLUTIONS, [this] { m_collections.ShowInstantSolutions(!m_standardRule, this); }},
        {ID_COMPLETE_LIST, [this] { OnCompleteList(); }},
        {ID_STATISTICS, [this] { OnStatistics(); }},
        {ID_EXIT, [this] { OnMainExit(); }},
        {ID_EXIT_MENU, [this] { reject(); }},
        {ID_BACKGROUND, [this] { OnBackground(); }},
    };
}

void MainWindow::RunCommand(int id)
{
    if (const auto handler = m_handlers.find(id); handler != m_handlers.end() && handler->second)
        handler->second();
    UpdateControlStates();
}

void MainWindow::ConnectControls()
{
    for (const auto& [button, id] : m_ui.commandButtons)
        connect(button, &QAbstractButton::clicked, this, [this, id = id] { RunCommand(id); });
    for (std::size_t i = 0; i < 4; ++i) {
        connect(m_ui.questionBoxes[i], &QLineEdit::textChanged, this, &MainWindow::OnQuestionEdited);
        connect(m_ui.spinUp[i], &QToolButton::clicked, this, [this, i] { StepQuestionBox(i, 1); });
        connect(m_ui.spinDown[i], &QToolButton::clicked, this, [this, i] { StepQuestionBox(i, -1); });
    }
    connect(m_ui.answerBox, &QPlainTextEdit::textChanged, this, [this] { UpdateControlStates(); });
    connect(m_ui.noSolution, &QCheckBox::clicked, this, [this] {
        UpdateControlStates();
        m_ui.answerBox->setFocus();
    });
    m_ui.hyperlink->SetAddress(QString::fromStdString(m_services.makerHomePage));
    m_ui.hyperlink->SetOpener([this](const QString& address) {
        if (m_services.openAddress)
            m_services.openAddress(address.toStdString());
    });
}

void MainWindow::ConnectRuns()
{
    connect(m_runs, &RunController::rulesTaken, this, [this](bool standardRule, bool jqkEnabled) {
        SetRule(standardRule);
        SetJQK(jqkEnabled);
    });
    connect(m_runs, &RunController::modeChanged, this, &MainWindow::UpdateModeButtons);
    connect(m_runs, &RunController::captionChanged, this, &MainWindow::SetCaption);
    connect(m_runs, &RunController::questionShown, this, &MainWindow::ShowQuestion);
    connect(m_runs, &RunController::answerJudged, this, &MainWindow::ShowJudgement);
    connect(m_runs, &RunController::timeLeftChanged, this, [this](const QString& text) {
        m_ui.remainingTime->setText(text);
        m_ui.remainingTime->show();
    });
    connect(m_runs, &RunController::runEnded, this, &MainWindow::OnRunEnded);
}

void MainWindow::ApplyLanguage()
{
    m_ui.Retranslate(m_services.language);
    m_commands->Retranslate();
    UpdateModeButtons();
    SetCaption();
    update();
}

void MainWindow::SetCaption()
{
    const QString caption = ToQString(m_runs->Caption());
    if (windowTitle() != caption)
        setWindowTitle(caption);
    const QString status = ToQString(m_runs->StatusLine());
    if (m_ui.statusLine->text() != status)
        m_ui.statusLine->setText(status);
}

CommandContext MainWindow::Context() const
{
    const Run& run = m_runs->CurrentRun();
    CommandContext c;
    c.mode = run.Mode();
    c.standardRule = m_standardRule;
    c.jqkEnabled = m_jqk;
    c.enlarged = m_enlarged;
    c.musicOn = Music().Settings().musicOn;
    c.edition = m_services.edition;
    c.lcid = m_services.language.Lcid();
    const AnswerInput input = ReadInput();
    NumberArray question;
    c.questionValid = m_checker.ReadQuestion(input, question);
    c.canSubmit = m_runs->CanSubmit(input);
    c.canGoPrevious = run.CanGoPrevious();
    c.canGoNext = run.CanGoNext();
    // A question that cannot be read counts as present, so that it cannot be saved.
    const std::string typed = QuestionTextOfBoxes(input.questionBoxes, m_services.language.InputCharacterSet());
    c.inTroubleMakers = m_collections.Holds(m_collections.TroubleMakers(), typed);
    c.inMyFavorites = m_collections.Holds(m_collections.MyFavorites(), typed);
    return c;
}

AnswerInput MainWindow::ReadInput() const
{
    const Run& run = m_runs->CurrentRun();
    AnswerInput input;
    input.questionBoxes = m_ui.QuestionTexts();
    input.standardRule = m_standardRule;
    input.jqkEnabled = m_jqk;
    input.mode = run.Mode();
    input.level = run.IsActive() ? run.Level() : 1;
    input.answerText = ToCrLf(m_ui.answerBox->toPlainText().toStdString());
    input.noSolutionChecked = m_ui.noSolution->isChecked();
    return input;
}

void MainWindow::UpdateToolbarImages() { m_ui.ShowRules(m_standardRule, m_jqk); }

void MainWindow::UpdateModeButtons() { m_ui.ShowMode(m_runs->CurrentRun().Mode(), m_services.language); }

void MainWindow::UpdateControlStates()
{
    if (m_uiLock || !m_initialized)
        return;
    m_uiLock = true;
    const CommandContext c = Context();
    const Run& run = m_runs->CurrentRun();
    const bool game = run.IsGame();
    const bool locked = run.IsActive() && run.IsLocked(run.Index());

    if (m_ui.noSolution->isChecked() && !m_ui.answerBox->toPlainText().isEmpty())
        m_ui.answerBox->clear();
    m_ui.answerBox->setReadOnly(m_ui.noSolution->isChecked() || locked);
    m_ui.noSolution->setEnabled(!locked);
    m_ui.previous->setVisible(c.canGoPrevious);
    m_ui.next->setVisible(c.canGoNext);
    m_ui.done->setVisible(game);
    for (std::size_t i = 0; i < 4; ++i) {
        m_ui.questionBoxes[i]->setReadOnly(game);
        m_ui.spinUp[i]->setEnabled(!game);
        m_ui.spinDown[i]->setEnabled(!game);
    }
    m_ui.submit->setEnabled(IsCommandEnabled(ID_SUBMIT, c));
    m_ui.checkSolution->setEnabled(IsCommandEnabled(ID_CHECK_SOLUTION_BUTTON, c));
    for (const auto& [id, button] : m_ui.toolbar)
        button->setEnabled(IsCommandEnabled(id, c));
    m_uiLock = false;
}

void MainWindow::OnRuleCommand(bool standard)
{
    if (standard != m_standardRule)
        m_pane->KeepThrough([this, standard] { SetRule(standard); });
}

void MainWindow::SetRule(bool standard)
{
    m_pane->ResetHint();
    m_standardRule = standard;
    UpdateToolbarImages();
    m_runs->FollowRules(m_standardRule, m_jqk);
}

void MainWindow::SetJQK(bool enabled)
{
    m_pane->ResetHint();
    m_jqk = enabled;
    std::array<std::string, 4> boxes = m_ui.QuestionTexts();
    if (ClampQuestionBoxes(boxes, LargestNumber(enabled), m_services.language.InputCharacterSet()))
        m_ui.SetQuestionTexts(boxes);
    UpdateToolbarImages();
    m_runs->FollowRules(m_standardRule, m_jqk);
}

void MainWindow::SetLanguage(int column)
{
    const auto& names = m_services.language.LanguageNames();
    if (std::size_t(column - kEnglish) >= names.size())
        return;
    const std::string name = names[std::size_t(column - kEnglish)];
    m_pane->KeepThrough([this, &name] {
        if (m_services.language.SetLanguage(name))
            WriteSetting(m_services.profile, setting::kLanguageLcid, m_services.language.Lcid());
        m_services.cache.Reload(m_services.language);
        ApplyLanguage();
        FollowInterfaceLanguage(m_services.language.Lcid());
    });
}

void MainWindow::ApplyLayout(bool enlarged)
{
    m_enlarged = enlarged;
    m_ui.SetEnlarged(enlarged);
    adjustSize();
}

void MainWindow::ToggleLayout()
{
    WriteSetting(m_services.profile, setting::kEnlargedUi, !m_enlarged);
    // Resized in place: hiding the window would end the event loop it runs in.
    ApplyLayout(!m_enlarged);
}

void MainWindow::StepQuestionBox(std::size_t box, int step)
{
    const int maximum = int(LargestNumber(m_jqk));
    bool ok = false;
    const int value = m_ui.questionBoxes[box]->text().trimmed().toInt(&ok);
    const int next = ok ? std::clamp(value + step, 1, maximum) : (step > 0 ? 1 : maximum);
    m_ui.questionBoxes[box]->setText(QString::number(next));
}

// An answer's time runs from the moment its question stands in the boxes, and hints start
// again for it.
void MainWindow::OnQuestionEdited()
{
    m_runs->QuestionEdited();
    m_pane->ResetHint();
    UpdateControlStates();
}

void MainWindow::ShowQuestion(const ShownQuestion& question)
{
    m_pane->ResetHint();
    m_uiLock = true;
    m_ui.SetQuestion(question.numbers);
    m_pane->Show(question.prompt);
    m_ui.noSolution->setChecked(question.answered && !question.usedAnswerBox);
    m_ui.answerBox->setPlainText(ToQString(question.savedAnswer));
    m_ui.ShowVerdict(question.answered ? std::optional(question.correct) : std::nullopt);
    m_uiLock = false;
    UpdateControlStates();
    m_ui.answerBox->setFocus();
}

void MainWindow::ShowJudgement(const Judgement& judgement)
{
    m_pane->ShowComment(judgement.comment);
    if (judgement.questionCorrect)
        m_ui.ShowVerdict(judgement.questionCorrect);
    UpdateControlStates();
}

void MainWindow::OnRunEnded()
{
    setUpdatesEnabled(false);
    m_uiLock = true;
    m_ui.remainingTime->clear();
    m_ui.remainingTime->hide();
    ClearQuestion();
    m_uiLock = false;
    UpdateControlStates();
    setUpdatesEnabled(true);
}

void MainWindow::ClearQuestion()
{
    m_ui.ShowVerdict(std::nullopt);
    for (QLineEdit* box : m_ui.questionBoxes)
        box->clear();
    m_ui.answerBox->clear();
    m_pane->Clear();
    m_ui.noSolution->setChecked(false);
    SetCaption();
}

void MainWindow::OnHelp()
{
    if (m_runs->CurrentRun().IsActive())
        m_runs->ShowRunNote();
    else if (m_services.openHelpTopic)
        m_services.openHelpTopic(0);
}

void MainWindow::OnMusicOn()
{
    std::string error;
    if (!m_sounds->Music().SetMusicOn(!Music().Settings().musicOn, &error))
        ShowNotice(ToQString(error), this);
}

// The dialog's previews must not mix with the track, which comes back afterwards
// whichever way the dialog closed.
void MainWindow::OnBackgroundMusic()
{
    MusicPlayer& music = m_sounds->Music();
    music.PauseMusic();
    CBackgroundMusicDlg dialog(music, m_services.language, m_services.profile, m_services.pickOpenFile,
                               m_services.openHelpTopic, this);
    dialog.exec();
    music.UpdateMusic();
}

void MainWindow::OnMusicFileDropped(const std::filesystem::path& file)
{
    std::string error;
    if (!m_sounds->Music().SetMusicForCurrentMode(file, &error))
        ShowNotice(ToQString(error), this);
    UpdateControlStates();
}

void MainWindow::OnBackground()
{
    CBackgroundDlg dialog(*m_background, m_services.profile, m_services.language,
                          {m_services.pickOpenFile, m_services.pickColor}, this);
    dialog.exec();
}

void MainWindow::OnAbout()
{
    AboutDlg about(m_services.language, m_services.edition, m_services.productHomePage, m_services.openAddress, this);
    about.exec();
}

// A hint only where one may be given, whoever asks.
void MainWindow::OnHint()
{
    if (IsCommandEnabled(ID_HINT, Context()))
        m_pane->ShowNextHint();
}

void MainWindow::OnMainExit()
{
    if (m_services.log)
        m_services.log->Write("OnMainExit", "0");
    if (!AskYesNo(Text(IDS_DIALOG_MAIN_PROMPT_EXIT), this))
        return;
    if (m_services.log)
        m_services.log->Write("OnMainExit", "before OnCancel");
    QDialog::done(QDialog::Rejected);
    if (m_services.log)
        m_services.log->Write("OnMainExit", "After OnCancel");
}

void MainWindow::reject()
{
    // Esc and the window's close button: leaving a run or the program is asked first.
    if (m_runs->CurrentRun().IsActive())
        m_runs->AskToLeave();
    else
        OnMainExit();
}

void MainWindow::OnCloseRequest(int w, int l)
{
    if (w == 1 && l == 2)
        QDialog::done(QDialog::Rejected);
}

void MainWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!m_firstTick->property("started").toBool()) {
        m_firstTick->setProperty("started", true);
        m_firstTick->start();
    }
}

void MainWindow::OnFirstTick()
{
    // The release notes open once per version.
    const SettingParts version{m_services.versionText};
    if (!ReadSetting(m_services.profile, setting::kReleaseNoteShown, version)) {
        if (m_services.openHelpTopic)
            m_services.openHelpTopic(7);
        WriteSetting(m_services.profile, setting::kReleaseNoteShown, true, version);
    }
    if (m_services.startUpdateCheck)
        m_services.startUpdateCheck();
}

void MainWindow::OnSaveTo(bool toMyFavorites)
{
    if (!m_collections.SetUp())
        return;
    NumberArray question;
    if (m_checker.ReadQuestion(ReadInput(), question))
        m_collections.SaveQuestion(toMyFavorites, question, LargestNumber(m_jqk), this);
    else
        ShowNotice(Text(IDS_DIALOG_MAIN_PROMPT_INVALID_QUESTION, std::to_string(LargestNumber(m_jqk))), this);
}

void MainWindow::OnCompleteList()
{
    if (!m_services.userData)
        return;
    CompleteListDlg dialog({m_services.language, m_services.profile, *m_services.userData, m_services.clock,
                            m_services.programDirectory, m_services.completeListFolder,
                            [this](bool standardRule, bool jqkEnabled) {
                                m_pane->KeepThrough([&] {
                                    SetRule(standardRule);
                                    SetJQK(jqkEnabled);
                                });
                            },
                            m_services.openAddress, m_services.openHelpTopic},
                           this);
    dialog.exec();
}

void MainWindow::OnStatistics()
{
    StatisticsContext context{m_services.language, m_services.clock.Now(), m_services.openHelpTopic,
                              m_services.pickSaveFile, {}};
    // A training's question stays.
    if (!m_runs->CurrentRun().IsActive())
        context.openQuestion = [this](const std::string& question, bool standardRule, bool jqk) {
            OpenQuestion(question, standardRule, jqk);
        };
    ShowStatistics(std::move(context), m_services.history, this);
}

// The question comes as the player would set it: rule and J/Q/K first (which may clamp the
// boxes), then the four numbers.
void MainWindow::OpenQuestion(const std::string& question, bool standardRule, bool jqk)
{
    if (standardRule != m_standardRule)
        RunCommand(standardRule ? ID_STANDARD_RULE : ID_ADVANCED_RULE);
    if (jqk != m_jqk)
        RunCommand(ID_ENABLE_JQK);
    NumberArray numbers;
    if (!CBMUtilities::GetQuestionFromString(question, numbers, LargestNumber(jqk)))
        return;
    m_ui.SetQuestion(numbers);
    m_ui.noSolution->setChecked(false);
    m_ui.answerBox->clear();
    m_pane->Clear();
    m_ui.ShowVerdict(std::nullopt);
    UpdateControlStates();
    m_ui.answerBox->setFocus();
}

void MainWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    m_background->Paint(painter, rect());
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (std::any_of(urls.begin(), urls.end(), [](const QUrl& url) { return url.isLocalFile(); }))
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event)
{
    std::vector<std::string> paths;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile())
            paths.push_back(url.toLocalFile().toStdString());
    event->acceptProposedAction();
    const std::vector<std::filesystem::path> files = DroppedFiles(paths);
    std::filesystem::path tooLarge;
    if (m_background->TakeDroppedBitmap(files, tooLarge))
        return;
    const auto playable = std::find_if(files.begin(), files.end(), [](const auto& f) { return IsPlayableFile(f); });
    if (playable != files.end())
        OnMusicFileDropped(*playable);
    else if (!tooLarge.empty())
        ShowNotice(WindowBackground::TooLargeText(m_services.language, tooLarge), this);
}

}  // namespace tavlix
