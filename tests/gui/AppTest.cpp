#include <QTemporaryDir>

#include <fstream>

#include "GuiTestSupport.h"
#include "platform/qt/InstanceChannel.h"
#include "platform/qt/QSettingsProfileStore.h"
#include "settings/UserDataDirectory.h"
#include "shell/AppStartup.h"
#include "shell/CTavlixApp.h"
#include "shell/MainWindow.h"

using namespace tavlix;
using namespace tavlix::testing;
namespace fs = std::filesystem;

class AppTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_run = 0;

    fs::path Root() const { return fs::path(m_dir.path().toStdString()); }

    // A program folder with its factory files, and a fresh user.
    AppEnvironment Environment(bool administrator, InMemoryProfileStore* machine = nullptr,
                               InMemoryProfileStore* edition = nullptr)
    {
        ++m_run;
        const fs::path program = Root() / ("program" + std::to_string(m_run));
        fs::create_directories(program / "config");
        std::ofstream(program / "config" / "defaultmusic.ini") << "[Music]\r\nMusic On = true\r\n";
        AppEnvironment env;
        env.edition = Edition::Standard;
        env.programDirectory = program;
        env.documentsDirectory = Root() / "documents";
        env.userDataFolder = Root() / "userdata";
        env.temporaryDirectory = Root() / "tmp";
        fs::create_directories(env.temporaryDirectory);
        env.isAdministrator = administrator;
        env.userSettings = std::make_unique<InMemoryProfileStore>();
        env.machineSettings = std::make_unique<InMemoryProfileStore>(machine ? *machine : InMemoryProfileStore());
        auto stored = std::make_unique<InMemoryProfileStore>(edition ? *edition : InMemoryProfileStore());
        if (!edition)
            stored->WriteString(UserDataDirectory::kStoreSection, UserDataDirectory::kStoreValue,
                                (Root() / "documents" / "mine").string());
        env.editionSettings = std::move(stored);
        env.shell = std::make_unique<FakeShell>();
        env.media = std::make_unique<FakeMedia>();
        env.instanceName = QStringLiteral("TavlixAppTest%1-%2").arg(QCoreApplication::applicationPid()).arg(m_run);
        return env;
    }

