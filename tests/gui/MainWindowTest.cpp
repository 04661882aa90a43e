#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>

#include "GuiTestSupport.h"
#include "shell/CommandTable.h"
#include "shell/MainWindow.h"
#include "controls/PictureButton.h"
#include "settings/UserDataDirectory.h"
#include "settings/Profile.h"
#include "i18n/StringIds.h"

using namespace tavlix;
using namespace tavlix::testing;

class MainWindowTest : public QObject {
    Q_OBJECT

    InMemoryProfileStore m_store;
    std::unique_ptr<Profile> m_profile;
    LanguageState m_language;
    CachedStrings m_cache;
    FakeMedia m_media;
    std::vector<int> m_helpTopics;
    std::vector<std::string> m_addresses;
    QTemporaryDir m_dir;
    InMemoryProfileStore m_editionStore;
    std::unique_ptr<UserDataDirectory> m_userData;
    std::unique_ptr<MainWindow> m_window;

    std::unique_ptr<MainWindow> MakeWindow(Edition edition = Edition::Standard)
    {
        MainWindowServices services{
            .language = m_language,
            .cache = m_cache,
            .profile = *m_profile,
            .settings = m_store,
            .media = m_media,
            .edition = edition,
            .versionText = "1.5",
            .makerHomePage = "https://www.brelmor.com/",
            .productHomePage = "https://www.brelmor.com/tavlix/index.html",
            .log = nullptr,
            .openHelpTopic = [this](int topic) { m_helpTopics.push_back(topic); },
            .openAddress = [this](const std::string& a) { m_addresses.push_back(a); },
            .startUpdateCheck = [] {},
            .showOptions = [] {},
            .userData = m_userData.get(),
            .setUpUserDataDirectory = [] { return true; },
            .pickSaveFile = {},
        };
        auto window = std::make_unique<MainWindow>(std::move(services));
        window->show();
        (void)QTest::qWaitForWindowExposed(window.get());
        return window;
    }

    template <typename T = QWidget>
    T* Find(const char* name) const
    {
        return m_window->findChild<T*>(QLatin1String(name));
    }

    void TypeQuestion(const std::array<const char*, 4>& numbers)
    {
        for (std::size_t i = 0; i < 4; ++i) {
            auto* box = Find<QLineEdit>(QStringLiteral("questionBox%1").arg(i).toLatin1().constData());
            box->clear();
            QTest::keyClicks(box, QLatin1String(numbers[i]));
        }
    }

    void TypeAnswers(const QString& lines)
    {
        auto* answer = Find<QPlainTextEdit>("answerBox");
        answer->clear();
        const QStringList list = lines.split(QLatin1Char('\n'));
        for (int i = 0; i < list.size(); ++i) {
            if (i > 0)
                QTest::keyClick(answer, Qt::Key_Return);
            QTest::keyClicks(answer, list[i]);
        }
    }

    QString Pane() const { return Find<QPlainTextEdit>("commentsPane")->toPlainText(); }

    void Submit() { QTest::keyClick(Find<QPlainTextEdit>("answerBox"), Qt::Key_Return, Qt::ControlModifier); }

    // The popup's entries as the user sees them when it opens: text, enabled, checked.
    std::vector<std::tuple<QString, bool, bool>> Entries(int popupIndex) const
    {
        QMenu* menu = m_window->MenuBar()->actions()[popupIndex]->menu();
        emit menu->aboutToShow();
        std::vector<std::tuple<QString, bool, bool>> entries;
        for (QAction* a : menu->actions())
            entries.emplace_back(a->isSeparator() ? QStringLiteral("-") : a->text(), a->isEnabled(), a->isChecked());
        return entries;
    }

private slots:
    void init()
    {
        m_store = InMemoryProfileStore();
        m_profile = std::make_unique<Profile>(m_store);
        m_language = MakeLanguage();
        m_cache.Reload(m_language);
        SetMessageBoxContext({&m_language, &m_cache, {}});
        m_media = FakeMedia();
        m_helpTopics.clear();
        m_userData = std::make_unique<UserDataDirectory>(m_editionStore, m_language, "/nonexistent-program",
                                                         m_dir.path().toStdString(), true);
        std::string error;
        QVERIFY(m_userData->SetUserDataDirectory((m_dir.path() + QStringLiteral("/data")).toStdString(), true, error));
        m_window = MakeWindow();
    }

    void cleanup() { m_window.reset(); }

