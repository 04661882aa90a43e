#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

#include "GuiTestSupport.h"
#include "collections/Collection.h"
#include "controls/DialogSupport.h"
#include "history/ReviewSchedule.h"
#include "history/TechniqueStatistics.h"
#include "i18n/StringIds.h"
#include "runs/CTrainingPlanDlg.h"
#include "settings/Profile.h"

using namespace tavlix;
using namespace tavlix::testing;

class TrainingPlanDialogTest : public QObject {
    Q_OBJECT

    LanguageState m_language = MakeLanguage();
    CachedStrings m_cache;
    InMemoryProfileStore m_store;
    std::unique_ptr<Profile> m_profile;
    Collection m_troubleMakers{false};
    Collection m_myFavorites{true};
    std::vector<int> m_helpTopics;

    std::unique_ptr<CTrainingPlanDlg> Open(bool training = false)
    {
        auto dialog = std::make_unique<CTrainingPlanDlg>(training, *m_profile, m_language, m_troubleMakers, m_myFavorites);
        dialog->show();
        return dialog;
    }

    template <typename Widget = QWidget>
    static Widget* Get(QWidget* dialog, const char* name)
    {
        auto* widget = dialog->findChild<Widget*>(QLatin1String(name));
        if (!widget)
            qFatal("no widget named %s", name);
        return widget;
    }

    static QString Available(QWidget* dialog) { return Get<QLabel>(dialog, "availableLabel")->text(); }

    static void Type(QLineEdit* edit, const QString& text)
    {
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(edit, text);
    }

    // Moves a number list to an entry with the arrow keys; the list may be refilled
    // after each step.
    static void Pick(QWidget* dialog, const char* list, const QString& number)
    {
        auto* combo = Get<QComboBox>(dialog, list);
        for (int step = 0; step < 20 && combo->currentText() != number; ++step) {
            const int target = combo->findText(number);
            QVERIFY2(target >= 0, qPrintable(number));
            QTest::keyClick(combo, target > combo->currentIndex() ? Qt::Key_Down : Qt::Key_Up);
        }
        QCOMPARE(combo->currentText(), number);
    }

    static QStringList Entries(QWidget* dialog, const char* list)
    {
        auto* combo = Get<QComboBox>(dialog, list);
        QStringList entries;
        for (int i = 0; i < combo->count(); ++i)
            entries << combo->itemText(i);
        return entries;
    }

    static QString Selected(QWidget* dialog, const char* list) { return Get<QComboBox>(dialog, list)->currentText(); }

    static QStringList Numbers(int from, int to)
    {
        QStringList numbers;
        for (int n = from; n <= to; ++n)
            numbers << QString::number(n);
        return numbers;
    }

private slots:
    void init()
    {
        m_cache.Reload(m_language);
        SetMessageBoxContext({&m_language, &m_cache, [this](int topic) { m_helpTopics.push_back(topic); }});
        m_store = InMemoryProfileStore();
        m_profile = std::make_unique<Profile>(m_store);
        m_troubleMakers.Items().clear();
        m_myFavorites.Items().clear();
        m_helpTopics.clear();
    }

