#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QTemporaryDir>

#include <fstream>

#include "../platform/WriteProtectedFolder.h"
#include "GuiTestSupport.h"
#include "history/SqliteHistoryStore.h"
#include "platform/qt/InstanceChannel.h"
#include "platform/qt/QSettingsProfileStore.h"
#include "settings/UserDataDirectory.h"
#include "shell/AppStartup.h"
#include "shell/CTavlixApp.h"
#include "shell/CommandTable.h"
#include "shell/MainWindow.h"

using namespace tavlix;
using namespace tavlix::testing;
namespace fs = std::filesystem;

namespace {

// The machine-wide settings as an administrator who is not root meets them: readable,
// not writable.
class ReadOnlyProfileStore : public InMemoryProfileStore {
public:
    bool WriteInt(std::string_view, std::string_view, std::uint32_t) override { return false; }
    bool WriteString(std::string_view, std::string_view, std::string_view) override { return false; }
    std::string Location() const override { return "/etc/xdg/Brelmor/Tavlix Standard Edition/1.5.conf"; }
};

// Answers every message box that opens while it lives with its rightmost button, and
// keeps what they said.
class BoxWatcher {
public:
    BoxWatcher()
    {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            auto* box = qobject_cast<CBMMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible())
                return;
            texts << box->findChild<QPlainTextEdit*>(QStringLiteral("messageText"))->toPlainText();
            captions << box->windowTitle();
            box->findChild<QAbstractButton*>(QStringLiteral("rightButton"))->click();
        });
        m_timer.start();
    }
    QStringList texts;
    QStringList captions;

private:
    QTimer m_timer;
};

}  // namespace

class AppTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QTemporaryDir m_runtime;
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
            stored->WriteString("User Data Directory", "", (Root() / "documents" / "mine").string());
        env.editionSettings = std::move(stored);
        env.shell = std::make_unique<FakeShell>();
        env.audio = std::make_unique<FakeAudioDevice>();
        env.instanceName = QStringLiteral("TavlixAppTest%1-%2").arg(QCoreApplication::applicationPid()).arg(m_run);
        return env;
    }