    void roadOfOneAnswer()
    {
        TypeQuestion({"3", "3", "8", "8"});
        TypeAnswers(QStringLiteral("8/(3-8/3)"));
        QVERIFY(Find<QPushButton>("submitButton")->isEnabled());
        Submit();
        QCOMPARE(Pane(), QStringLiteral("Bingo!"));
        QCOMPARE(m_media.sounds.back(), Media::Sound::Correct);

        TypeAnswers(QStringLiteral("3*8+8-3"));
        Submit();
        QCOMPARE(Pane(), QStringLiteral("You lost!"));
        QCOMPARE(m_media.sounds.back(), Media::Sound::Wrong);

        TypeQuestion({"4", "3", "2", "1"});
        TypeAnswers(QStringLiteral("(1+3)*(2+4)\n\n(4+2)*(3+1)"));
        Submit();
        QCOMPARE(Pane(), QStringLiteral("Good!\n\nThe following answer is correct:\n    1: (1+3)*(2+4)\n"
                                        "The following answer is repetitive:\n    2: (4+2)*(3+1) (same as 1)"));
    }

    void shortAnswerCannotBeSubmitted()
    {
        TypeQuestion({"3", "3", "8", "8"});
        TypeAnswers(QStringLiteral("3*8+0"));
        QVERIFY(!Find<QPushButton>("submitButton")->isEnabled());
        Submit();
        QCOMPARE(Pane(), QString());
        QVERIFY(m_media.sounds.empty());
        QTest::mouseClick(Find<QCheckBox>("noSolution"), Qt::LeftButton);
        QVERIFY(Find<QPlainTextEdit>("answerBox")->isReadOnly());
        QVERIFY(Find<QPlainTextEdit>("answerBox")->toPlainText().isEmpty());
        Submit();
        QVERIFY(Pane().startsWith(QStringLiteral("You lost! The question has 1 answer(s) under Standard Rule.")));
    }

