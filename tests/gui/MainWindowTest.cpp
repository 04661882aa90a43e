#include <QCheckBox>
#include <QLabel>

#include "MainWindowHarness.h"
#include "diagnostics/DebugLog.h"

using namespace tavlix;
using namespace tavlix::testing;

namespace {

const QString kGameMenu = QStringLiteral("&Game");
const QString kUiMenu = QStringLiteral("&UI");
const QString kToolsMenu = QStringLiteral("&Tools");
const QString kHelpMenu = QStringLiteral("&Help");
const QString kStandardRule = QStringLiteral("&Standard rule (addition, subtraction, multiplication and division)");
const QString kAdvancedRule =
    QStringLiteral("&Advanced rule (addition, subtraction, multiplication, division, power and root)");
const QString kEnableJqk = QStringLiteral("Enable &J (11), Q (12), K (13)");
const QString kEnlargedUi = QStringLiteral("&Enlarged UI");

// Counts the hide events of one window: hiding a window ends the modal loop it runs in.
class HideCounter : public QObject {
public:
    explicit HideCounter(QWidget* window) { window->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Hide)
            ++count;
        return false;
    }
};

}  // namespace

class MainWindowTest : public QObject, protected MainWindowHarness {
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(ResetHarness());
        m_window = MakeWindow();
    }

    void cleanup() { m_window.reset(); }

    // Submitted with the button, with Ctrl+Return and with Ctrl+Enter of the keypad.
    void roadOfOneAnswer()
    {
        TypeQuestion({"3", "3", "8", "8"});
        TypeAnswers(QStringLiteral("8/(3-8/3)"));
        QVERIFY(Find<QPushButton>("submitButton")->isEnabled());
        ClickSubmit();
        QCOMPARE(Pane(), QStringLiteral("Bingo!"));
        QCOMPARE(PlayedEffects().back(), std::string("correct"));

        TypeAnswers(QStringLiteral("3*8+8-3"));
        SubmitWithKeys(Qt::Key_Return);
        QCOMPARE(Pane(), QStringLiteral("You lost!"));
        QCOMPARE(PlayedEffects().back(), std::string("incorrect"));

        TypeQuestion({"4", "3", "2", "1"});
        TypeAnswers(QStringLiteral("(1+3)*(2+4)\n\n(4+2)*(3+1)"));
        SubmitWithKeys(Qt::Key_Enter);
        QCOMPARE(Pane(), QStringLiteral("Good!\n\nThe following answer is correct:\n    1: (1+3)*(2+4)\n"
                                        "The following answer is repetitive:\n    2: (4+2)*(3+1) (same as 1)"));
        QCOMPARE(PlayedEffects().size(), std::size_t(3));
    }

    // With the trace on, a submission and the exit leave their steps in order: the
    // judging's steps inside the submission's, and the exit's last step only on Yes.
    void theTraceFollowsASubmissionAndTheExit()
    {
        QTemporaryDir folder;
        const std::filesystem::path file = folder.filePath(QStringLiteral("c2debug.log")).toStdString();
        DebugLog log(file, true, m_clock);
        m_log = &log;
        m_window = MakeWindow();
        m_log = nullptr;
        TypeQuestion({"3", "3", "8", "8"});
        TypeAnswers(QStringLiteral("8/(3-8/3)"));
        ClickSubmit();
        for (const QString& answer : {kNo, kYes}) {
            SeenBox exit;
            AnswerNextBox(exit, answer);
            QTest::keyClick(m_window.get(), Qt::Key_Escape);
            QVERIFY(exit.shown);
        }
        QVERIFY(!m_window->isVisible());

        QStringList steps;  // tag and step of each line, without its time
        std::ifstream lines(file);
        for (std::string line; std::getline(lines, line);)
            steps << QString::fromStdString(line).section(QLatin1Char('\t'), 1).replace(QLatin1Char('\t'), QLatin1Char(' '));
        // The judging's steps, from the first to the last, inside the submission's.
        const qsizetype first = steps.indexOf(QStringLiteral("GetComments CanCheckResult()"));
        const qsizetype last = steps.lastIndexOf(QStringLiteral("GetComments if(bRecordResult && bLoop)"));
        QVERIFY(first >= 0 && last > first);
        QVERIFY(std::all_of(steps.begin() + first, steps.begin() + last + 1,
                            [](const QString& step) { return step.startsWith(QLatin1String("GetComments ")); }));
        steps.remove(first, last - first + 1);
        QCOMPARE(steps, (QStringList{"OnMainSubmit start", "OnMainSubmit bool bLoop", "OnMainSubmit bool bRepeat = false;",
                                     "OnMainSubmit SetComments(GetComments(true))",
                                     "OnMainSubmit SetComments(GetComments(true))1", "OnMainExit 0", "OnMainExit 0",
                                     "OnMainExit before OnCancel", "OnMainExit After OnCancel"}));
    }

    void shortAnswerCannotBeSubmitted()
    {
        TypeQuestion({"3", "3", "8", "8"});
        TypeAnswers(QStringLiteral("3*8+0"));
        QVERIFY(!Find<QPushButton>("submitButton")->isEnabled());
        ClickSubmit();
        SubmitWithKeys();
        QCOMPARE(Pane(), QString());
        QVERIFY(PlayedEffects().empty());
        QTest::mouseClick(Find<QCheckBox>("noSolution"), Qt::LeftButton);
        QVERIFY(Find<QPlainTextEdit>("answerBox")->isReadOnly());
        QVERIFY(Find<QPlainTextEdit>("answerBox")->toPlainText().isEmpty());
        ClickSubmit();
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
        ClickSubmit();
        QCOMPARE(Pane(), QStringLiteral("You lost!"));
        QVERIFY(ClickMenuEntry(kGameMenu, kAdvancedRule));
        QVERIFY(!m_window->IsStandardRule());
        QCOMPARE(Pane(), QStringLiteral("Bingo!"));
        QCOMPARE(Find<PictureButton>("toolbar32773")->Images(), QStringLiteral("standard-rule-off"));
        QCOMPARE(Find<PictureButton>("toolbar32774")->Images(), QStringLiteral("advanced-rule-on"));
        QCOMPARE(Entry(kGameMenu, kStandardRule), (MenuItem{kStandardRule, true, false}));
        QCOMPARE(Entry(kGameMenu, kAdvancedRule), (MenuItem{kAdvancedRule, true, true}));

        QVERIFY(ClickMenuEntry(kGameMenu, QStringLiteral("&Check Solution\tCtrl+S")));
        const QString advanced = Pane();
        QVERIFY(advanced.contains(QLatin1Char('^')));
        ClickToolbar("toolbar32773");  // standard rule
        QVERIFY(m_window->IsStandardRule());
        QVERIFY(Pane() != advanced);
        QVERIFY(!Pane().contains(QLatin1Char('^')));
        QCOMPARE(Find<PictureButton>("toolbar32773")->Images(), QStringLiteral("standard-rule-on"));
        QCOMPARE(Entry(kGameMenu, kStandardRule), (MenuItem{kStandardRule, true, true}));

        // A pane showing something the window did not generate is left alone.
        Find<QPlainTextEdit>("commentsPane")->setPlainText(QStringLiteral("my notes"));
        ClickToolbar("toolbar32774");  // advanced rule
        QVERIFY(!m_window->IsStandardRule());
        QCOMPARE(Pane(), QStringLiteral("my notes"));
    }

    void jqkSwitchClampsTheBoxes()
    {
        TypeQuestion({"12", "3", "4", "5"});
        QCOMPARE(Entry(kGameMenu, kEnableJqk), (MenuItem{kEnableJqk, true, true}));
        QVERIFY(ClickMenuEntry(kGameMenu, kEnableJqk));
        QVERIFY(!m_window->IsJqkEnabled());
        QCOMPARE(Entry(kGameMenu, kEnableJqk), (MenuItem{kEnableJqk, true, false}));
        QCOMPARE(Find<QLineEdit>("questionBox0")->text(), QStringLiteral("10"));
        QCOMPARE(Find<QLineEdit>("questionBox1")->text(), QStringLiteral("3"));
        QCOMPARE(Find<PictureButton>("toolbar32798")->Images(), QStringLiteral("jqk-off"));

        ClickToolbar("toolbar32798");
        QVERIFY(m_window->IsJqkEnabled());
        QCOMPARE(Find<PictureButton>("toolbar32798")->Images(), QStringLiteral("jqk-on"));
        TypeQuestion({"x", "13", "4", "05"});
        ClickToolbar("toolbar32798");
        QCOMPARE(Find<QLineEdit>("questionBox0")->text(), QString());
        QCOMPARE(Find<QLineEdit>("questionBox1")->text(), QStringLiteral("10"));
        QCOMPARE(Find<QLineEdit>("questionBox3")->text(), QString());
        QCOMPARE(Find<PictureButton>("toolbar32798")->Images(), QStringLiteral("jqk-off"));
    }

    void enlargedLayoutResizesInPlaceAndSurvivesARestart()
    {
        const QSize standard = m_window->size();
        const QSize enlarged(standard.width(), standard.height() + 200);
        HideCounter hides(m_window.get());
        for (int round = 0; round < 3; ++round) {
            QVERIFY(ClickMenuEntry(kUiMenu, kEnlargedUi));
            QVERIFY(m_window->isVisible());
            QCOMPARE(m_window->size(), enlarged);
            QCOMPARE(Entry(kUiMenu, kEnlargedUi), (MenuItem{kEnlargedUi, true, true}));
            QCOMPARE(m_store.ReadInt("UI", "Enlarged"), 1u);

            QVERIFY(ClickMenuEntry(kUiMenu, kEnlargedUi));
            QVERIFY(m_window->isVisible());
            QCOMPARE(m_window->size(), standard);
            QCOMPARE(Entry(kUiMenu, kEnlargedUi), (MenuItem{kEnlargedUi, true, false}));
            QCOMPARE(m_store.ReadInt("UI", "Enlarged"), 0u);
        }
        QCOMPARE(hides.count, 0);

        // The choice survives a restart.
        QVERIFY(ClickMenuEntry(kUiMenu, kEnlargedUi));
        m_window = MakeWindow();
        QVERIFY(m_window->IsEnlarged());
        QCOMPARE(m_window->size(), enlarged);
        QVERIFY(ClickMenuEntry(kUiMenu, kEnlargedUi));
        QCOMPARE(m_window->size(), standard);
    }

    void escapeAndExitAsk()
    {
        SeenBox seen;
        AnswerNextBox(seen, kNo);  // No
        QTest::keyClick(m_window.get(), Qt::Key_Escape);
        QVERIFY(seen.shown);
        QCOMPARE(seen.text, QStringLiteral("Will you exit now?"));
        QVERIFY(m_window->isVisible());

        SeenBox yes;
        AnswerNextBox(yes, kYes);  // Yes
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

    // The entries as the player finds them by their texts, grayed or checked as the state
    // asks, wherever they stand in their popup.
    void menusInFreeMode()
    {
        const QString checkSolution = QStringLiteral("&Check Solution\tCtrl+S");
        const QString hint = QStringLiteral("&Hint\tCtrl+H");
        const QString saveToTroubleMakers = QStringLiteral("Save to \"&Trouble Makers\"...");
        QCOMPARE(Entry(kGameMenu, kStandardRule), (MenuItem{kStandardRule, true, true}));
        QCOMPARE(Entry(kGameMenu, kAdvancedRule), (MenuItem{kAdvancedRule, true, false}));
        QCOMPARE(Entry(kGameMenu, QStringLiteral("T&raining...")), (MenuItem{QStringLiteral("T&raining..."), true, false}));
        QCOMPARE(Entry(kGameMenu, checkSolution), (MenuItem{checkSolution, false, false}));  // no valid question yet
        QCOMPARE(Entry(kGameMenu, hint), (MenuItem{hint, false, false}));
        QCOMPARE(Entry(kGameMenu, saveToTroubleMakers), (MenuItem{saveToTroubleMakers, false, false}));
        QCOMPARE(Entries(kGameMenu).back().text, QStringLiteral("E&xit"));

        TypeQuestion({"1", "2", "3", "4"});
        QVERIFY(Entry(kGameMenu, checkSolution).enabled);
        QVERIFY(Entry(kGameMenu, hint).enabled);
        QVERIFY(Entry(kGameMenu, saveToTroubleMakers).enabled);

        QVERIFY(Entry(kUiMenu, QStringLiteral("&English")).checked);
        QCOMPARE(Entry(kUiMenu, QStringLiteral("&Simplified Chinese (简体中文)")).checked, false);
        QVERIFY(Entry(kUiMenu, QStringLiteral("&Traditional Chinese (繁體中文)")).enabled);
        const auto tools = Entries(kToolsMenu);
        QCOMPARE(tools.back().text, QStringLiteral("&Options..."));
        QVERIFY(tools.back().enabled);
        QCOMPARE(Entries(kHelpMenu).back().text, QStringLiteral("&About Tavlix..."));

        m_window = MakeWindow(Edition::SimplifiedChinese);
        QCOMPARE(Entry(kUiMenu, QStringLiteral("&English")).text, QString());  // no language entries in this edition
        QVERIFY(!Entry(kUiMenu, kEnlargedUi).text.isEmpty());
    }

    void languageSwitchRewritesTheTexts()
    {
        TypeQuestion({"3", "3", "8", "8"});
        TypeAnswers(QStringLiteral("8/(3-8/3)"));
        ClickSubmit();
        QVERIFY(ClickMenuEntry(kUiMenu, QStringLiteral("&Traditional Chinese (繁體中文)")));
        QCOMPARE(m_language.Lcid(), kLcidTraditionalChinese);
        QCOMPARE(m_store.ReadInt("Shell", "LCID"), kLcidTraditionalChinese);
        QCOMPARE(Pane(), QStringLiteral("答對了！"));
        QCOMPARE(Find<QCheckBox>("noSolution")->text(), QStringLiteral("無解(&N)！"));
        QCOMPARE(Find<QMenu>("popup0")->title(), QStringLiteral("遊戲(&G)"));  // the Game menu
        // What screen readers say changes with it.
        QCOMPARE(Find<QLineEdit>("questionBox1")->accessibleName(), QStringLiteral("題目的第 2 個數"));
        QCOMPARE(Find<QPlainTextEdit>("answerBox")->accessibleName(), QStringLiteral("我的解法"));
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
        ClickToolbar("toolbar32774");  // advanced rule
        ClickToolbar("toolbar32798");  // J, Q, K off
        m_window.reset();
        QCOMPARE(m_store.ReadInt("Game", "Standard"), 0u);
        QCOMPARE(m_store.ReadInt("Game", "JQK"), 0u);
        m_window = MakeWindow();
        QVERIFY(!m_window->IsStandardRule());
        QVERIFY(!m_window->IsJqkEnabled());
        QCOMPARE(Entry(kGameMenu, kAdvancedRule), (MenuItem{kAdvancedRule, true, true}));
        QCOMPARE(Entry(kGameMenu, kEnableJqk), (MenuItem{kEnableJqk, true, false}));
    }

    void saveToFollowsMembership()
    {
        const QString saveToFavorites = QStringLiteral("Save to \"&My Favorites\"...");
        const QString saveToTroubleMakers = QStringLiteral("Save to \"&Trouble Makers\"...");
        TypeQuestion({"8", "3", "8", "3"});
        QCOMPARE(Entry(kGameMenu, saveToFavorites), (MenuItem{saveToFavorites, true, false}));
        QVERIFY(Find<PictureButton>("toolbar32778")->isEnabled());
        bool saved = false;
        OnNextDialog(m_window.get(), [&saved](QDialog* dialog) {
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Save to \"My Favorites\""));
            QCOMPARE(dialog->findChild<QLineEdit*>(QStringLiteral("questionEdit"))->text(), QStringLiteral("3 3 8 8"));
            QTest::keyClicks(dialog->findChild<QLineEdit*>(QStringLiteral("noteEdit")), QStringLiteral("classic"));
            QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("okButton")), Qt::LeftButton);
            saved = true;
        });
        ClickToolbar("toolbar32778");  // save to My Favorites
        QVERIFY(saved);
        QCOMPARE(m_window->MyFavorites().Items().size(), std::size_t(1));
        QCOMPARE(m_window->MyFavorites().Items()[0].note, std::string("classic"));
        QCOMPARE(Entry(kGameMenu, saveToFavorites), (MenuItem{saveToFavorites, false, false}));
        QVERIFY(!Find<PictureButton>("toolbar32778")->isEnabled());
        QCOMPARE(Entry(kGameMenu, saveToTroubleMakers), (MenuItem{saveToTroubleMakers, true, false}));
        QVERIFY(Find<PictureButton>("toolbar32777")->isEnabled());

        // Saved at once: a new window finds it in the file.
        m_window = MakeWindow();
        QCOMPARE(m_window->MyFavorites().Items().size(), std::size_t(1));
        TypeQuestion({"3", "8", "3", "8"});
        QCOMPARE(Entry(kGameMenu, saveToFavorites), (MenuItem{saveToFavorites, false, false}));

        // A question that cannot be read is never offered for saving.
        TypeQuestion({"3", "8", "3", "x"});
        QCOMPARE(Entry(kGameMenu, saveToTroubleMakers), (MenuItem{saveToTroubleMakers, false, false}));
        QVERIFY(!Find<PictureButton>("toolbar32777")->isEnabled());

        // One that reads but exceeds the current maximum is refused with a notice.
        ClickToolbar("toolbar32798");  // J, Q, K off
        TypeQuestion({"3", "8", "3", "12"});
        SeenBox seen;
        AnswerNextBox(seen, kOk);
        QVERIFY(ClickMenuEntry(kGameMenu, saveToTroubleMakers));
        QVERIFY(seen.shown);
        QCOMPARE(seen.text, QStringLiteral("The question is not valid! A valid question is comprised of 4 positive "
                                           "integers ranging between 1-10."));
        QVERIFY(m_window->TroubleMakers().Items().empty());
    }

    void instantSolutionsEnableCourtCardsWhileOpen()
    {
        ClickToolbar("toolbar32798");  // J, Q, K off
        bool solved = false;
        OnNextDialog(m_window.get(), [&solved](QDialog* dialog) {
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Instant Solutions"));
            QTest::keyClicks(dialog->findChild<QLineEdit*>(QStringLiteral("questionEdit")), QStringLiteral("13 13 13 12"));
            QVERIFY(dialog->findChild<QPlainTextEdit*>(QStringLiteral("solutionsPane"))->toPlainText().startsWith(QStringLiteral("A1: ")));
            QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("okButton")), Qt::LeftButton);
            solved = true;
        });
        QVERIFY(ClickMenuEntry(kToolsMenu, QStringLiteral("&Instant Solutions...")));
        QVERIFY(solved);
        QVERIFY(!m_window->IsJqkEnabled());
        // The window's own questions still end at 10.
        TypeQuestion({"13", "13", "13", "12"});
        QVERIFY(!Find<QPushButton>("checkSolutionButton")->isEnabled());
    }

    void aboutShowsTheEditionAndVersion()
    {
        bool shown = false;
        OnNextDialog(m_window.get(), [&shown](QDialog* about) {
            QCOMPARE(about->objectName(), QStringLiteral("aboutDlg"));
            QCOMPARE(about->windowTitle(), QStringLiteral("About Tavlix"));
            QCOMPARE(about->findChild<QLabel*>(QStringLiteral("productLabel"))->text(),
                     QStringLiteral("Tavlix 1.5 Standard Edition"));
            QTest::mouseClick(about->findChild<QLabel*>(QStringLiteral("productLink")), Qt::LeftButton);
            about->accept();
            shown = true;
        });
        QVERIFY(ClickMenuEntry(kHelpMenu, QStringLiteral("&About Tavlix...")));
        QVERIFY(shown);
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
