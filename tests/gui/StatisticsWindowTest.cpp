#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QLabel>
#include <QLineSeries>
#include <QTableWidget>

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>

#include "MainWindowHarness.h"
#include "history/HistoryExport.h"
#include "history/HistoryStore.h"
#include "shell/StatisticsWindow.h"

using namespace tavlix;
using namespace tavlix::testing;

namespace {

const QString kToolsMenu = QStringLiteral("&Tools");
const QString kStatisticsEntry = QStringLiteral("&Statistics...");
constexpr std::int64_t kDay = 86400;
// The clock: 2023-11-14 22:13:20 UTC, a Tuesday; its day starts at kToday.
constexpr std::time_t kNow = 1'700'000'000;
constexpr std::int64_t kToday = 1'699'920'000;

class MemoryHistory : public HistoryStore {
public:
    bool Add(const AnswerRecord& record, std::string&) override
    {
        records.push_back(record);
        return true;
    }
    std::vector<AnswerRecord> LoadAll(std::string& error) const override
    {
        error = loadError;
        return records;
    }

    std::vector<AnswerRecord> records;
    std::string loadError;
};

AnswerRecord Answer(std::int64_t at, const char* question, AnswerVerdict verdict, std::int64_t seconds,
                    bool standardRule = true, bool jqk = false, int level = 1, bool hint = false)
{
    AnswerRecord r;
    r.answeredAt = at;
    r.question = question;
    r.standardRule = standardRule;
    r.jqk = jqk;
    r.level = level;
    r.millisecondsTaken = seconds * 1000;
    r.verdict = verdict;
    r.hintUsed = hint;
    return r;
}

// Three days in a row up to today and one day six weeks ago, oldest last, as a history
// need not keep them in order.
std::vector<AnswerRecord> HandMadeHistory()
{
    const auto correct = AnswerVerdict::Correct;
    const auto incorrect = AnswerVerdict::Incorrect;
    return {
        Answer(kToday + 3600, "1 3 8 8", incorrect, 20),
        Answer(kToday + 3700, "1 3 8 8", incorrect, 40, true, false, 1, true),
        Answer(kToday + 3800, "3 3 8 8", correct, 10),
        Answer(kToday + 3900, "1 2 3 4", correct, 5),
        Answer(kToday - kDay + 100, "1 2 3 4", correct, 6),
        Answer(kToday - kDay + 200, "1 5 5 5", incorrect, 30, true, false, 3),
        Answer(kToday - kDay + 300, "11 12 13 13", AnswerVerdict::Rejected, 50, false, true, 2),
        Answer(kToday - 2 * kDay + 100, "1 2 3 4", correct, 4),
        Answer(kToday - 40 * kDay, "1 1 1 1", incorrect, 60),
    };
}

std::string FileText(const QString& file)
{
    std::ostringstream bytes;
    bytes << std::ifstream(file.toStdString(), std::ios::binary).rdbuf();
    return bytes.str();
}

bool IsStatisticsWindow(QDialog* dialog) { return dialog->objectName() == QLatin1String("statisticsWindow"); }

}  // namespace

// Tools > Statistics in the main window over a history made by hand, played as a player
// would: the menu, the period box, a double click in the list, Export CSV, F1.
class StatisticsWindowTest : public QObject, protected MainWindowHarness {
    Q_OBJECT

    MemoryHistory m_memory;

    // Opens the window from the Tools menu and hands it to `use` while it is open; false
    // when it never opened.
    bool WithWindow(const std::function<void(QDialog*)>& use)
    {
        bool opened = false;
        OnNextDialog(
            qApp,
            [&](QDialog* window) {
                opened = true;
                use(window);
            },
            IsStatisticsWindow);
        // The window runs modal inside the click: it has come and gone when the click ends.
        return ClickMenuEntry(kToolsMenu, kStatisticsEntry) && opened;
    }

    static QString Figure(QDialog* window, const char* name)
    {
        return window->findChild<QLabel*>(QLatin1String(name))->text();
    }

    static QStringList Row(QDialog* window, int row)
    {
        auto* table = window->findChild<QTableWidget*>(QStringLiteral("hardestTable"));
        QStringList cells;
        for (int column = 0; column < table->columnCount(); ++column)
            cells << table->item(row, column)->text();
        return cells;
    }

