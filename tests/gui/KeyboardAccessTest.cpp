#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>

#include <algorithm>

#include "KeyboardFaults.h"
#include "MainWindowHarness.h"
#include "history/HistoryStore.h"
#include "runs/RankingNameDlg.h"
#include "settings/OptionsDlg.h"
#include "settings/UserDataDirDlg.h"

using namespace tavlix;
using namespace tavlix::testing;

namespace {

// The visible texts of a window (labels, buttons with text, boxes) that do not get the
// room they ask for, or stick out of the window: what a player would see cut off.
QString ClippedTexts(QWidget* window)
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
    return clipped.join(QStringLiteral("; "));
}

// Keeps the window's picture as the screen shows it, for a person to look at.
void Photograph(QWidget* window, const QString& name)
{
    QDir().mkpath(QStringLiteral(TAVLIX_SCREENSHOT_DIR));
    const QString file = QStringLiteral(TAVLIX_SCREENSHOT_DIR "/%1-x%2.png").arg(name).arg(window->devicePixelRatio());
    QVERIFY(window->grab().save(file));
}

// A history of two answers, enough for every part of the Statistics window to show.
class TwoAnswers : public HistoryStore {
public:
    bool Add(const AnswerRecord&, std::string&) override { return true; }
    std::vector<AnswerRecord> LoadAll(std::string&) const override
    {
        return {{1'699'990'000, "3 3 8 8", true, false, RunMode::Free, 1, 9000, AnswerVerdict::Correct, false},
                {1'699'995'000, "1 5 5 5", true, false, RunMode::Free, 1, 30000, AnswerVerdict::Incorrect, true}};
    }
};

}  // namespace

// Every window of the program is usable from the keyboard and with a screen reader: Tab
// reaches each control, picture buttons answer Space and Enter, and every control has a
// name a screen reader can say.
class KeyboardAccessTest : public QObject, protected MainWindowHarness {
    Q_OBJECT

    // Opens the dialog of a menu entry and returns what the keyboard and a screen reader
    // find wrong in it; inspect sees it before it closes.
    QString FaultsOfDialog(const QString& menu, const QString& entry, std::function<void(QDialog*)> inspect = {})
    {
        QString faults = QStringLiteral("no dialog came");
        OnNextDialog(m_window.get(), [&](QDialog* dialog) {
            faults = KeyboardFaults(dialog);
            if (inspect)
                inspect(dialog);
            if (auto* box = qobject_cast<CBMMessageBox*>(dialog))  // a question needs an answer
                box->findChild<QAbstractButton*>(QStringLiteral("rightButton"))->click();
        });
        if (!ClickMenuEntry(menu, entry))
            return QStringLiteral("no entry ") + entry;
        BackToWindow();
        return faults;
    }

private slots:
    void init()
    {
        m_history = nullptr;
        QVERIFY(ResetHarness());
        m_window = MakeWindow();
    }

    void cleanup() { m_window.reset(); }

    void theMainWindow()
    {
        QCOMPARE(m_window->focusWidget(), Find<QWidget>("questionBox0"));
        QCOMPARE(KeyboardFaults(m_window.get()), QString());
        // The arrows' work from the keyboard.
        auto* box = Find<QLineEdit>("questionBox2");
        box->setFocus();
        QTest::keyClick(m_window->windowHandle(), Qt::Key_Up);
        QTest::keyClick(m_window->windowHandle(), Qt::Key_Up);
        QTest::keyClick(m_window->windowHandle(), Qt::Key_Down);
        QCOMPARE(box->text(), QStringLiteral("1"));
        // A toolbar button from the keyboard: Space and Enter.
        auto* jqk = Find<QWidget>("toolbar32798");
        jqk->setFocus();
        QTest::keyClick(m_window->windowHandle(), Qt::Key_Space);
        QVERIFY(!m_window->IsJqkEnabled());
        QTest::keyClick(m_window->windowHandle(), Qt::Key_Return);
        QTRY_VERIFY(m_window->IsJqkEnabled());
        // A picture button and the link look different when Tab reaches them.
        for (const char* name : {"toolbar32798", "hyperlink"}) {
            auto* control = Find<QWidget>(name);
            Find<QWidget>("questionBox0")->setFocus(Qt::TabFocusReason);
            const QImage unfocused = control->grab().toImage();
            control->setFocus(Qt::TabFocusReason);
            QVERIFY2(control->grab().toImage() != unfocused, name);
        }
    }

    void everyDialog_data()
    {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("entry");
        const QString game = QStringLiteral("&Game"), tools = QStringLiteral("&Tools");
        QTest::newRow("training plan") << game << "T&raining...";
        QTest::newRow("world cup") << game << "&World Cup...";
        QTest::newRow("save to my favorites") << game << "Save to \"&My Favorites\"...";
        QTest::newRow("exit prompt") << game << "E&xit";
        QTest::newRow("trouble makers") << tools << "T&rouble Makers...";
        QTest::newRow("instant solutions") << tools << "&Instant Solutions...";
        QTest::newRow("complete list") << tools << "&Complete List of All Solutions for Calculating 24...";
        QTest::newRow("background") << "&UI" << "&Background...";
        QTest::newRow("music") << "&Music" << "&Background Music...";
        QTest::newRow("about") << "&Help" << "&About Tavlix...";
    }

    void everyDialog()
    {
        QFETCH(QString, menu);
        QFETCH(QString, entry);
        TypeQuestion({"3", "3", "8", "8"});
        QCOMPARE(FaultsOfDialog(menu, entry), QString());
    }

    void theStatistics()
    {
        TwoAnswers history;
        m_history = &history;
        m_window = MakeWindow();
        QCOMPARE(FaultsOfDialog(QStringLiteral("&Tools"), QStringLiteral("&Statistics...")), QString());
    }

    // Dialogs that open from places the main window does not reach in a test.
    void dialogsOfTheirOwn()
    {
        OptionsDlg options(*m_userData, m_language, {}, m_window.get());
        options.show();
        QCOMPARE(KeyboardFaults(&options), QString());
        options.close();
        RankingNameDlg name(*m_profile, m_language, RankingKind::Amateur, {}, m_window.get());
        name.show();
        QCOMPARE(KeyboardFaults(&name), QString());
        name.close();
        UserDataDirDlg folder(*m_userData, m_language, {}, m_window.get());
        folder.show();
        QCOMPARE(KeyboardFaults(&folder), QString());
    }

    // The dialogs a collection opens: a new question (kept, so that there is something to
    // export), then the export.
    void theDialogsOfACollection()
    {
        QStringList faults;
        const auto inspectNext = [&faults](QDialog* collection, std::function<void(QDialog*)> then) {
            OnNextDialog(
                collection,
                [&faults, then](QDialog* opened) {
                    faults << opened->objectName() + QStringLiteral(": ") + KeyboardFaults(opened);
                    then(opened);
                },
                [collection](QDialog* dialog) { return dialog != collection; });
        };
        OnNextDialog(m_window.get(), [&](QDialog* collection) {
            inspectNext(collection, [](QDialog* item) {
                QTest::keyClicks(item->findChild<QLineEdit*>(QStringLiteral("questionEdit")), QStringLiteral("1 2 3 4"));
                item->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
            });
            QTest::mouseClick(collection->findChild<QPushButton*>(QStringLiteral("addButton")), Qt::LeftButton);
            inspectNext(collection, [](QDialog*) {});
            QTest::mouseClick(collection->findChild<QPushButton*>(QStringLiteral("exportButton")), Qt::LeftButton);
        });
        QVERIFY(ClickMenuEntry(QStringLiteral("&Tools"), QStringLiteral("T&rouble Makers...")));
        BackToWindow();
        QCOMPARE(faults, (QStringList{"collectionItemDlg: ", "textExportDlg: "}));
    }

    // The World Cup dialog in the order of its look, and its rankings opened with Enter
    // and Space on their picture buttons.
    void theWorldCupFromTheKeyboard()
    {
        QStringList order;
        QStringList rankings;
        FaultsOfDialog(QStringLiteral("&Game"), QStringLiteral("&World Cup..."), [&](QDialog* cup) {
            cup->findChild<QWidget*>(QStringLiteral("standardRuleRadio"))->setFocus();
            for (int i = 0; i < 7; ++i) {
                order << cup->focusWidget()->objectName();
                QTest::keyClick(cup->windowHandle(), Qt::Key_Tab);
            }
            for (const auto& [button, key] : {std::pair{"amateurRankingButton", Qt::Key_Return},
                                              std::pair{"professionalRankingButton", Qt::Key_Space}}) {
                cup->findChild<QWidget*>(QLatin1String(button))->setFocus();
                OnNextDialog(
                    cup,
                    [&](QDialog* ranking) {
                        rankings << ranking->windowTitle() + QStringLiteral(": ") + KeyboardFaults(ranking);
                    },
                    [](QDialog* dialog) { return dialog->objectName() == QLatin1String("rankingDlg"); });
                const qsizetype opened = rankings.size();
                QTest::keyClick(cup->windowHandle(), key);
                QTRY_COMPARE(rankings.size(), opened + 1);
            }
        });
        QCOMPARE(order, (QStringList{"standardRuleRadio", "jqkCheck", "amateurRankingButton",
                                     "professionalRankingButton", "rulesButton", "okButton", "cancelButton"}));
        QCOMPARE(rankings, (QStringList{"World Ranking for Amateurs - Standard Level: ",
                                        "World Ranking for Professional Players - Standard Level: "}));
    }
    // Nothing is cut off in the main window and the plan dialog, in free play and in a
    // run. Run again at twice the size (QT_SCALE_FACTOR=2), it keeps the screenshots.
    void nothingIsCutOff()
    {
        if (qEnvironmentVariableIsSet("QT_SCALE_FACTOR"))
            QCOMPARE(m_window->devicePixelRatio(), qEnvironmentVariable("QT_SCALE_FACTOR").toDouble());
        TypeQuestion({"3", "3", "8", "8"});
        TypeAnswers(QStringLiteral("8/(3-8/3)"));
        ClickSubmit();
        QCOMPARE(ClippedTexts(m_window.get()), QString());
        Photograph(m_window.get(), QStringLiteral("main-window"));

        StorePlan("Training Game", 5);
        QString planClipped = QStringLiteral("no plan dialog");
        OnNextDialog(m_window.get(), [&planClipped](QDialog* plan) {
            planClipped = ClippedTexts(plan);
            Photograph(plan, QStringLiteral("plan-dialog"));
            plan->findChild<QAbstractButton*>(QStringLiteral("okButton"))->click();
        });
        SeenBox note;
        AnswerNextBox(note, kOk);
        ClickToolbar("toolbar32802");
        QCOMPARE(planClipped, QString());
        BackToWindow();
        TypeAnswers(QStringLiteral("3*3+8+8"));
        ClickSubmit();
        QTest::mouseClick(Find<QPushButton>("nextButton"), Qt::LeftButton);
        QCOMPARE(ClippedTexts(m_window.get()), QString());
        Photograph(m_window.get(), QStringLiteral("main-window-in-a-run"));
    }
};

TAVLIX_QTEST_MAIN(KeyboardAccessTest)
#include "KeyboardAccessTest.moc"
