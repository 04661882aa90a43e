#include <QToolButton>

#include "MainWindowHarness.h"
#include "shell/CommandTable.h"

using namespace tavlix;
using namespace tavlix::testing;

namespace {

const QString kGameMenu = QStringLiteral("&Game");
const QString kHintEntry = QStringLiteral("&Hint\tCtrl+H");
// The first step also says what the question needs.
const QString kOneSolution = QStringLiteral("Hint 1 of 3: the question has one solution under Standard Rule.\n"
                                            "This question needs a fraction on the way, a division and a subtraction.");
const QString kStartWith = QStringLiteral("Hint 2 of 3: start with 8/3.");
const QString kWholeSolution = QStringLiteral("Hint 3 of 3: a solution that your answers do not give yet is 8/(3-8/3)");

QString Steps(std::initializer_list<QString> steps)
{
    return QStringList(steps).join(QStringLiteral("\n\n"));
}

}  // namespace

// The graded hints of the main window, asked for as a player does: the Game menu entry
// and Ctrl+H in the answer box.
class MainWindowHintTest : public QObject, protected MainWindowHarness {
    Q_OBJECT

    void PressHint() { QTest::keyClick(Find<QPlainTextEdit>("answerBox"), Qt::Key_H, Qt::ControlModifier); }

private slots:
    void init()
    {
        QVERIFY(ResetHarness());
        m_window = MakeWindow();
    }

    void cleanup() { m_window.reset(); }

    void stepsAdvanceUpToTheWholeSolution()
    {
        QVERIFY(!Entry(kGameMenu, kHintEntry).enabled);  // no question yet
        TypeQuestion({"3", "3", "8", "8"});
        QMenu* game = OpenMenu(kGameMenu);
        QVERIFY(game && game->toolTipsVisible());
        for (QAction* action : game->actions())
            if (action->text() == kHintEntry)
                QCOMPARE(action->toolTip(), QStringLiteral("Hint (Ctrl+H): first how many solutions there are, then "
                                                           "how one that you have not given yet starts, then that "
                                                           "whole solution"));
        QTest::keyClick(game, Qt::Key_Escape);
        QVERIFY(ClickMenuEntry(kGameMenu, kHintEntry));
        QCOMPARE(Pane(), kOneSolution);
        PressHint();
        QCOMPARE(Pane(), Steps({kOneSolution, kStartWith}));
        PressHint();
        PressHint();
        QCOMPARE(Pane(), Steps({kOneSolution, kStartWith, kWholeSolution}));

        // The answer gives the one solution: nothing is left to hint at.
        TypeAnswers(QStringLiteral("8/(3-8/3)"));
        PressHint();
        QCOMPARE(Pane(), QStringLiteral("Hint: the question has one solution under Standard Rule, and your answers "
                                        "already give it."));
    }

    // A hint that no longer holds goes when the question, the rule or the range changes;
    // anything else in the pane stays.
    void aNewQuestionRuleOrRangeStartsAgain()
    {
        TypeQuestion({"3", "3", "8", "8"});
        PressHint();
        PressHint();
        auto* box = Find<QLineEdit>("questionBox3");
        box->clear();
        QCOMPARE(Pane(), QString());
        QTest::keyClicks(box, QStringLiteral("4"));
        PressHint();
        QCOMPARE(Pane(), QStringLiteral("Hint 1 of 3: the question has 3 really different solutions under Standard "
                                        "Rule.\nThis question needs a subtraction."));
        QTest::mouseClick(Find<QToolButton>("spinUp3"), Qt::LeftButton);  // the arrows beside a box too
        QCOMPARE(Pane(), QString());

        TypeQuestion({"9", "8", "4", "2"});
        PressHint();
        ClickToolbar("toolbar32774");  // the Advanced rule
        QCOMPARE(Pane(), QString());
        PressHint();
        QCOMPARE(Pane(), QStringLiteral("Hint 1 of 3: the question has 5 really different solutions under Advanced "
                                        "Rule.\nThis question needs no technique in particular: there is a way around "
                                        "each of them."));
        ClickToolbar("toolbar32798");  // J, Q, K off: the question stays, the range changes
        QCOMPARE(Pane(), QString());
        QVERIFY(ClickMenuEntry(kGameMenu, QStringLiteral("&Check Solution\tCtrl+S")));
        const QString solutions = Pane();
        ClickToolbar("toolbar32798");
        QCOMPARE(Pane(), solutions);
    }

    void aNewLanguageRewordsTheHint()
    {
        TypeQuestion({"3", "3", "8", "8"});
        PressHint();
        PressHint();
        QVERIFY(ClickMenuEntry(QStringLiteral("&UI"), QStringLiteral("&Simplified Chinese (简体中文)")));
        QCOMPARE(Pane(), QStringLiteral("提示（1/3）：这道题目在标准规则下只有一个解法。\n这道题离不开中途的分数、除法和减法。"
                                        "\n\n提示（2/3）：先算 8/3。"));
        PressHint();
        QVERIFY(Pane().endsWith(QStringLiteral("提示（3/3）：你的答案还没有给出的一个解法是 8/(3-8/3)")));
    }

    // A Training gives hints, starting again with each question; where a score counts
    // there is none.
    void hintsInRuns_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<bool>("hints");
        QTest::newRow("Training") << int(ID_TRAINING) << true;
        QTest::newRow("Training Game") << int(ID_TRAINING_GAME) << false;
        QTest::newRow("World Cup") << int(ID_WORLD_CUP) << false;
    }

    void hintsInRuns()
    {
        QFETCH(int, command);
        QFETCH(bool, hints);
        StorePlan(hints ? "Training" : "Training Game");
        StartFromToolbar(command);
        QVERIFY(m_window->CurrentRun().Mode() != RunMode::Free);
        QCOMPARE(Entry(kGameMenu, kHintEntry), (MenuItem{kHintEntry, hints, false}));
        const QString before = Pane();
        PressHint();
        PressHint();
        if (!hints) {
            QCOMPARE(Pane(), before);
            return;
        }
        QCOMPARE(Pane(), Steps({kOneSolution, kStartWith}));
        QTest::keyClick(Find<QPlainTextEdit>("answerBox"), Qt::Key_Right, Qt::ControlModifier);
        QVERIFY(!Pane().startsWith(QStringLiteral("Hint")));
        PressHint();
        QVERIFY(Pane().startsWith(QStringLiteral("Hint 1 of 3:")) && !Pane().contains(QStringLiteral("Hint 2 of 3")));
    }
};

TAVLIX_QTEST_MAIN(MainWindowHintTest)

#include "MainWindowHintTest.moc"
