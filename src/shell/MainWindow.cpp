#include "shell/MainWindow.h"

#include <QCheckBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "diagnostics/DebugLog.h"
#include "engine/CBMUtilities.h"
#include "engine/Hint.h"
#include "history/HistoryStore.h"
#include "history/ReviewSchedule.h"
#include "platform/Clock.h"
#include "media/CBackgroundDlg.h"
#include "media/CBackgroundMusicDlg.h"
#include "media/MusicPlayer.h"
#include "media/MusicType.h"
#include "media/WindowBackground.h"
#include "platform/Audio.h"
#include "platform/Random.h"
#include "runs/CTrainingPlanDlg.h"
#include "runs/CWorldCupDlg.h"
#include "runs/RankingTable.h"
#include "runs/TrainingPlan.h"
#include "collections/CollectionContext.h"
#include "collections/CollectionDlg.h"
#include "collections/CollectionItemDlg.h"
#include "completelist/CompleteListDlg.h"
#include "collections/SaveToDlg.h"
#include "settings/UserDataDirectory.h"
#include "shell/AboutDlg.h"
#include "shell/StatisticsWindow.h"
#include "controls/CBMMessageBox.h"
#include "controls/DialogSupport.h"
#include "controls/HyperlinkLabel.h"
#include "i18n/LanguageState.h"
#include "controls/PictureButton.h"
#include "settings/Profile.h"
#include "i18n/StringIds.h"
#include "common/TextUtilities.h"