    void controlsShowTheTableTexts()
    {
        auto dialog = Open();
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Training Game"));
        QCOMPARE(Open(true)->windowTitle(), QStringLiteral("Training Plan"));
        const std::pair<const char*, const char*> texts[] = {
            {"standardRuleRadio", "&Standard rule (addition, subtraction, multiplication and division)"},
            {"advancedRuleRadio", "&Advanced rule (addition, subtraction, multiplication, division, power and root)"},
            {"jqkCheck", "Enable &J (11), Q (12), K (13)"},
            {"fullSetRadio", "&Full set"},
            {"collectionsRadio", "From my co&llection(s)"},
            {"troubleMakersCheck", "&Trouble Makers"},
            {"myFavoritesCheck", "&My Favorites"},
            {"withSolutionCheck", "&Configurations with solution(s)"},
            {"withoutSolutionCheck", "Configurations with &NO solution"},
            {"fullRangeRadio", "Full &range"},
            {"withinRangeRadio", "&Within certain selection"},
            {"startCheck", "Start(&1):"},
            {"endCheck", "End(&2):"},
            {"randomRadio", "Select data randomly(&3)"},
            {"sequentialRadio", "Select data sequentially(&4)"},
            {"ascendingRadio", "Ascending(&5)"},
            {"descendingRadio", "Descending(&6)"},
            {"timeLimitCheck", "S&et a time limit:"},
            {"okButton", "OK"},
            {"cancelButton", "Cancel"},
            {"detailsButton", "&Details"},
        };
        for (const auto& [name, text] : texts)
            QCOMPARE(Get<QAbstractButton>(dialog.get(), name)->text(), QString::fromUtf8(text));
        QStringList groups;
        for (const QGroupBox* group : dialog->findChildren<QGroupBox*>())
            groups << group->title();
        QCOMPARE(groups, (QStringList{"Select Rules", "Select Configuration Set", "Select Data", "Other Configurations"}));
        QStringList labels;
        for (const QLabel* label : dialog->findChildren<QLabel*>())
            labels << label->text();
        QVERIFY(labels.contains(QStringLiteral("Number of &questions:")));
        QVERIFY(labels.contains(QStringLiteral("&Difficulty level:")));
        QCOMPARE(Get<QLabel>(dialog.get(), "minutesLabel")->text(), QStringLiteral("minutes"));
        QCOMPARE(Get<QPushButton>(dialog.get(), "okButton")->toolTip(), QStringLiteral("Go!"));
        QCOMPARE(Entries(dialog.get(), "difficultyList"),
                 (QStringList{"Beginner", "Intermediate", "Advanced", "Ultimate"}));
        QCOMPARE(Available(dialog.get()), QStringLiteral("Questions available: 715"));
    }

    void freshSettingsShowTheDefaultPlan()
    {
        auto dialog = Open();
        for (const char* on : {"standardRuleRadio", "fullSetRadio", "troubleMakersCheck", "myFavoritesCheck",
                               "withSolutionCheck", "withoutSolutionCheck", "fullRangeRadio", "randomRadio",
                               "ascendingRadio", "timeLimitCheck"})
            QVERIFY2(Get<QAbstractButton>(dialog.get(), on)->isChecked(), on);
        for (const char* off : {"jqkCheck", "startCheck", "endCheck"})
            QVERIFY2(!Get<QAbstractButton>(dialog.get(), off)->isChecked(), off);
        QCOMPARE(Get<QLineEdit>(dialog.get(), "countEdit")->text(), QStringLiteral("40"));
        QCOMPARE(Get<QLineEdit>(dialog.get(), "minutesEdit")->text(), QStringLiteral("40"));
        QCOMPARE(Selected(dialog.get(), "difficultyList"), QStringLiteral("Beginner"));
        QCOMPARE(Entries(dialog.get(), "startList1"), Numbers(1, 10));
        QCOMPARE(Selected(dialog.get(), "startList4"), QStringLiteral("1"));
        QCOMPARE(Entries(dialog.get(), "endList4"), QStringList{"10"});
    }

    void storedRangeFillsTheLists()
    {
        m_store.WriteInt("Training", "Full Range", 0);
        m_store.WriteInt("Training", "Data Range Start", 1);
        m_store.WriteInt("Training", "Data Range End", 1);
        const char* names[] = {"Start 1", "Start 2", "Start 3", "Start 4", "End 1", "End 2", "End 3", "End 4"};
        const unsigned values[] = {2, 3, 3, 4, 2, 9, 9, 10};
        for (std::size_t i = 0; i < 8; ++i)
            m_store.WriteInt("Training", names[i], values[i]);
        auto dialog = Open(true);
        QCOMPARE(Entries(dialog.get(), "startList2"), Numbers(2, 10));
        QCOMPARE(Selected(dialog.get(), "startList4"), QStringLiteral("4"));
        QCOMPARE(Entries(dialog.get(), "endList1"), Numbers(2, 10));
        QCOMPARE(Entries(dialog.get(), "endList2"), Numbers(2, 10));
        QCOMPARE(Selected(dialog.get(), "endList2"), QStringLiteral("9"));
        QVERIFY(Get(dialog.get(), "endList3")->isEnabled());
        const TrainingPlan plan = LoadTrainingPlan(*m_profile, true);
        QCOMPARE(Available(dialog.get()),
                 QStringLiteral("Questions available: %1").arg(BuildCandidates(plan, m_troubleMakers, m_myFavorites).size()));
    }

