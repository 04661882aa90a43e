#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QGraphicsTextItem>
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
#include "history/StatisticsWindow.h"

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
    return {at, question, standardRule, jqk, RunMode::Free, level, seconds * 1000, verdict, hint};
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

    // Opens the window from the Tools menu and hands it to `use` while it is open (it runs
    // modal inside the click); false when it never opened.
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
        return ClickMenuEntry(kToolsMenu, kStatisticsEntry) && opened;
    }

    template <typename T>
    static T* Child(QDialog* window, const char* name)
    {
        return window->findChild<T*>(QLatin1String(name));
    }
    static QString Figure(QDialog* window, const char* name) { return Child<QLabel>(window, name)->text(); }
    // Answers, correct, median time, hints, days practised, streak.
    static QStringList Figures(QDialog* window)
    {
        QStringList texts;
        for (const char* name : {"answersFigure", "correctFigure", "medianTimeFigure", "hintsFigure", "daysFigure",
                                 "streakFigure"})
            texts << Figure(window, name);
        return texts;
    }
    static void ClickExport(QDialog* window)
    {
        QTest::mouseClick(Child<QPushButton>(window, "exportButton"), Qt::LeftButton);
    }

    static QStringList Row(QDialog* window, int row)
    {
        auto* table = Child<QTableWidget>(window, "hardestTable");
        QStringList cells;
        for (int column = 0; column < table->columnCount(); ++column)
            cells << table->item(row, column)->text();
        return cells;
    }

    static void DoubleClickRow(QDialog* window, int row)
    {
        auto* table = Child<QTableWidget>(window, "hardestTable");
        const QPoint at = table->visualItemRect(table->item(row, 0)).center();
        // A double click as the window system delivers it: a click, then the second press.
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, at);
    }

    static void ChoosePeriod(QDialog* window, int index)
    {
        auto* box = Child<QComboBox>(window, "periodBox");
        box->setFocus();
        while (box->currentIndex() < index)
            QTest::keyClick(box, Qt::Key_Down);
    }

    // The labels drawn left of or below the chart's plot area, from the foot of the axis
    // up or from left to right, as the player reads them.
    static QStringList AxisLabels(QChartView* view, Qt::Alignment side)
    {
        QApplication::processEvents();
        const QRectF plot = view->chart()->plotArea();
        QMap<qreal, QString> labels;
        for (QGraphicsItem* item : view->scene()->items()) {
            auto* text = dynamic_cast<QGraphicsTextItem*>(item);
            if (!text || !text->isVisible() || text->toPlainText().isEmpty())
                continue;
            const QRectF at = text->sceneBoundingRect();
            if (side == Qt::AlignLeft && at.right() <= plot.left())
                labels.insert(-at.center().y(), text->toPlainText());
            if (side == Qt::AlignBottom && at.top() >= plot.bottom() && at.top() < plot.bottom() + at.height())
                labels.insert(at.center().x(), text->toPlainText());
        }
        return labels.values();
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
        // The release notes of a first start would open at any time in the first tick.
        m_store.WriteString("App", "Release Note 1.5", "1");
        m_window = MakeWindow();
    }

    void cleanup() { m_window.reset(); }

    // Without a history, or with nothing readable in it, the notice comes and no window;
    // with part of it read, the notice and then the window over what was read.
    void aMissingOrUnreadableHistoryIsReported()
    {
        m_memory.loadError = "history-cannot-open: disk I/O error";
        SeenBox notice;
        AnswerNextBox(notice, kOk);
        QString answers;
        QVERIFY(WithWindow([&](QDialog* window) { answers = Figure(window, "answersFigure"); }));
        QCOMPARE(notice.text, QStringLiteral("The history of your answers could not be read completely:\n\n"
                                             "history-cannot-open: disk I/O error"));
        QCOMPARE(answers, QStringLiteral("Answers: 8"));

        for (HistoryStore* history : {static_cast<HistoryStore*>(&m_memory), static_cast<HistoryStore*>(nullptr)}) {
            m_memory.records.clear();
            m_history = history;
            m_window = MakeWindow();
            SeenBox second;
            AnswerNextBox(second, kOk);
            bool opened = false;
            OnNextDialog(qApp, [&](QDialog*) { opened = true; }, IsStatisticsWindow, 50);
            QVERIFY(ClickMenuEntry(kToolsMenu, kStatisticsEntry));
            QTRY_VERIFY(second.shown);
            QTest::qWait(700);
            QVERIFY(!opened);
            if (!history)
                QCOMPARE(second.text, QStringLiteral("Your answers are not being recorded in this session, so there "
                                                     "are no statistics to show."));
        }
    }

    void figuresChartsAndListFollowThePeriod()
    {
        QVERIFY(WithWindow([&](QDialog* window) {
            QCOMPARE(window->windowTitle(), QStringLiteral("Statistics"));
            QCOMPARE(Figures(window), (QStringList{"Answers: 8", "Correct: 4 (50.0%)", "Median time: 15.0 s",
                                                   "After a hint: 1", "Days practised: 3", "Streak: 3 days in a row"}));

            // One point a day: the share correct and the median time in seconds.
            QChart* days = Child<QChartView>(window, "dayChart")->chart();
            auto* accuracy = days->findChild<QLineSeries*>(QStringLiteral("accuracySeries"));
            auto* time = days->findChild<QLineSeries*>(QStringLiteral("medianTimeSeries"));
            QVERIFY(accuracy && time);
            QCOMPARE(accuracy->points(), (QList<QPointF>{{(kToday - 2 * kDay) * 1000.0, 100.0},
                                                         {(kToday - kDay) * 1000.0, 100.0 / 3},
                                                         {kToday * 1000.0, 50.0}}));
            QCOMPARE(time->at(1).y(), 30.0);

            auto* levels = Child<QChartView>(window, "levelChart")->chart()->findChild<QBarSeries*>("levelSeries");
            QVERIFY(levels && levels->count() == 2);
            QCOMPARE(levels->barSets()[0]->label(), QStringLiteral("Standard Rule"));
            QList<QList<int>> counts;
            for (QBarSet* set : levels->barSets()) {
                counts.append(QList<int>());
                for (int i = 0; i < set->count(); ++i)
                    counts.back() << int(set->at(i));
            }
            QCOMPARE(counts, (QList<QList<int>>{{6, 0, 1, 0}, {0, 1, 0, 0}}));

            // Questions always answered well and quickly are not listed.
            auto* table = Child<QTableWidget>(window, "hardestTable");
            QCOMPARE(table->rowCount(), 3);
            QCOMPARE(Row(window, 0), (QStringList{"1 3 8 8", "Standard Rule", "1-10", "2", "0%", "30.0 s", "1"}));
            QCOMPARE(Row(window, 2),
                     (QStringList{"11 12 13 13", "Advanced Rule", "1-13", "1", "0%", "50.0 s", "0"}));

            // The answer of six weeks ago comes in with the longer periods.
            ChoosePeriod(window, 1);
            QCOMPARE(Figures(window), (QStringList{"Answers: 9", "Correct: 4 (44.4%)", "Median time: 20.0 s",
                                                   "After a hint: 1", "Days practised: 4", "Streak: 3 days in a row"}));
            QCOMPARE(table->rowCount(), 4);
            QCOMPARE(Row(window, 0).first(), QStringLiteral("1 1 1 1"));

            QTest::keyClick(table, Qt::Key_F1);
        }));
        QCOMPARE(m_helpTopics, std::vector<int>{kStatisticsHelpTopic});
    }

    // 3 3 8 8 and 1 5 5 5 need a fraction, a division and a subtraction; 1 2 3 4, 1 3 8 8
    // and, under the Advanced rule, 11 12 13 13 need nothing in particular.
    void techniqueTableShowsEachTechniquesAnswers()
    {
        QVERIFY(WithWindow([&](QDialog* window) {
            QCOMPARE(Figure(window, "techniqueNote"),
                     QStringLiteral("Accuracy and median time per technique (an answer counts for every technique "
                                    "its question needs):"));
            auto* table = Child<QTableWidget>(window, "techniqueTable");
            QCOMPARE(table->rowCount(), 9);
            const auto row = [table](int r) {
                QStringList cells;
                for (int column = 0; column < table->columnCount(); ++column)
                    cells << table->item(r, column)->text();
                return cells;
            };
            QCOMPARE(row(0), (QStringList{"Fraction on the way", "2", "50%", "20.0 s"}));
            QCOMPARE(row(1), (QStringList{"Negative number on the way", "0", "-", "-"}));
            QCOMPARE(row(5), (QStringList{"Subtraction", "2", "50%", "20.0 s"}));
            ChoosePeriod(window, 3);  // the answer to 1 1 1 1 counts for nothing: it has no solution
            QCOMPARE(row(8), (QStringList{"Plain (no technique needed)", "6", "50%", "13.0 s"}));
        }));
    }

    void streakReachesBeyondThePeriodAndEmptyPeriodsSaySo()
    {
        // Forty days in a row up to yesterday, none today, then nothing for a year.
        m_memory.records.clear();
        for (int day = 1; day <= 40; ++day)
            m_memory.records.push_back(Answer(kToday - day * kDay + 600, "1 2 3 4", AnswerVerdict::Correct, 5));
        QVERIFY(WithWindow([&](QDialog* window) {
            QCOMPARE(Figures(window).mid(4), (QStringList{"Days practised: 29", "Streak: 40 days in a row"}));
        }));

        m_clock.now += 400 * kDay;
        QVERIFY(WithWindow([&](QDialog* window) {
            const QStringList figures = Figures(window);
            QCOMPARE(figures.mid(0, 2), (QStringList{"Answers: 0", "Correct: 0 (-)"}));
            QCOMPARE(figures.last(), QStringLiteral("Streak: 0 days in a row"));
            QCOMPARE(Figure(window, "hardestNote"), QStringLiteral("No answers in this period."));
            QVERIFY(!Child<QPushButton>(window, "exportButton")->isEnabled());
        }));
    }

    // One answer: one day of streak, whole counts on the level axis; a history over two
    // years dates its days with the year.
    void axesAndStreakReadAsWholeNumbersAndDates()
    {
        m_memory.records = {Answer(kToday + 60, "1 2 3 4", AnswerVerdict::Correct, 5)};
        QVERIFY(WithWindow([&](QDialog* window) {
            QCOMPARE(Figure(window, "streakFigure"), QStringLiteral("Streak: 1 day in a row"));
            QCOMPARE(AxisLabels(Child<QChartView>(window, "levelChart"), Qt::AlignLeft), (QStringList{"0", "1"}));
        }));
        m_memory.records.push_back(Answer(kToday - 400 * kDay, "1 2 3 4", AnswerVerdict::Correct, 5));
        QVERIFY(WithWindow([&](QDialog* window) {
            ChoosePeriod(window, 3);
            const QStringList dates = AxisLabels(Child<QChartView>(window, "dayChart"), Qt::AlignBottom);
            QVERIFY2(!dates.isEmpty() && dates.first().startsWith(QStringLiteral("2022-")) &&
                         dates.last().startsWith(QStringLiteral("2023-")),
                     qPrintable(dates.join(QLatin1Char(' '))));
        }));
    }

    // The question opens with its rule and range and closes the window, but never
    // in the middle of a training.
    void doubleClickOpensTheQuestionWithItsRuleAndRange()
    {
        TypeAnswers(QStringLiteral("8/(3-8/3)"));
        bool closed = false;
        QVERIFY(WithWindow([&](QDialog* window) {
            DoubleClickRow(window, 2);
            closed = !window->isVisible();
        }));
        QVERIFY(closed);
        QCOMPARE(Question(), QStringLiteral("11 12 13 13"));
        QVERIFY(!m_window->IsStandardRule() && m_window->IsJqkEnabled());
        QCOMPARE(Find<QPlainTextEdit>("answerBox")->toPlainText(), QString());

        QVERIFY(WithWindow([&](QDialog* window) { DoubleClickRow(window, 0); }));
        QCOMPARE(Question(), QStringLiteral("1 3 8 8"));
        QVERIFY(m_window->IsStandardRule() && !m_window->IsJqkEnabled());
        QCOMPARE(m_window->CurrentRun().Mode(), RunMode::Free);

        StorePlan("Training");
        StartFromToolbar(ID_TRAINING);
        QCOMPARE(m_window->CurrentRun().Mode(), RunMode::Training);
        const QString question = Question();
        SeenBox notice;
        bool stillOpen = false;
        QVERIFY(WithWindow([&](QDialog* window) {
            AnswerNextBox(notice, kOk);
            DoubleClickRow(window, 0);
            stillOpen = window->isVisible();
        }));
        QVERIFY(stillOpen);
        QCOMPARE(notice.text, QStringLiteral("A question opens in the main window only when no training is "
                                             "running. Please stop the training first."));
        QCOMPARE(Question(), question);
    }

    // The whole period goes to the file the player names, ".csv" added; a file that cannot
    // be written says why and leaves everything as it was.
    void exportWritesTheAnswersOfThePeriodWholeOrNothing()
    {
        QTemporaryDir scratch;
        const QString blocker = scratch.filePath(QStringLiteral("notes.txt"));
        std::ofstream(blocker.toStdString()) << "kept";
        QString target = blocker + QStringLiteral("/answers.csv");  // beneath a file: cannot be written
        QString offeredFilter;
        m_pickSaveFile = [&](QWidget*, const QString&, const QString&, const QString& filter) {
            offeredFilter = filter;
            return target;
        };
        m_window = MakeWindow();
        SeenBox notice;
        QVERIFY(WithWindow([&](QDialog* window) {
            AnswerNextBox(notice, kOk);
            ClickExport(window);
        }));
        QVERIFY2(notice.text.startsWith(QStringLiteral("The answers could not be saved to ") + target + ":\n\n"),
                 qPrintable(notice.text));
        QVERIFY(notice.text.endsWith(QStringLiteral("\n\nNothing was written.")));
        QCOMPARE(FileText(blocker), std::string("kept"));
        QCOMPARE(QDir(scratch.path()).entryList(QDir::Files | QDir::NoDotAndDotDot), QStringList{"notes.txt"});

        target = scratch.filePath(QStringLiteral("mine"));
        QVERIFY(WithWindow([&](QDialog* window) {
            ChoosePeriod(window, 3);
            ClickExport(window);
        }));
        QCOMPARE(offeredFilter, QStringLiteral("CSV File (*.csv);;All Files (*.*)"));
        std::vector<AnswerRecord> sorted = HandMadeHistory();
        std::stable_sort(sorted.begin(), sorted.end(),
                         [](const AnswerRecord& a, const AnswerRecord& b) { return a.answeredAt < b.answeredAt; });
        QCOMPARE(FileText(target + QStringLiteral(".csv")), HistoryToCsv(sorted));
        QVERIFY(!QFileInfo::exists(target));
    }
};

TAVLIX_QTEST_MAIN(StatisticsWindowTest)
#include "StatisticsWindowTest.moc"
