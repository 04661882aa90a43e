#include "MainWindowHarness.h"
#include "history/HistoryStore.h"
#include "shell/CommandTable.h"

using namespace tavlix;
using namespace tavlix::testing;

namespace {

// The player's answers in memory; a failing one refuses every answer as a full disk would.
class MemoryHistory : public HistoryStore {
public:
    bool Add(const AnswerRecord& record, std::string& error) override
    {
        if (failing) {
            error = "database or disk is full";
            return false;
        }
        records.push_back(record);
        return true;
    }
    std::vector<AnswerRecord> LoadAll(std::string&) const override { return records; }

    std::vector<AnswerRecord> records;
    bool failing = false;
};

AnswerRecord Missed(std::int64_t at, const char* question)
{
    return {at, question, true, false, RunMode::Free, 1, 9000, AnswerVerdict::Incorrect, false};
}

}  // namespace

// What the main window keeps of the player's submissions, played as a player would.
class MainWindowHistoryTest : public QObject, protected MainWindowHarness {
    Q_OBJECT

    MemoryHistory m_memory;

private slots:
    void init()
    {
        QVERIFY(ResetHarness());
        m_memory.records.clear();
        m_memory.failing = false;
        m_history = &m_memory;
        m_window = MakeWindow();
    }

    void cleanup() { m_window.reset(); }

    // Every judged submission is kept with its time and verdict. A history that stops
    // taking answers does not disturb the game: the comment comes as ever, and the player
    // is told once a session.
    void submissionsAreKeptAndAFailingHistoryIsReportedOnce()
    {
        TypeQuestion({"8", "3", "3", "8"});
        m_clock.now += 7;
        TypeAnswers(QStringLiteral("3*3+8+8"));
        ClickSubmit();
        const QString wrongComment = Pane();
        m_clock.now += 5;
        TypeAnswers(QStringLiteral("8/(3-8/3)"));
        ClickSubmit();
        TypeAnswers(QString(QStringLiteral("1+2+3+4\n")).repeated(31).chopped(1));  // too many lines
        ClickSubmit();
        QTest::keyClicks(Find<QLineEdit>("questionBox0"), QStringLiteral("0"));  // not a question: not judged
        ClickSubmit();
        QCOMPARE(m_memory.records.size(), std::size_t(3));
        // Free play under the settings' first rule and range: Standard, J/Q/K on.
        QVERIFY(m_memory.records[0] == (AnswerRecord{1'700'000'007, "3 3 8 8", true, true, RunMode::Free, 1, 7000,
                                                     AnswerVerdict::Incorrect, false}));
        QCOMPARE(m_memory.records[1].verdict, AnswerVerdict::Correct);
        QCOMPARE(m_memory.records[1].millisecondsTaken, std::int64_t(12000));  // the same question still
        QCOMPARE(m_memory.records[2].verdict, AnswerVerdict::Rejected);

        m_memory.failing = true;
        TypeQuestion({"8", "3", "3", "8"});
        TypeAnswers(QStringLiteral("3*3+8+8"));
        SeenBox notice;
        AnswerNextBox(notice, kOk);
        ClickSubmit();
        QTRY_VERIFY(notice.shown);
        QVERIFY(notice.text.startsWith(QStringLiteral("An answer could not be added to the history of your answers "
                                                      "(database or disk is full).")));
        QCOMPARE(Pane(), wrongComment);
        BackToWindow();
        // Watched for as long as this window lives, so no watch outlasts the test.
        bool secondBox = false;
        OnNextDialog(
            m_window.get(), [&secondBox](QDialog*) { secondBox = true; },
            [](QDialog* dialog) { return qobject_cast<CBMMessageBox*>(dialog) != nullptr; });
        TypeAnswers(QStringLiteral("8/(3-8/3)"));
        ClickSubmit();
        QTest::qWait(200);
        QVERIFY(!secondBox);
        m_window.reset();
        QCOMPARE(m_memory.records.size(), std::size_t(3));
    }