namespace tavlix {

namespace {

constexpr int kEnlargement = 100;

// The toolbar, left to right: command, picture, tool tip.
struct ToolbarButton {
    int id;
    const char* picture;
    int tip;
};
constexpr ToolbarButton kToolbar[] = {
    {ID_STANDARD_RULE, "standard-rule-on", IDS_TIP_STANDARD},
    {ID_ADVANCED_RULE, "advanced-rule-off", IDS_TIP_ADVANCED},
    {ID_ENABLE_JQK, "jqk-on", IDS_TIP_ENABLE_JQK},
    {ID_TRAINING, "training", IDS_TIP_TRAINING},
    {ID_TRAINING_GAME, "training-game", IDS_TIP_TRAINING_GAME},
    {ID_WORLD_CUP, "world-cup", IDS_TIP_WORLD_CUP},
    {ID_CHECK_SOLUTION, "check-solution", IDS_TIP_CHECK_SOLUTION_CTRL_S},
    {ID_SAVE_TO_TROUBLE_MAKERS, "save-trouble-makers", IDS_TIP_SAVE_TO_TROUBLE_MAKERS},
    {ID_SAVE_TO_MY_FAVORITES, "save-my-favorites", IDS_TIP_SAVE_TO_MY_FAVORITES},
    {ID_TROUBLE_MAKERS, "trouble-makers", IDS_TIP_TROUBLE_MAKERS},
    {ID_MY_FAVORITES, "my-favorites", IDS_TIP_MY_FAVORITES},
    {ID_COMPLETE_LIST, "complete-list", IDS_TIP_COMPLETE_LIST},
    {ID_HELP, "help", IDS_TIP_HELP},
    {ID_ABOUT, "about", IDS_TIP_ABOUT},
    {ID_EXIT, "exit", IDS_TIP_EXIT},
};

std::string S(const QString& text) { return text.toStdString(); }

}  // namespace

MainWindow::MainWindow(MainWindowServices services, QWidget* parent)
    : QDialog(parent), m_services(std::move(services)), m_checker(m_services.language, m_services.log)
{
    setObjectName(QStringLiteral("mainWindow"));
    setWindowFlag(Qt::WindowMinimizeButtonHint, true);
    // paintEvent covers every pixel, so nothing is cleared before it.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAcceptDrops(true);
    m_background = std::make_unique<WindowBackground>(m_services.programDirectory, [this] { update(); });
    m_background->Load(m_services.profile);

    // Start-up: the stored rule and J/Q/K choice, then the controls and texts.
    m_standardRule = m_services.profile.GetProfileInt("Game", "Standard", 1) != 0;
    m_jqk = m_services.profile.GetProfileInt("Game", "JQK", 1) != 0;
    CBMUtilities::SetCurrentMaximum(m_jqk ? 13 : 10);
    if (m_services.userData) {
        m_myFavorites.Load(m_services.userData->MyFavoritesFile());
        m_troubleMakers.Load(m_services.userData->TroubleMakersFile());
    }

    m_uiLock = true;
    BuildUi();
    ApplyLanguage();
    m_timeField->clear();

    m_standardAnswerHeight = m_answerBox->minimumHeight();
    m_standardCommentsHeight = m_commentsPane->minimumHeight();
    ApplyLayout(m_services.profile.GetProfileInt("UI", "Enlarged", 0) == 1);

    m_firstTick = new QTimer(this);
    m_firstTick->setSingleShot(true);
    m_firstTick->setInterval(100);
    connect(m_firstTick, &QTimer::timeout, this, &MainWindow::OnFirstTick);
    m_runTimer = new QTimer(this);
    m_runTimer->setObjectName(QStringLiteral("runTimer"));
    connect(m_runTimer, &QTimer::timeout, this, &MainWindow::OnRunTick);
    m_musicTimer = new QTimer(this);
    m_musicTimer->setObjectName(QStringLiteral("musicTimer"));
    m_musicTimer->setInterval(m_services.musicTickMilliseconds);
    MusicPlayer::Hooks hooks{
        .countdownTimer = [this](bool running) { running ? m_musicTimer->start() : m_musicTimer->stop(); },
        .openWithRegisteredPlayer = m_services.openWithRegisteredPlayer,
    };
    m_music = std::make_unique<MusicPlayer>(m_services.audio, m_services.musicFiles, m_services.language,
                                            std::move(hooks));
    connect(m_musicTimer, &QTimer::timeout, this, [this] { m_music->OnCountdownTick(); });

    m_uiLock = false;
    m_initialized = true;
    UpdateToolbarImages();
    UpdateControlStates();
    SwitchMusic();
}

MainWindow::~MainWindow()
{
    // The rule and J/Q/K of the last game or plan are the next start's choice.
    m_services.profile.WriteProfileInt("Game", "Standard", m_standardRule ? 1 : 0);
    m_services.profile.WriteProfileInt("Game", "JQK", m_jqk ? 1 : 0);
    m_background->Save(m_services.profile);
}

QString MainWindow::Text(int id, const std::string& first) const
{
    return LocalizedText(m_services.language, id, first);
}

void MainWindow::BuildUi()
{
    auto* root = new QVBoxLayout(this);
    root->setSizeConstraint(QLayout::SetFixedSize);

    m_menuBar = new QMenuBar(this);
    m_menuBar->setObjectName(QStringLiteral("menuBar"));
    root->setMenuBar(m_menuBar);
    BuildMenuBar();
    m_remainingTime = new QLabel(m_menuBar);
    m_remainingTime->setObjectName(QStringLiteral("remainingTime"));
    m_remainingTime->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_remainingTime->hide();
    m_menuBar->setCornerWidget(m_remainingTime, Qt::TopRightCorner);

    auto* toolbar = new QHBoxLayout;
    toolbar->setSpacing(2);
    for (const ToolbarButton& b : kToolbar) {
        auto* button = new PictureButton(this);
        button->setObjectName(QStringLiteral("toolbar%1").arg(b.id));
        button->SetImages(QLatin1String(b.picture));
        connect(button, &PictureButton::clicked, this, [this, id = b.id] { RunCommand(id); });
        toolbar->addWidget(button);
        m_toolbar[b.id] = button;
        if (b.id == ID_WORLD_CUP || b.id == ID_SAVE_TO_MY_FAVORITES || b.id == ID_COMPLETE_LIST)
            toolbar->addSpacing(10);
    }
    toolbar->addStretch(1);
    root->addLayout(toolbar);

    m_questionLabel = new QLabel(this);
    m_questionLabel->setObjectName(QStringLiteral("questionLabel"));
    root->addWidget(m_questionLabel);
    auto* question = new QHBoxLayout;
    for (std::size_t i = 0; i < 4; ++i) {
        auto* box = new QLineEdit(this);
        box->setObjectName(QStringLiteral("questionBox%1").arg(i));
        box->setMaxLength(8);
        box->setFixedWidth(64);
        box->setAlignment(Qt::AlignCenter);
        QFont big = box->font();
        big.setPointSizeF(big.pointSizeF() * 1.6);
        box->setFont(big);
        connect(box, &QLineEdit::textChanged, this, [this] {
            // An answer's time runs from the moment its question stands in the boxes, and
            // hints start again for it.
            m_questionShownAt = m_services.clock.NowMilliseconds();
            ResetHint();
            UpdateControlStates();
        });
        auto* spin = new QVBoxLayout;
        spin->setSpacing(0);
        for (const int step : {1, -1}) {
            auto* arrow = new QToolButton(this);
            arrow->setObjectName(QStringLiteral("%1%2").arg(step > 0 ? "spinUp" : "spinDown").arg(i));
            arrow->setArrowType(step > 0 ? Qt::UpArrow : Qt::DownArrow);
            arrow->setFixedSize(18, 14);
            arrow->setAutoRepeat(true);
            arrow->setFocusPolicy(Qt::NoFocus);
            connect(arrow, &QToolButton::clicked, this, [this, box, step] {
                const unsigned maximum = m_jqk ? 13 : 10;
                bool ok = false;
                const int value = box->text().trimmed().toInt(&ok);
                const int next = ok ? std::clamp(value + step, 1, int(maximum)) : (step > 0 ? 1 : int(maximum));
                box->setText(QString::number(next));
            });
            spin->addWidget(arrow);
            (step > 0 ? m_spinUp : m_spinDown)[i] = arrow;
        }
        question->addWidget(box);
        question->addLayout(spin);
        question->addSpacing(8);
        m_questionBoxes[i] = box;
    }
    question->addStretch(1);
    m_resultPicture = new QLabel(this);
    m_resultPicture->setObjectName(QStringLiteral("resultPicture"));
    m_resultPicture->setFixedSize(48, 48);
    m_resultPicture->hide();
    question->addWidget(m_resultPicture);
    root->addLayout(question);

    m_answerLabel = new QLabel(this);
    m_answerLabel->setObjectName(QStringLiteral("answerLabel"));
    root->addWidget(m_answerLabel);
    m_answerBox = new QPlainTextEdit(this);
    m_answerBox->setObjectName(QStringLiteral("answerBox"));
    m_answerBox->setTabChangesFocus(true);
    m_answerBox->setMinimumSize(560, 150);
    m_answerBox->setMaximumHeight(150);
    connect(m_answerBox, &QPlainTextEdit::textChanged, this, [this] { UpdateControlStates(); });
    root->addWidget(m_answerBox);

    auto* buttons = new QHBoxLayout;
    m_noSolution = new QCheckBox(this);
    m_noSolution->setObjectName(QStringLiteral("noSolution"));
    connect(m_noSolution, &QCheckBox::clicked, this, [this] {
        UpdateControlStates();
        m_answerBox->setFocus();
    });
    buttons->addWidget(m_noSolution);
    buttons->addStretch(1);
    const auto pushButton = [this](const char* name, int id) {
        auto* b = new QPushButton(this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, id] { RunCommand(id); });
        return b;
    };
    m_previous = pushButton("previousButton", ID_PREVIOUS);
    m_submit = pushButton("submitButton", ID_SUBMIT);
    m_next = pushButton("nextButton", ID_NEXT);
    m_done = pushButton("doneButton", ID_DONE);
    m_checkSolution = pushButton("checkSolutionButton", ID_CHECK_SOLUTION_BUTTON);
    for (QPushButton* b : {m_previous, m_submit, m_next, m_done})
        buttons->addWidget(b);
    buttons->addSpacing(24);
    buttons->addWidget(m_checkSolution);
    root->addLayout(buttons);

    m_commentsLabel = new QLabel(this);
    m_commentsLabel->setObjectName(QStringLiteral("commentsLabel"));
    root->addWidget(m_commentsLabel);
    m_commentsPane = new QPlainTextEdit(this);
    m_commentsPane->setObjectName(QStringLiteral("commentsPane"));
    m_commentsPane->setReadOnly(true);
    m_commentsPane->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_commentsPane->setMinimumSize(560, 170);
    m_commentsPane->setMaximumHeight(170);
    root->addWidget(m_commentsPane);

