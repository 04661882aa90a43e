#pragma once

#include <QDialog>
#include <QKeySequence>

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "collections/Collection.h"
#include "engine/AnswerChecker.h"
#include "i18n/Edition.h"
#include "media/MusicSettings.h"
#include "runs/Run.h"
#include "shell/CommandTable.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QPushButton;
class QTimer;
class QToolButton;

namespace tavlix {

class CachedStrings;
class Clock;
class DebugLog;
class HistoryStore;
class HyperlinkLabel;
class LanguageState;
class AudioDevice;
class MusicPlayer;
class WindowBackground;
class PictureButton;
class Profile;
class ProfileStore;
class RandomSource;
class UserDataDirectory;
struct CollectionContext;
struct ReviewItem;

// What the main window uses of the application and the platform.
struct MainWindowServices {
    LanguageState& language;
    CachedStrings& cache;
    Profile& profile;            // per-user settings
    ProfileStore& settings;      // the same store, for the language choice
    AudioDevice& audio;          // the background music and the effects
    const Clock& clock;
    RandomSource& random;       // picks the questions of a run
    Edition edition = Edition::SimplifiedChinese;
    std::string versionText;
    std::string makerHomePage;
    std::string productHomePage;
    const DebugLog* log = nullptr;
    std::function<void(int topic)> openHelpTopic;
    std::function<void(const std::string& address)> openAddress;
    std::function<void()> startUpdateCheck;  // the automatic check once start-up is done
    std::function<void()> showOptions;
    // How many main windows run, this one included; action 1 asks the others to close.
    std::function<int(int action)> enumerateInstances;
    // The collections live in the user data directory, which must be set up first.
    UserDataDirectory* userData = nullptr;
    std::function<bool()> setUpUserDataDirectory;
    std::function<QString(QWidget*, const QString&, const QString&, const QString&)> pickSaveFile;
    // The open-file chooser (start, title, filter; the chosen file or nothing) and the
    // colour chooser (the current colour; the chosen one, invalid when cancelled).
    std::function<QString(QWidget*, const QString&, const QString&, const QString&)> pickOpenFile;
    std::function<QColor(QWidget*, const QColor&)> pickColor;
    // The complete list reads its templates from doc/ of the program folder and writes its
    // pages to the page folder.
    std::filesystem::path programDirectory;
    std::filesystem::path completeListFolder;
    // The player's answers; nullptr: nothing is recorded and there are no statistics.
    HistoryStore* history = nullptr;
    int runTickMilliseconds = 1000;  // how often a run looks at the clock
    // The music settings files; MP3 and WMA tracks go to the user's own player.
    MusicFiles musicFiles;
    std::function<void(const std::filesystem::path& file)> openWithRegisteredPlayer;
    int musicTickMilliseconds = 1000;  // the countdown of a limited play
};

// The program's one window: question boxes, the answer box, the comments pane, the
// toolbar of picture buttons and the menus built from the string table.
class MainWindow : public QDialog {
    Q_OBJECT

public:
    explicit MainWindow(MainWindowServices services, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Runs a command as its menu entry, toolbar button or key would.
    void RunCommand(int id);
    // Availability and checks of every command, as the menus show them.
    CommandContext Context() const;
    // The close request of an update installer (1, 2): ends without a prompt.
    void OnCloseRequest(int w, int l);

    bool IsStandardRule() const { return m_standardRule; }
    bool IsJqkEnabled() const { return m_jqk; }
    bool IsEnlarged() const { return m_enlarged; }
    const Run& CurrentRun() const { return m_run; }
    const Collection& MyFavorites() const { return m_myFavorites; }
    const Collection& TroubleMakers() const { return m_troubleMakers; }
    QMenuBar* MenuBar() const { return m_menuBar; }
    const MusicPlayer& Music() const { return *m_music; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void reject() override;
    void showEvent(QShowEvent* event) override;
    // The background colour and image, under the controls.
    void paintEvent(QPaintEvent* event) override;
    // Files dropped from the file manager: a bitmap becomes the background, else a
    // sound file the music of the current mode.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void BuildUi();
    void BuildMenuBar();
    void FillPopup(QMenu* menu, Popup popup);
    void ApplyLanguage();
    void UpdateControlStates();
    void UpdateToolbarImages();
    void SetCaption();
    void SetRule(bool standard);
    void SetJQK(bool enabled);
    void SetLanguage(int column);
    void ApplyLayout(bool enlarged);
    void OnSubmit();
    void JudgeInRun(const QString& answerText, bool noSolution, bool repeated);
    void OnModeCommand(RunMode mode);
    void StartPractice(bool training);
    void StartWorldCup();
    bool CloseOtherInstances();
    void StartRun(RunSetup setup);
    void ShowQuestion(std::size_t index);
    void OnPrevious();
    void OnNext();
    void OnRunTick();
    void EndRun(bool withReport);
    void ClearQuestion();
    // Plays the music of the current mode, rule and J/Q/K.
    void SwitchMusic();
    void OnBackgroundMusic();
    void OnMusicFileDropped(const std::filesystem::path& file);
    void OnBackground();
    void AskToLeaveRun();
    void ShowRunNote();
    void ShowResultPicture(bool correct);
    void UpdateModeButtons();
    void OnCheckSolution();
    void OnHint();
    void ShowHint(int step);
    void ResetHint();
    void OnMainExit();
    void OnFirstTick();
    void OnSaveTo(Collection& collection);
    void OnCollection(Collection& collection);
    void OnInstantSolutions();
    void OnCompleteList();
    // Tools > Statistics over the history; a question opens from it only outside a run.
    void OnStatistics();
    // Runs a collection window with J, Q and K enabled, restoring the choice after.
    void WithThirteen(const std::function<void()>& run);
    CollectionContext CollectionServices();
    void ChangeKeepingPane(const std::function<void()>& change);
    AnswerInput ReadInput() const;
    QString Text(int id, const std::string& first = {}) const;
    // Keeps a judged submission in the history. A failed write never stops the game; the
    // player hears of it once a session, outside a run.
    void RecordAnswer(const AnswerInput& input, CheckOutcome outcome);
    void ShowHistoryNotice();
    // The questions due for review now; none without a history.
    std::vector<ReviewItem> DueForReview() const;

    MainWindowServices m_services;
    AnswerChecker m_checker;

    bool m_standardRule = true;
    bool m_jqk = true;
    bool m_enlarged = false;
    bool m_uiLock = false;
    bool m_initialized = false;
    int m_hintStep = 0;                 // 0: no hint shown for the question on screen yet
    QString m_hintText;                 // the hints so far, as the comments pane shows them
    std::int64_t m_questionShownAt = 0;  // milliseconds, when the question on screen appeared
    bool m_historyNoticeDue = false;     // an answer could not be kept; not yet told
    bool m_historyNoticeShown = false;
    std::string m_historyError;
    Run m_run;
    Collection m_myFavorites{true};
    Collection m_troubleMakers{false};

    QMenuBar* m_menuBar = nullptr;
    std::map<Popup, QMenu*> m_popups;
    std::map<int, PictureButton*> m_toolbar;
    std::array<QLineEdit*, 4> m_questionBoxes {};
    std::array<QToolButton*, 4> m_spinUp {};
    std::array<QToolButton*, 4> m_spinDown {};
    QLabel* m_questionLabel = nullptr;
    QLabel* m_answerLabel = nullptr;
    QLabel* m_commentsLabel = nullptr;
    QPlainTextEdit* m_answerBox = nullptr;
    QCheckBox* m_noSolution = nullptr;
    QPushButton* m_previous = nullptr;
    QPushButton* m_submit = nullptr;
    QPushButton* m_next = nullptr;
    QPushButton* m_checkSolution = nullptr;
    QPushButton* m_done = nullptr;
    QPlainTextEdit* m_commentsPane = nullptr;
    QLabel* m_resultPicture = nullptr;
    QLabel* m_statusLine = nullptr;
    QLabel* m_timeField = nullptr;
    HyperlinkLabel* m_hyperlink = nullptr;
    QTimer* m_firstTick = nullptr;
    QTimer* m_runTimer = nullptr;
    QTimer* m_musicTimer = nullptr;
    std::unique_ptr<MusicPlayer> m_music;
    std::unique_ptr<WindowBackground> m_background;
    std::vector<QKeySequence> m_accelerators;
    QLabel* m_remainingTime = nullptr;  // at the right end of the menu bar

    int m_standardAnswerHeight = 0;
    int m_standardCommentsHeight = 0;
};

}  // namespace tavlix