    void enablingRules()
    {
        auto dialog = Open();
        QWidget* d = dialog.get();
        for (const char* name : {"troubleMakersCheck", "myFavoritesCheck", "startCheck", "endCheck", "startList1",
                                 "endList4", "ascendingRadio", "descendingRadio"})
            QVERIFY2(!Get(d, name)->isEnabled(), name);
        Get<QRadioButton>(d, "collectionsRadio")->click();
        QVERIFY(Get(d, "troubleMakersCheck")->isEnabled() && Get(d, "myFavoritesCheck")->isEnabled());
        Get<QRadioButton>(d, "withinRangeRadio")->click();
        QVERIFY(Get(d, "startCheck")->isEnabled() && Get(d, "endCheck")->isEnabled());
        QVERIFY(!Get(d, "startList1")->isEnabled());
        Get<QCheckBox>(d, "startCheck")->click();
        QVERIFY(Get(d, "startList1")->isEnabled() && Get(d, "startList4")->isEnabled());
        QVERIFY(!Get(d, "endList1")->isEnabled());
        Get<QCheckBox>(d, "endCheck")->click();
        QVERIFY(Get(d, "endList4")->isEnabled());
        Get<QRadioButton>(d, "fullRangeRadio")->click();
        QVERIFY(!Get(d, "startCheck")->isEnabled() && !Get(d, "startList1")->isEnabled());
        Get<QRadioButton>(d, "sequentialRadio")->click();
        QVERIFY(Get(d, "ascendingRadio")->isEnabled() && Get(d, "descendingRadio")->isEnabled());

        for (const char* name : {"timeLimitCheck", "minutesEdit", "minutesSpin", "minutesLabel"})
            QVERIFY2(Get(d, name)->isEnabled(), name);
        Get<QCheckBox>(d, "timeLimitCheck")->click();
        for (const char* name : {"minutesEdit", "minutesSpin", "minutesLabel"})
            QVERIFY2(!Get(d, name)->isEnabled(), name);

        auto training = Open(true);
        QVERIFY(!Get(training.get(), "timeLimitCheck")->isEnabled());
        QVERIFY(!Get<QCheckBox>(training.get(), "timeLimitCheck")->isChecked());
        QVERIFY(!Get(training.get(), "minutesEdit")->isEnabled());
    }

    void atLeastOneChoiceOfEachPairStays()
    {
        auto dialog = Open();
        QWidget* d = dialog.get();
        Get<QRadioButton>(d, "collectionsRadio")->click();
        auto* troubleMakers = Get<QCheckBox>(d, "troubleMakersCheck");
        auto* myFavorites = Get<QCheckBox>(d, "myFavoritesCheck");
        troubleMakers->click();
        QVERIFY(!troubleMakers->isChecked() && myFavorites->isChecked());
        myFavorites->click();
        QVERIFY(troubleMakers->isChecked() && !myFavorites->isChecked());

        auto* with = Get<QCheckBox>(d, "withSolutionCheck");
        auto* without = Get<QCheckBox>(d, "withoutSolutionCheck");
        with->click();
        QVERIFY(!with->isChecked() && without->isChecked());
        without->click();
        QVERIFY(with->isChecked() && !without->isChecked());
        with->click();
        QVERIFY(!with->isChecked() && without->isChecked());
    }

    void availableCountFollowsEveryChange()
    {
        m_troubleMakers.Items() = {{"1 1 1 1", {}, ""}, {"8 8 3 3", {}, ""}, {"1 2 3 11", {}, ""}};
        m_myFavorites.Items() = {{"3 3 8 8", {}, ""}};
        auto dialog = Open();
        QWidget* d = dialog.get();
        auto* ok = Get<QPushButton>(d, "okButton");
        QCOMPARE(Available(d), QStringLiteral("Questions available: 715"));
        Get<QCheckBox>(d, "jqkCheck")->click();
        QCOMPARE(Available(d), QStringLiteral("Questions available: 1820"));
        Get<QCheckBox>(d, "withSolutionCheck")->click();
        QCOMPARE(Available(d), QStringLiteral("Questions available: 458"));
        Get<QRadioButton>(d, "advancedRuleRadio")->click();
        QCOMPARE(Available(d), QStringLiteral("Questions available: 390"));
        Get<QCheckBox>(d, "withSolutionCheck")->click();
        QCOMPARE(Available(d), QStringLiteral("Questions available: 1820"));

        // The collections hold "1 1 1 1", "3 3 8 8" (in both, once sorted) and "1 2 3 11".
        Get<QRadioButton>(d, "collectionsRadio")->click();
        QCOMPARE(Available(d), QStringLiteral("Questions available: 3"));
        Get<QCheckBox>(d, "jqkCheck")->click();
        QCOMPARE(Available(d), QStringLiteral("Questions available: 2"));
        Get<QCheckBox>(d, "withoutSolutionCheck")->click();
        QCOMPARE(Available(d), QStringLiteral("Questions available: 1"));
        QVERIFY(ok->isEnabled());
        Get<QCheckBox>(d, "troubleMakersCheck")->click();
        QCOMPARE(Available(d), QStringLiteral("Questions available: 1"));
        m_myFavorites.Items().clear();
        Get<QCheckBox>(d, "troubleMakersCheck")->click();
        Get<QCheckBox>(d, "myFavoritesCheck")->click();
        QCOMPARE(Available(d), QStringLiteral("Questions available: 1"));
        Get<QCheckBox>(d, "troubleMakersCheck")->click();  // My Favorites alone, now empty
        QCOMPARE(Available(d), QStringLiteral("Questions available: 0"));
        QVERIFY(!ok->isEnabled());
        Get<QRadioButton>(d, "fullSetRadio")->click();
        QVERIFY(ok->isEnabled());
    }