    auto* status = new QHBoxLayout;
    m_statusLine = new QLabel(this);
    m_statusLine->setObjectName(QStringLiteral("statusLine"));
    m_statusLine->setTextInteractionFlags(Qt::TextSelectableByMouse);  // the counts can be copied
    m_timeField = new QLabel(this);
    m_timeField->setObjectName(QStringLiteral("timeField"));
    m_hyperlink = new HyperlinkLabel(this);
    m_hyperlink->setObjectName(QStringLiteral("hyperlink"));
    m_hyperlink->SetAddress(QString::fromStdString(m_services.makerHomePage));
    m_hyperlink->setText(QStringLiteral("www.brelmor.com"));
    m_hyperlink->SetOpener([this](const QString& address) {
        if (m_services.openAddress)
            m_services.openAddress(S(address));
    });
    status->addWidget(m_statusLine, 1);
    status->addWidget(m_timeField);
    status->addWidget(m_hyperlink);
    root->addLayout(status);

    const auto shortcut = [this](const QKeySequence& keys, int id) {
        m_accelerators.push_back(keys);
        auto* s = new QShortcut(keys, this);
        connect(s, &QShortcut::activated, this, [this, id] {
            if (IsCommandEnabled(id, Context()))
                RunCommand(id);
        });
    };
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_D), ID_DONE);
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_S), ID_CHECK_SOLUTION);
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_H), ID_HINT);
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_Left), ID_PREVIOUS);
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_Right), ID_NEXT);
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_Return), ID_SUBMIT);
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_Enter), ID_SUBMIT);
    shortcut(QKeySequence(Qt::Key_F1), ID_HELP);
    // The window's accelerators come before the edit keys of the boxes (Ctrl+Right is
    // Next, not the next word).
    m_answerBox->installEventFilter(this);
    for (QLineEdit* box : m_questionBoxes)
        box->installEventFilter(this);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const QKeySequence pressed((key->modifiers() & ~Qt::KeypadModifier) | key->key());
        if (std::find(m_accelerators.begin(), m_accelerators.end(), pressed) != m_accelerators.end())
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

void MainWindow::BuildMenuBar()
{
    for (const Popup popup : {Popup::Game, Popup::UI, Popup::Music, Popup::Tools, Popup::Help}) {
        auto* menu = new QMenu(this);
        menu->setObjectName(QStringLiteral("popup%1").arg(int(popup)));
        menu->setToolTipsVisible(true);  // only entries given a tip of their own show one
        // Entries follow the language and the state of the moment they open.
        connect(menu, &QMenu::aboutToShow, this, [this, menu, popup] { FillPopup(menu, popup); });
        m_menuBar->addMenu(menu);
        m_popups[popup] = menu;
    }
}

void MainWindow::FillPopup(QMenu* menu, Popup popup)
{
    menu->clear();
    const std::string title = m_services.language.ProductName();
    for (const MenuEntry& e : PopupEntries(popup, Context(), m_services.language, title)) {
        if (e.IsSeparator()) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(ToQString(e.text));
        action->setData(e.id);
        action->setEnabled(!e.grayed);
        action->setCheckable(e.checked);
        action->setChecked(e.checked);
        if (e.id == ID_HINT)
            action->setToolTip(Text(IDS_TIP_HINT));
        connect(action, &QAction::triggered, this, [this, id = e.id] { RunCommand(id); });
    }
}

void MainWindow::ApplyLanguage()
{
    for (const ToolbarButton& b : kToolbar)
        m_toolbar[b.id]->setToolTip(Text(b.tip, m_services.language.ProductName()));
    UpdateModeButtons();
    m_questionLabel->setText(Text(IDS_DIALOG_MAIN_QUESTION_Q));
    m_answerLabel->setText(Text(IDS_DIALOG_MAIN_MY_SOLUTIONS_M));
    m_commentsLabel->setText(Text(IDS_DIALOG_MAIN_COMMENTS_C));
    m_noSolution->setText(Text(IDS_DIALOG_MAIN_NO_SOLUTION_N));
    m_previous->setText(QStringLiteral("<<"));
    m_next->setText(QStringLiteral(">>"));
    m_previous->setToolTip(Text(IDS_TIP_PREVIOUS));
    m_next->setToolTip(Text(IDS_TIP_NEXT));
    m_submit->setText(Text(IDS_TIP_SUBMIT_MY_ANSWER));
    m_submit->setToolTip(Text(IDS_TIP_SUBMIT_MY_ANSWER));
    m_done->setText(Text(IDS_TIP_DONE));
    m_checkSolution->setText(Text(IDS_TIP_CHECK_SOLUTION_CTRL_S));
    m_answerLabel->setBuddy(m_answerBox);
    m_questionLabel->setBuddy(m_questionBoxes[0]);
    m_commentsLabel->setBuddy(m_commentsPane);
    m_hyperlink->setToolTip(Text(IDS_BMT_COMPANY));
    const auto bar = tavlix::MenuBar(m_services.language);
    for (const auto& [popup, title] : bar)
        m_popups[popup]->setTitle(ToQString(title));
    SetCaption();
    update();
}

void MainWindow::SetCaption()
{
    const QString caption = ToQString(m_run.Caption(m_services.language));
    if (windowTitle() != caption)
        setWindowTitle(caption);
    const QString status = ToQString(m_run.StatusLine(m_services.language));
    if (m_statusLine->text() != status)
        m_statusLine->setText(status);
}

