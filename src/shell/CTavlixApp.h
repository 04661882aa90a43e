#pragma once

#include <QSslConfiguration>
#include <QString>

#include <filesystem>
#include <memory>
#include <string>

#include "diagnostics/DebugLog.h"
#include "platform/Clock.h"
#include "platform/Audio.h"
#include "platform/Random.h"
#include "platform/ProfileStore.h"
#include "platform/Shell.h"
#include "i18n/Edition.h"
#include "history/SqliteHistoryStore.h"
#include "i18n/LanguageState.h"

namespace tavlix {

class HelpOpener;
class HelpWindow;
class InstanceChannel;
class MainWindow;
class Profile;
class UserDataDirectory;

// Everything the application takes from the machine; tests pass temporary folders,
// in-memory stores and fakes.
struct AppEnvironment {
    Edition edition = kBuildEdition;
    std::filesystem::path programDirectory;    // holds config/, images/, doc/
    std::filesystem::path documentsDirectory;
    std::filesystem::path userDataFolder;      // per-user fallback for files we write
    std::filesystem::path temporaryDirectory;
    std::filesystem::path downloadsDirectory;  // where a new version is saved
    // The authorities that vouch for the update site; tests add their own.
    QSslConfiguration tlsConfiguration = QSslConfiguration::defaultConfiguration();
    bool isAdministrator = false;
    std::unique_ptr<ProfileStore> userSettings;     // "<edition>/<version>" of this user
    std::unique_ptr<ProfileStore> machineSettings;  // the same path, machine-wide
    std::unique_ptr<ProfileStore> editionSettings;  // "<edition>", shared by all versions
    std::unique_ptr<Shell> shell;
    std::unique_ptr<AudioDevice> audio;
    QString instanceName = QStringLiteral("Brelmor_Tavlix");
    std::uint32_t userDefaultLcid = kLcidEnglish;
};

// The application object: settles edition, paths, the single instance, the first-run
// check, the language and the user data directory, then runs the main window.
class CTavlixApp {
public:
    explicit CTavlixApp(AppEnvironment environment);
    ~CTavlixApp();

    // The whole start-up and the main window's life; returns the process exit code.
    int InitApplication();
    // Start-up up to the main window; false when the program is to end.
    bool SetUpConfiguration();
    // Creates the main window (shown by InitApplication; tests drive it directly).
    MainWindow& CreateMainWindow();
    // True, after telling the user, when the running instance plays a World Cup.
    bool IsWorldCupRunningElsewhere();

    const std::string& EditionName() const { return m_editionName; }
    const std::string& VersionText() const { return m_version; }
    const std::filesystem::path& MusicFile() const { return m_musicFile; }
    LanguageState& Language() { return m_language; }
    CachedStrings& Cache() { return m_cache; }
    UserDataDirectory& UserData() { return *m_userData; }
    std::string LanguageFolder() const;

    // The date this version was built, as the update check compares it.
    static constexpr int kBuildYear = 2012, kBuildMonth = 4, kBuildDay = 12;

private:
    bool CheckSingleInstance();
    bool SetUpUserData();
    // Opens the history of answers in the user data directory; a file it refuses is left
    // alone, the player is told once, and the session records nothing.
    void OpenHistory();
    void OpenHelpTopic(int topic);
    void OpenAddress(const std::string& address);
    void StartUpdateCheck();
    void ShowOptions();
    bool ShowMessage(int id);

    AppEnvironment m_env;
    std::string m_editionName;
    std::string m_version;
    std::unique_ptr<Profile> m_profile;
    std::unique_ptr<Profile> m_machineProfile;
    SystemClock m_clock;
    StandardRandom m_random;
    std::unique_ptr<DebugLog> m_log;
    LanguageState m_language;
    CachedStrings m_cache;
    std::unique_ptr<HelpOpener> m_help;
    std::unique_ptr<HelpWindow> m_helpWindow;  // made on the first help request
    std::unique_ptr<InstanceChannel> m_instances;
    std::unique_ptr<UserDataDirectory> m_userData;
    std::unique_ptr<SqliteHistoryStore> m_history;
    std::unique_ptr<MainWindow> m_mainWindow;
    std::filesystem::path m_configDirectory;
    std::filesystem::path m_writtenFilesFolder;  // holds config/music.ini and cl/
    std::filesystem::path m_defaultMusicFile;
    std::filesystem::path m_musicFile;
};

// The environment of the installed or built program on this machine.
AppEnvironment DesktopEnvironment(Edition edition);

}  // namespace tavlix