    void checkSolutionWithCtrlS()
    {
        QVERIFY(!Find<QPushButton>("checkSolutionButton")->isEnabled());
        TypeQuestion({"1", "2", "3", "4"});
        QVERIFY(Find<QPushButton>("checkSolutionButton")->isEnabled());
        QTest::keyClick(Find<QLineEdit>("questionBox3"), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(Pane(), QStringLiteral("A1: 4*(1+2+3)\nA2: (1+3)*(2+4)\nA3: 1*2*3*4"));
    }

    void ruleSwitchRegeneratesThePaneItShowed()
    {
        TypeQuestion({"2", "4", "8", "9"});
        TypeAnswers(QStringLiteral("8*9^^(4^^2)"));
        Submit();
        QCOMPARE(Pane(), QStringLiteral("You lost!"));
        m_window->RunCommand(ID_ADVANCED_RULE);
        QVERIFY(!m_window->IsStandardRule());
        QCOMPARE(Pane(), QStringLiteral("Bingo!")) ;
        QCOMPARE(Find<PictureButton>("toolbar32774")->Images(), QStringLiteral("advanced-rule-on"));

        m_window->RunCommand(ID_CHECK_SOLUTION);
        const QString advanced = Pane();
        m_window->RunCommand(ID_STANDARD_RULE);
        QVERIFY(Pane() != advanced);
        QVERIFY(!Pane().contains(QLatin1Char('^')));

        // A pane showing something the window did not generate is left alone.
        Find<QPlainTextEdit>("commentsPane")->setPlainText(QStringLiteral("my notes"));
        m_window->RunCommand(ID_ADVANCED_RULE);
        QCOMPARE(Pane(), QStringLiteral("my notes"));
    }

    void jqkSwitchClampsTheBoxes()
    {
        TypeQuestion({"12", "3", "4", "5"});
        m_window->RunCommand(ID_ENABLE_JQK);
        QVERIFY(!m_window->IsJqkEnabled());
        QCOMPARE(Find<QLineEdit>("questionBox0")->text(), QStringLiteral("10"));
        QCOMPARE(Find<QLineEdit>("questionBox1")->text(), QStringLiteral("3"));

        m_window->RunCommand(ID_ENABLE_JQK);
        TypeQuestion({"x", "13", "4", "05"});
        m_window->RunCommand(ID_ENABLE_JQK);
        QCOMPARE(Find<QLineEdit>("questionBox0")->text(), QString());
        QCOMPARE(Find<QLineEdit>("questionBox1")->text(), QStringLiteral("10"));
        QCOMPARE(Find<QLineEdit>("questionBox3")->text(), QString());
        QCOMPARE(Find<PictureButton>("toolbar32798")->Images(), QStringLiteral("jqk-off"));
    }

    void enlargedLayoutSurvivesARestart()
    {
        const int standard = m_window->height();
        m_window->RunCommand(ID_ENLARGED_UI);
        QVERIFY(m_window->IsEnlarged());
        QCOMPARE(m_window->height(), standard + 200);
        QCOMPARE(m_store.ReadInt("UI", "Enlarged"), 1u);

        m_window = MakeWindow();
        QVERIFY(m_window->IsEnlarged());
        QCOMPARE(m_window->height(), standard + 200);
        m_window->RunCommand(ID_ENLARGED_UI);
        QCOMPARE(m_window->height(), standard);
    }

    void escapeAndExitAsk()
    {
        SeenBox seen;
        AnswerNextBox(seen, QStringLiteral("rightButton"));  // No
        QTest::keyClick(m_window.get(), Qt::Key_Escape);
        QVERIFY(seen.shown);
        QCOMPARE(seen.text, QStringLiteral("Will you exit now?"));
        QVERIFY(m_window->isVisible());

        SeenBox yes;
        AnswerNextBox(yes, QStringLiteral("middleButton"));  // Yes
        QTest::mouseClick(Find<PictureButton>("toolbar1061"), Qt::LeftButton);
        QVERIFY(yes.shown);
        QVERIFY(!m_window->isVisible());
        QCOMPARE(m_window->result(), int(QDialog::Rejected));
    }

    void closeRequestOfAnInstaller()
    {
        m_window->OnCloseRequest(1, 3);
        QVERIFY(m_window->isVisible());
        m_window->OnCloseRequest(1, 2);
        QVERIFY(!m_window->isVisible());
    }

    void menusInFreeMode()
    {
        const auto game = Entries(0);
        QCOMPARE(game.size(), std::size_t(14));
        QCOMPARE(std::get<0>(game[0]), QStringLiteral("&Standard rule (addition, subtraction, multiplication and division)"));
        QVERIFY(std::get<2>(game[0]));   // standard checked
        QVERIFY(!std::get<2>(game[1]));
        QCOMPARE(std::get<0>(game[4]), QStringLiteral("T&raining..."));
        QCOMPARE(std::get<0>(game[8]), QStringLiteral("&Check Solution\tCtrl+S"));
        QVERIFY(!std::get<1>(game[8]));  // no valid question yet
        QVERIFY(!std::get<1>(game[10]));  // nothing to save
        QCOMPARE(std::get<0>(game[13]), QStringLiteral("E&xit"));

        TypeQuestion({"1", "2", "3", "4"});
        QVERIFY(std::get<1>(Entries(0)[8]));
        QVERIFY(std::get<1>(Entries(0)[10]));

        const auto ui = Entries(1);
        QCOMPARE(ui.size(), std::size_t(7));
        QCOMPARE(std::get<0>(ui[4]), QStringLiteral("&English"));
        QVERIFY(std::get<2>(ui[4]));
        QCOMPARE(std::get<0>(ui[5]), QStringLiteral("&Simplified Chinese (简体中文)"));
        const auto tools = Entries(3);
        QCOMPARE(std::get<0>(tools.back()), QStringLiteral("&Options..."));
        QVERIFY(std::get<1>(tools.back()));
        QCOMPARE(std::get<0>(Entries(4).back()), QStringLiteral("&About Tavlix..."));

        m_window = MakeWindow(Edition::SimplifiedChinese);
        QCOMPARE(Entries(1).size(), std::size_t(3));  // no language entries in this edition
    }

    void languageSwitchRewritesTheTexts()
    {
        TypeQuestion({"3", "3", "8", "8"});
        TypeAnswers(QStringLiteral("8/(3-8/3)"));
        Submit();
        m_window->RunCommand(ID_LANGUAGE_TRADITIONAL);
        QCOMPARE(m_language.Lcid(), kLcidTraditionalChinese);
        QCOMPARE(m_store.ReadInt("Shell", "LCID"), kLcidTraditionalChinese);
        QCOMPARE(Pane(), QStringLiteral("答對了！"));
        QCOMPARE(Find<QCheckBox>("noSolution")->text(), QString::fromStdString(m_language.GetLocalizedString(IDS_DIALOG_MAIN_NO_SOLUTION_N)));
        QCOMPARE(m_window->MenuBar()->actions()[0]->text(), QString::fromStdString(m_language.GetLocalizedString(IDS_MENU_GAME_G)));
    }

    void releaseNotesOncePerVersion()
    {
        QTRY_COMPARE(m_helpTopics, std::vector<int>{7});
        QCOMPARE(m_store.ReadString("App", "Release Note 1.5"), std::optional<std::string>("1"));
        m_window = MakeWindow();
        QTest::qWait(300);
        QCOMPARE(m_helpTopics, std::vector<int>{7});
    }

    void ruleAndJqkAreKeptForTheNextStart()
    {
        m_window->RunCommand(ID_ADVANCED_RULE);
        m_window->RunCommand(ID_ENABLE_JQK);
        m_window.reset();
        QCOMPARE(m_store.ReadInt("Game", "Standard"), 0u);
        QCOMPARE(m_store.ReadInt("Game", "JQK"), 0u);
        m_window = MakeWindow();
        QVERIFY(!m_window->IsStandardRule());
        QVERIFY(!m_window->IsJqkEnabled());
    }

    void saveToFollowsMembership()
    {
        TypeQuestion({"8", "3", "8", "3"});
        QVERIFY(IsCommandEnabled(ID_SAVE_TO_MY_FAVORITES, m_window->Context()));
        QTimer::singleShot(0, [] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Save to \"My Favorites\""));
            QCOMPARE(dialog->findChild<QLineEdit*>(QStringLiteral("questionEdit"))->text(), QStringLiteral("3 3 8 8"));
            QTest::keyClicks(dialog->findChild<QLineEdit*>(QStringLiteral("noteEdit")), QStringLiteral("classic"));
            dialog->findChild<QPushButton*>(QStringLiteral("okButton"))->click();
        });
        m_window->RunCommand(ID_SAVE_TO_MY_FAVORITES);
        QCOMPARE(m_window->MyFavorites().Items().size(), std::size_t(1));
        QCOMPARE(m_window->MyFavorites().Items()[0].note, std::string("classic"));
        QVERIFY(!IsCommandEnabled(ID_SAVE_TO_MY_FAVORITES, m_window->Context()));
        QVERIFY(!Find<PictureButton>("toolbar32778")->isEnabled());
        QVERIFY(IsCommandEnabled(ID_SAVE_TO_TROUBLE_MAKERS, m_window->Context()));

        // Saved at once: a new window finds it in the file.
        m_window = MakeWindow();
        QCOMPARE(m_window->MyFavorites().Items().size(), std::size_t(1));
        TypeQuestion({"3", "8", "3", "8"});
        QVERIFY(!IsCommandEnabled(ID_SAVE_TO_MY_FAVORITES, m_window->Context()));

        TypeQuestion({"3", "8", "3", "x"});
        SeenBox seen;
        AnswerNextBox(seen, QStringLiteral("rightButton"));
        m_window->RunCommand(ID_SAVE_TO_TROUBLE_MAKERS);
        QVERIFY(seen.text.startsWith(QStringLiteral("The question is not valid!")));
    }

    void instantSolutionsEnableCourtCardsWhileOpen()
    {
        m_window->RunCommand(ID_ENABLE_JQK);
        QTimer::singleShot(0, [] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Instant Solutions"));
            QTest::keyClicks(dialog->findChild<QLineEdit*>(QStringLiteral("questionEdit")), QStringLiteral("13 13 13 12"));
            QVERIFY(dialog->findChild<QPlainTextEdit*>(QStringLiteral("solutionsPane"))->toPlainText().startsWith(QStringLiteral("A1: ")));
            dialog->findChild<QPushButton*>(QStringLiteral("okButton"))->click();
        });
        m_window->RunCommand(ID_INSTANT_SOLUTIONS);
        QVERIFY(!m_window->IsJqkEnabled());
        QCOMPARE(CBMUtilities::GetCurrentMaximum(), 10u);
    }

    void aboutShowsTheEditionAndVersion()
    {
        QTimer::singleShot(0, [this] {
            auto* about = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(about);
            QCOMPARE(about->objectName(), QStringLiteral("aboutDlg"));
            QCOMPARE(about->windowTitle(), QStringLiteral("About Tavlix"));
            QCOMPARE(about->findChild<QLabel*>(QStringLiteral("productLabel"))->text(),
                     QString::fromStdString(m_language.GetLocalizedString(IDS_DIALOG_ABOUT_COMPANY_PRODUCT_VERSION_NET)));
            QTest::mouseClick(about->findChild<QLabel*>(QStringLiteral("productLink")), Qt::LeftButton);
            about->accept();
        });
        m_window->RunCommand(ID_ABOUT);
        QCOMPARE(m_addresses.back(), std::string("https://www.brelmor.com/tavlix/index.html"));
    }

    void helpAndHyperlink()
    {
        QTest::keyClick(m_window.get(), Qt::Key_F1);
        QCOMPARE(m_helpTopics.back(), 0);
        QTest::mouseClick(Find<QLabel>("hyperlink"), Qt::LeftButton);
        QCOMPARE(m_addresses.back(), std::string("https://www.brelmor.com/"));
    }
};

TAVLIX_QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