private slots:
    void versionAndEdition()
    {
        QCOMPARE(VersionFromText("Tavlix 1.5", "1"), std::string("1.5"));
        QCOMPARE(VersionFromText("v2.0 beta", "1"), std::string("2.0"));
        QCOMPARE(VersionFromText("Tavlix", "1"), std::string("1"));
        QCOMPARE(VersionFromText("  ", "1"), std::string());
        QCOMPARE(EditionName(Edition::SimplifiedChinese), std::string("Tavlix Simplified Chinese Edition"));
        QCOMPARE(EditionName(Edition::Standard), std::string("Tavlix Standard Edition"));
    }

    void startUpCopiesTheMusicSettingsOnce()
    {
        CTavlixApp app(Environment(true));
        QVERIFY(app.SetUpConfiguration());
        QVERIFY(fs::exists(app.MusicFile()));
        QCOMPARE(app.VersionText(), std::string("1.5"));
        QCOMPARE(app.UserData().Current(), (Root() / "documents" / "mine").string());

        AppEnvironment env = Environment(true);
        std::ofstream(env.programDirectory / "config" / "music.ini") << "mine";
        CTavlixApp again(std::move(env));
        QVERIFY(again.SetUpConfiguration());
        std::ifstream kept(again.MusicFile());
        std::string content((std::istreambuf_iterator<char>(kept)), std::istreambuf_iterator<char>());
        QCOMPARE(content, std::string("mine"));
    }

    void missingFactoryMusicEndsStartUp()
    {
        AppEnvironment env = Environment(true);
        fs::remove(env.programDirectory / "config" / "defaultmusic.ini");
        CTavlixApp app(std::move(env));
        SeenBox seen;
        AnswerNextBox(seen, QStringLiteral("rightButton"));
        QVERIFY(!app.SetUpConfiguration());
        QCOMPARE(seen.text, QStringLiteral("Installation pack was destroyed. Please uninstall and reinstall your application."));
        QCOMPARE(seen.caption, QStringLiteral("Tavlix"));
    }

    void firstRunNeedsAnAdministratorOnce()
    {
        InMemoryProfileStore machine;
        {
            CTavlixApp app(Environment(false, &machine));
            SeenBox seen;
            AnswerNextBox(seen, QStringLiteral("rightButton"));
            QVERIFY(!app.SetUpConfiguration());
            QVERIFY(seen.text.contains(QStringLiteral("you must log in as an administrator")));
        }
        InMemoryProfileStore marked;
        marked.WriteString("App", "First Run", "1");
        CTavlixApp later(Environment(false, &marked));
        QVERIFY(later.SetUpConfiguration());

        AppEnvironment admin = Environment(true, &machine);
        ProfileStore* adminMachine = admin.machineSettings.get();
        CTavlixApp first(std::move(admin));
        QVERIFY(first.SetUpConfiguration());
        QCOMPARE(adminMachine->ReadString("App", "First Run"), std::optional<std::string>("1"));
    }

    void secondInstanceStops()
    {
        const QString shared = QStringLiteral("TavlixAppTestShared%1").arg(QCoreApplication::applicationPid());
        AppEnvironment firstEnv = Environment(true);
        firstEnv.instanceName = shared;
        CTavlixApp first(std::move(firstEnv));
        QVERIFY(first.SetUpConfiguration());
        AppEnvironment env = Environment(true);
        env.instanceName = shared;
        CTavlixApp second(std::move(env));
        QVERIFY(!second.SetUpConfiguration());
        QVERIFY(!second.IsWorldCupRunningElsewhere());
    }

    void noUserDataDirectoryAsksAndCancelEnds()
    {
        InMemoryProfileStore empty;
        CTavlixApp app(Environment(true, nullptr, &empty));
        QTimer::singleShot(0, [] {
            QWidget* dialog = QApplication::activeModalWidget();
            QVERIFY(dialog);
            QCOMPARE(dialog->objectName(), QStringLiteral("userDataDirDlg"));
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        QVERIFY(!app.SetUpConfiguration());
    }

    void damagedSettingsFilesGiveDefaults()
    {
        QTemporaryDir config;
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config.path());
        const QString file = config.path() + QStringLiteral("/Brelmor/Damaged/1.5.conf");
        QDir().mkpath(config.path() + QStringLiteral("/Brelmor/Damaged"));
        for (const QByteArray& garbage : {QByteArray("[Game\nStandard=", 15), QByteArray(4096, '\0'),
                                          QByteArray("\xFF\xFE[\x01\x02]=\xC3\x28\n[UI]\nEnlarged=yes")}) {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(garbage);
            f.close();
            QSettingsProfileStore store(QSettings::UserScope, QStringLiteral("Brelmor"), QStringLiteral("Damaged/1.5"));
            QCOMPARE(store.ReadInt("Game", "Standard"), std::nullopt);
            QCOMPARE(store.ReadInt("UI", "Enlarged"), std::nullopt);
            QVERIFY(store.WriteInt("Game", "JQK", 0));
            QSettingsProfileStore reread(QSettings::UserScope, QStringLiteral("Brelmor"), QStringLiteral("Damaged/1.5"));
            QCOMPARE(reread.ReadInt("Game", "JQK"), 0u);
        }
        QSettingsProfileStore store(QSettings::UserScope, QStringLiteral("Brelmor"), QStringLiteral("Damaged/1.5"));
        QVERIFY(store.WriteString("Music\\File", "", "a=b; c"));
        QCOMPARE(store.ReadString("Music\\File", ""), std::optional<std::string>("a=b; c"));
    }
};

TAVLIX_QTEST_MAIN(AppTest)
#include "AppTest.moc"