CommandContext MainWindow::Context() const
{
    CommandContext c;
    c.mode = m_run.Mode();
    c.standardRule = m_standardRule;
    c.jqkEnabled = m_jqk;
    c.enlarged = m_enlarged;
    c.musicOn = m_music->Settings().musicOn;
    c.edition = m_services.edition;
    c.lcid = m_services.language.Lcid();
    const AnswerInput input = ReadInput();
    NumberArray question;
    c.questionValid = m_checker.ReadQuestion(input, question);
    c.canSubmit = m_checker.CanCheckResult(input) && !(m_run.IsActive() && m_run.IsLocked(m_run.Index()));
    c.canGoPrevious = m_run.CanGoPrevious();
    c.canGoNext = m_run.CanGoNext();
    // A question that cannot be read counts as present, so that it cannot be saved.
    std::array<std::string, 4> boxes;
    for (std::size_t i = 0; i < 4; ++i)
        boxes[i] = input.questionBoxes[i];
    const std::string typed = QuestionTextOfBoxes(boxes, m_services.language.InputCharacterSet());
    c.inTroubleMakers = CBMUtilities::IsQuestionInList(typed, m_troubleMakers.Questions()) != 0;
    c.inMyFavorites = CBMUtilities::IsQuestionInList(typed, m_myFavorites.Questions()) != 0;
    return c;
}

AnswerInput MainWindow::ReadInput() const
{
    AnswerInput input;
    for (std::size_t i = 0; i < 4; ++i)
        input.questionBoxes[i] = S(m_questionBoxes[i]->text());
    input.standardRule = m_standardRule;
    input.jqkEnabled = m_jqk;
    input.mode = m_run.Mode();
    input.level = m_run.IsActive() ? m_run.Level() : 1;
    input.answerText = ToCrLf(S(m_answerBox->toPlainText()));
    input.noSolutionChecked = m_noSolution->isChecked();
    return input;
}

void MainWindow::UpdateToolbarImages()
{
    m_toolbar[ID_STANDARD_RULE]->SetImages(m_standardRule ? "standard-rule-on" : "standard-rule-off");
    m_toolbar[ID_ADVANCED_RULE]->SetImages(m_standardRule ? "advanced-rule-off" : "advanced-rule-on");
    m_toolbar[ID_ENABLE_JQK]->SetImages(m_jqk ? "jqk-on" : "jqk-off");
}

void MainWindow::UpdateControlStates()
{
    if (m_uiLock || !m_initialized)
        return;
    m_uiLock = true;
    const CommandContext c = Context();
    const bool game = m_run.IsGame();
    const bool locked = m_run.IsActive() && m_run.IsLocked(m_run.Index());

    if (m_noSolution->isChecked() && !m_answerBox->toPlainText().isEmpty())
        m_answerBox->clear();
    m_answerBox->setReadOnly(m_noSolution->isChecked() || locked);
    m_noSolution->setEnabled(!locked);
    m_previous->setVisible(c.canGoPrevious);
    m_next->setVisible(c.canGoNext);
    m_done->setVisible(game);
    for (std::size_t i = 0; i < 4; ++i) {
        m_questionBoxes[i]->setReadOnly(game);
        m_spinUp[i]->setEnabled(!game);
        m_spinDown[i]->setEnabled(!game);
    }
    m_submit->setEnabled(IsCommandEnabled(ID_SUBMIT, c));
    m_checkSolution->setEnabled(IsCommandEnabled(ID_CHECK_SOLUTION_BUTTON, c));
    for (const auto& [id, button] : m_toolbar)
        button->setEnabled(IsCommandEnabled(id, c));
    m_uiLock = false;
}

void MainWindow::RunCommand(int id)
{
    switch (id) {
    case ID_STANDARD_RULE:
    case ID_ADVANCED_RULE:
        if ((id == ID_STANDARD_RULE) != m_standardRule)
            ChangeKeepingPane([this, id] { SetRule(id == ID_STANDARD_RULE); });
        break;
    case ID_ENABLE_JQK: SetJQK(!m_jqk); break;
    case ID_CHECK_SOLUTION:
    case ID_CHECK_SOLUTION_BUTTON: OnCheckSolution(); break;
    case ID_HINT: OnHint(); break;
    case ID_SUBMIT: OnSubmit(); break;
    case ID_ENLARGED_UI:
        m_enlarged = !m_enlarged;
        m_services.profile.WriteProfileInt("UI", "Enlarged", m_enlarged ? 1 : 0);
        // Resized in place: hiding the window would end the event loop it runs in.
        ApplyLayout(m_enlarged);
        break;
    case ID_LANGUAGE_ENGLISH: SetLanguage(kEnglish); break;
    case ID_LANGUAGE_SIMPLIFIED: SetLanguage(kSimplifiedChinese); break;
    case ID_LANGUAGE_TRADITIONAL: SetLanguage(kTraditionalChinese); break;
    case ID_MUSIC_ON: {
        std::string error;
        if (!m_music->SetMusicOn(!m_music->Settings().musicOn, &error))
            ShowNotice(ToQString(error), this);
        break;
    }
    case ID_BACKGROUND_MUSIC: OnBackgroundMusic(); break;
    case ID_OPTIONS:
        if (m_services.showOptions)
            m_services.showOptions();
        break;
    case ID_HELP:
        if (m_run.IsActive())
            ShowRunNote();
        else if (m_services.openHelpTopic)
            m_services.openHelpTopic(0);
        break;
    case ID_TRAINING: OnModeCommand(RunMode::Training); break;
    case ID_TRAINING_GAME: OnModeCommand(RunMode::TrainingGame); break;
    case ID_WORLD_CUP: OnModeCommand(RunMode::WorldCup); break;
    case ID_PREVIOUS: OnPrevious(); break;
    case ID_NEXT: OnNext(); break;
    case ID_DONE:
        if (m_run.IsGame())
            EndRun(true);
        break;
    case ID_ABOUT: {
        AboutDlg about(m_services.language, m_services.edition, m_services.productHomePage,
                       m_services.openAddress, this);
        about.exec();
        break;
    }
    case ID_SAVE_TO_TROUBLE_MAKERS: OnSaveTo(m_troubleMakers); break;
    case ID_SAVE_TO_MY_FAVORITES: OnSaveTo(m_myFavorites); break;
    case ID_TROUBLE_MAKERS: OnCollection(m_troubleMakers); break;
    case ID_MY_FAVORITES: OnCollection(m_myFavorites); break;
    case ID_INSTANT_SOLUTIONS: OnInstantSolutions(); break;
    case ID_COMPLETE_LIST: OnCompleteList(); break;
    case ID_STATISTICS: OnStatistics(); break;
    case ID_EXIT: OnMainExit(); break;
    case ID_EXIT_MENU: reject(); break;
    case ID_BACKGROUND: OnBackground(); break;
    default: break;
    }
    UpdateControlStates();
}

