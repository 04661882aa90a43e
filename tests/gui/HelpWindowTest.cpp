#include <QColorDialog>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>
#include <QWindow>

#include <fstream>
#include <map>

#include "GuiTestSupport.h"
#include "KeyboardFaults.h"
#include "controls/DialogSupport.h"
#include "shell/CTavlixApp.h"
#include "shell/MainWindow.h"

using namespace tavlix;
using namespace tavlix::testing;
namespace fs = std::filesystem;

namespace {

const QString kUnopened = QStringLiteral("The address %1 could not be opened. Please open it in your web browser.");

}  // namespace

class HelpWindowTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_run = 0;
    FakeShell* m_shell = nullptr;
    std::unique_ptr<CTavlixApp> m_app;
    MainWindow* m_window = nullptr;

    fs::path Root() const { return fs::path(m_dir.path().toStdString()); }

    // A program folder with the factory files; the help bundle is the real one unless
    // the test writes its own.
    fs::path MakeProgram(bool realBundle = true)
    {
        const fs::path program = Root() / ("program" + std::to_string(++m_run));
        fs::create_directories(program / "config");
        std::ofstream(program / "config" / "defaultmusic.ini") << "[Music]\r\nMusic On = true\r\n";
        fs::create_directories(program / "doc");
        if (realBundle)
            fs::create_directory_symlink(TAVLIX_HELP_BUNDLE, program / "doc" / "help");
        return program;
    }

    static void WriteFile(const fs::path& file, const std::string& text)
    {
        fs::create_directories(file.parent_path());
        std::ofstream(file) << text;
    }

    // Starts the program on that folder as its main() does, up to the main window, in
    // the interface language lcid. The release notes count as seen unless asked for.
    [[nodiscard]] bool Start(const fs::path& program, std::uint32_t lcid = kLcidEnglish,
                             bool releaseNotesSeen = true, bool browserTakes = true)
    {
        AppEnvironment env;
        env.edition = Edition::Standard;
        env.programDirectory = program;
        env.documentsDirectory = Root() / "documents";
        env.userDataFolder = Root() / "userdata";
        env.temporaryDirectory = Root() / "tmp";
        fs::create_directories(env.temporaryDirectory);
        env.userSettings = std::make_unique<InMemoryProfileStore>();
        env.userSettings->WriteInt("Shell", "LCID", lcid);
        if (releaseNotesSeen)
            env.userSettings->WriteString("App", "Release Note 1.5", "1");
        env.machineSettings = std::make_unique<InMemoryProfileStore>();
        env.machineSettings->WriteString("App", "First Run", "1");
        env.editionSettings = std::make_unique<InMemoryProfileStore>();
        env.editionSettings->WriteString("User Data Directory", "", (Root() / "documents" / "mine").string());
        auto shell = std::make_unique<FakeShell>();
        shell->takes = browserTakes;
        m_shell = shell.get();
        env.shell = std::move(shell);
        env.audio = std::make_unique<FakeAudioDevice>();
        env.instanceName = QStringLiteral("TavlixHelpTest%1-%2").arg(QCoreApplication::applicationPid()).arg(m_run);
        m_app = std::make_unique<CTavlixApp>(std::move(env));
        if (!m_app->SetUpConfiguration())
            return false;
        m_window = &m_app->CreateMainWindow();
        m_window->show();
        return QTest::qWaitForWindowActive(m_window);
    }

    static QWidget* ShownHelpWindow()
    {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->objectName() == QLatin1String("helpWindow") && window->isVisible())
                return window;
        return nullptr;
    }

    static QTextBrowser* Browser() { return ShownHelpWindow()->findChild<QTextBrowser*>(QStringLiteral("helpBrowser")); }
    static QPushButton* Button(const char* name) { return ShownHelpWindow()->findChild<QPushButton*>(QLatin1String(name)); }

    // The page the help window shows, relative to the bundle.
    static QString Page()
    {
        const QString bundle = QStringLiteral("/doc/help/");
        const QString file = Browser()->source().toLocalFile();
        return file.mid(file.indexOf(bundle) + bundle.size());
    }

    // The text of the page's first main heading, as the window lays it out.
    static QString Heading()
    {
        for (QTextBlock block = Browser()->document()->begin(); block.isValid(); block = block.next())
            if (block.blockFormat().headingLevel() == 1)
                return block.text();
        return {};
    }

    // A mouse click the way the window system delivers it, so that a window blocked by
    // a modal one does not see it.
    static void Click(QWidget* widget, QPoint at)
    {
        QWidget* window = widget->window();
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, widget->mapTo(window, at));
    }
    static void Click(QWidget* widget) { Click(widget, widget->rect().center()); }

    // Clicks the link with this text in the help window.
    static void ClickLink(const QString& text)
    {
        QTextBrowser* browser = Browser();
        const QTextCursor found = browser->document()->find(text);
        QVERIFY2(!found.isNull(), qPrintable(text));
        QTextCursor middle(browser->document());
        middle.setPosition((found.selectionStart() + found.selectionEnd()) / 2);
        browser->setTextCursor(middle);
        browser->ensureCursorVisible();
        Click(browser->viewport(), browser->cursorRect(middle).center());
    }

    // A check that fails inside a modal window's loop leaves it open: end them all.
    void EndModalWindowsAfter(int milliseconds)
    {
        QTimer::singleShot(milliseconds, m_window, [] {
            while (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                dialog->done(QDialog::Rejected);
                QCoreApplication::processEvents();
            }
        });
    }

    [[nodiscard]] bool PressF1()
    {
        m_window->activateWindow();
        if (!QTest::qWaitForWindowActive(m_window))
            return false;
        QTest::keyClick(m_window, Qt::Key_F1);
        return ShownHelpWindow() != nullptr;
    }

    // Chooses the entry with this text in the main window's menus.
    [[nodiscard]] bool ChooseMenuEntry(const QString& text)
    {
        for (QAction* popup : m_window->MenuBar()->actions()) {
            emit popup->menu()->aboutToShow();
            for (QAction* entry : popup->menu()->actions())
                if (entry->text() == text) {
                    entry->trigger();
                    return true;
                }
        }
        return false;
    }