    // A hand-made history: what is due now depends on each question's own answers.
    void reviewSetCountsTheDueQuestionsOfTheHistory()
    {
        const std::int64_t now = 1796688000, day = 86400;
        const auto answer = [](std::int64_t at, const char* question, bool correct, bool standard = true,
                               bool jqk = false) {
            AnswerRecord r;
            r.answeredAt = at;
            r.question = question;
            r.verdict = correct ? AnswerVerdict::Correct : AnswerVerdict::Incorrect;
            r.millisecondsTaken = 8000;
            r.standardRule = standard;
            r.jqk = jqk;
            return r;
        };
        const std::vector<AnswerRecord> history = {
            answer(now - 3 * day, "3 3 8 8", false),        // due two days ago
            answer(now - 5 * day, "1 5 5 5", false),
            answer(now - 4 * day, "1 5 5 5", true),         // good after a miss: due yesterday
            answer(now - 9 * day, "4 4 7 7", true), answer(now - 8 * day, "4 4 7 7", true),
            answer(now - 2 * day, "4 4 7 7", true),         // never missed: never due
            answer(now - 3 * day, "1 2 3 4", false, false),   // the advanced rule's
            answer(now - 3 * day, "2 4 6 12", false, true, true),  // with J, Q and K
            answer(now - 1000, "6 6 6 6", false),           // due tomorrow
        };
        m_profile->WriteProfileInt("Training", "Full Set", 0);
        auto dialog = std::make_unique<CTrainingPlanDlg>(true, *m_profile, m_language, m_troubleMakers,
                                                         m_myFavorites, nullptr, DueForReview(history, now));
        dialog->show();
        QWidget* d = dialog.get();
        auto* review = Get<QRadioButton>(d, "reviewSetRadio");
        QCOMPARE(review->text(), QStringLiteral("Questions due for re&view"));
        QVERIFY(Get<QRadioButton>(d, "collectionsRadio")->isChecked());
        review->click();
        QVERIFY(!Get<QRadioButton>(d, "collectionsRadio")->isChecked());
        QCOMPARE(Available(d), QStringLiteral("Questions available: 2"));
        Get<QRadioButton>(d, "advancedRuleRadio")->click();
        QCOMPARE(Available(d), QStringLiteral("Questions available: 1"));
        Get<QCheckBox>(d, "jqkCheck")->click();
        QCOMPARE(Available(d), QStringLiteral("Questions available: 0"));
        QVERIFY(!Get<QPushButton>(d, "okButton")->isEnabled());
        Get<QRadioButton>(d, "standardRuleRadio")->click();
        QCOMPARE(Available(d), QStringLiteral("Questions available: 1"));
        Get<QCheckBox>(d, "jqkCheck")->click();
        Get<QCheckBox>(d, "withSolutionCheck")->click();  // both due questions have solutions
        QCOMPARE(Available(d), QStringLiteral("Questions available: 0"));
        Get<QCheckBox>(d, "withSolutionCheck")->click();
        Get<QPushButton>(d, "okButton")->click();
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
        QVERIFY(dialog->Plan().reviewSet);

        // The choice comes back as a value of its own; "Full Set" keeps the older choice.
        QCOMPARE(m_profile->GetProfileInt("Training", "Review Set", 9), 1u);
        QCOMPARE(m_profile->GetProfileInt("Training", "Full Set", 9), 0u);
        auto again = Open(true);
        QVERIFY(Get<QRadioButton>(again.get(), "reviewSetRadio")->isChecked());
        QCOMPARE(Available(again.get()), QStringLiteral("Questions available: 0"));  // no history given
        Get<QRadioButton>(again.get(), "collectionsRadio")->click();
        again->reject();
        QCOMPARE(m_profile->GetProfileInt("Training", "Review Set", 9), 0u);
        QCOMPARE(Open(false)->Plan().reviewSet, false);
    }