void MainWindow::ChangeKeepingPane(const std::function<void()>& change)
{
    enum class Kind { Other, Prompt, AllSolutions, Comment, Hint };
    const QString pane = m_commentsPane->toPlainText();
    Kind kind = Kind::Other;
    if (!pane.isEmpty()) {
        const AnswerInput before = ReadInput();
        if (m_hintStep > 0 && pane == m_hintText)
            kind = Kind::Hint;
        else if (pane == ToQString(m_checker.GetAnswerCountPrompt(before)))
            kind = Kind::Prompt;
        else if (pane == ToQString(m_checker.GetAllSolutionsText(before)))
            kind = Kind::AllSolutions;
        else if (pane == ToQString(m_checker.GetComments(before, false)))
            kind = Kind::Comment;
    }
    change();
    const AnswerInput after = ReadInput();
    switch (kind) {
    case Kind::Prompt: m_commentsPane->setPlainText(ToQString(m_checker.GetAnswerCountPrompt(after))); break;
    case Kind::AllSolutions: m_commentsPane->setPlainText(ToQString(m_checker.GetAllSolutionsText(after))); break;
    case Kind::Comment: m_commentsPane->setPlainText(ToQString(m_checker.GetComments(after, false))); break;
    case Kind::Hint:  // a new rule has taken the hint away already; a new language rewords it
        if (m_hintStep > 0)
            ShowHint(m_hintStep);
        break;
    case Kind::Other: break;
    }
}

void MainWindow::SetRule(bool standard)
{
    ResetHint();
    m_standardRule = standard;
    UpdateToolbarImages();
}

void MainWindow::SetJQK(bool enabled)
{
    ResetHint();
    m_jqk = enabled;
    const unsigned maximum = enabled ? 13 : 10;
    CBMUtilities::SetCurrentMaximum(maximum);
    std::array<std::string, 4> boxes;
    for (std::size_t i = 0; i < 4; ++i)
        boxes[i] = S(m_questionBoxes[i]->text());
    if (ClampQuestionBoxes(boxes, maximum, m_services.language.InputCharacterSet()))
        for (std::size_t i = 0; i < 4; ++i)
            if (m_questionBoxes[i]->text() != QString::fromStdString(boxes[i]))
                m_questionBoxes[i]->setText(QString::fromStdString(boxes[i]));
    UpdateToolbarImages();
}

void MainWindow::SetLanguage(int column)
{
    const auto& names = m_services.language.LanguageNames();
    if (std::size_t(column - kEnglish) >= names.size())
        return;
    const std::string name = names[std::size_t(column - kEnglish)];
    ChangeKeepingPane([this, &name] {
        m_services.language.SetLanguage(name, m_services.settings);
        m_services.cache.Reload(m_services.language);
        ApplyLanguage();
    });
}

void MainWindow::ApplyLayout(bool enlarged)
{
    m_enlarged = enlarged;
    const int extra = enlarged ? kEnlargement : 0;
    for (auto [pane, height] : {std::pair{m_answerBox, m_standardAnswerHeight},
                                std::pair{m_commentsPane, m_standardCommentsHeight}}) {
        pane->setMinimumHeight(height + extra);
        pane->setMaximumHeight(height + extra);
    }
    adjustSize();
}

void MainWindow::OnSubmit()
{
    const DebugLog* log = m_services.log;
    const auto trace = [log](const char* step) {
        if (log)
            log->Write("OnMainSubmit", step);
    };
    trace("start");
    const AnswerInput input = ReadInput();
    if (!IsCommandEnabled(ID_SUBMIT, Context()))
        return;
    trace("bool bLoop");
    const bool repeated = m_run.Mode() == RunMode::Training && m_run.HasStatus(m_run.Index());
    trace("bool bRepeat = false;");
    trace("SetComments(GetComments(true))");
    const RunStatus status = m_run.IsActive() ? m_run.StatusOfCurrent() : RunStatus{};
    m_commentsPane->setPlainText(ToQString(m_checker.GetComments(input, true, status)));
    RecordAnswer(input, m_checker.LastOutcome());
    trace("SetComments(GetComments(true))1");
    if (m_run.IsActive()) {
        trace("if(!m_bTraining)");
        JudgeInRun(m_answerBox->toPlainText(), input.noSolutionChecked, repeated);
        return;
    }
    switch (m_checker.LastOutcome()) {
    case CheckOutcome::Correct: m_music->PlayEffect(Effect::Correct); break;
    case CheckOutcome::Wrong: m_music->PlayEffect(Effect::Incorrect); break;
    case CheckOutcome::Rejected: m_music->PlayEffect(Effect::Abnormal); break;
    case CheckOutcome::NothingJudged: break;
    }
}

// What a submission in a run leaves: the question locked in a game, its picture and
// sound, its answer kept, the counts, and the offer to finish once all are answered.
void MainWindow::JudgeInRun(const QString& answerText, bool noSolution, bool repeated)
{
    const DebugLog* log = m_services.log;
    if (m_run.IsGame()) {
        m_answerBox->setReadOnly(true);
        m_noSolution->setEnabled(false);
        m_submit->setEnabled(false);
    }
    if (log)
        log->Write("OnMainSubmit", "COLORREF\tcrBtnColor;");
    const bool correct = m_run.Status(m_run.Index()) == 1;
    ShowResultPicture(correct);
    m_music->PlayEffect(correct ? Effect::Correct : Effect::Incorrect);
    m_run.RecordSubmission(!noSolution, S(answerText), repeated);
    if (log)
        log->Write("OnMainSubmit", "SetCaption()");
    SetCaption();
    if (m_run.IsGame() && m_run.AllAnswered() && AskYesNo(Text(IDS_DIALOG_MAIN_PROMPT_SUBMIT), this))
        EndRun(true);
}

