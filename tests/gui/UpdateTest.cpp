#include <QCheckBox>
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <csignal>
#include <ctime>
#include <fstream>
#include <optional>

#include "GuiTestSupport.h"
#include "KeyboardFaults.h"
#include "../update/LoopbackHttpsServer.h"
#include "../update/ResidentMemory.h"
#include "settings/Profile.h"
#include "shell/CTavlixApp.h"
#include "shell/CommandTable.h"
#include "shell/MainWindow.h"
#include "update/CUpdateDownloadDlg.h"
#include "update/UpdateCheck.h"

using namespace tavlix;
using namespace tavlix::testing;
namespace fs = std::filesystem;
using Answer = LoopbackHttpsServer::Answer;

namespace {

class SettableClock : public Clock {
public:
    std::time_t Now() const override { return now; }
    std::time_t now = 0;
};

class RefusingShell : public Shell {
public:
    bool Open(const std::string&) override { return false; }
};

// While it lives, no file of this process grows beyond the limit: a write past it fails
// as on a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) : m_handler(std::signal(SIGXFSZ, SIG_IGN))
    {
        ::getrlimit(RLIMIT_FSIZE, &m_saved);
        rlimit limited = m_saved;
        limited.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_handler);
    }

private:
    rlimit m_saved{};
    void (*m_handler)(int);
};

// Every modal window that opens while it lives is noted and declined as a user would: a
// message box with its rightmost button (No, Cancel or OK), any other window with Esc.
class ModalWatcher {
public:
    ModalWatcher()
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            seen << dialog->objectName();
            if (qobject_cast<CBMMessageBox*>(dialog))
                dialog->findChild<QAbstractButton*>(QStringLiteral("rightButton"))->click();
            else
                dialog->reject();
        });
        m_timer.start(10);
    }
    QStringList seen;

private:
    QTimer m_timer;
};

// Noon of a day of June 2014, in the local time zone.
std::time_t JuneNoon(int day)
{
    std::tm noon{};
    noon.tm_year = 114;
    noon.tm_mon = 5;
    noon.tm_mday = day;
    noon.tm_hour = 12;
    noon.tm_isdst = -1;
    return std::mktime(&noon);
}

std::string Sha256Of(const QByteArray& bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex().toStdString();
}