    // A hand-made history whose weakest technique is the fraction: 3 3 7 7 (a fraction and
    // a division) always missed, 4 4 10 10 (100 or more, above 24, a division and a
    // subtraction) always right.
    void techniqueChoiceKeepsTheQuestionsOfTheSetThatNeedIt()
    {
        const std::int64_t now = 1796688000, day = 86400;
        std::vector<AnswerRecord> history;
        for (int i = 0; i < 20; ++i)
            for (const auto& [question, verdict] : {std::pair{"3 3 7 7", AnswerVerdict::Incorrect},
                                                    std::pair{"4 4 10 10", AnswerVerdict::Correct}})
                history.push_back({now - 2 * day + i, question, true, false, RunMode::Free, 1, 8000, verdict, false});
        auto dialog = std::make_unique<CTrainingPlanDlg>(true, *m_profile, m_language, m_troubleMakers, m_myFavorites,
                                                         nullptr, DueForReview(history, now), WeakestTechnique(history));
        dialog->show();
        QWidget* d = dialog.get();
        const QStringList entries = Entries(d, "techniqueList");
        QCOMPARE(entries.size(), 11);
        QCOMPARE(entries.last(), QStringLiteral("Needing my weakest: Fraction on the way"));
        QCOMPARE(Available(d), QStringLiteral("Questions available: 715"));

        Pick(d, "techniqueList", QStringLiteral("Needing: Fraction on the way"));
        QCOMPARE(Available(d), QStringLiteral("Questions available: 10"));
        Get<QRadioButton>(d, "reviewSetRadio")->click();  // only 3 3 7 7 is due
        QCOMPARE(Available(d), QStringLiteral("Questions available: 1"));
        Pick(d, "techniqueList", entries[9]);  // plain
        QCOMPARE(Available(d), QStringLiteral("Questions available: 0"));
        Pick(d, "techniqueList", entries.last());
        QCOMPARE(Available(d), QStringLiteral("Questions available: 1"));
        Get<QPushButton>(d, "okButton")->click();
        QCOMPARE(dialog->Plan().technique, kWeakestTechnique);
        QCOMPARE(m_profile->GetProfileInt("Training", "Technique", 99), 10u);
        QCOMPARE(Selected(Open(true).get(), "techniqueList"),
                 QStringLiteral("Needing my weakest (not known yet: each technique takes 20 answers)"));
    }