void MainWindow::ShowResultPicture(bool correct)
{
    const QString icon = correct ? QStringLiteral(":/icons/result-correct.svg") : QStringLiteral(":/icons/result-wrong.svg");
    m_resultPicture->setPixmap(QIcon(icon).pixmap(m_resultPicture->size()));
    m_resultPicture->setProperty("verdict", correct ? QStringLiteral("correct") : QStringLiteral("wrong"));
    m_resultPicture->show();
}

void MainWindow::OnModeCommand(RunMode mode)
{
    if (m_run.Mode() == mode)
        AskToLeaveRun();
    else if (m_run.IsActive())
        return;
    else if (mode == RunMode::WorldCup)
        StartWorldCup();
    else
        StartPractice(mode == RunMode::Training);
}

void MainWindow::StartPractice(bool training)
{
    const std::vector<ReviewItem> due = DueForReview();
    CTrainingPlanDlg dialog(training, m_services.profile, m_services.language, m_troubleMakers, m_myFavorites, this,
                            due);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const TrainingPlan& plan = dialog.Plan();
    CBMUtilities::SetCurrentMaximum(plan.Maximum());
    StringArray questions = ChooseQuestions(BuildCandidates(plan, m_troubleMakers, m_myFavorites, due), plan,
                                            m_services.random, m_services.clock);
    if (questions.empty())
        return;
    if (questions.size() < std::size_t(plan.questionCount)) {
        const LanguageState& language = m_services.language;
        const std::string runName =
            language.GetLocalizedString(training ? IDS_BMT_TRAINING_LOWER : IDS_BMT_TRAINING_GAME_LOWER);
        ShowNotice(ToQString(language.GetLocalizedString(IDS_DIALOG_MAIN_PROMPT_INSUFFICIENT_QUESTIONS,
                                                         std::to_string(plan.questionCount), runName,
                                                         std::to_string(questions.size()))),
                   this, MB_ICONASTERISK);
    }
    StartRun({training ? RunMode::Training : RunMode::TrainingGame, plan.standardRule, plan.jqkEnabled,
              plan.difficultyLevel, std::move(questions), plan.TimeLimitSeconds()});
}

void MainWindow::StartWorldCup()
{
    CWorldCupDlg dialog(m_services.profile, m_services.language, m_services.openHelpTopic, this);
    if (dialog.exec() != QDialog::Accepted || !CloseOtherInstances())
        return;
    // The World Cup draws from every configuration of its level, with or without solution.
    TrainingPlan plan;
    plan.training = false;
    plan.standardRule = dialog.IsStandardRule();
    plan.jqkEnabled = dialog.IsJqkEnabled();
    plan.end = {plan.Maximum(), plan.Maximum(), plan.Maximum(), plan.Maximum()};
    plan.questionCount = int(kWorldCupQuestions);
    CBMUtilities::SetCurrentMaximum(plan.Maximum());
    StringArray questions = ChooseQuestions(BuildCandidates(plan, m_troubleMakers, m_myFavorites), plan,
                                            m_services.random, m_services.clock);
    const int level = !plan.standardRule && plan.jqkEnabled ? 3 : 2;
    StartRun({RunMode::WorldCup, plan.standardRule, plan.jqkEnabled, level, std::move(questions),
              int(kWorldCupSeconds)});
}

// A World Cup is played alone: the other running copies of the program are asked to
// close first, when the player agrees.
bool MainWindow::CloseOtherInstances()
{
    if (!m_services.enumerateInstances || m_services.enumerateInstances(0) <= 1)
        return true;
    const int answer = BMMessageBox(Text(IDS_DIALOG_MAIN_PROMPT_EXIT_OTHER_TAVLIX, m_services.language.ProductName()),
                                    {}, MB_OKCANCEL | MB_ICONQUESTION, false, {}, false, false, this);
    if (answer != IDOK)
        return false;
    m_services.enumerateInstances(1);
    return true;
}

void MainWindow::StartRun(RunSetup setup)
{
    SetRule(setup.standardRule);
    SetJQK(setup.jqkEnabled);
    m_run.Start(std::move(setup));
    UpdateModeButtons();
    SetCaption();
    ShowRunNote();
    if (m_run.Level() == 4)
        BMMessageBox(Text(IDS_DIALOG_MAIN_PROMPT_ULTIMATE, m_run.RunNameInText(m_services.language)),
                     Text(IDS_DIALOG_MAIN_PROMPT_ULTIMATE_CAPTION), MB_OK | MB_ICONASTERISK, false, {}, false,
                     false, this);
    m_run.StartClock(m_services.clock.Now());
    m_runTimer->start(m_services.runTickMilliseconds);
    ShowQuestion(0);
    SwitchMusic();
}

void MainWindow::ShowQuestion(std::size_t index)
{
    if (index >= m_run.QuestionCount())
        return;
    NumberArray numbers;
    if (!CBMUtilities::GetQuestionFromString(m_run.Question(index), numbers, true))
        return;
    m_run.SetIndex(index);
    ResetHint();
    m_uiLock = true;
    for (std::size_t i = 0; i < 4; ++i)
        m_questionBoxes[i]->setText(QString::number(numbers[i]));
    m_commentsPane->setPlainText(ToQString(m_checker.GetAnswerCountPrompt(ReadInput())));
    if (m_run.HasStatus(index)) {
        m_noSolution->setChecked(!m_run.UsedAnswerBox(index));
        m_answerBox->setPlainText(QString::fromStdString(m_run.SavedAnswer(index)));
        ShowResultPicture(m_run.Status(index) == 1);
    } else {
        m_noSolution->setChecked(false);
        m_answerBox->clear();
        m_resultPicture->hide();
    }
    m_uiLock = false;
    UpdateControlStates();
    SetCaption();
    m_answerBox->setFocus();
}

void MainWindow::OnPrevious()
{
    if (!m_run.CanGoPrevious())
        return;
    ShowQuestion(m_run.Index() - 1);
    m_music->PlayEffect(Effect::Previous);
}

void MainWindow::OnNext()
{
    if (!m_run.CanGoNext())
        return;
    ShowQuestion(m_run.Index() + 1);
    m_music->PlayEffect(Effect::Next);
}