    static void DoubleClickRow(QDialog* window, int row)
    {
        auto* table = window->findChild<QTableWidget*>(QStringLiteral("hardestTable"));
        const QPoint at = table->visualItemRect(table->item(row, 0)).center();
        // A double click as the window system delivers it: a click, then the second press.
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, at);
    }

    static void ChoosePeriod(QDialog* window, int index)
    {
        auto* box = window->findChild<QComboBox*>(QStringLiteral("periodBox"));
        box->setFocus();
        while (box->currentIndex() < index)
            QTest::keyClick(box, Qt::Key_Down);
    }

    QString Question() const
    {
        QStringList numbers;
        for (int i = 0; i < 4; ++i)
            numbers << Find<QLineEdit>(QStringLiteral("questionBox%1").arg(i).toLatin1().constData())->text();
        return numbers.join(QLatin1Char(' '));
    }

private slots:
    void initTestCase()
    {
        // Local days are UTC days here, so the hand-made days stay where they are.
        qputenv("TZ", "UTC");
        tzset();
    }

    void init()
    {
        QVERIFY(ResetHarness());
        m_clock.now = kNow;
        m_memory.records = HandMadeHistory();
        m_memory.loadError.clear();
        m_history = &m_memory;
        m_pickSaveFile = {};
        m_window = MakeWindow();
    }

    void cleanup() { m_window.reset(); }

    void entryIsThereOutsideGamesAndWithoutHistorySaysSo()
    {
        const MenuItem entry = Entry(kToolsMenu, kStatisticsEntry);
        QCOMPARE(entry, (MenuItem{kStatisticsEntry, true, false}));

        m_history = nullptr;
        m_window = MakeWindow();
        SeenBox notice;
        AnswerNextBox(notice, QStringLiteral("rightButton"));
        QVERIFY(ClickMenuEntry(kToolsMenu, kStatisticsEntry));
        QTRY_VERIFY(notice.shown);
        QCOMPARE(notice.text, QStringLiteral("Your answers are not being recorded in this session, so there are "
                                             "no statistics to show."));
    }

    void unreadableHistoryIsReportedAndWhatWasReadShown()
    {
        m_memory.loadError = "history-cannot-open: disk I/O error";
        SeenBox notice;
        AnswerNextBox(notice, QStringLiteral("rightButton"));
        QString answers;
        QVERIFY(WithWindow([&](QDialog* window) { answers = Figure(window, "answersFigure"); }));
        QCOMPARE(notice.text, QStringLiteral("The history of your answers could not be read completely:\n\n"
                                             "history-cannot-open: disk I/O error"));
        QCOMPARE(answers, QStringLiteral("Answers: 8"));

        // Nothing read: the notice, and no empty window after it.
        m_memory.records.clear();
        SeenBox second;
        AnswerNextBox(second, QStringLiteral("rightButton"));
        bool opened = false;
        OnNextDialog(qApp, [&](QDialog*) { opened = true; }, IsStatisticsWindow, 50);
        QVERIFY(ClickMenuEntry(kToolsMenu, kStatisticsEntry));
        QTRY_VERIFY(second.shown);
        QTest::qWait(700);
        QVERIFY(!opened);
    }

    void figuresChartsAndListFollowThePeriod()
    {
        QVERIFY(WithWindow([&](QDialog* window) {
            QCOMPARE(window->windowTitle(), QStringLiteral("Statistics"));
            QCOMPARE(Figure(window, "answersFigure"), QStringLiteral("Answers: 8"));
            QCOMPARE(Figure(window, "correctFigure"), QStringLiteral("Correct: 4 (50.0%)"));
            QCOMPARE(Figure(window, "medianTimeFigure"), QStringLiteral("Median time: 15.0 s"));
            QCOMPARE(Figure(window, "hintsFigure"), QStringLiteral("After a hint: 1"));
            QCOMPARE(Figure(window, "daysFigure"), QStringLiteral("Days practised: 3"));
            QCOMPARE(Figure(window, "streakFigure"), QStringLiteral("Streak: 3 days in a row"));

            // One point a day: the share correct and the median time in seconds.
            QChart* days = window->findChild<QChartView*>(QStringLiteral("dayChart"))->chart();
            auto* accuracy = days->findChild<QLineSeries*>(QStringLiteral("accuracySeries"));
            auto* time = days->findChild<QLineSeries*>(QStringLiteral("medianTimeSeries"));
            QVERIFY(accuracy && time);
            QCOMPARE(accuracy->count(), 3);
            QCOMPARE(accuracy->at(0).y(), 100.0);
            QCOMPARE(accuracy->at(1).y(), 100.0 / 3);
            QCOMPARE(accuracy->at(2).y(), 50.0);
            QCOMPARE(time->at(1).y(), 30.0);
            QCOMPARE(qint64(accuracy->at(2).x()), kToday * 1000);

            QChart* levels = window->findChild<QChartView*>(QStringLiteral("levelChart"))->chart();
            auto* series = levels->findChild<QBarSeries*>(QStringLiteral("levelSeries"));
            QVERIFY(series);
            QCOMPARE(series->count(), 2);
            QCOMPARE(series->barSets()[0]->label(), QStringLiteral("Standard Rule"));
            const auto counts = [](QBarSet* set) {
                QList<int> values;
                for (int i = 0; i < set->count(); ++i)
                    values << int(set->at(i));
                return values;
            };
            QCOMPARE(counts(series->barSets()[0]), (QList<int>{6, 0, 1, 0}));
            QCOMPARE(counts(series->barSets()[1]), (QList<int>{0, 1, 0, 0}));

            // Questions always answered well and quickly are not listed.
            auto* table = window->findChild<QTableWidget*>(QStringLiteral("hardestTable"));
            QCOMPARE(table->rowCount(), 3);
            QCOMPARE(Row(window, 0), (QStringList{"1 3 8 8", "Standard Rule", "1-10", "2", "0%", "30.0 s", "1"}));
            QCOMPARE(Row(window, 2),
                     (QStringList{"11 12 13 13", "Advanced Rule", "1-13", "1", "0%", "50.0 s", "0"}));

            // The answer of six weeks ago comes in with the longer periods.
            ChoosePeriod(window, 1);
            QCOMPARE(Figure(window, "answersFigure"), QStringLiteral("Answers: 9"));
            QCOMPARE(Figure(window, "daysFigure"), QStringLiteral("Days practised: 4"));
            QCOMPARE(Figure(window, "streakFigure"), QStringLiteral("Streak: 3 days in a row"));
            QCOMPARE(table->rowCount(), 4);
            QCOMPARE(Row(window, 0).first(), QStringLiteral("1 1 1 1"));
        }));
    }

    void streakReachesBeyondThePeriodAndEmptyPeriodsSaySo()
    {
        // Forty days in a row up to yesterday, none today, then nothing for a year.
        m_memory.records.clear();
        for (int day = 1; day <= 40; ++day)
            m_memory.records.push_back(Answer(kToday - day * kDay + 600, "1 2 3 4", AnswerVerdict::Correct, 5));
        QVERIFY(WithWindow([&](QDialog* window) {
            QCOMPARE(Figure(window, "daysFigure"), QStringLiteral("Days practised: 29"));
            QCOMPARE(Figure(window, "streakFigure"), QStringLiteral("Streak: 40 days in a row"));
        }));

        m_clock.now += 400 * kDay;
        QVERIFY(WithWindow([&](QDialog* window) {
            QCOMPARE(Figure(window, "answersFigure"), QStringLiteral("Answers: 0"));
            QCOMPARE(Figure(window, "correctFigure"), QStringLiteral("Correct: 0 (-)"));
            QCOMPARE(Figure(window, "streakFigure"), QStringLiteral("Streak: 0 days in a row"));
            QCOMPARE(window->findChild<QLabel*>(QStringLiteral("hardestNote"))->text(),
                     QStringLiteral("No answers in this period."));
            QVERIFY(!window->findChild<QPushButton*>(QStringLiteral("exportButton"))->isEnabled());
        }));
    }

    void doubleClickOpensTheQuestionWithItsRuleAndRange()
    {
        QVERIFY(m_window->IsStandardRule());
        TypeAnswers(QStringLiteral("8/(3-8/3)"));
        bool closed = false;
        QVERIFY(WithWindow([&](QDialog* window) {
            DoubleClickRow(window, 2);
            closed = !window->isVisible();
        }));
        QVERIFY(closed);
        QCOMPARE(Question(), QStringLiteral("11 12 13 13"));
        QVERIFY(!m_window->IsStandardRule());
        QVERIFY(m_window->IsJqkEnabled());
        QCOMPARE(Find<QPlainTextEdit>("answerBox")->toPlainText(), QString());

        // Back to numbers up to 10: the switch the player would click first.
        QVERIFY(WithWindow([&](QDialog* window) { DoubleClickRow(window, 0); }));
        QCOMPARE(Question(), QStringLiteral("1 3 8 8"));
        QVERIFY(m_window->IsStandardRule());
        QVERIFY(!m_window->IsJqkEnabled());
        QCOMPARE(m_window->CurrentRun().Mode(), RunMode::Free);
    }

    void aTrainingKeepsItsQuestion()
    {
        const std::pair<const char*, std::uint32_t> plan[] = {
            {"Standard", 1},       {"JQK", 0},         {"Difficulty Level", 1}, {"Full Set", 1},
            {"Have Solution", 1},  {"No Solution", 0}, {"Full Range", 0},       {"Data Range Start", 1},
            {"Data Range End", 0}, {"Start 1", 3},     {"Start 2", 3},          {"Start 3", 8},
            {"Start 4", 8},
            {"Randomly", 0},       {"Ascending", 1},   {"Question Count", 5},   {"Time", 0},
        };
        for (const auto& [name, value] : plan)
            m_store.WriteInt("Training", name, value);
        OnNextDialog(m_window.get(), [](QDialog* dialog) {
            dialog->findChild<QAbstractButton*>(QStringLiteral("okButton"))->click();
        });
        SeenBox rules;
        AnswerNextBox(rules, QStringLiteral("rightButton"));
        QTest::mouseClick(Find<QWidget>("toolbar32799"), Qt::LeftButton);
        QTRY_VERIFY(rules.shown);
        QCOMPARE(m_window->CurrentRun().Mode(), RunMode::Training);
        const QString question = Question();

        SeenBox notice;
        bool stillOpen = false;
        QVERIFY(WithWindow([&](QDialog* window) {
            AnswerNextBox(notice, QStringLiteral("rightButton"));
            DoubleClickRow(window, 0);
            stillOpen = window->isVisible();
        }));
        QVERIFY(stillOpen);
        QCOMPARE(notice.text, QStringLiteral("A question opens in the main window only when no training is "
                                             "running. Please stop the training first."));
        QCOMPARE(Question(), question);
    }

    void exportWritesTheAnswersOfThePeriodWhole()
    {
        QTemporaryDir scratch;
        const QString target = scratch.filePath(QStringLiteral("mine"));
        QString offeredFilter;
        m_pickSaveFile = [&](QWidget*, const QString&, const QString&, const QString& filter) {
            offeredFilter = filter;
            return target;
        };
        m_window = MakeWindow();
        QVERIFY(WithWindow([&](QDialog* window) {
            ChoosePeriod(window, 3);
            QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("exportButton")), Qt::LeftButton);
        }));
        QCOMPARE(offeredFilter, QStringLiteral("CSV File (*.csv);;All Files (*.*)"));
        std::vector<AnswerRecord> sorted = HandMadeHistory();
        std::stable_sort(sorted.begin(), sorted.end(),
                         [](const AnswerRecord& a, const AnswerRecord& b) { return a.answeredAt < b.answeredAt; });
        QCOMPARE(FileText(target + QStringLiteral(".csv")), HistoryToCsv(sorted));
        QVERIFY(!QFileInfo::exists(target));
    }

    void exportThatCannotWriteSaysWhyAndLeavesTheFilesAlone()
    {
        // The folder asked for is a file: nothing can be written beneath it.
        QTemporaryDir scratch;
        const QString blocker = scratch.filePath(QStringLiteral("notes.txt"));
        std::ofstream(blocker.toStdString()) << "kept";
        const QString target = blocker + QStringLiteral("/answers.csv");
        m_pickSaveFile = [&](QWidget*, const QString&, const QString&, const QString&) { return target; };
        m_window = MakeWindow();
        SeenBox notice;
        QVERIFY(WithWindow([&](QDialog* window) {
            AnswerNextBox(notice, QStringLiteral("rightButton"));
            QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("exportButton")), Qt::LeftButton);
        }));
        QVERIFY(notice.shown);
        QVERIFY2(notice.text.startsWith(QStringLiteral("The answers could not be saved to ") + target + ":\n\n"),
                 qPrintable(notice.text));
        QVERIFY(notice.text.endsWith(QStringLiteral("\n\nNothing was written.")));
        QCOMPARE(FileText(blocker), std::string("kept"));
        QCOMPARE(QDir(scratch.path()).entryList(QDir::Files | QDir::NoDotAndDotDot), QStringList{"notes.txt"});
    }

    void f1OpensItsHelpPage()
    {
        QVERIFY(WithWindow([&](QDialog* window) {
            QTest::keyClick(window->findChild<QTableWidget*>(QStringLiteral("hardestTable")), Qt::Key_F1);
        }));
        QCOMPARE(m_helpTopics, std::vector<int>{kStatisticsHelpTopic});
    }
};

TAVLIX_QTEST_MAIN(StatisticsWindowTest)
#include "StatisticsWindowTest.moc"
