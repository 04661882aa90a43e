#pragma once

#include <QDialog>

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "collections/PersonalCollections.h"
#include "engine/AnswerChecker.h"
#include "i18n/Edition.h"
#include "media/MusicSettings.h"
#include "runs/RunController.h"
#include "shell/CommandTable.h"
#include "shell/MainWindowUi.h"

class QMenuBar;
class QTimer;

namespace tavlix {

class AudioDevice;
class CachedStrings;
class CommandBindings;
class CommentsPane;
class Clock;
class DebugLog;
class GameSounds;
class HistoryStore;
class LanguageState;
class MusicPlayer;
class Profile;
class ProfileStore;
class RandomSource;
class UserDataDirectory;
class WindowBackground;

// What the main window uses of the application and the platform.
struct MainWindowServices {
    LanguageState& language;
    CachedStrings& cache;
    Profile& profile;            // per-user settings
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
// toolbar of picture buttons and the menus built from the string table. The game itself
// is the run controller's, its sounds GameSounds'; the window shows them and passes the
// player's commands on.
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
    const Run& CurrentRun() const;
    const Collection& MyFavorites() const { return m_collections.MyFavorites(); }
    const Collection& TroubleMakers() const { return m_collections.TroubleMakers(); }
    QMenuBar* MenuBar() const { return m_ui.menuBar; }
    const MusicPlayer& Music() const;

protected:
    void reject() override;
    void showEvent(QShowEvent* event) override;
    // The background colour and image, under the controls.
    void paintEvent(QPaintEvent* event) override;
    // Files dropped from the file manager: a bitmap becomes the background, else a
    // sound file the music of the current mode.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    using Handlers = std::map<int, std::function<void()>>;
    Handlers CommandHandlers();
    void ConnectControls();
    void ConnectRuns();
    void ApplyLanguage();
    void UpdateControlStates();
    void UpdateToolbarImages();
    void UpdateModeButtons();
    void SetCaption();
    void OnRuleCommand(bool standard);
    void SetRule(bool standard);
    void SetJQK(bool enabled);
    void SetLanguage(int column);
    void ApplyLayout(bool enlarged);
    void ToggleLayout();
    void StepQuestionBox(std::size_t box, int step);
    void OnQuestionEdited();
    void ShowQuestion(const ShownQuestion& question);
    void ShowJudgement(const Judgement& judgement);
    void OnRunEnded();
    void ClearQuestion();
    void OnHelp();
    void OnMusicOn();
    void OnBackgroundMusic();
    void OnMusicFileDropped(const std::filesystem::path& file);
    void OnBackground();
    void OnAbout();
    void OnHint();
    void OnMainExit();
    void OnFirstTick();
    void OnSaveTo(bool toMyFavorites);
    void OnCompleteList();
    // Tools > Statistics over the history; a question opens from it only outside a run.
    void OnStatistics();
    void OpenQuestion(const std::string& question, bool standardRule, bool jqk);
    AnswerInput ReadInput() const;
    QString Text(int id, const std::string& first = {}) const;

    MainWindowServices m_services;
    AnswerChecker m_checker;  // what the panes show; judging is the run controller's
    PersonalCollections m_collections;
    MainWindowUi m_ui;
    Handlers m_handlers;

    bool m_standardRule = true;
    bool m_jqk = true;
    bool m_enlarged = false;
    bool m_uiLock = false;
    bool m_initialized = false;

    std::unique_ptr<CommentsPane> m_pane;
    CommandBindings* m_commands = nullptr;
    QTimer* m_firstTick = nullptr;
    RunController* m_runs = nullptr;
    GameSounds* m_sounds = nullptr;
    std::unique_ptr<WindowBackground> m_background;
};

}  // namespace tavlix
