#include <QCheckBox>
#include <QLabel>
#include <QProcess>

#include "platform/qt/InstanceChannel.h"

#include "MainWindowHarness.h"
#include "engine/CBMUtilities.h"
#include "engine/Rules.h"
#include "shell/CommandTable.h"

using namespace tavlix;
using namespace tavlix::testing;

namespace {

const QString kTrainingButton = QStringLiteral("toolbar%1").arg(ID_TRAINING);
const QString kTrainingGameButton = QStringLiteral("toolbar%1").arg(ID_TRAINING_GAME);
const QString kWorldCupButton = QStringLiteral("toolbar%1").arg(ID_WORLD_CUP);

}  // namespace

// Training, Training Game and World Cup in the main window, played as a player would:
// the dialogs' Go!, typed answers, the submit button and keys, Previous and Next, Done,
// Esc, the clock running out, and the rankings after a World Cup.
class MainWindowRunsTest : public QObject, protected MainWindowHarness {
    Q_OBJECT

    // The solutions of the question on screen under the rule the run should play, by
    // default the Standard rule of the plans these tests store.
    StringArray SolutionsOnScreen(const Rules& rules = Rules::Of(true, true)) const
    {
        NumberArray question;
        CBMUtilities::GetQuestionFromString(Question().toStdString(), question, kLargestNumber);
        StringArray solutions;
        CBMUtilities::GetSolutions(question, solutions, rules);
        return solutions;
    }

    // A correct line for the question on screen under the Standard rule.
    std::string SolutionOnScreen() const
    {
        const StringArray solutions = SolutionsOnScreen();
        return solutions.empty() ? std::string() : solutions.front();
    }

    // The clock goes on `first` seconds and the remaining time, shown, reads `remaining`;
    // `rest` seconds more end the game, whose report is answered and kept.
    void RunOutOfTime(std::time_t first, const QString& remaining, std::time_t rest, SeenBox& report)
    {
        m_clock.now += first;
        QTRY_COMPARE_WITH_TIMEOUT(Find<QLabel>("remainingTime")->text(), remaining, 5000);
        QVERIFY(Find<QLabel>("remainingTime")->isVisible());
        AnswerNextBox(report, kOk);
        m_clock.now += rest;
        QTRY_VERIFY_WITH_TIMEOUT(report.shown, 5000);
    }

    // Starts a World Cup from the toolbar: `choose` sets the level in the dialog, then OK;
    // the rules note is read and closed, and its text returned.
    QString StartWorldCup(std::function<void(QDialog*)> choose = {})
    {
        OnNextDialog(m_window.get(), [choose = std::move(choose)](QDialog* cup) {
            if (choose)
                choose(cup);
            cup->findChild<QAbstractButton*>(QStringLiteral("okButton"))->click();
        });
        SeenBox note;
        AnswerNextBox(note, kOk);
        QTest::mouseClick(Find<QWidget>(kWorldCupButton.toLatin1().constData()), Qt::LeftButton);
        BackToWindow();
        return note.text;
    }

    QString Question() const
    {
        QStringList numbers;
        for (int i = 0; i < 4; ++i)
            numbers << Find<QLineEdit>(QStringLiteral("questionBox%1").arg(i).toLatin1().constData())->text();
        return numbers.join(QLatin1Char(' '));
    }

    QString Status() const { return Find<QLabel>("statusLine")->text(); }
    QString Caption() const { return m_window->windowTitle(); }
    bool AnswerLocked() const { return Find<QPlainTextEdit>("answerBox")->isReadOnly(); }

private slots:
    void init()
    {
        QVERIFY(ResetHarness());
        m_window = MakeWindow();
    }

    void cleanup() { m_window.reset(); }