private slots:
    void initTestCase()
    {
        // The instance channel's lock and socket live in a runtime folder of the test's own.
        qputenv("XDG_RUNTIME_DIR", m_runtime.path().toUtf8());
        QVERIFY(QFile::setPermissions(m_runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }

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
        AnswerNextBox(seen, kOk);
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
            AnswerNextBox(seen, kOk);
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

    void firstRunMarkThatCannotBeSavedIsExplained()
    {
        AppEnvironment admin = Environment(true);
        admin.machineSettings = std::make_unique<ReadOnlyProfileStore>();
        {
            CTavlixApp app(std::move(admin));
            BoxWatcher boxes;
            QVERIFY(app.SetUpConfiguration());
            QCOMPARE(boxes.texts.size(), 1);
            QVERIFY(boxes.texts[0].contains(QStringLiteral("could not be saved in the settings for all users")));
            QVERIFY(boxes.texts[0].contains(QStringLiteral("/etc/xdg/Brelmor/Tavlix Standard Edition/1.5.conf")));
            QVERIFY(boxes.texts[0].contains(QStringLiteral("run the program once as the root user")));
        }
        // What the notice warns of: with no mark, an ordinary account is refused.
        AppEnvironment ordinary = Environment(false);
        ordinary.machineSettings = std::make_unique<ReadOnlyProfileStore>();
        CTavlixApp refused(std::move(ordinary));
        BoxWatcher boxes;
        QVERIFY(!refused.SetUpConfiguration());
        QCOMPARE(boxes.texts, QStringList{QStringLiteral(
                                  "Dear user:\n\nIn the first time you run this program on this computer, you must "
                                  "log in as an administrator.")});
    }

    // The history of answers lies in the user data directory. A file the program cannot
    // keep answers in is named once and left byte for byte; the session goes on without it.
    void aRefusedHistoryIsToldOnceAndLeftAlone()
    {
        const fs::path file = Root() / "documents" / "mine" / "history.sqlite3";
        fs::create_directories(file.parent_path());
        const std::string garbage = "not the answers of anybody\n";
        std::ofstream(file, std::ios::binary) << garbage;
        {
            CTavlixApp app(Environment(true));
            BoxWatcher boxes;
            QVERIFY(app.SetUpConfiguration());
            QCOMPARE(boxes.texts, QStringList{QStringLiteral(
                                      "The history of your answers (%1) is damaged or is not a history file of this "
                                      "program. It is left untouched, and your answers are not recorded in this session.")
                                                  .arg(QString::fromStdString(file.string()))});
        }
        std::ifstream kept(file, std::ios::binary);
        QCOMPARE(std::string((std::istreambuf_iterator<char>(kept)), std::istreambuf_iterator<char>()), garbage);

        fs::remove(file);
        CTavlixApp fresh(Environment(true));
        BoxWatcher none;
        QVERIFY(fresh.SetUpConfiguration());
        QVERIFY(none.texts.isEmpty());
        QVERIFY(fs::file_size(file) > 0);
    }

    // A good history in a folder this user may not write to is read (the history's own
    // tests show every answer comes back); the one notice says answers cannot be saved.
    void aHistoryThatCanOnlyBeReadSaysSo()
    {
        const fs::path file = Root() / "documents" / "mine" / "history.sqlite3";
        fs::remove_all(file.parent_path());
        std::string error;
        QVERIFY(SqliteHistoryStore::Open(file, error));
        const WriteProtectedFolder locked(file.parent_path());
        if (!locked.Holds())
            QSKIP("this file system cannot keep root from writing");
        CTavlixApp app(Environment(true));
        BoxWatcher boxes;
        QVERIFY(app.SetUpConfiguration());
        QCOMPARE(boxes.texts, QStringList{QStringLiteral(
                                  "The history of your answers (%1) is in a folder this program may not write to. "
                                  "Your statistics show the answers kept there, but the answers of this session "
                                  "cannot be saved.").arg(QString::fromStdString(file.string()))});
    }

    void anInstallationLetsEveryAccountStart()
    {
        AppEnvironment ordinary = Environment(false);
        ordinary.machineSettings = std::make_unique<ReadOnlyProfileStore>();
        std::ofstream(ordinary.programDirectory / "config" / "installation.ini") << "[App]\nFirst Run = 1\n";
        CTavlixApp app(std::move(ordinary));
        BoxWatcher boxes;
        QVERIFY(app.SetUpConfiguration());
        QCOMPARE(boxes.texts, QStringList());
    }

    // A real first instance, served by the probe under the program's instance name.
    void secondStartMeetsTheRunningInstance_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("refused");
        QTest::addColumn<bool>("otherSession");  // the user runs the program in another session too
        const QString worldCup = QStringLiteral("Tavlix - World Cup - Hero Level");
        QTest::newRow("free play comes to the front") << QStringLiteral("Tavlix") << false << false;
        QTest::newRow("a World Cup refuses the start") << worldCup << true << false;
        QTest::newRow("a World Cup in Chinese") << QStringLiteral("Tavlix - 世界杯 - 英雄级") << true << false;
        QTest::newRow("a World Cup, another session started later") << worldCup << true << true;
    }

    void secondStartMeetsTheRunningInstance()
    {
        QFETCH(QString, title);
        QFETCH(bool, refused);
        QFETCH(bool, otherSession);
        AppEnvironment env = Environment(true);
        QProcess first;
        first.start(QStringLiteral(TAVLIX_INSTANCE_PROBE), {QStringLiteral("serve"), env.instanceName, title});
        QVERIFY(first.waitForReadyRead(10000));
        QCOMPARE(first.readLine().trimmed(), QByteArray("primary"));
        // The other session has a runtime folder of its own, and its own primary instance.
        QTemporaryDir otherRuntime;
        QProcess other;
        if (otherSession) {
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), otherRuntime.path());
            other.setProcessEnvironment(environment);
            other.start(QStringLiteral(TAVLIX_INSTANCE_PROBE),
                        {QStringLiteral("serve"), env.instanceName, QStringLiteral("Tavlix")});
            QVERIFY(other.waitForReadyRead(10000));
            QCOMPARE(other.readLine().trimmed(), QByteArray("primary"));
        }

        CTavlixApp second(std::move(env));
        BoxWatcher boxes;
        QVERIFY(!second.SetUpConfiguration());
        if (refused) {
            QCOMPARE(boxes.texts, QStringList{QStringLiteral("You can't open new \"Tavlix\" while World Cup Game is in progress!")});
            QCOMPARE(boxes.captions, QStringList{QStringLiteral("You can't...")});
        } else {
            QCOMPARE(boxes.texts, QStringList());
            QTRY_VERIFY_WITH_TIMEOUT(first.canReadLine() || (first.waitForReadyRead(100) && first.canReadLine()), 10000);
            QCOMPARE(first.readLine().trimmed(), QByteArray("front"));
        }
        first.kill();
        first.waitForFinished(5000);
        if (refused)
            QCOMPARE(first.readAllStandardOutput().trimmed(), QByteArray());
        other.kill();
        other.waitForFinished(5000);
        QCOMPARE(other.readAllStandardOutput().trimmed(), QByteArray());
    }

    // The layout switch with the program's own event loop running, from the UI menu as
    // a user chooses it, both ways and more than once; Exit then ends the program.
    void layoutSwitchKeepsTheProgramRunning()
    {
        CTavlixApp app(Environment(true));
        std::vector<int> heights;
        bool exitClicked = false;
        QTimer user;
        user.setInterval(50);
        QObject::connect(&user, &QTimer::timeout, [&] {
            auto* window = qobject_cast<MainWindow*>(QApplication::activeModalWidget());
            if (!window || !window->isVisible() || exitClicked)
                return;
            if (heights.empty())
                heights.push_back(window->height());
            if (heights.size() < 5) {
                // The menu by its title, the entry by what it does.
                QMenu* ui = nullptr;
                for (QAction* top : window->MenuBar()->actions())
                    if (top->text() == QLatin1String("&UI"))
                        ui = top->menu();
                QVERIFY(ui);
                ui->popup(window->mapToGlobal(QPoint(10, 10)));
                QAction* enlarged = nullptr;
                for (QAction* action : ui->actions())
                    if (action->data().toInt() == ID_ENLARGED_UI)
                        enlarged = action;
                QVERIFY(enlarged);
                QTest::mouseClick(ui, Qt::LeftButton, {}, ui->actionGeometry(enlarged).center());
                heights.push_back(window->height());
                return;
            }
            exitClicked = true;
            SeenBox exit;
            AnswerNextBox(exit, kYes);  // Yes
            QTest::mouseClick(window->findChild<QWidget*>(QStringLiteral("toolbar%1").arg(ID_EXIT)), Qt::LeftButton);
        });
        user.start();
        QCOMPARE(app.InitApplication(), 0);
        QVERIFY(exitClicked);
        QCOMPARE(heights.size(), std::size_t(5));
        const int standard = heights[0];
        QCOMPARE(heights, (std::vector<int>{standard, standard + 200, standard, standard + 200, standard}));
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