    void rangeListsFollowEachOther()
    {
        auto dialog = Open();
        QWidget* d = dialog.get();
        Get<QRadioButton>(d, "withinRangeRadio")->click();
        Get<QCheckBox>(d, "startCheck")->click();
        Get<QCheckBox>(d, "endCheck")->click();
        Pick(d, "startList1", QStringLiteral("5"));
        QCOMPARE(Selected(d, "startList2"), QStringLiteral("5"));
        QCOMPARE(Entries(d, "startList2"), Numbers(5, 10));
        QCOMPARE(Selected(d, "endList1"), QStringLiteral("10"));
        QCOMPARE(Entries(d, "endList1"), Numbers(5, 10));
        QCOMPARE(Available(d), QStringLiteral("Questions available: 126"));

        Pick(d, "endList1", QStringLiteral("5"));
        QCOMPARE(Entries(d, "endList2"), Numbers(5, 10));
        Pick(d, "endList2", QStringLiteral("5"));
        Pick(d, "endList3", QStringLiteral("5"));
        Pick(d, "endList4", QStringLiteral("5"));
        QCOMPARE(Available(d), QStringLiteral("Questions available: 1"));
        // An end that begins like the start may not fall behind it.
        Pick(d, "startList4", QStringLiteral("7"));
        QCOMPARE(Selected(d, "endList4"), QStringLiteral("7"));
        QCOMPARE(Available(d), QStringLiteral("Questions available: 1"));

        // J, Q and K widen every list and keep the selection.
        Get<QCheckBox>(d, "jqkCheck")->click();
        QCOMPARE(Entries(d, "startList1"), Numbers(1, 13));
        QCOMPARE(Selected(d, "startList1"), QStringLiteral("5"));
        QCOMPARE(Entries(d, "endList4"), Numbers(5, 13));
        Pick(d, "endList4", QStringLiteral("13"));
        QCOMPARE(Available(d), QStringLiteral("Questions available: 7"));
        // Without them a 13 can't stay: the whole range comes back.
        Get<QCheckBox>(d, "jqkCheck")->click();
        QCOMPARE(Entries(d, "startList1"), Numbers(1, 10));
        QCOMPARE(Selected(d, "startList1"), QStringLiteral("1"));
        QCOMPARE(Selected(d, "endList1"), QStringLiteral("10"));
        QCOMPARE(Entries(d, "endList4"), QStringList{"10"});
        QCOMPARE(Available(d), QStringLiteral("Questions available: 715"));

        Pick(d, "startList1", QStringLiteral("3"));
        Get<QCheckBox>(d, "startCheck")->click();
        QCOMPARE(Selected(d, "startList1"), QStringLiteral("1"));
        Get<QCheckBox>(d, "startCheck")->click();
        Pick(d, "startList1", QStringLiteral("3"));
        Get<QRadioButton>(d, "fullRangeRadio")->click();
        QCOMPARE(Selected(d, "startList1"), QStringLiteral("1"));
        QCOMPARE(Available(d), QStringLiteral("Questions available: 715"));
    }

    void okChecksTheTypedNumbers()
    {
        auto dialog = Open();
        QWidget* d = dialog.get();
        auto* count = Get<QLineEdit>(d, "countEdit");
        auto* minutes = Get<QLineEdit>(d, "minutesEdit");
        const std::pair<QLineEdit*, const char*> refused[][2] = {
            {{count, "4"}, {minutes, "40"}},
            {{count, "501"}, {minutes, "40"}},
            {{count, "abc"}, {minutes, "40"}},
            {{count, "40"}, {minutes, "0"}},
            {{count, "40"}, {minutes, "901"}},
            {{count, "40"}, {minutes, "-3"}},
        };
        const QString prompts[] = {
            "Please enter an integer between 5 and 500.", "Please enter an integer between 5 and 500.",
            "Please enter a positive integer.",           "Please enter an integer between 1 and 900.",
            "Please enter an integer between 1 and 900.", "Please enter a positive integer.",
        };
        for (std::size_t i = 0; i < std::size(refused); ++i) {
            for (const auto& [edit, text] : refused[i])
                Type(edit, QString::fromLatin1(text));
            SeenBox seen;
            AnswerNextBox(seen, kOk);
            Get<QPushButton>(d, "okButton")->click();
            QTRY_VERIFY(seen.shown);
            QCOMPARE(seen.text, prompts[i]);
            QVERIFY(dialog->isVisible());
        }

        // Without a time limit the minutes are not looked at.
        Get<QCheckBox>(d, "timeLimitCheck")->click();
        Type(count, QStringLiteral(" 60 "));
        Get<QPushButton>(d, "okButton")->click();
        QVERIFY(!dialog->isVisible());
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
        QCOMPARE(dialog->Plan().questionCount, 60);
        QCOMPARE(dialog->Plan().TimeLimitSeconds(), -1);
    }

    void okHandsOverThePlan()
    {
        auto dialog = Open();
        QWidget* d = dialog.get();
        Type(Get<QLineEdit>(d, "minutesEdit"), QStringLiteral("25"));
        Get<QRadioButton>(d, "sequentialRadio")->click();
        Get<QRadioButton>(d, "descendingRadio")->click();
        auto* difficulty = Get<QComboBox>(d, "difficultyList");
        QTest::keyClick(difficulty, Qt::Key_Down);
        QTest::keyClick(difficulty, Qt::Key_Down);
        QTest::keyClick(Get<QLineEdit>(d, "countEdit"), Qt::Key_Return);
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
        const TrainingPlan& plan = dialog->Plan();
        QCOMPARE(plan.TimeLimitSeconds(), 1500);
        QCOMPARE(plan.difficultyLevel, 3);
        QVERIFY(!plan.random && !plan.ascending);
        QCOMPARE(LoadTrainingPlan(*m_profile, false), plan);
    }

