#include <QLabel>

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
    AnswerRecord r;
    r.answeredAt = at;
    r.question = question;
    r.jqk = false;
    r.verdict = AnswerVerdict::Incorrect;
    r.millisecondsTaken = 9000;
    return r;
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

    void freeSubmissionsAreKeptWithTheirTimeAndVerdict()
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
        const AnswerRecord& wrong = m_memory.records[0];
        QCOMPARE(wrong.answeredAt, std::int64_t(1'700'000'007));
        QCOMPARE(wrong.question, std::string("3 3 8 8"));
        QCOMPARE(wrong.verdict, AnswerVerdict::Incorrect);
        QCOMPARE(wrong.mode, RunMode::Free);
        QCOMPARE(wrong.level, 1);
        QCOMPARE(wrong.millisecondsTaken, std::int64_t(7000));
        QCOMPARE(wrong.standardRule, m_window->IsStandardRule());
        QCOMPARE(wrong.jqk, m_window->IsJqkEnabled());
        QVERIFY(!wrong.hintUsed);
        QCOMPARE(m_memory.records[1].verdict, AnswerVerdict::Correct);
        QCOMPARE(m_memory.records[1].millisecondsTaken, std::int64_t(12000));  // the same question still
        QCOMPARE(m_memory.records[2].verdict, AnswerVerdict::Rejected);
        QVERIFY(!wrongComment.isEmpty());
    }

    // A history that cannot take answers does not disturb the game: the comment comes as
    // ever, and the player is told once a session.
    void aFailingHistoryIsReportedOnce()
    {
        m_memory.failing = true;
        TypeQuestion({"8", "3", "3", "8"});
        TypeAnswers(QStringLiteral("3*3+8+8"));
        SeenBox notice;
        AnswerNextBox(notice, QStringLiteral("rightButton"));
        ClickSubmit();
        QTRY_VERIFY(notice.shown);
        QVERIFY(notice.text.startsWith(QStringLiteral("An answer could not be added to the history of your answers "
                                                      "(database or disk is full).")));
        QVERIFY(!Pane().isEmpty());
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
        QVERIFY(m_memory.records.empty());
    }

    // Training on the review set asks exactly the questions due, and keeps its answers
    // with the run's mode and level.
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
        m_window.reset();
        m_window = MakeWindow();

        QString available;
        OnNextDialog(m_window.get(), [&available](QDialog* dialog) {
            available = dialog->findChild<QLabel*>(QStringLiteral("availableLabel"))->text();
            dialog->findChild<QAbstractButton*>(QStringLiteral("okButton"))->click();
        });
        // First the note that fewer questions are available, then the rules of training.
        SeenBox fewer, note;
        AnswerNextBox(fewer, QStringLiteral("rightButton"),
                      [&note](CBMMessageBox*) { AnswerNextBox(note, QStringLiteral("rightButton")); });
        QTest::mouseClick(m_window->findChild<QWidget*>(QStringLiteral("toolbar%1").arg(ID_TRAINING)), Qt::LeftButton);
        QTRY_VERIFY(note.shown);
        BackToWindow();
        QCOMPARE(available, QStringLiteral("Questions available: 2"));
        QVERIFY(fewer.text.contains(QStringLiteral("there are only 2 available")));
        QCOMPARE(m_window->CurrentRun().QuestionCount(), std::size_t(2));
        QCOMPARE(m_window->CurrentRun().Question(0), std::string("1 5 5 5"));
        QCOMPARE(m_window->CurrentRun().Question(1), std::string("3 3 8 8"));

        m_clock.now += 4;
        TypeAnswers(QStringLiteral("5*(5-1/5)"));
        ClickSubmit();
        QCOMPARE(m_memory.records.size(), std::size_t(4));
        const AnswerRecord& kept = m_memory.records.back();
        QCOMPARE(kept.question, std::string("1 5 5 5"));
        QCOMPARE(kept.mode, RunMode::Training);
        QCOMPARE(kept.level, 2);
        QCOMPARE(kept.verdict, AnswerVerdict::Correct);
        QCOMPARE(kept.millisecondsTaken, std::int64_t(4000));
    }
};

TAVLIX_QTEST_MAIN(MainWindowHistoryTest)
#include "MainWindowHistoryTest.moc"