QStringList FolderNames(const fs::path& folder)
{
    return QDir(QString::fromStdString(folder.string())).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

QByteArray ReadAll(const fs::path& file)
{
    QFile f(QString::fromStdString(file.string()));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

template <typename Widget = QWidget>
Widget* Find(QWidget* dialog, const char* name)
{
    return dialog->findChild<Widget*>(QLatin1String(name));
}
QString Text(QWidget* dialog, const char* label) { return Find<QLabel>(dialog, label)->text(); }
void ClickDownload(QWidget* dialog) { QTest::mouseClick(Find(dialog, "downloadButton"), Qt::LeftButton); }
bool IsDownloadWindow(QDialog* dialog) { return dialog->objectName() == QLatin1String("updateDownloadDlg"); }

// Leaves the main window as the user would: the Exit button, and Yes.
void ExitByTheToolbar(MainWindow* window)
{
    SeenBox exit;
    AnswerNextBox(exit, kYes);
    QTest::mouseClick(window->findChild<QWidget*>(QStringLiteral("toolbar%1").arg(ID_EXIT)), Qt::LeftButton);
}

constexpr const char* kHome = "https://www.brelmor.com/tavlix/index.html";
constexpr const char* kPrompt =
    "A new version of Tavlix was found. Will you download it now?\n\nVersion: 1.6\nBuild: 2013-01-05";

}  // namespace

class UpdateTest : public QObject {
    Q_OBJECT

    LoopbackHttpsServer m_server;
    QTcpServer m_plain;  // where insecure addresses point: it must hear nothing
    QTemporaryDir m_dir;
    QTemporaryDir m_runtime;
    QTemporaryDir m_home;
    std::chrono::milliseconds m_stallTimeout = TransferLimits::kStallTimeout;
    LanguageState m_language = MakeLanguage();
    CachedStrings m_cache;
    SettableClock m_clock;
    FakeShell m_shell;
    InMemoryProfileStore m_store;
    Profile m_profile{m_store};
    std::vector<std::string> m_browsed;
    const QByteArray m_installer = QByteArray(300000, 'T');
    fs::path m_folder;
    int m_run = 0;

    QByteArray InfoFile(const char* build = "2013-1-5", const char* installer = "/dl/setup16.exe") const
    {
        return QStringLiteral("; the newest Tavlix\r\nVersion = 1.6\r\nBuild = %1\r\nURL = %2\r\nSHA256 = %3\r\n")
            .arg(QLatin1String(build), m_server.Url(QLatin1String(installer)),
                 QString::fromStdString(Sha256Of(m_installer)))
            .toUtf8();
    }

    DownloadServices Downloads(Shell& shell)
    {
        return {m_language, m_clock, shell, m_server.TrustingConfiguration(), m_folder, {}, m_stallTimeout};
    }

    // The download window for an address, the installer not to be opened once stored.
    std::unique_ptr<CUpdateDownloadDlg> Dialog(const QString& address, const std::string& sha256)
    {
        auto dialog = std::make_unique<CUpdateDownloadDlg>(Downloads(m_shell), address.toStdString(), sha256);
        Find<QCheckBox>(dialog.get(), "installCheck")->setChecked(false);
        dialog->show();
        return dialog;
    }

    UpdateServices Services(const QString& infoAddress)
    {
        return {.download = Downloads(m_shell),
                .profile = m_profile,
                .infoAddress = infoAddress.toStdString(),
                .ownBuild = std::chrono::year(2012) / 12 / 20,
                .makerHomePage = "https://www.brelmor.com/",
                .productHomePage = kHome,
                .openAddress = [this](const std::string& address) { m_browsed.push_back(address); }};
    }

    // The program as installed, with its update site, and a fresh user.
    AppEnvironment Environment(const QString& site, FakeShell*& shell)
    {
        const fs::path program = m_folder / "program";
        fs::create_directories(program / "config");
        std::ofstream(program / "config" / "defaultmusic.ini") << "[Music]\r\n";
        std::ofstream(program / "config" / "update.ini") << "[Update]\r\nSite = " << site.toStdString() << "\r\n";
        AppEnvironment env;
        env.edition = Edition::Standard;
        env.programDirectory = program;
        env.temporaryDirectory = m_folder;
        env.downloadsDirectory = m_folder / "downloads";
        env.tlsConfiguration = m_server.TrustingConfiguration();
        env.isAdministrator = true;
        env.userSettings = std::make_unique<InMemoryProfileStore>();
        env.machineSettings = std::make_unique<InMemoryProfileStore>();
        env.editionSettings = std::make_unique<InMemoryProfileStore>();
        env.editionSettings->WriteString("User Data Directory", "", (m_folder / "mine").string());
        auto fakeShell = std::make_unique<FakeShell>();
        shell = fakeShell.get();
        env.shell = std::move(fakeShell);
        env.audio = std::make_unique<FakeAudioDevice>();
        env.instanceName = QStringLiteral("TavlixUpdateTest%1-%2").arg(QCoreApplication::applicationPid()).arg(m_run);
        return env;
    }

private slots:
    void initTestCase()
    {
        QString error;
        QVERIFY2(m_server.Start(error), qPrintable(error));
        QVERIFY(m_plain.listen(QHostAddress::LocalHost, 0));
        m_server.SetAnswer("/dl/setup16.exe", Answer::Of(m_installer));
        m_server.SetAnswer("/dl/paused.exe", Answer::Of(m_installer, Answer::Paused));
        m_server.SetAnswer("/dl/moved.deb", Answer::Redirect(m_server.Url("/dl/setup16.exe").toUtf8()));
        const QString insecure = QStringLiteral("http://127.0.0.1:%1/x.exe").arg(m_plain.serverPort());
        m_server.SetAnswer("/dl/to-http.exe", Answer::Redirect(insecure.toUtf8()));
        m_server.SetAnswer("/tavlix/download/updtinfo.txt", Answer::Of(InfoFile("2013-1-5", "/dl/moved.deb")));
        // Chains of one to six redirects, relative, then absolute to the installer; a loop.
        for (int hops = 1; hops <= 6; ++hops)
            for (int hop = 1; hop <= hops; ++hop)
                m_server.SetAnswer(QStringLiteral("/hop/%1/%2.exe").arg(hops).arg(hop).toUtf8(),
                                   Answer::Redirect(hop < hops ? QByteArray::number(hop + 1) + ".exe"
                                                               : m_server.Url("/dl/setup16.exe").toUtf8()));
        m_server.SetAnswer("/o/moved.txt", Answer::Redirect(m_server.Url("/o/moved-again.txt").toUtf8()));
        m_server.SetAnswer("/o/moved-again.txt", Answer::Redirect("/o/served.txt"));
        m_server.SetAnswer("/loop/a", Answer::Redirect("/loop/b"));
        m_server.SetAnswer("/loop/b", Answer::Redirect("/loop/a"));
        m_server.SetAnswer("/dl/to-file.exe", Answer::Redirect("file:///etc/passwd"));
        m_server.SetAnswer("/dl/unsized-cut.exe", Answer::Of(m_installer, Answer::UnsizedCut));
        m_server.SetAnswer("/dl/" + QByteArray(296, 'n') + ".exe", Answer::Of(m_installer));
        qputenv("HOME", m_home.path().toUtf8());
        m_cache.Reload(m_language);
        SetMessageBoxContext({&m_language, &m_cache, {}});
        // The instance channel of the program's runs lives in a folder of the test's own.
        qputenv("XDG_RUNTIME_DIR", m_runtime.path().toUtf8());
        QVERIFY(QFile::setPermissions(m_runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }

    void init()
    {
        m_folder = fs::path(m_dir.path().toStdString()) / std::to_string(++m_run);
        m_clock.now = JuneNoon(1);
        m_stallTimeout = TransferLimits::kStallTimeout;
        m_store = InMemoryProfileStore();
        m_shell.opened.clear();
        m_browsed.clear();
    }

    void cleanupTestCase() { SetMessageBoxContext({}); }

    // One download from request to stored file with every figure on the way; a name
    // already taken gets a number, and so does the next.
    void downloadsWithProgressBesideTakenNames()
    {
        fs::create_directories(m_folder);
        std::ofstream(m_folder / "paused.exe") << "an older download";
        const auto owned = Dialog(m_server.Url("/dl/paused.exe"), Sha256Of(m_installer));
        CUpdateDownloadDlg* dialog = owned.get();
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Download the New Version of Tavlix"));
        QCOMPARE(KeyboardFaults(dialog), QString());
        QCOMPARE(Find<QLineEdit>(dialog, "saveEdit")->text().toStdString(), (m_folder / "paused.exe").string());
        QCOMPARE(Find(dialog, "downloadButton")->toolTip(), QStringLiteral("Download Now!"));
        QStringList steps;
        connect(dialog->findChild<InstallerDownload*>(), &InstallerDownload::stepChanged, this,
                [&] { steps << Text(dialog, "statusLabel"); });
        ClickDownload(dialog);
        QCOMPARE(steps, QStringList{QStringLiteral("Requesting file...")});
        QVERIFY(!Find(dialog, "saveEdit")->isEnabled());
        QCOMPARE(Find(dialog, "downloadButton")->toolTip(), QStringLiteral("Stop Downloading"));
        QTRY_COMPARE_WITH_TIMEOUT(Text(dialog, "percentLabel"), QStringLiteral("50%"), 10000);
        QCOMPARE(Text(dialog, "statusLabel"), QStringLiteral("Downloading... 146 KB/292 KB"));
        QCOMPARE(Text(dialog, "sizeLabel"), QStringLiteral("300000 Bytes"));
        QCOMPARE(Text(dialog, "speedLabel"), QString());
        QCOMPARE(Find<QProgressBar>(dialog, "progressBar")->value(), 500);

        m_clock.now += 4;
        m_server.ResumePaused();
        QTRY_COMPARE_WITH_TIMEOUT(Text(dialog, "statusLabel"), QStringLiteral("Download complete"), 10000);
        QCOMPARE(steps.last(), QStringLiteral("Moving file paused(1).exe to %1...").arg(m_folder.c_str()));
        QCOMPARE(Text(dialog, "percentLabel"), QStringLiteral("100%"));
        QCOMPARE(Text(dialog, "speedLabel"), QStringLiteral("73.2 KB/Sec"));
        QVERIFY(Find(dialog, "saveEdit")->isEnabled() && dialog->isVisible() && m_shell.opened.empty());
        QCOMPARE(ReadAll(m_folder / "paused(1).exe"), m_installer);

        // The name free at the start is taken while the download runs: it keeps its file.
        ClickDownload(dialog);
        QTRY_COMPARE_WITH_TIMEOUT(Text(dialog, "percentLabel"), QStringLiteral("50%"), 10000);
        std::ofstream(m_folder / "paused(2).exe") << "saved meanwhile";
        m_server.ResumePaused();
        QTRY_COMPARE_WITH_TIMEOUT(Text(dialog, "statusLabel"), QStringLiteral("Download complete"), 10000);
        QCOMPARE(FolderNames(m_folder),
                 (QStringList{"paused(1).exe", "paused(2).exe", "paused(3).exe", "paused.exe"}));
        QCOMPARE(ReadAll(m_folder / "paused.exe"), QByteArray("an older download"));
        QCOMPARE(ReadAll(m_folder / "paused(2).exe"), QByteArray("saved meanwhile"));
        QCOMPARE(ReadAll(m_folder / "paused(3).exe"), m_installer);
    }

    // The user picks where to save; the desktop then refuses to open the installer.
    void aChosenPlaceAndAnInstallerTheDesktopDoesNotTake()
    {
        RefusingShell refusing;
        QString filter;
        bool folderThere = false;
        DownloadServices services = Downloads(refusing);
        services.pickSaveFile = [&](QWidget*, const QString& start, const QString&, const QString& offered) {
            filter = offered;
            folderThere = start == QString::fromStdString((m_folder / "setup16.exe").string()) &&
                          QFileInfo(start).dir().exists();
            return QString::fromStdString((m_folder / "mine").string());
        };
        CUpdateDownloadDlg dialog(services, m_server.Url("/dl/setup16.exe").toStdString(), Sha256Of(m_installer));
        QTest::mouseClick(Find(&dialog, "browseButton"), Qt::LeftButton);
        QCOMPARE(filter, QStringLiteral("Installers (*.deb *.rpm *.AppImage *.tar.gz *.exe);;All Files (*.*)"));
        QVERIFY2(folderThere, "the picker opens in the download folder, made for it");
        QVERIFY(Find<QCheckBox>(&dialog, "installCheck")->isChecked());
        ClickDownload(&dialog);
        QTRY_VERIFY_WITH_TIMEOUT(Text(&dialog, "statusLabel").startsWith(QStringLiteral("The new")), 10000);
        QCOMPARE(Text(&dialog, "statusLabel"), QStringLiteral("The new version was saved as %1 but could not be "
                                                              "opened. Please open it from your file manager.")
                                                   .arg((m_folder / "mine.exe").c_str()));
        QVERIFY(!dialog.InstallerStarted());
    }

    // However a download ends early, nothing is left at the target or beside it, and the
    // window says why.
    void endsEarlyLeavingNothing_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("status");
        const QString paused = m_server.Url("/dl/paused.exe");
        const QString refused = "Download refused: the new version is taken only from a secure (https) address.";
        QTest::newRow("cancel half-way") << paused << "cancel" << "Download canceled";
        QTest::newRow("window closed half-way") << paused << "close" << "Download canceled";
        QTest::newRow("server closes half-way")
            << paused << "drop"
            << "Download failed: the connection ended after 146 KB, before the whole file had arrived.";
        QTest::newRow("server stalls half-way")
            << paused << "stall"
            << "Download failed: the server sent nothing more for a long time, so the download was stopped.";
        QTest::newRow("cut without length nor TLS close")
            << m_server.Url("/dl/unsized-cut.exe") << ""
            << "Download failed: the server did not say how long the file is, so a cut-off file could not be told "
               "from a whole one.";
        QTest::newRow("six redirects") << m_server.Url("/hop/6/1.exe") << ""
                                       << "Download failed: the server redirected the download more than 5 times.";
        QTest::newRow("redirect loop") << m_server.Url("/loop/a") << ""
                                       << "Download failed: the server's redirects go round in a circle.";
        QTest::newRow("redirect to file:") << m_server.Url("/dl/to-file.exe") << ""
                                           << "Download refused: the server redirected the download to file:///etc/passwd, "
                                              "which is not a secure (https) address.";
        QTest::newRow("checksum mismatch") << paused << "resume"
                                           << "The downloaded file does not match the checksum of the new version "
                                              "and has been deleted.";
        QTest::newRow("disk full") << m_server.Url("/dl/setup16.exe") << "fill" << "Can't write file \"";
        QTest::newRow("http address") << QStringLiteral("http://127.0.0.1:%1/x.exe").arg(m_plain.serverPort()) << ""
                                      << refused;
        QTest::newRow("redirect to http") << m_server.Url("/dl/to-http.exe") << ""
                                          << QStringLiteral("Download refused: the server redirected the download to "
                                                            "http://127.0.0.1:%1/x.exe, which is not a secure (https) "
                                                            "address.").arg(m_plain.serverPort());
    }
    void endsEarlyLeavingNothing()
    {
        QFETCH(QString, address);
        QFETCH(QString, how);
        QFETCH(QString, status);
        if (how == QLatin1String("stall"))
            m_stallTimeout = std::chrono::milliseconds(300);
        const auto owned = Dialog(address, Sha256Of("something else"));
        CUpdateDownloadDlg* dialog = owned.get();
        std::optional<FileSizeLimit> fullDisk;
        if (how == QLatin1String("fill"))
            fullDisk.emplace(100000);
        ClickDownload(dialog);
        if (address.endsWith(QLatin1String("paused.exe")))
            QTRY_COMPARE_WITH_TIMEOUT(Text(dialog, "percentLabel"), QStringLiteral("50%"), 10000);
        if (how == QLatin1String("cancel"))
            ClickDownload(dialog);
        else if (how == QLatin1String("close"))
            dialog->close();
        else if (how == QLatin1String("drop"))
            m_server.DropPaused();
        else if (how == QLatin1String("resume"))
            m_server.ResumePaused();
        QTRY_VERIFY_WITH_TIMEOUT(Text(dialog, "statusLabel").startsWith(status), 10000);
        fullDisk.reset();
        if (how == QLatin1String("cancel")) {
            QCOMPARE(Text(dialog, "percentLabel"), QStringLiteral("0%"));
            QCOMPARE(Find<QProgressBar>(dialog, "progressBar")->value(), 0);
        }
        QCOMPARE(FolderNames(m_folder), QStringList());
        QVERIFY(!m_plain.hasPendingConnections());
    }

    // Redirects are followed one request at a time, each address asked for once; the
    // save box is read as a shell would; a name longer than the file system takes is cut
    // before the download starts, keeping its kind.
    void storesTheInstaller_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("typed");  // empty: as the window offers it
        QTest::addColumn<QString>("stored");  // "~/" in the home folder, else in the download folder
        for (int hops = 1; hops <= 5; ++hops)
            QTest::addRow("%d redirects", hops) << QStringLiteral("/hop/%1/1.exe").arg(hops) << "" << "1.exe";
        const QString longName = QString(296, QLatin1Char('n')) + QStringLiteral(".exe");
        QTest::newRow("home") << "/dl/setup16.exe" << "~/mine.exe" << "~/mine.exe";
        QTest::newRow("relative") << "/dl/setup16.exe" << "sub/mine" << "sub/mine.exe";
        QTest::newRow("300-byte name") << "/dl/" + longName << "" << longName.right(255);
    }
    void storesTheInstaller()
    {
        QFETCH(QString, path);
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        const auto owned = Dialog(m_server.Url(path), Sha256Of(m_installer));
        if (!typed.isEmpty())
            Find<QLineEdit>(owned.get(), "saveEdit")->setText(typed);
        const qsizetype before = m_server.Requests().size();
        ClickDownload(owned.get());
        QTRY_COMPARE_WITH_TIMEOUT(Text(owned.get(), "statusLabel"), QStringLiteral("Download complete"), 10000);
        const QList<QByteArray> asked = m_server.Requests().mid(before);
        QCOMPARE(QSet<QByteArray>(asked.begin(), asked.end()).size(), asked.size());
        const bool home = stored.startsWith(QLatin1String("~/"));
        const fs::path folder = home ? fs::path(m_home.path().toStdString()) : m_folder;
        QCOMPARE(ReadAll(folder / stored.mid(home ? 2 : 0).toStdString()), m_installer);
    }

    // A download at full speed holds a bounded buffer in memory, however large the file.
    void aLargeDownloadStaysInBoundedMemory()
    {
        constexpr qint64 kSize = qint64(2) << 30;
        constexpr const char* kZerosSha256 = "a7c744c13cc101ed66c29f672f92455547889cc586ce6d44fe76ae824958ea51";
        m_server.SetAnswer("/dl/large.deb", Answer::ZeroBytes(kSize));  // sha256sum of 2 GiB of zeros above
        const auto owned = Dialog(m_server.Url("/dl/large.deb"), kZerosSha256);
        QVERIFY(RestartPeakMemory());
        const long before = PeakMemoryKiB();
        QElapsedTimer clock;
        clock.start();
        ClickDownload(owned.get());
        QTRY_COMPARE_WITH_TIMEOUT(Text(owned.get(), "statusLabel"), QStringLiteral("Download complete"), 600000);
        const long growth = PeakMemoryKiB() - before;
        qInfo("2 GiB in %.1f s; resident memory grew by %ld KiB", double(clock.elapsed()) / 1000, growth);
        QCOMPARE(QFileInfo(QString::fromStdString((m_folder / "large.deb").string())).size(), kSize);
        fs::remove(m_folder / "large.deb");
        QVERIFY2(growth <= 64 * 1024, qPrintable(QStringLiteral("grew by %1 KiB").arg(growth)));
    }

    void declineIsRememberedForFiveDays()
    {
        SeenBox prompt;
        SeenBox later;
        AnswerNextBox(prompt, kNo,
                      [&](CBMMessageBox*) { AnswerNextBox(later, kOk); });
        UpdateCheck check(Services(m_server.Url("/tavlix/download/updtinfo.txt")), nullptr);
        check.Start();
        QTRY_VERIFY_WITH_TIMEOUT(later.shown, 10000);
        QCOMPARE(prompt.text, QLatin1String(kPrompt));
        QCOMPARE(later.text, QStringLiteral("You can visit our website to download the newest version of Tavlix at a "
                                            "suitable time later.\n\nHomepage for Brelmor Studio:\n"
                                            "https://www.brelmor.com/\n\nHomepage for Tavlix:\n"
                                            "https://www.brelmor.com/tavlix/index.html"));
        QCOMPARE(m_store.ReadString("AutoDetect", "Last Deny"), std::optional<std::string>("2014-6-1"));

        // The same day and the five days after ask the site nothing; the sixth asks.
        const qsizetype asked = m_server.Requests().size();
        for (int day = 1; day <= 7; ++day) {
            m_clock.now = JuneNoon(day);
            UpdateCheck again(Services(m_server.Url("/tavlix/download/updtinfo.txt")), nullptr);
            ModalWatcher watcher;
            again.Start();
            QTRY_VERIFY_WITH_TIMEOUT(!again.IsFetching(), 10000);
            QTRY_COMPARE_WITH_TIMEOUT(watcher.seen.size(), day <= 6 ? 0 : 2, 1000);  // the prompt, then where to look
            QCOMPARE(m_server.Requests().size(), asked + (day <= 6 ? 0 : 1));
        }
    }

    // Yes opens a web page in the browser, and so it does for an installer without a
    // checksum, saying why. The file is read through marks, redirects and chunks.
    void offersAWebPage_data()
    {
        QTest::addColumn<QByteArray>("path");  // "/o/moved.txt" redirects twice to "/o/served.txt"
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("why");  // after the prompt; empty: the info file's page opens
        const QByteArray page = "Version = 1.6\r\nBuild = 2013-1-5\r\nURL = https://u.test/new.html\r\n";
        const QByteArray marked = "\xEF\xBB\xBF" + QByteArray(page).replace("Build", "\xEF\xBB\xBF" "Build");
        QTest::newRow("web page") << QByteArray("/o/page.txt") << page << int(Answer::Whole) << QString();
        QTest::newRow("byte-order marks") << QByteArray("/o/bom.txt") << marked << int(Answer::Whole) << QString();
        QTest::newRow("two redirects") << QByteArray("/o/moved.txt") << page << int(Answer::Whole) << QString();
        QTest::newRow("chunked") << QByteArray("/o/chunked.txt") << page << int(Answer::Chunked) << QString();
        QTest::newRow("installer without a checksum")
            << QByteArray("/o/no-sum.txt") << QByteArray(page).replace("new.html", "new.deb") << int(Answer::Whole)
            << QStringLiteral("\n\nThe update site gives no SHA-256 checksum for this installer, so it cannot be "
                              "checked and is not downloaded here. Yes opens %1 in your web browser instead.")
                   .arg(QLatin1String(kHome));
    }
    void offersAWebPage()
    {
        QFETCH(QByteArray, path);
        QFETCH(QByteArray, body);
        QFETCH(int, kind);
        QFETCH(QString, why);
        m_server.SetAnswer(path == "/o/moved.txt" ? "/o/served.txt" : path, Answer::Of(body, Answer::Kind(kind)));
        UpdateCheck check(Services(m_server.Url(QString::fromLatin1(path))), nullptr);
        SeenBox prompt;
        AnswerNextBox(prompt, kYes);
        check.Start();
        const std::string opened = why.isEmpty() ? "https://u.test/new.html" : kHome;
        QTRY_COMPARE_WITH_TIMEOUT(m_browsed, std::vector<std::string>{opened}, 10000);
        QCOMPARE(prompt.text, QLatin1String(kPrompt) + why);
    }

    // Whatever goes wrong on the way, the user sees nothing.
    void quietWhenThereIsNothingToOffer_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QByteArray>("body");  // the test server's answer at the address
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("asked");  // whether the request reaches the test server
        QTest::addColumn<bool>("trusted");

        QTcpServer closed;
        QVERIFY(closed.listen(QHostAddress::LocalHost, 0));
        const QString closedPort = QStringLiteral("https://127.0.0.1:%1/info.txt").arg(closed.serverPort());
        closed.close();
        const QByteArray tenMegabytes = InfoFile() + QByteArray(10 << 20, ';');
        const auto row = [](const char* name, const QString& address, const QByteArray& body, Answer::Kind kind,
                            bool asked, bool trusted = true) {
            QTest::newRow(name) << address << body << int(kind) << asked << trusted;
        };
        const auto at = [this](const char* path) { return m_server.Url(QLatin1String(path)); };
        row("unreachable host", closedPort, {}, Answer::Whole, false);
        row("reserved name", "https://updates.tavlix.invalid/x.txt", {}, Answer::Whole, false);
        row("plain http site", at("/q/http.txt").replace("https:", "http:"), InfoFile(), Answer::Whole, false);
        row("certificate of no known authority", at("/q/untrusted.txt"), InfoFile(), Answer::Whole, false, false);
        row("missing file", at("/q/missing.txt"), {}, Answer::Whole, true);
        row("info file cut off", at("/q/cut.txt"), InfoFile(), Answer::Cut, true);
        row("10 MB info file", at("/q/ten.txt"), tenMegabytes, Answer::Whole, true);
        row("10 MB info file of no told size", at("/q/unsized.txt"), tenMegabytes, Answer::Unsized, true);
        row("installer over http", at("/q/http-url.txt"), "Build = 2013-1-5\nURL = http://127.0.0.1/setup.exe",
            Answer::Whole, true);
        row("build after today", at("/q/future.txt"), InfoFile("2014-6-2"), Answer::Whole, true);
        row("junk", at("/q/junk.txt"), "\x89PNG\r\n\x1a\n binary", Answer::Whole, true);
        row("cut without length nor TLS close", at("/q/unsized-cut.txt"), InfoFile(), Answer::UnsizedCut, true);
        row("CR in the version", at("/q/cr-version.txt"),
            QByteArray(InfoFile()).replace("Version = 1.6", "Version = 1.6\rBuild = 2014-5-1"), Answer::Whole, true);
        row("CR in the name", at("/q/cr-name.txt"), InfoFile("2013-1-5", "/dl/set\rup16.exe"), Answer::Whole, true);
        row("65-digit SHA-256", at("/q/sha65.txt"), QByteArray(InfoFile()).replace("\r\nSHA256 = ", "\r\nSHA256 = 0"),
            Answer::Whole, true);
    }
    void quietWhenThereIsNothingToOffer()
    {
        QFETCH(QString, address);
        QFETCH(QByteArray, body);
        QFETCH(int, kind);
        QFETCH(bool, asked);
        QFETCH(bool, trusted);
        const QByteArray path = QUrl(address).path().toUtf8();
        if (!body.isEmpty())
            m_server.SetAnswer(path, Answer::Of(body, Answer::Kind(kind)));
        UpdateServices services = Services(address);
        if (!trusted)
            services.download.tls = QSslConfiguration::defaultConfiguration();
        UpdateCheck check(std::move(services), nullptr);
        const qsizetype before = m_server.Requests().size();
        ModalWatcher watcher;
        check.Start();
        QTRY_VERIFY_WITH_TIMEOUT(!check.IsFetching(), 10000);
        QTest::qWait(50);  // room for a prompt that must not come
        QCOMPARE(watcher.seen, QStringList());
        QVERIFY(m_browsed.empty());
        QCOMPARE(m_server.Requests().mid(before), asked ? QList<QByteArray>{path} : QList<QByteArray>());
        QCOMPARE(m_store.ReadString("AutoDetect", "Last Try"), std::optional<std::string>("2014-6-1"));
    }

    // The whole road in the running program: the check at start-up finds the new
    // version, the download window follows the address to its https target, stores
    // the package under its own kind and opens it, and the program makes way for it.
    void installerStartedEndsTheProgram()
    {
        FakeShell* shell = nullptr;
        CTavlixApp app(Environment(m_server.Url("/"), shell));
        SeenBox prompt;
        AnswerNextBox(prompt, kYes, [](CBMMessageBox*) {
            OnNextDialog(
                qApp,
                [](QDialog* dialog) {
                    ClickDownload(dialog);
                    QTRY_VERIFY_WITH_TIMEOUT(!dialog->isVisible(), 10000);
                },
                IsDownloadWindow);
        });
        QCOMPARE(app.InitApplication(), 0);
        QCOMPARE(prompt.text, QLatin1String(kPrompt));
        QCOMPARE(shell->opened.back(), (m_folder / "downloads" / "moved.deb").string());
        QCOMPARE(ReadAll(m_folder / "downloads" / "moved.deb"), m_installer);
    }

    // The download window is a modal child of the main window: the main window stays
    // behind it, and goes on when it closes without an install.
    void theProgramKeepsRunningAroundTheDownloadWindow()
    {
        FakeShell* shell = nullptr;
        CTavlixApp app(Environment(m_server.Url("/"), shell));
        SeenBox prompt;
        bool behind = false;
        bool stillRunning = false;
        AnswerNextBox(prompt, kYes, [&](CBMMessageBox*) {
            OnNextDialog(
                qApp,
                [&](QDialog* dialog) {
                    auto* window = qobject_cast<MainWindow*>(dialog->parentWidget());
                    behind = window && window->isVisible() && dialog->isModal();
                    QTest::mouseClick(Find(dialog, "cancelButton"), Qt::LeftButton);
                    QTimer::singleShot(100, window, [&stillRunning, window] {
                        stillRunning = window->isVisible() && QApplication::activeModalWidget() == window;
                        ExitByTheToolbar(window);
                    });
                },
                IsDownloadWindow);
        });
        QCOMPARE(app.InitApplication(), 0);
        QVERIFY(prompt.shown && behind && stillRunning);
    }

    // A site that takes the connection and never answers holds nothing up: the main
    // window is there, and is left while the check still waits.
    void aSiteThatNeverAnswersDoesNotHoldUpTheProgram()
    {
        QTcpServer silent;
        QVERIFY(silent.listen(QHostAddress::LocalHost, 0));
        FakeShell* shell = nullptr;
        CTavlixApp app(Environment(QStringLiteral("https://127.0.0.1:%1/").arg(silent.serverPort()), shell));
        bool leftWhileWaiting = false;
        QTimer user;
        QObject::connect(&user, &QTimer::timeout, [&] {
            auto* window = qobject_cast<MainWindow*>(QApplication::activeModalWidget());
            if (!window || !silent.hasPendingConnections() || leftWhileWaiting)
                return;
            leftWhileWaiting = window->findChild<UpdateCheck*>()->IsFetching();
            ExitByTheToolbar(window);
        });
        user.start(20);
        QCOMPARE(app.InitApplication(), 0);
        QVERIFY(leftWhileWaiting);
    }
};

TAVLIX_QTEST_MAIN(UpdateTest)
#include "UpdateTest.moc"