private slots:
    void cleanup()
    {
        m_app.reset();
        m_window = nullptr;
    }

    void f1ShowsTheContentsAndLinksStayInTheWindow()
    {
        QVERIFY(Start(MakeProgram()));
        QVERIFY(PressF1());
        QCOMPARE(Page(), QStringLiteral("english/index.html"));
        QCOMPARE(Heading(), QStringLiteral("Tavlix Help"));
        QCOMPARE(ShownHelpWindow()->windowTitle(), QStringLiteral("Tavlix Help"));
        QCOMPARE(Button("contentsButton")->text(), QStringLiteral("&Contents"));
        QCOMPARE(Button("backButton")->text(), QStringLiteral("&Back"));
        QCOMPARE(Button("forwardButton")->text(), QStringLiteral("&Forward"));
        QVERIFY(!Button("backButton")->isEnabled());
        QVERIFY(!Button("forwardButton")->isEnabled());

        ClickLink(QStringLiteral("Appendix A. Irrelevant solutions"));
        QCOMPARE(Page(), QStringLiteral("english/userguide/a1_irrelevant.htm"));
        QCOMPARE(Heading(), QStringLiteral("Appendix A. Irrelevant Solutions"));
        QVERIFY(Button("backButton")->isEnabled());

        Click(Button("backButton"));
        QCOMPARE(Page(), QStringLiteral("english/index.html"));
        QVERIFY(!Button("backButton")->isEnabled());
        QVERIFY(Button("forwardButton")->isEnabled());
        Click(Button("forwardButton"));
        QCOMPARE(Heading(), QStringLiteral("Appendix A. Irrelevant Solutions"));
        QVERIFY(!Button("forwardButton")->isEnabled());

        ClickLink(QStringLiteral("Contents"));
        QCOMPARE(Page(), QStringLiteral("english/index.html"));
        ClickLink(QStringLiteral("3. The rules of 24"));
        QCOMPARE(Heading(), QStringLiteral("3. The Rules of 24"));
        Click(Button("contentsButton"));
        QCOMPARE(Page(), QStringLiteral("english/index.html"));
        QVERIFY2(m_shell->opened.empty(), "pages of the bundle never go to the browser");
    }

    void oneWindowServesEveryRequest()
    {
        QVERIFY(Start(MakeProgram()));
        QVERIFY(PressF1());
        QWidget* first = ShownHelpWindow();
        ClickLink(QStringLiteral("Release notes"));
        first->close();
        QVERIFY(ChooseMenuEntry(QStringLiteral("&Help\tF1")));
        QCOMPARE(ShownHelpWindow(), first);
        QCOMPARE(Page(), QStringLiteral("english/index.html"));
        Click(Button("backButton"));
        QCOMPARE(Page(), QStringLiteral("english/rel_notes.htm"));

        // After a change of the interface language the window speaks the new one.
        QVERIFY(ChooseMenuEntry(QStringLiteral("&Simplified Chinese (简体中文)")));
        QVERIFY(PressF1());
        QCOMPARE(ShownHelpWindow(), first);
        QCOMPARE(Page(), QStringLiteral("gb2312/index.html"));
        QCOMPARE(first->windowTitle(), QStringLiteral("Tavlix 帮助"));
        QCOMPARE(Button("contentsButton")->text(), QStringLiteral("目录(&C)"));
        QCOMPARE(Button("backButton")->text(), QStringLiteral("后退(&B)"));
        QCOMPARE(Button("forwardButton")->text(), QStringLiteral("前进(&F)"));
        Click(Button("backButton"));
        QCOMPARE(Page(), QStringLiteral("gb2312/rel_notes.htm"));
    }

    // An open help window follows a switch of the interface language at once, with its
    // title, its buttons and the page on screen; so do Qt's own dialogs.
    void anOpenWindowFollowsALanguageSwitch()
    {
        QVERIFY(Start(MakeProgram()));
        QVERIFY(PressF1());
        QWidget* window = ShownHelpWindow();
        QCOMPARE(KeyboardFaults(window), QString());
        ClickLink(QStringLiteral("Appendix A. Irrelevant solutions"));
        QVERIFY(ChooseMenuEntry(QStringLiteral("&Traditional Chinese (繁體中文)")));
        QTRY_COMPARE(Page(), QStringLiteral("big5/userguide/a1_irrelevant.htm"));
        QCOMPARE(Heading(), QStringLiteral("附錄 A. 互不相關的解法"));
        QCOMPARE(window->windowTitle(), QStringLiteral("Tavlix 說明"));
        QCOMPARE(Browser()->accessibleName(), QStringLiteral("Tavlix 說明"));
        QCOMPARE(Button("contentsButton")->text(), QStringLiteral("目錄(&C)"));
        QCOMPARE(Button("forwardButton")->text(), QStringLiteral("下一頁(&F)"));
        QCOMPARE(QColorDialog().windowTitle(), QStringLiteral("選擇顏色"));

        QVERIFY(ChooseMenuEntry(QStringLiteral("&Simplified Chinese (简体中文)")));
        QTRY_COMPARE(Page(), QStringLiteral("gb2312/userguide/a1_irrelevant.htm"));
        QCOMPARE(QColorDialog().windowTitle(), QStringLiteral("选择颜色"));
        QVERIFY(ChooseMenuEntry(QStringLiteral("&English")));
        QTRY_COMPARE(Page(), QStringLiteral("english/userguide/a1_irrelevant.htm"));
        QCOMPARE(window->windowTitle(), QStringLiteral("Tavlix Help"));
        QCOMPARE(QColorDialog().windowTitle(), QStringLiteral("Select Color"));
    }

    void topicsInTheInterfaceLanguage_data()
    {
        QTest::addColumn<std::uint32_t>("lcid");
        QTest::addColumn<int>("topic");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("heading");
        QTest::newRow("English index") << kLcidEnglish << 0 << "english/index.html" << "Tavlix Help";
        QTest::newRow("English irrelevant") << kLcidEnglish << 22 << "english/userguide/a1_irrelevant.htm"
                                            << "Appendix A. Irrelevant Solutions";
        QTest::newRow("English unknown") << kLcidEnglish << 99 << "english/index.html" << "Tavlix Help";
        QTest::newRow("Simplified index") << kLcidSimplifiedChinese << 0 << "gb2312/index.html" << "Tavlix 帮助";
        QTest::newRow("Simplified irrelevant") << kLcidSimplifiedChinese << 22
                                               << "gb2312/userguide/a1_irrelevant.htm" << "附录 A. 互不相关的解法";
        QTest::newRow("Simplified unknown") << kLcidSimplifiedChinese << 21 << "gb2312/index.html" << "Tavlix 帮助";
        QTest::newRow("Traditional index") << kLcidTraditionalChinese << 0 << "big5/index.html" << "Tavlix 說明";
        QTest::newRow("Traditional irrelevant") << kLcidTraditionalChinese << 22
                                                << "big5/userguide/a1_irrelevant.htm" << "附錄 A. 互不相關的解法";
        QTest::newRow("Traditional unknown") << kLcidTraditionalChinese << -1 << "big5/index.html" << "Tavlix 說明";
        // The Statistics window's page, in each language.
        QTest::newRow("English statistics") << kLcidEnglish << 30 << "english/userguide/statistics.htm"
                                            << "Your Statistics";
        QTest::newRow("Simplified statistics") << kLcidSimplifiedChinese << 30
                                               << "gb2312/userguide/statistics.htm" << "您的统计";
        QTest::newRow("Traditional statistics") << kLcidTraditionalChinese << 30
                                                << "big5/userguide/statistics.htm" << "您的統計";
    }

    void topicsInTheInterfaceLanguage()
    {
        QFETCH(std::uint32_t, lcid);
        QFETCH(int, topic);
        QFETCH(QString, page);
        QFETCH(QString, heading);
        QVERIFY(Start(MakeProgram(), lcid));
        // F1 in a window of the program that asks for the topic.
        QWidget asking;
        InstallHelpKey(&asking, GetMessageBoxContext().openHelpTopic, topic);
        asking.show();
        QVERIFY(QTest::qWaitForWindowActive(&asking));
        QTest::keyClick(&asking, Qt::Key_F1);
        QVERIFY(ShownHelpWindow());
        QCOMPARE(Page(), page);
        QCOMPARE(Heading(), heading);
        QVERIFY(m_shell->opened.empty());
        // Qt's own dialogs speak the language the program started in.
        const std::map<std::uint32_t, QString> colorDialogTitles{
            {kLcidEnglish, "Select Color"}, {kLcidSimplifiedChinese, "选择颜色"}, {kLcidTraditionalChinese, "選擇顏色"}};
        QCOMPARE(QColorDialog().windowTitle(), colorDialogTitles.at(lcid));
    }

    void pagesWearTheBundleStyle()
    {
        QVERIFY(Start(MakeProgram()));
        QVERIFY(PressF1());
        // The headings take the bundle's accent colour, so the shared sheet was read.
        QTextBlock block = Browser()->document()->begin();
        while (block.isValid() && block.blockFormat().headingLevel() != 1)
            block = block.next();
        QCOMPARE(block.charFormat().foreground().color(), QColor(QStringLiteral("#16467d")));
        // The links of the top bar stay readable on the window's white.
        const QTextCursor contents = Browser()->document()->find(QStringLiteral("Contents"));
        QVERIFY(contents.charFormat().foreground().color() != QColor(Qt::white));
    }

    void addressesOutsideTheBundleGoToTheBrowser()
    {
        const fs::path program = MakeProgram(false);
        WriteFile(program / "doc" / "help" / "english" / "index.html",
                  "<html><body><h1>Small Help</h1>"
                  "<p><a href=\"next.htm\">Next page</a></p>"
                  "<p><a href=\"https://www.example.org/rules\">Web page</a></p>"
                  "<p><a href=\"mailto:help@example.org\">Write to us</a></p>"
                  "<p><a href=\"../../../outside.htm\">Beside the program</a></p>"
                  "</body></html>");
        WriteFile(program / "doc" / "help" / "english" / "next.htm", "<html><body><h1>Next</h1></body></html>");
        WriteFile(program / "outside.htm", "<html><body><h1>Outside</h1></body></html>");
        QVERIFY(Start(program));
        QVERIFY(PressF1());
        ClickLink(QStringLiteral("Web page"));
        ClickLink(QStringLiteral("Write to us"));
        ClickLink(QStringLiteral("Beside the program"));
        const std::string outside = QUrl::fromLocalFile(QString::fromStdString((program / "outside.htm").string()))
                                        .toString()
                                        .toStdString();
        QCOMPARE(m_shell->opened, (std::vector<std::string>{"https://www.example.org/rules",
                                                             "mailto:help@example.org", outside}));
        QCOMPARE(Heading(), QStringLiteral("Small Help"));
        QVERIFY(!Button("backButton")->isEnabled());

        ClickLink(QStringLiteral("Next page"));
        QCOMPARE(Heading(), QStringLiteral("Next"));
        QCOMPARE(m_shell->opened.size(), 3u);
    }

    void anAddressTheBrowserRefusesIsReported()
    {
        const fs::path program = MakeProgram(false);
        WriteFile(program / "doc" / "help" / "english" / "index.html",
                  "<html><body><h1>Small Help</h1><p><a href=\"https://www.example.org/\">Web page</a></p></body></html>");
        QVERIFY(Start(program, kLcidEnglish, true, false));
        QVERIFY(PressF1());
        SeenBox seen;
        QWidget* boxParent = nullptr;
        AnswerNextBox(seen, kOk,
                      [&boxParent](CBMMessageBox* box) { boxParent = box->parentWidget(); });
        ClickLink(QStringLiteral("Web page"));
        QTRY_VERIFY(seen.shown);
        QCOMPARE(seen.text, kUnopened.arg(QStringLiteral("https://www.example.org/")));
        QCOMPARE(boxParent, ShownHelpWindow());
        QCOMPARE(Heading(), QStringLiteral("Small Help"));

        // The maker's page of the status bar's link, too.
        seen = SeenBox();
        AnswerNextBox(seen, kOk,
                      [&boxParent](CBMMessageBox* box) { boxParent = box->parentWidget(); });
        QTest::mouseClick(m_window->findChild<QWidget*>(QStringLiteral("hyperlink")), Qt::LeftButton);
        QTRY_VERIFY(seen.shown);
        QCOMPARE(seen.text, kUnopened.arg(QStringLiteral("https://www.brelmor.com/")));
        QCOMPARE(boxParent, m_window);
    }

    void firstStartShowsTheReleaseNotesAfterTheMakersPage()
    {
        QVERIFY(Start(MakeProgram(), kLcidEnglish, false));
        QTRY_VERIFY(ShownHelpWindow());
        QCOMPARE(Page(), QStringLiteral("english/rel_notes.htm"));
        QCOMPARE(Heading(), QStringLiteral("Release Notes for Tavlix 1.5"));
        QCOMPARE(m_shell->opened, std::vector<std::string>{"https://www.brelmor.com/"});
    }

    void theMakersPageTheBrowserRefusesIsReported()
    {
        SeenBox seen;
        AnswerNextBox(seen, kOk);
        QVERIFY(Start(MakeProgram(), kLcidEnglish, false, false));
        QTRY_VERIFY(seen.shown);
        QCOMPARE(seen.text, kUnopened.arg(QStringLiteral("https://www.brelmor.com/")));
        QTRY_VERIFY(ShownHelpWindow());
        QCOMPARE(Page(), QStringLiteral("english/rel_notes.htm"));
    }

    void helpTakesInputWhileTheProgramsWindowsAreModal()
    {
        QVERIFY(Start(MakeProgram()));
        m_window->hide();
        bool checked = false;
        // In the program the main window runs modally, and its dialogs over it.
        QTimer::singleShot(0, m_window, [&] {
            // A message box opens the help on irrelevant solutions and stays open.
            QTimer::singleShot(0, m_window, [&] {
                auto* box = qobject_cast<CBMMessageBox*>(QApplication::activeModalWidget());
                QVERIFY(box);
                Click(box->findChild<QPushButton*>(QStringLiteral("detailsButton")));
                QVERIFY(ShownHelpWindow());
                QCOMPARE(Page(), QStringLiteral("english/userguide/a1_irrelevant.htm"));
                ClickLink(QStringLiteral("Contents"));
                QCOMPARE(Page(), QStringLiteral("english/index.html"));
                box->done(IDOK);
            });
            BMMessageBox(QStringLiteral("Same solution"), {}, MB_OK, true,
                         QLatin1String(CBMMessageBox::kIrrelevantHelpKey), false, false, m_window);
            // A dialog that opens while the help is up leaves it usable too.
            QTimer::singleShot(0, m_window, [&] {
                auto* box = qobject_cast<CBMMessageBox*>(QApplication::activeModalWidget());
                QVERIFY(box && ShownHelpWindow());
                QTest::qWait(50);  // the player's hand is slower than the window system
                Click(Button("backButton"));
                QCOMPARE(Page(), QStringLiteral("english/userguide/a1_irrelevant.htm"));
                box->done(IDOK);
                checked = true;
            });
            ShowNotice(QStringLiteral("Another"), m_window);
            m_window->done(QDialog::Rejected);
        });
        EndModalWindowsAfter(20000);
        m_window->exec();
        QVERIFY(checked);
    }
};

TAVLIX_QTEST_MAIN(HelpWindowTest)
#include "HelpWindowTest.moc"