void MainWindow::OnRunTick()
{
    if (!m_run.IsActive()) {
        m_runTimer->stop();
        return;
    }
    const std::time_t now = m_services.clock.Now();
    if (m_run.IsTimeUp(now)) {
        m_runTimer->stop();
        m_music->PlayEffect(Effect::TimeUp);
        EndRun(true);
        return;
    }
    if (const auto remaining = m_run.RemainingText(now)) {
        m_remainingTime->setText(QString::fromStdString(*remaining));
        m_remainingTime->show();
    }
}

void MainWindow::EndRun(bool withReport)
{
    if (!m_run.IsActive())
        return;
    m_runTimer->stop();
    const std::time_t now = m_services.clock.Now();
    if (withReport && m_run.IsGame())
        ShowNotice(ToQString(m_run.Report(m_services.language, now)), this, MB_ICONASTERISK);
    if (withReport && m_run.Mode() == RunMode::WorldCup)
        OfferWorldCupRanking(m_services.profile, m_services.language, m_services.openHelpTopic, m_run.Score(),
                             m_run.SecondsUsed(now), m_run.IsStandardRule(), m_run.IsJqkEnabled(), this);
    setUpdatesEnabled(false);
    m_uiLock = true;
    m_run.Reset();
    m_remainingTime->clear();
    m_remainingTime->hide();
    UpdateModeButtons();
    ClearQuestion();
    m_uiLock = false;
    UpdateControlStates();
    setUpdatesEnabled(true);
    SwitchMusic();
    ShowHistoryNotice();
}

void MainWindow::RecordAnswer(const AnswerInput& input, CheckOutcome outcome)
{
    if (!m_services.history || outcome == CheckOutcome::NothingJudged)
        return;
    NumberArray numbers;
    std::string boxes;
    for (const std::string& box : input.questionBoxes)
        boxes += box + " ";
    if (!CBMUtilities::GetQuestionFromString(boxes, numbers, true, m_services.language.InputCharacterSet()))
        return;
    std::sort(numbers.begin(), numbers.end());
    AnswerRecord record;
    record.answeredAt = m_services.clock.Now();
    record.question = CBMUtilities::FormatQuestion(numbers[0], numbers[1], numbers[2], numbers[3]);
    record.standardRule = input.standardRule;
    record.jqk = input.jqkEnabled;
    record.mode = input.mode;
    record.level = input.level;
    record.millisecondsTaken = std::max<std::int64_t>(0, m_services.clock.NowMilliseconds() - m_questionShownAt);
    record.verdict = outcome == CheckOutcome::Correct ? AnswerVerdict::Correct
                     : outcome == CheckOutcome::Wrong ? AnswerVerdict::Incorrect
                                                      : AnswerVerdict::Rejected;
    record.hintUsed = m_hintStep > 0;
    std::string error;
    if (m_services.history->Add(record, error) || m_historyNoticeShown)
        return;
    m_historyError = error;
    m_historyNoticeDue = true;
    if (!m_run.IsActive())
        QTimer::singleShot(0, this, [this] { ShowHistoryNotice(); });
}

void MainWindow::ShowHistoryNotice()
{
    if (!m_historyNoticeDue || m_historyNoticeShown || m_run.IsActive())
        return;
    m_historyNoticeDue = false;
    m_historyNoticeShown = true;
    if (m_services.log)
        m_services.log->Write("RecordAnswer", m_historyError);
    ShowNotice(Text(IDS_HISTORY_ADD_FAILED, m_historyError), this, MB_ICONEXCLAMATION);
}

std::vector<ReviewItem> MainWindow::DueForReview() const
{
    if (!m_services.history)
        return {};
    std::string error;
    const std::vector<AnswerRecord> records = m_services.history->LoadAll(error);
    return tavlix::DueForReview(records, m_services.clock.Now());
}

void MainWindow::SwitchMusic()
{
    m_music->SetSituation({.mode = m_run.Mode(), .standardRule = m_standardRule, .jqk = m_jqk});
    m_music->UpdateMusic();
}

// The dialog's previews must not mix with the track, which comes back afterwards
// whichever way the dialog closed.
void MainWindow::OnBackgroundMusic()
{
    m_music->PauseMusic();
    CBackgroundMusicDlg dialog(*m_music, m_services.language, m_services.profile, m_services.pickOpenFile,
                               m_services.openHelpTopic, this);
    dialog.exec();
    m_music->UpdateMusic();
}

void MainWindow::OnMusicFileDropped(const std::filesystem::path& file)
{
    std::string error;
    if (!m_music->SetMusicForCurrentMode(file, &error))
        ShowNotice(ToQString(error), this);
    UpdateControlStates();
}

void MainWindow::ClearQuestion()
{
    m_resultPicture->hide();
    for (QLineEdit* box : m_questionBoxes)
        box->clear();
    m_answerBox->clear();
    m_commentsPane->clear();
    m_noSolution->setChecked(false);
    SetCaption();
}

void MainWindow::AskToLeaveRun()
{
    if (AskYesNo(Text(IDS_DIALOG_PROMPT_EXIT_X, m_run.RunNameInText(m_services.language)), this))
        EndRun(false);
}

void MainWindow::ShowRunNote()
{
    const bool irrelevantHelp = m_run.Level() != 1;
    BMMessageBox(ToQString(m_run.RunNote(m_services.language)), {}, MB_OK | MB_ICONASTERISK, irrelevantHelp,
                 irrelevantHelp ? QLatin1String(CBMMessageBox::kIrrelevantHelpKey) : QString(), false, false, this);
}

void MainWindow::UpdateModeButtons()
{
    static constexpr struct {
        int id;
        RunMode mode;
        const char* picture;
        int tip;
    } kModes[] = {{ID_TRAINING, RunMode::Training, "training", IDS_TIP_TRAINING},
                  {ID_TRAINING_GAME, RunMode::TrainingGame, "training-game", IDS_TIP_TRAINING_GAME},
                  {ID_WORLD_CUP, RunMode::WorldCup, "world-cup", IDS_TIP_WORLD_CUP}};
    for (const auto& m : kModes) {
        PictureButton* button = m_toolbar[m.id];
        const bool running = m_run.Mode() == m.mode;
        button->SetImages(QLatin1String(m.picture) + (running ? QStringLiteral("-running") : QString()));
        button->setToolTip(running ? Text(IDS_TIP_EXIT_X, ModeName(m.mode, m_services.language)) : Text(m.tip));
    }
}