    void trainingFromStartToEsc()
    {
        StorePlan("Training", 5);
        const QString note = StartFromToolbar(ID_TRAINING);
        QVERIFY(note.startsWith(QStringLiteral("\t\t\tTraining Rules\n\nNumber of Questions: 5\n")));
        QCOMPARE(Caption(), QStringLiteral("Tavlix - Training (Standard Level - Beginner) 1/5"));
        QCOMPARE(Question(), QStringLiteral("3 3 8 8"));
        QCOMPARE(Status(), QStringLiteral("Correct: 0  Incorrect: 0  Not Answered: 5"));
        QCOMPARE(Find<PictureButton>(kTrainingButton.toLatin1().constData())->toolTip(),
                 QStringLiteral("Exit Training (Esc)"));
        QVERIFY(!Find<QPushButton>("previousButton")->isVisible());
        QVERIFY(Find<QPushButton>("nextButton")->isVisible());
        QVERIFY(!Find<QPushButton>("doneButton")->isVisible());

        // A wrong answer, then the same question again, right: counted once.
        TypeAnswers(QStringLiteral("3*3+8+8"));
        ClickSubmit();
        QCOMPARE(Status(), QStringLiteral("Correct: 0  Incorrect: 1  Not Answered: 4"));
        QCOMPARE(VerdictShown(), QStringLiteral("wrong"));
        QVERIFY(!AnswerLocked());
        TypeAnswers(QStringLiteral("8/(3-8/3)"));
        SubmitWithKeys();
        QCOMPARE(Status(), QStringLiteral("Correct: 1  Incorrect: 0  Not Answered: 4"));
        QCOMPARE(VerdictShown(), QStringLiteral("correct"));
        QCOMPARE(PlayedEffects(), (std::vector<std::string>{"incorrect", "correct"}));

        // On and back: the answer given is still there, and the picture with it.
        QTest::keyClick(Find<QPlainTextEdit>("answerBox"), Qt::Key_Right, Qt::ControlModifier);
        QCOMPARE(Caption(), QStringLiteral("Tavlix - Training (Standard Level - Beginner) 2/5"));
        QVERIFY(Question() != QStringLiteral("3 3 8 8"));
        QVERIFY(Find<QPlainTextEdit>("answerBox")->toPlainText().isEmpty());
        QCOMPARE(VerdictShown(), QString());
        QTest::mouseClick(Find<QPushButton>("previousButton"), Qt::LeftButton);
        QCOMPARE(Caption(), QStringLiteral("Tavlix - Training (Standard Level - Beginner) 1/5"));
        QCOMPARE(Find<QPlainTextEdit>("answerBox")->toPlainText(), QStringLiteral("8/(3-8/3)"));
        QCOMPARE(VerdictShown(), QStringLiteral("correct"));
        QCOMPARE(PlayedEffects().back(), std::string("previous"));

        // Esc asks; No stays, Yes goes back to free play.
        SeenBox stay;
        AnswerNextBox(stay, kNo);  // No
        QTest::keyClick(m_window.get(), Qt::Key_Escape);
        QCOMPARE(stay.text, QStringLiteral("Are you sure you want to exit training?"));
        QCOMPARE(m_window->CurrentRun().Mode(), RunMode::Training);
        BackToWindow();
        SeenBox leave;
        AnswerNextBox(leave, kYes);  // Yes
        QTest::keyClick(m_window.get(), Qt::Key_Escape);
        QVERIFY(leave.shown);
        QVERIFY(m_window->isVisible());
        QCOMPARE(Caption(), QStringLiteral("Tavlix"));
        QCOMPARE(Status(), QString());
        QCOMPARE(Question(), QStringLiteral("   "));
        QCOMPARE(Find<PictureButton>(kTrainingButton.toLatin1().constData())->toolTip(), QStringLiteral("Training"));
    }

    // Nothing below the question row moves during play: the window keeps one size with
    // the verdict picture, Previous, Next and Done shown or not.
    void theWindowKeepsOneSize()
    {
        const QSize size = m_window->size();
        TypeQuestion({"3", "3", "8", "8"});
        TypeAnswers(QStringLiteral("8/(3-8/3)"));
        ClickSubmit();
        QCOMPARE(m_window->size(), size);
        StorePlan("Training Game", 5, 1);  // timed: the remaining time shows too
        StartFromToolbar(ID_TRAINING_GAME);
        QVERIFY(Find<QPushButton>("doneButton")->isVisible());
        m_clock.now += 1;
        QTRY_VERIFY_WITH_TIMEOUT(Find<QLabel>("remainingTime")->isVisible(), 5000);
        QCOMPARE(m_window->size(), size);
        TypeAnswers(QStringLiteral("3*3+8+8"));
        ClickSubmit();
        QCOMPARE(VerdictShown(), QStringLiteral("wrong"));
        QCOMPARE(m_window->size(), size);
        QTest::mouseClick(Find<QPushButton>("nextButton"), Qt::LeftButton);
        QVERIFY(Find<QPushButton>("previousButton")->isVisible());
        QCOMPARE(m_window->size(), size);
    }

