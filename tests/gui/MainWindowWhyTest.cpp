#include <QMenu>
#include <QPlainTextEdit>
#include <QWindow>

#include "GuiTestSupport.h"
#include "MainWindowHarness.h"

using namespace tavlix;
using namespace tavlix::testing;

namespace {

const QString kWhyEntry = QStringLiteral("&Why Repetitive?\tCtrl+W");
const QString kNothing =
    QStringLiteral("No answer judged in the comments is the same as or similar to an earlier one.");
const QString kSimilar = QStringLiteral(
    "Answer 3, 2*3*4/1, is similar to answer 1, 1*2*3*4.\n"
    "Written in order they differ, 1*2*3*4 and 2*3*4/1, but both come to the normal answer 1*2*3*4: one solution "
    "written in two ways.\n"
    "Dividing by 1, raising to the power 1 and taking the root of index 1 all count as multiplying by 1.\n"
    "A factor 1 counts the same wherever it stands.");

}  // namespace

// Why Repetitive? on the comments pane, asked for as a player does: its context menu and
// Ctrl+W in the answer box.
class MainWindowWhyTest : public QObject, protected MainWindowHarness {
    Q_OBJECT

    // Right-clicks the comments pane; the menu that opens is handed to use, then closed
    // unless use chose an entry.
    void RightClickPane(const std::function<void(QMenu*)>& use)
    {
        bool opened = false;
        QTimer::singleShot(50, m_window.get(), [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            opened = menu != nullptr;
            if (!menu)
                return;
            use(menu);
            if (menu->isVisible())
                menu->close();
        });
        // Through the window, as the platform delivers a click: the press opens the menu.
        QWidget* viewport = Find<QPlainTextEdit>("commentsPane")->viewport();
        QTest::mouseClick(m_window->windowHandle(), Qt::RightButton, {}, viewport->mapTo(m_window.get(), QPoint(20, 20)));
        QTRY_VERIFY(opened);
    }

    static QAction* WhyAction(QMenu* menu)
    {
        const QList<QAction*> actions = menu->actions();
        const auto why = std::ranges::find(actions, kWhyEntry, &QAction::text);
        return why != actions.end() ? *why : nullptr;
    }

    void PressWhy() { QTest::keyClick(Find<QPlainTextEdit>("answerBox"), Qt::Key_W, Qt::ControlModifier); }

private slots:
    void init()
    {
        QVERIFY(ResetHarness());
        m_window = MakeWindow();
    }

    void cleanup() { m_window.reset(); }

    // Only a comment on screen that lists a repetitive line is explained.
    void whyExplainsTheRepetitiveLinesOfTheCommentShown()
    {
        TypeQuestion({"1", "2", "3", "4"});
        TypeAnswers(QStringLiteral("1*2*3*4\n4*(1+2+3)"));
        SubmitWithKeys();
        RightClickPane([](QMenu* menu) { QVERIFY(WhyAction(menu) && !WhyAction(menu)->isEnabled()); });
        SeenBox nothing;
        AnswerNextBox(nothing, kOk);
        PressWhy();
        QTRY_VERIFY(nothing.shown);
        QCOMPARE(nothing.text, kNothing);

        BackToWindow();
        TypeAnswers(QStringLiteral("1*2*3*4\n(1+3)*(2+4)\n\n2*3*4/1\n(4+2)*(3+1)"));
        SubmitWithKeys();
        SeenBox seen;
        AnswerNextBox(seen, kOk);
        RightClickPane([](QMenu* menu) {
            QAction* why = WhyAction(menu);
            QVERIFY(why && why->isEnabled());
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(why).center());
        });
        QTRY_VERIFY(seen.shown);
        QCOMPARE(seen.caption, QStringLiteral("Why Repetitive?"));
        QCOMPARE(seen.text, kSimilar + QStringLiteral("\n\nAnswer 4, (4+2)*(3+1), is the same as answer 2, (1+3)*(2+4).\n"
                                                      "Written in order, both are (1+3)*(2+4), and both come to the "
                                                      "normal answer (1+3)*(2+4): one solution written twice."));

        // A hint takes the comment's place in the pane.
        BackToWindow();
        QTest::keyClick(Find<QPlainTextEdit>("answerBox"), Qt::Key_H, Qt::ControlModifier);
        RightClickPane([](QMenu* menu) { QVERIFY(WhyAction(menu) && !WhyAction(menu)->isEnabled()); });
    }
};

TAVLIX_QTEST_MAIN(MainWindowWhyTest)
#include "MainWindowWhyTest.moc"
