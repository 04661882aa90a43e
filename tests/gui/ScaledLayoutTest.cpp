#include <QDir>
#include <QLabel>

#include "MainWindowHarness.h"
#include "shell/CommandTable.h"

using namespace tavlix;
using namespace tavlix::testing;

namespace {

// The visible texts of a window (labels, buttons with text, boxes) that do not get the
// room they ask for, or stick out of the window: what a player would see cut off.
QStringList ClippedTexts(QWidget* window)
{
    QStringList clipped;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        const auto* label = qobject_cast<QLabel*>(w);
        const auto* button = qobject_cast<QAbstractButton*>(w);
        const bool showsText = (label && !label->text().isEmpty()) || (button && !button->text().isEmpty()) ||
                               qobject_cast<QLineEdit*>(w);
        if (!w->isVisibleTo(window) || !showsText)
            continue;
        const bool wraps = label && label->wordWrap();
        // A box for one number needs the height of its text, not the width of a sentence.
        const bool fitsWidth = wraps || qobject_cast<QLineEdit*>(w) || w->width() >= w->sizeHint().width();
        const int neededHeight = wraps ? label->heightForWidth(w->width()) : w->sizeHint().height();
        const QRect inWindow(w->mapTo(window, QPoint()), w->size());
        if (!fitsWidth || w->height() < neededHeight || !window->rect().contains(inWindow))
            clipped << QStringLiteral("%1 %2x%3, wants %4x%5")
                           .arg(w->objectName())
                           .arg(w->width())
                           .arg(w->height())
                           .arg(w->sizeHint().width())
                           .arg(neededHeight);
    }
    return clipped;
}

// Keeps the window's picture as the screen shows it, for a person to look at.
void Photograph(QWidget* window, const QString& name)
{
    QDir().mkpath(QStringLiteral(TAVLIX_SCREENSHOT_DIR));
    QVERIFY(window->grab().save(QStringLiteral(TAVLIX_SCREENSHOT_DIR "/%1.png").arg(name)));
}

}  // namespace

// At twice the size (QT_SCALE_FACTOR=2), nothing in the main window and the plan dialog
// is cut off, in free play and in a run.
class ScaledLayoutTest : public QObject, protected MainWindowHarness {
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(ResetHarness());
        m_window = MakeWindow();
    }

    void cleanup() { m_window.reset(); }

    void mainWindowAndPlanDialog()
    {
        QCOMPARE(m_window->devicePixelRatio(), 2.0);
        TypeQuestion({"3", "3", "8", "8"});
        TypeAnswers(QStringLiteral("8/(3-8/3)"));
        ClickSubmit();
        const QStringList clipped = ClippedTexts(m_window.get());
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(QStringLiteral("; "))));
        Photograph(m_window.get(), QStringLiteral("main-window"));

        StorePlan("Training Game", 5);
        QStringList planClipped{QStringLiteral("no plan dialog")};
        OnNextDialog(m_window.get(), [&planClipped](QDialog* plan) {
            planClipped = ClippedTexts(plan);
            Photograph(plan, QStringLiteral("plan-dialog"));
            plan->findChild<QAbstractButton*>(QStringLiteral("okButton"))->click();
        });
        SeenBox note;
        AnswerNextBox(note, kOk);
        ClickToolbar("toolbar32802");
        QVERIFY2(planClipped.isEmpty(), qPrintable(planClipped.join(QStringLiteral("; "))));
        BackToWindow();
        TypeAnswers(QStringLiteral("3*3+8+8"));
        ClickSubmit();
        QTest::mouseClick(Find<QPushButton>("nextButton"), Qt::LeftButton);
        const QStringList clippedInRun = ClippedTexts(m_window.get());
        QVERIFY2(clippedInRun.isEmpty(), qPrintable(clippedInRun.join(QStringLiteral("; "))));
        Photograph(m_window.get(), QStringLiteral("main-window-in-a-run"));
    }
};

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    ScaledLayoutTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ScaledLayoutTest.moc"