    void aTrainingGameLocksAnsweredQuestionsAndEndsWhenTheTimeIsUp()
    {
        StorePlan("Training Game", 5, 1);
        StartFromToolbar(ID_TRAINING_GAME);
        QCOMPARE(Caption(), QStringLiteral("Tavlix - Training Game (Standard Level - Beginner) 1/5"));
        QVERIFY(Find<QPushButton>("doneButton")->isVisible());
        // Rule and J/Q/K are the plan's while the game runs.
        QVERIFY(!Find<PictureButton>("toolbar32773")->isEnabled());
        QVERIFY(!Find<PictureButton>("toolbar32798")->isEnabled());

        TypeAnswers(QString::fromStdString(SolutionOnScreen()));
        ClickSubmit();
        QVERIFY(AnswerLocked());
        QVERIFY(!Find<QPushButton>("submitButton")->isEnabled());
        QVERIFY(!Find<QCheckBox>("noSolution")->isEnabled());
        QTest::mouseClick(Find<QPushButton>("nextButton"), Qt::LeftButton);
        QVERIFY(!AnswerLocked());
        QTest::mouseClick(Find<QPushButton>("previousButton"), Qt::LeftButton);
        QVERIFY(AnswerLocked());
        QVERIFY(!Find<QPushButton>("submitButton")->isEnabled());

        // The remaining time at the end of the menu bar, then the end of the minute.
        SeenBox report;
        RunOutOfTime(1, QStringLiteral("00:00:59"), 60, report);
        QCOMPARE(report.text, QStringLiteral("Training Game Score Report - Standard Level\n\nRule: Standard Rule "
                                             "(Addition, Subtraction, Multiplication and Division)\nValue Range: "
                                             "1-10\nScores: 1/5\nTime: 1 min 0 sec"));
        QCOMPARE(PlayedEffects().back(), std::string("timeup"));
        QCOMPARE(Caption(), QStringLiteral("Tavlix"));
        QVERIFY(!Find<QLabel>("remainingTime")->isVisible());
        QVERIFY(Find<PictureButton>("toolbar32773")->isEnabled());
    }

    void theLastAnswerOffersToFinishAndDoneFinishesAtOnce()
    {
        StorePlan("Training Game", 5);
        StartFromToolbar(ID_TRAINING_GAME);
        QVERIFY(!Find<QLabel>("remainingTime")->isVisible());
        for (int question = 0; question < 5; ++question) {
            TypeAnswers(QString::fromStdString(question == 4 ? "1+1+1+1" : SolutionOnScreen()));
            if (question < 4) {
                SubmitWithKeys();
                QTest::keyClick(Find<QPlainTextEdit>("answerBox"), Qt::Key_Right, Qt::ControlModifier);
            }
        }
        SeenBox offer;
        AnswerNextBox(offer, kNo);  // No: look the answers over first
        SubmitWithKeys();
        QVERIFY(offer.text.startsWith(QStringLiteral("You have answered all the required questions.")));
        QCOMPARE(Status(), QStringLiteral("Correct: 4  Incorrect: 1  Not Answered: 0"));
        BackToWindow();

        m_clock.now += 75;
        SeenBox report;
        AnswerNextBox(report, kOk);
        QTest::keyClick(Find<QPlainTextEdit>("answerBox"), Qt::Key_D, Qt::ControlModifier);
        QVERIFY(report.text.endsWith(QStringLiteral("Scores: 4/5\nTime: 1 min 15 sec")));
        QCOMPARE(m_window->CurrentRun().Mode(), RunMode::Free);
    }