    // Training on the review set asks exactly the questions due, and keeps its answers
    // with the run's mode and level. Which questions are due is ReviewScheduleTest's, what
    // the plan takes of them TrainingPlanTest's.
    void trainingOnTheReviewSet()
    {
        const std::int64_t now = m_clock.now;
        m_memory.records = {Missed(now - 3 * 86400, "3 3 8 8"), Missed(now - 2 * 86400, "1 5 5 5"),
                            Missed(now - 3600, "2 2 2 3")};
        const std::pair<const char*, std::uint32_t> plan[] = {
            {"Standard", 1}, {"JQK", 0}, {"Difficulty Level", 2}, {"Review Set", 1}, {"Randomly", 0},
            {"Ascending", 1}, {"Question Count", 5}};
        for (const auto& [name, value] : plan)
            m_store.WriteInt("Training", name, value);
        m_window = MakeWindow();
        OnNextDialog(m_window.get(), [](QDialog* dialog) {
            dialog->findChild<QAbstractButton*>(QStringLiteral("okButton"))->click();
        });
        // First the note that fewer questions are available, then the rules of training.
        SeenBox fewer, note;
        AnswerNextBox(fewer, kOk,
                      [&note](CBMMessageBox*) { AnswerNextBox(note, kOk); });
        QTest::mouseClick(m_window->findChild<QWidget*>(QStringLiteral("toolbar%1").arg(ID_TRAINING)), Qt::LeftButton);
        QTRY_VERIFY(note.shown);
        BackToWindow();
        QVERIFY(fewer.text.contains(QStringLiteral("there are only 2 available")));
        const Run& run = m_window->CurrentRun();
        QCOMPARE(run.QuestionCount(), std::size_t(2));
        QCOMPARE(run.Question(0) + "," + run.Question(1), std::string("1 5 5 5,3 3 8 8"));

        m_clock.now += 4;
        TypeAnswers(QStringLiteral("5*(5-1/5)"));
        ClickSubmit();
        QCOMPARE(m_memory.records.size(), std::size_t(4));
        const AnswerRecord& kept = m_memory.records.back();
        QVERIFY(kept == (AnswerRecord{m_clock.now, "1 5 5 5", true, false, RunMode::Training, 2, 4000,
                                      AnswerVerdict::Correct, false}));
    }

    // "My weakest" takes the technique from the history: the fraction, always missed in
    // 3 3 7 7 while 4 4 10 10 is always right, keeps the ten questions of 1..10 that need one.
    void trainingOnTheWeakestTechnique()
    {
        for (int i = 0; i < 20; ++i) {
            AnswerRecord right = Missed(m_clock.now - 90 * 86400 + i, "4 4 10 10");
            right.verdict = AnswerVerdict::Correct;
            m_memory.records.push_back(right);
            m_memory.records.push_back(Missed(m_clock.now - 90 * 86400 + i, "3 3 7 7"));
        }
        const std::pair<const char*, std::uint32_t> plan[] = {
            {"Standard", 1}, {"JQK", 0}, {"Technique", 10}, {"Randomly", 0}, {"Ascending", 1}, {"Question Count", 10}};
        for (const auto& [name, value] : plan)
            m_store.WriteInt("Training", name, value);
        m_window = MakeWindow();
        OnNextDialog(m_window.get(), [](QDialog* dialog) {
            dialog->findChild<QAbstractButton*>(QStringLiteral("okButton"))->click();
        });
        SeenBox note;
        AnswerNextBox(note, kOk);
        QTest::mouseClick(m_window->findChild<QWidget*>(QStringLiteral("toolbar%1").arg(ID_TRAINING)), Qt::LeftButton);
        QTRY_VERIFY(note.shown);
        BackToWindow();
        const Run& run = m_window->CurrentRun();
        QCOMPARE(run.QuestionCount(), std::size_t(10));
        QCOMPARE(run.Question(0) + "," + run.Question(9), std::string("1 3 4 6,4 4 7 7"));
    }
};

TAVLIX_QTEST_MAIN(MainWindowHistoryTest)
#include "MainWindowHistoryTest.moc"