void MainWindow::OnCheckSolution()
{
    m_commentsPane->setPlainText(ToQString(m_checker.GetAllSolutionsText(ReadInput())));
}

// Each use tells one step more about the question on screen, up to a whole solution; the
// steps so far stay in the comments pane, worked out again from the answers typed by now.
void MainWindow::OnHint()
{
    if (!IsCommandEnabled(ID_HINT, Context()))
        return;
    ShowHint(std::min(m_hintStep + 1, kLastHintStep));
}

void MainWindow::ShowHint(int step)
{
    int shown = 0;
    const std::string text = HintGuide(m_services.language).GetHintsText(ReadInput(), step, shown);
    m_hintStep = shown;
    m_hintText = ToQString(text);
    m_commentsPane->setPlainText(m_hintText);
}

// A hint belongs to one question under one rule and range: any change of them starts again
// at step 1, and takes a hint that no longer holds off the comments pane.
void MainWindow::ResetHint()
{
    if (m_hintStep > 0 && m_commentsPane->toPlainText() == m_hintText)
        m_commentsPane->clear();
    m_hintStep = 0;
    m_hintText.clear();
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
    if (m_run.IsActive())
        AskToLeaveRun();
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

CollectionContext MainWindow::CollectionServices()
{
    return {m_services.language, m_services.profile, *m_services.userData, m_services.openHelpTopic,
            m_services.pickSaveFile};
}

void MainWindow::OnSaveTo(Collection& collection)
{
    if (!m_services.userData || !m_services.setUpUserDataDirectory || !m_services.setUpUserDataDirectory())
        return;
    NumberArray q;
    if (!m_checker.ReadQuestion(ReadInput(), q)) {
        ShowNotice(Text(IDS_DIALOG_MAIN_PROMPT_INVALID_QUESTION, m_jqk ? "13" : "10"), this);
        return;
    }
    const CollectionContext context = CollectionServices();
    SaveToDlg dialog(collection, context, QString::fromStdString(CBMUtilities::FormatQuestion(q[0], q[1], q[2], q[3])),
                     {}, this);
    dialog.exec();
}

void MainWindow::WithThirteen(const std::function<void()>& run)
{
    const bool jqk = m_jqk;
    m_jqk = true;
    CBMUtilities::SetCurrentMaximum(13);
    run();
    m_jqk = jqk;
    CBMUtilities::SetCurrentMaximum(jqk ? 13 : 10);
}

void MainWindow::OnCollection(Collection& collection)
{
    if (!m_services.userData || !m_services.setUpUserDataDirectory || !m_services.setUpUserDataDirectory())
        return;
    WithThirteen([&] {
        const CollectionContext context = CollectionServices();
        CollectionDlg dialog(collection, context, this);
        dialog.exec();
    });
}

void MainWindow::OnInstantSolutions()
{
    WithThirteen([&] {
        const CollectionContext context = CollectionServices();
        CollectionItemDlg dialog(nullptr, std::string::npos, context, !m_standardRule, this);
        dialog.exec();
    });
}

void MainWindow::OnCompleteList()
{
    if (!m_services.userData)
        return;
    CompleteListDlg dialog({m_services.language, m_services.profile, *m_services.userData, m_services.clock,
                            m_services.programDirectory, m_services.completeListFolder,
                            [this](bool standardRule, bool jqkEnabled) {
                                ChangeKeepingPane([&] {
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
    if (!m_services.history) {
        ShowNotice(Text(IDS_STATISTICS_NO_HISTORY), this, MB_ICONASTERISK);
        return;
    }
    std::string error;
    std::vector<AnswerRecord> records = m_services.history->LoadAll(error);
    if (!error.empty()) {
        ShowNotice(Text(IDS_STATISTICS_LOAD_FAILED, error), this);
        if (records.empty())
            return;
    }
    StatisticsContext context{m_services.language, m_services.clock.Now(), m_services.openHelpTopic,
                              m_services.pickSaveFile, {}};
    // A training's question stays; out of a run the question comes as the player would
    // set it: rule and J/Q/K first (which may clamp the boxes), then the four numbers.
    if (!m_run.IsActive())
        context.openQuestion = [this](const std::string& question, bool standardRule, bool jqk) {
            if (standardRule != m_standardRule)
                RunCommand(standardRule ? ID_STANDARD_RULE : ID_ADVANCED_RULE);
            if (jqk != m_jqk)
                RunCommand(ID_ENABLE_JQK);
            NumberArray numbers;
            if (!CBMUtilities::GetQuestionFromString(question, numbers, jqk))
                return;
            for (std::size_t i = 0; i < 4; ++i)
                m_questionBoxes[i]->setText(QString::number(numbers[i]));
            m_noSolution->setChecked(false);
            m_answerBox->clear();
            m_commentsPane->clear();
            m_resultPicture->hide();
            UpdateControlStates();
            m_answerBox->setFocus();
        };
    StatisticsWindow window(std::move(context), std::move(records), this);
    window.exec();
}

void MainWindow::OnFirstTick()
{
    // The release notes open once per version.
    const std::string key = "Release Note " + m_services.versionText;
    if (m_services.profile.GetProfileString("App", key, "") != "1") {
        if (m_services.openHelpTopic)
            m_services.openHelpTopic(7);
        m_services.profile.WriteProfileString("App", key, "1");
    }
    if (m_services.startUpdateCheck)
        m_services.startUpdateCheck();
}

void MainWindow::OnBackground()
{
    CBackgroundDlg dialog(*m_background, m_services.profile, m_services.language,
                          {m_services.pickOpenFile, m_services.pickColor}, this);
    dialog.exec();
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
    if (m_background->TakeDroppedBitmap(files))
        return;
    const auto playable = std::find_if(files.begin(), files.end(), [](const auto& f) { return IsPlayableFile(f); });
    if (playable != files.end())
        OnMusicFileDropped(*playable);
}

}  // namespace tavlix