    // More lines than the checker reads are refused, not judged: the question stays open.
    void aRefusedSubmissionLeavesItsQuestionUnanswered()
    {
        StorePlan("Training Game", 5);
        StartFromToolbar(ID_TRAINING_GAME);
        for (int question = 0; question < 4; ++question) {
            TypeAnswers(QString::fromStdString(SolutionOnScreen()));
            SubmitWithKeys();
            QTest::keyClick(Find<QPlainTextEdit>("answerBox"), Qt::Key_Right, Qt::ControlModifier);
        }
        SeenBox offer;
        AnswerNextBox(offer, kNo);  // No, once all are answered
        QStringList tooMany;
        for (int line = 0; line < 31; ++line)
            tooMany << QStringLiteral("1+2+3+4");
        TypeAnswers(tooMany.join(QLatin1Char('\n')));
        ClickSubmit();
        QVERIFY(!offer.shown);
        QCOMPARE(Status(), QStringLiteral("Correct: 4  Incorrect: 0  Not Answered: 1"));
        QVERIFY(!AnswerLocked());
        QVERIFY(!Find<QLabel>("resultPicture")->isVisible());
        QCOMPARE(PlayedEffects().back(), std::string("abnormal"));

        TypeAnswers(QString::fromStdString(SolutionOnScreen()));
        ClickSubmit();
        QVERIFY(offer.shown);
        BackToWindow();
        SeenBox report;
        AnswerNextBox(report, kOk);
        QTest::keyClick(Find<QPlainTextEdit>("answerBox"), Qt::Key_D, Qt::ControlModifier);
        QVERIFY(report.text.contains(QStringLiteral("Scores: 5/5")));
    }

    // Training lets the player switch rule and J/Q/K; the run is then played under them.
    void trainingFollowsARuleOrJqkSwitch()
    {
        StorePlan("Training", 5);
        StartFromToolbar(ID_TRAINING);
        ClickToolbar("toolbar32774");  // Advanced rule
        QCOMPARE(Caption(), QStringLiteral("Tavlix - Training (Wizard Level - Beginner) 1/5"));
        ClickToolbar("toolbar32798");  // J, Q and K
        QCOMPARE(Caption(), QStringLiteral("Tavlix - Training (Holy War Level - Beginner) 1/5"));
        SeenBox note;
        AnswerNextBox(note, kOk);
        QTest::keyClick(m_window.get(), Qt::Key_F1);
        QVERIFY(note.text.contains(QStringLiteral("Advanced Rule (Addition, Subtraction, Multiplication, Division, "
                                                  "Power and Root)")));
        QVERIFY(note.text.contains(QStringLiteral("1-13")));
    }

    void helpDuringARunShowsItsRules()
    {
        QTRY_COMPARE(m_helpTopics, std::vector<int>{7});  // the release notes of the first start
        m_helpTopics.clear();
        StorePlan("Training", 5);
        StartFromToolbar(ID_TRAINING);
        SeenBox note;
        AnswerNextBox(note, kOk);
        QTest::keyClick(m_window.get(), Qt::Key_F1);
        QVERIFY(note.text.startsWith(QStringLiteral("\t\t\tTraining Rules")));
        QVERIFY(m_helpTopics.empty());
    }

    // Answers the question on screen as the level asks: as many different solutions
    // under its rule as it wants, or "No solution!" when there is none.
    void AnswerRight(std::size_t wanted, const Rules& rules)
    {
        StringArray solutions = SolutionsOnScreen(rules);
        if (solutions.empty()) {
            QTest::mouseClick(Find<QCheckBox>("noSolution"), Qt::LeftButton);
        } else {
            solutions.resize(std::min(solutions.size(), std::max<std::size_t>(wanted, 1)));
            QStringList lines;
            for (const std::string& line : solutions)
                lines << QString::fromStdString(line);
            TypeAnswers(lines.join(QLatin1Char('\n')));
        }
        ClickSubmit();
    }