    void spinButtonsStepWithinTheRange()
    {
        auto dialog = Open();
        QWidget* d = dialog.get();
        auto* count = Get<QLineEdit>(d, "countEdit");
        auto* up = Get<QToolButton>(Get(d, "countSpin"), "upButton");
        auto* down = Get<QToolButton>(Get(d, "countSpin"), "downButton");
        up->click();
        QCOMPARE(count->text(), QStringLiteral("41"));
        Type(count, QStringLiteral("500"));
        up->click();
        QCOMPARE(count->text(), QStringLiteral("500"));
        Type(count, QStringLiteral("5"));
        down->click();
        QCOMPARE(count->text(), QStringLiteral("5"));
        Type(count, QStringLiteral("lots"));
        up->click();
        QCOMPARE(count->text(), QStringLiteral("5"));
        auto* minutes = Get<QLineEdit>(d, "minutesEdit");
        Type(minutes, QStringLiteral("2000"));
        Get<QToolButton>(Get(d, "minutesSpin"), "downButton")->click();
        QCOMPARE(minutes->text(), QStringLiteral("900"));
    }

    void detailsAndF1ShowTheNotes()
    {
        const QString notes = ToQString(m_language.GetLocalizedString(IDS_DIALOG_TRAINING_NOTES1) + "\r\n\r\n" +
                                        m_language.GetLocalizedString(IDS_DIALOG_TRAINING_NOTES2));
        QVERIFY(notes.startsWith(QStringLiteral("Notes\n\n1. A time limit")));
        QVERIFY(notes.contains(QStringLiteral("all the available questions will be used.\n\nDifficulty Levels\n\n")));
        auto dialog = Open();
        SeenBox seen;
        AnswerNextBox(seen, kOk, [](CBMMessageBox* box) {
            auto* details = box->findChild<QPushButton*>(QStringLiteral("detailsButton"));
            QVERIFY(details->isEnabled());
            details->click();
        });
        Get<QPushButton>(dialog.get(), "detailsButton")->click();
        QTRY_VERIFY(seen.shown);
        QCOMPARE(seen.text, notes);
        QCOMPARE(m_helpTopics, std::vector<int>{CBMMessageBox::kIrrelevantHelpTopic});

        SeenBox byKey;
        AnswerNextBox(byKey, kOk);
        QTest::keyClick(Get(dialog.get(), "countEdit"), Qt::Key_F1);
        QTRY_VERIFY(byKey.shown);
        QCOMPARE(byKey.text, notes);
        QVERIFY(dialog->isVisible());
    }

    void cancelStillStoresThePlan()
    {
        {
            auto dialog = Open();
            QWidget* d = dialog.get();
            Get<QRadioButton>(d, "advancedRuleRadio")->click();
            Get<QCheckBox>(d, "jqkCheck")->click();
            Get<QRadioButton>(d, "withinRangeRadio")->click();
            Get<QCheckBox>(d, "endCheck")->click();
            Pick(d, "endList1", QStringLiteral("12"));
            Get<QCheckBox>(d, "withoutSolutionCheck")->click();
            Type(Get<QLineEdit>(d, "countEdit"), QStringLiteral("3"));
            Type(Get<QLineEdit>(d, "minutesEdit"), QStringLiteral("soon"));
            Get<QPushButton>(d, "cancelButton")->click();
            QCOMPARE(dialog->result(), int(QDialog::Rejected));
        }
        const TrainingPlan plan = LoadTrainingPlan(*m_profile, false);
        QVERIFY(!plan.standardRule);
        QVERIFY(plan.jqkEnabled);
        QVERIFY(!plan.fullRange && plan.endBounded && !plan.startBounded);
        QCOMPARE(plan.end, (Configuration{12, 13, 13, 13}));
        QVERIFY(plan.withSolution && !plan.withoutSolution);
        QCOMPARE(plan.questionCount, 3);  // kept as typed
        QCOMPARE(plan.minutes, 40);       // no number: the last one stays

        auto again = Open();
        QTest::keyClick(again.get(), Qt::Key_Escape);
        QVERIFY(!again->isVisible());
        QCOMPARE(LoadTrainingPlan(*m_profile, false), plan);
    }
};

TAVLIX_QTEST_MAIN(TrainingPlanDialogTest)
#include "TrainingPlanDialogTest.moc"
