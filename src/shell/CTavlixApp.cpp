#include "shell/CTavlixApp.h"

#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QStandardPaths>

#include <unistd.h>

#include "platform/Audio.h"
#include "platform/ProfileStore.h"
#include "platform/System.h"
#include "platform/qt/InstanceChannel.h"
#include "platform/qt/QSettingsProfileStore.h"
#include "platform/qt/QtAudioDevice.h"
#include "platform/qt/QtShell.h"
#include "settings/OptionsDlg.h"
#include "settings/UserDataDirDlg.h"
#include "settings/UserDataDirectory.h"
#include "shell/AppStartup.h"
#include "controls/CBMMessageBox.h"
#include "controls/DialogSupport.h"
#include "shell/HelpOpener.h"
#include "shell/HelpWindow.h"
#include "shell/MainWindow.h"
#include "shell/QtTranslations.h"
#include "settings/Profile.h"
#include "settings/SettingsTable.h"
#include "i18n/StringIds.h"
#include "common/TextUtilities.h"
#include "update/UpdateCheck.h"

namespace tavlix {

namespace {

// The World Cup caption of every language, as another instance would show it.
bool IsWorldCupTitle(const QString& title)
{
    const QString start = title.left(39);
    return start.contains(QStringLiteral("World Cup")) || start.contains(QStringLiteral("世界杯")) ||
           start.contains(QStringLiteral("世界盃"));
}

bool IsWritableFolder(const std::filesystem::path& folder)
{
    return ::access(folder.c_str(), W_OK) == 0;
}

// The version text of the product row, the same in every language.
std::string ProductVersionText()
{
    return VersionFromText(LookUpString(IDS_DIALOG_ABOUT_COMPANY_PRODUCT_VERSION, kEnglish, {}, {}, {},
                                        GetStringCount()),
                           "1");
}

QString PickSaveFile(QWidget* parent, const QString& start, const QString& title, const QString& filter)
{
    return QFileDialog::getSaveFileName(parent, title, start, filter);
}

QString PickOpenFile(QWidget* parent, const QString& start, const QString& title, const QString& filter)
{
    return QFileDialog::getOpenFileName(parent, title, start, filter);
}

QColor PickColor(QWidget* parent, const QColor& initial) { return QColorDialog::getColor(initial, parent); }

}  // namespace

CTavlixApp::CTavlixApp(AppEnvironment environment)
    : m_env(std::move(environment)),
      m_editionName(tavlix::EditionName(m_env.edition)),
      m_version(ProductVersionText()),
      m_profile(std::make_unique<Profile>(*m_env.userSettings)),
      m_machineProfile(std::make_unique<Profile>(*m_env.machineSettings)),
      m_log(std::make_unique<DebugLog>(m_env.temporaryDirectory / "c2debug.log",
                                       DebugLog::IsDebugInfoEnabled(m_env.programDirectory), m_clock)),
      m_help(std::make_unique<HelpOpener>(*m_env.shell, m_env.edition, m_env.programDirectory)),
      m_instances(std::make_unique<InstanceChannel>(m_env.instanceName)),
      m_userData(std::make_unique<UserDataDirectory>(*m_env.editionSettings, m_language,
                                                     m_env.programDirectory, m_env.documentsDirectory,
                                                     m_env.isAdministrator))
{
    SetMessageBoxContext({&m_language, &m_cache, [this](int topic) { OpenHelpTopic(topic); }});
}

CTavlixApp::~CTavlixApp()
{
    m_mainWindow.reset();
    SetMessageBoxContext({});
}

std::string CTavlixApp::LanguageFolder() const { return HelpOpener::LanguageFolder(m_language.Lcid()); }

void CTavlixApp::OpenHelpTopic(int topic)
{
    const auto showPage = [this](const std::filesystem::path& page) {
        if (!m_helpWindow)
            m_helpWindow = std::make_unique<HelpWindow>(m_language, *m_env.shell, m_help->BundleFolder());
        m_helpWindow->ShowPage(page);
    };
    for (const std::string& address : m_help->OpenHelpTopic(topic, LanguageFolder(), showPage))
        ReportUnopenedAddress(m_language, address, m_mainWindow.get());
}

void CTavlixApp::OpenAddress(const std::string& address)
{
    if (!m_help->OpenInBrowser(address))
        ReportUnopenedAddress(m_language, address, m_mainWindow.get());
}

void CTavlixApp::StartUpdateCheck()
{
    const UpdateSettings settings = ReadUpdateSettings(m_env.programDirectory / "config" / "update.ini");
    UpdateServices services{
        .download = {.language = m_language,
                     .clock = m_clock,
                     .shell = *m_env.shell,
                     .tls = m_env.tlsConfiguration,
                     .downloadsFolder = m_env.downloadsDirectory,
                     .pickSaveFile = PickSaveFile},
        .profile = *m_profile,
        .infoAddress = InfoFileAddress(settings, m_env.edition),
        .ownBuild = std::chrono::year(kBuildYear) / kBuildMonth / kBuildDay,
        .makerHomePage = m_help->GetMakerHomePage(),
        .productHomePage = m_help->GetProductHomePage(),
        .openAddress = [this](const std::string& address) { OpenAddress(address); },
    };
    auto* check = new UpdateCheck(std::move(services), m_mainWindow.get());
    // The installer replaces the program: every instance makes way for it.
    QObject::connect(check, &UpdateCheck::installerStarted, m_mainWindow.get(), [this] {
        m_instances->EnumerateInstances(1);
        m_mainWindow->OnCloseRequest(InstanceChannel::kCloseW, InstanceChannel::kCloseL);
    });
    check->Start();
}

bool CTavlixApp::ShowMessage(int id)
{
    ShowNotice(LocalizedText(m_language, id), nullptr);
    return false;
}

bool CTavlixApp::CheckSingleInstance()
{
    if (m_instances->TryBecomePrimary())
        return true;
    // A World Cup in the other instance is not interrupted: this start is refused.
    if (!IsWorldCupRunningElsewhere())
        m_instances->RequestFront();
    return false;
}

bool CTavlixApp::SetUpConfiguration()
{
    // The language comes first, so that a refusal by the running instance speaks it.
    m_language.InitLanguage(m_env.edition, ReadSetting(*m_profile, setting::kLanguageLcid, m_env.userDefaultLcid));
    m_cache.Reload(m_language);
    FollowInterfaceLanguage(m_language.Lcid());
    if (!CheckSingleInstance())
        return false;

    m_configDirectory = m_env.programDirectory / "config";
    m_defaultMusicFile = m_configDirectory / "defaultmusic.ini";
    // The program writes beside itself only in a build tree it may write to. An
    // installation keeps what it writes in the user's own folder, whoever runs it
    // (root too), so that nothing of it stays behind when the package goes.
    m_writtenFilesFolder = !IsInstallation(m_env.programDirectory) && IsWritableFolder(m_configDirectory)
                               ? m_env.programDirectory
                               : m_env.userDataFolder;
    m_musicFile = m_writtenFilesFolder / "config" / "music.ini";
    if (!EnsureMusicFile(m_defaultMusicFile, m_musicFile))
        return ShowMessage(IDS_ERROR_INSTALLATION_PACK_DESTROYED);

    if (!SetUpUserData())
        return false;

    const FirstRunResult firstRun = CheckFirstRun(*m_machineProfile, ReadInstallationMark(m_env.programDirectory),
                                                  m_env.isAdministrator, m_log.get());
    if (!firstRun.proceed)
        return ShowMessage(firstRun.messageId);
    if (firstRun.messageId != 0) {
        std::string text = m_language.GetLocalizedString(firstRun.messageId);
        ReplaceAll(text, "#1", m_env.machineSettings->Location());
        ShowNotice(ToQString(text), nullptr);
    }
    OpenHistory();
    return true;
}

void CTavlixApp::OpenHistory()
{
    const std::filesystem::path file = std::filesystem::path(m_userData->Current()) / "history.sqlite3";
    std::string error;
    m_history = SqliteHistoryStore::Open(file, error);
    if (m_history && m_history->ReadOnly())
        ShowNotice(ToQString(m_language.GetLocalizedString(IDS_HISTORY_READ_ONLY, file.string())), nullptr,
                   MB_ICONEXCLAMATION);
    if (m_history)
        return;
    if (m_log)
        m_log->Write("OpenHistory", error);
    const auto startsWith = [&error](const char* code) { return error.rfind(code, 0) == 0; };
    const int id = startsWith(SqliteHistoryStore::kErrorNewerSchema) ? IDS_HISTORY_NEWER_VERSION
                   : startsWith(SqliteHistoryStore::kErrorNotHistory) ? IDS_HISTORY_NOT_READABLE
                                                                      : IDS_HISTORY_CANNOT_OPEN;
    ShowNotice(ToQString(m_language.GetLocalizedString(id, file.string())), nullptr, MB_ICONEXCLAMATION);
}

bool CTavlixApp::SetUpUserData()
{
    return m_userData->SetUpUserDataDirectory([this] {
        UserDataDirDlg dialog(*m_userData, m_language, [this](int topic) { OpenHelpTopic(topic); },
                              m_mainWindow.get());
        dialog.exec();
    });
}

bool CTavlixApp::IsWorldCupRunningElsewhere()
{
    const auto title = m_instances->QueryTitle();
    if (!title || !IsWorldCupTitle(*title))
        return false;
    BMMessageBox(LocalizedText(m_language, IDS_DIALOG_MAIN_PROMPT_DENY_START_DURING_WORLD_CUP,
                               m_language.ProductName()),
                 LocalizedText(m_language, IDS_DIALOG_MAIN_PROMPT_DENY_NEW_CAPTION), MB_OK | MB_ICONEXCLAMATION);
    return true;
}

void CTavlixApp::ShowOptions()
{
    OptionsDlg dialog(*m_userData, m_language, [this](int topic) { OpenHelpTopic(topic); },
                      m_mainWindow.get());
    dialog.exec();
}

MainWindow& CTavlixApp::CreateMainWindow()
{
    MainWindowServices services{
        .language = m_language,
        .cache = m_cache,
        .profile = *m_profile,
        .audio = *m_env.audio,
        .clock = m_clock,
        .random = m_random,
        .edition = m_env.edition,
        .versionText = m_version,
        .makerHomePage = m_help->GetMakerHomePage(),
        .productHomePage = m_help->GetProductHomePage(),
        .log = m_log.get(),
        .openHelpTopic = [this](int topic) { OpenHelpTopic(topic); },
        .openAddress = [this](const std::string& address) { OpenAddress(address); },
        .startUpdateCheck = [this] { StartUpdateCheck(); },
        .showOptions = [this] { ShowOptions(); },
        .enumerateInstances = [this](int action) { return m_instances->EnumerateInstances(action); },
        .userData = m_userData.get(),
        .setUpUserDataDirectory = [this] { return SetUpUserData(); },
        .pickSaveFile = PickSaveFile,
        .pickOpenFile = PickOpenFile,
        .pickColor = PickColor,
        .programDirectory = m_env.programDirectory,
        .completeListFolder = m_writtenFilesFolder / "cl",
        .history = m_history.get(),
        .musicFiles = {.musicFile = m_musicFile,
                       .defaultMusicFile = m_defaultMusicFile,
                       .dataDirectory = m_env.programDirectory},
        // What the user's player makes of the file is its own business.
        .openWithRegisteredPlayer = [this](const std::filesystem::path& file) { m_env.shell->Open(file.string()); },
    };
    m_mainWindow = std::make_unique<MainWindow>(std::move(services));
    QObject::connect(m_instances.get(), &InstanceChannel::frontRequested, m_mainWindow.get(), [this] {
        m_mainWindow->showNormal();
        m_mainWindow->raise();
        m_mainWindow->activateWindow();
    });
    QObject::connect(m_instances.get(), &InstanceChannel::closeRequested, m_mainWindow.get(),
                     [this](int w, int l) { m_mainWindow->OnCloseRequest(w, l); });
    m_instances->SetTitleProvider([this] { return m_mainWindow->windowTitle(); });
    return *m_mainWindow;
}

int CTavlixApp::InitApplication()
{
    m_log->Write("APP", "_PROGRAM_START");
    if (!SetUpConfiguration())
        return 1;
    MainWindow& window = CreateMainWindow();
    window.exec();
    m_log->Write("APP", "_PROGRAM_END");
    return 0;
}

AppEnvironment DesktopEnvironment(Edition edition)
{
    AppEnvironment env;
    env.edition = edition;
    env.programDirectory = GetProgramPath(2);
    env.documentsDirectory =
        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString();
    env.userDataFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation).toStdString();
    env.temporaryDirectory = QDir::tempPath().toStdString();
    env.downloadsDirectory = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation).toStdString();
    env.isAdministrator = IsUserAdmin();
    const QString editionKey = QString::fromStdString(tavlix::EditionName(edition));
    const QString versionKey = editionKey + QLatin1Char('/') + QString::fromStdString(ProductVersionText());
    env.userSettings = std::make_unique<QSettingsProfileStore>(QSettings::UserScope, "Brelmor", versionKey);
    env.machineSettings = std::make_unique<QSettingsProfileStore>(QSettings::SystemScope, "Brelmor", versionKey);
    env.editionSettings = std::make_unique<QSettingsProfileStore>(QSettings::UserScope, "Brelmor", editionKey);
    env.shell = std::make_unique<QtShell>();
    env.audio = std::make_unique<QtAudioDevice>();
    const QString locale = QLocale::system().name();
    env.userDefaultLcid = locale.startsWith(QStringLiteral("zh_CN")) || locale.startsWith(QStringLiteral("zh_SG"))
                              ? kLcidSimplifiedChinese
                          : locale.startsWith(QStringLiteral("zh")) ? kLcidTraditionalChinese
                                                                    : kLcidEnglish;
    return env;
}

}  // namespace tavlix