    void worldCupFromTheDialogToTheRanking()
    {
        const QString note = StartWorldCup([](QDialog* cup) {
            cup->findChild<QAbstractButton*>(QStringLiteral("jqkCheck"))->click();  // Hero
            QCOMPARE(cup->windowTitle(), QStringLiteral("World Cup - Hero Level"));
        });
        QVERIFY(note.startsWith(QStringLiteral("\t\t\tWorld Cup Rules - Hero Level\n")));
        QCOMPARE(Caption(), QStringLiteral("Tavlix - World Cup (Hero Level) 1/40"));
        QVERIFY(m_window->IsJqkEnabled());
        QVERIFY(!Find<QPushButton>("checkSolutionButton")->isEnabled());

        // Forty questions, all right, the last one after 25 min 10 s.
        const Rules hero = Rules::Of(true, true);
        for (int question = 0; question < 39; ++question) {
            AnswerRight(2, hero);
            QTest::mouseClick(Find<QPushButton>("nextButton"), Qt::LeftButton);
        }
        QCOMPARE(Caption(), QStringLiteral("Tavlix - World Cup (Hero Level) 40/40"));
        QCOMPARE(Status(), QStringLiteral("Correct: 39  Incorrect: 0  Not Answered: 1"));
        m_clock.now += 25 * 60 + 10;
        SeenBox submit, scores;
        AnswerNextBox(submit, kYes,  // submit now
                      [&scores](CBMMessageBox*) { AnswerNextBox(scores, kOk); });
        QString ranking;
        OnNextDialog(m_window.get(), [&ranking](QDialog* name) {
            auto* edit = name->findChild<QLineEdit*>(QStringLiteral("nameEdit"));
            edit->clear();
            QTest::keyClicks(edit, QStringLiteral("Ada"));
            OnNextDialog(name->parentWidget(), [&ranking](QDialog* table) {
                ranking = table->windowTitle() + QLatin1Char('|') +
                          table->findChild<QLabel*>(QStringLiteral("nameLabel1"))->text() + QLatin1Char('|') +
                          table->findChild<QLabel*>(QStringLiteral("valueLabel1"))->text();
            }, [](QDialog* dialog) { return dialog->objectName() != QStringLiteral("rankingNameDlg"); });
            name->findChild<QAbstractButton*>(QStringLiteral("okButton"))->click();
        }, [](QDialog* dialog) { return !qobject_cast<CBMMessageBox*>(dialog); });
        AnswerRight(2, hero);
        QVERIFY(submit.text.startsWith(QStringLiteral("You have answered all the required questions.")));
        QTRY_VERIFY_WITH_TIMEOUT(!ranking.isEmpty(), 5000);
        QCOMPARE(scores.text, QStringLiteral("World Cup Score Report - Hero Level\n\nRule: Standard Rule (Addition, "
                                             "Subtraction, Multiplication and Division)\nValue Range: 1-13\n"
                                             "Scores: 40/40\nTime: 25 min 10 sec"));
        QCOMPARE(ranking, QStringLiteral("World Ranking for Professional Players - Hero Level|Ada|25 min 10 sec"));
        QCOMPARE(m_store.ReadString("Rank\\PRO_SJ", "Name1"), std::optional<std::string>("Ada"));
        QCOMPARE(m_store.ReadInt("Rank\\PRO_SJ", "Score1"), std::optional<std::uint32_t>(1510));
        QCOMPARE(Caption(), QStringLiteral("Tavlix"));
    }

    void worldCupAtTheLevelsOfTheAdvancedRule_data()
    {
        QTest::addColumn<bool>("jqk");
        QTest::addColumn<QString>("rules");
        QTest::addColumn<QString>("afterTwoAnswers");
        const QString advanced = QStringLiteral(
            "Rule: Advanced Rule (Addition, Subtraction, Multiplication, Division, Power and Root)\n");
        QTest::newRow("Wizard") << false
                                << QStringLiteral("\t\t\tWorld Cup Rules - Wizard Level\n\n") + advanced +
                                       QStringLiteral("Value Range: 1-10\nDifficulty Level: Intermediate\n")
                                << QStringLiteral("Correct: 1  Incorrect: 0  Not Answered: 39");
        QTest::newRow("Holy War") << true
                                  << QStringLiteral("\t\t\tWorld Cup Rules - Holy War Level\n\n") + advanced +
                                         QStringLiteral("Value Range: 1-13\nDifficulty Level: Advanced\n")
                                  << QStringLiteral("Correct: 0  Incorrect: 1  Not Answered: 39");
    }

    // The levels of the Advanced rule as a player meets them: the rules note, then two
    // solutions of a question that has five or more, which only the Holy War level, played
    // at the Advanced difficulty, finds too few.
    void worldCupAtTheLevelsOfTheAdvancedRule()
    {
        QFETCH(bool, jqk);
        QFETCH(QString, rules);
        QFETCH(QString, afterTwoAnswers);
        const QString note = StartWorldCup([jqk](QDialog* cup) {
            cup->findChild<QAbstractButton*>(QStringLiteral("advancedRuleRadio"))->click();
            if (jqk)
                cup->findChild<QAbstractButton*>(QStringLiteral("jqkCheck"))->click();
        });
        QVERIFY2(note.startsWith(rules), qPrintable(note));
        const Rules advanced = Rules::Of(false, jqk);
        StringArray solutions = SolutionsOnScreen(advanced);
        for (int next = 0; next < 39 && solutions.size() < 5; ++next) {
            QTest::mouseClick(Find<QPushButton>("nextButton"), Qt::LeftButton);
            solutions = SolutionsOnScreen(advanced);
        }
        QVERIFY(solutions.size() >= 5);
        TypeAnswers(QString::fromStdString(solutions[0] + "\n" + solutions[1]));
        ClickSubmit();
        QCOMPARE(Status(), afterTwoAnswers);
    }

    // The World Cup keeps its own clock: the 40 minutes are played to the end, then the
    // game ends with its report and the time-up sound.
    void worldCupEndsAfterFortyMinutes()
    {
        StartWorldCup();
        SeenBox report;
        RunOutOfTime(40 * 60, QStringLiteral("00:00:00"), 1, report);
        QCOMPARE(report.text, QStringLiteral("World Cup Score Report - Standard Level\n\nRule: Standard Rule (Addition, "
                                             "Subtraction, Multiplication and Division)\nValue Range: 1-10\n"
                                             "Scores: 0/40\nTime: 40 min 0 sec"));
        QCOMPARE(PlayedEffects().back(), std::string("timeup"));
        QCOMPARE(Caption(), QStringLiteral("Tavlix"));
    }

    void worldCupEndsWithNoRankingWhenLeft()
    {
        StartWorldCup();
        SeenBox leave;
        AnswerNextBox(leave, kYes);  // Yes
        QTest::mouseClick(Find<QWidget>(kWorldCupButton.toLatin1().constData()), Qt::LeftButton);
        QCOMPARE(leave.text, QStringLiteral("Are you sure you want to exit World Cup?"));
        QCOMPARE(m_window->CurrentRun().Mode(), RunMode::Free);
        QCOMPARE(m_store.ReadString("Rank\\AMA_SS", "Name1"), std::nullopt);
    }

    // Another copy of the program runs as the first instance, in a real process.
    void worldCupAsksTheOtherInstanceToClose()
    {
        QTemporaryDir runtime;
        qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
        QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const QString name = QStringLiteral("TavlixRunsTest%1").arg(QCoreApplication::applicationPid());
        QProcess other;
        other.start(QStringLiteral(TAVLIX_INSTANCE_PROBE), {QStringLiteral("serve"), name, QStringLiteral("Tavlix")});
        QVERIFY(other.waitForReadyRead(10000));
        QCOMPARE(other.readLine().trimmed(), QByteArray("primary"));
        InstanceChannel channel(name);
        m_instances = [&channel](int action) { return channel.EnumerateInstances(action); };

        const auto tryWorldCup = [this](bool agree) {
            OnNextDialog(m_window.get(), [](QDialog* cup) {
                cup->findChild<QAbstractButton*>(QStringLiteral("okButton"))->click();
            });
            SeenBox prompt, note;
            AnswerNextBox(prompt, agree ? kOk : kCancel,
                          [&note, agree](CBMMessageBox*) {
                              if (agree)  // the game starts with its rules
                                  AnswerNextBox(note, kOk);
                          });
            QTest::mouseClick(Find<QWidget>(kWorldCupButton.toLatin1().constData()), Qt::LeftButton);
            return prompt.text;
        };
        QCOMPARE(tryWorldCup(false),
                 QStringLiteral("You must exit from all other running \"Tavlix\" before you can enter World Cup Game. "
                                "Click \"OK\" to finish all other \"Tavlix\", click \"Cancel\" to withdraw from "
                                "World Cup Game."));
        QCOMPARE(m_window->CurrentRun().Mode(), RunMode::Free);
        QCOMPARE(other.state(), QProcess::Running);

        BackToWindow();
        tryWorldCup(true);
        QTRY_COMPARE_WITH_TIMEOUT(other.state(), QProcess::NotRunning, 10000);
        QCOMPARE(other.exitCode(), 12);  // the close request of a World Cup
        QCOMPARE(m_window->CurrentRun().Mode(), RunMode::WorldCup);
        m_instances = {};
    }
};

TAVLIX_QTEST_MAIN(MainWindowRunsTest)
#include "MainWindowRunsTest.moc"
