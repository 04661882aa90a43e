#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include <memory>

#include "GuiTestSupport.h"
#include "runs/CRankingDlg.h"
#include "runs/CWorldCupDlg.h"
#include "runs/RankingNameDlg.h"
#include "settings/Profile.h"

using namespace tavlix;
using namespace tavlix::testing;

class WorldCupDialogsTest : public QObject {
    Q_OBJECT

    LanguageState m_language = MakeLanguage();
    CachedStrings m_cache;
    InMemoryProfileStore m_settings;
    std::unique_ptr<Profile> m_profile;
    std::vector<int> m_helpTopics;

    std::function<void(int)> HelpOpener()
    {
        return [this](int topic) { m_helpTopics.push_back(topic); };
    }

    template <typename Widget>
    static Widget* Child(QWidget* parent, const QString& name)
    {
        auto* child = parent->findChild<Widget*>(name);
        if (!child)
            qFatal("no widget %s", qPrintable(name));
        return child;
    }

    static QString Cell(QWidget* dialog, const char* column, int row)
    {
        return Child<QLabel>(dialog, QLatin1String(column) + QString::number(row))->text();
    }

    // One row of the ranking window: "number | name | value".
    static QString Row(QWidget* dialog, int row)
    {
        return Cell(dialog, "numberLabel", row) + QStringLiteral(" | ") + Cell(dialog, "nameLabel", row) +
               QStringLiteral(" | ") + Cell(dialog, "valueLabel", row);
    }

    void StorePlace(const char* section, int place, const char* name, std::uint32_t value)
    {
        m_settings.WriteString(section, "Name" + std::to_string(place), name);
        m_settings.WriteInt(section, "Score" + std::to_string(place), value);
    }

    static std::function<bool(QDialog*)> Named(const char* name)
    {
        return [name](QDialog* dialog) { return dialog->objectName() == QLatin1String(name); };
    }

private slots:
    void init()
    {
        m_cache.Reload(m_language);
        SetMessageBoxContext({&m_language, &m_cache, {}});
        m_settings = InMemoryProfileStore();
        m_profile = std::make_unique<Profile>(m_settings);
        m_helpTopics.clear();
    }

    void worldCupCaptionFollowsTheChoiceAndOkKeepsIt()
    {
        CWorldCupDlg dialog(*m_profile, m_language, HelpOpener());
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("World Cup - Standard Level"));
        QVERIFY(Child<QRadioButton>(&dialog, "standardRuleRadio")->isChecked());
        QVERIFY(!Child<QCheckBox>(&dialog, "jqkCheck")->isChecked());
        QCOMPARE(Child<QWidget>(&dialog, "rulesGroup")->property("title").toString(), QStringLiteral("Select Rules"));
        QCOMPARE(Child<QWidget>(&dialog, "amateurRankingButton")->toolTip(),
                 QStringLiteral("World Ranking on 24 Calculation for Amateurs"));
        QCOMPARE(Child<QWidget>(&dialog, "professionalRankingButton")->toolTip(),
                 QStringLiteral("World Ranking on 24 Calculation for Professional Players"));
        QCOMPARE(Child<QWidget>(&dialog, "rulesButton")->toolTip(), QStringLiteral("Rules"));
        QCOMPARE(Child<QWidget>(&dialog, "okButton")->toolTip(), QStringLiteral("Go!"));

        Child<QCheckBox>(&dialog, "jqkCheck")->click();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("World Cup - Hero Level"));
        Child<QRadioButton>(&dialog, "advancedRuleRadio")->click();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("World Cup - Holy War Level"));
        Child<QCheckBox>(&dialog, "jqkCheck")->click();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("World Cup - Wizard Level"));
        Child<QCheckBox>(&dialog, "jqkCheck")->click();

        Child<QAbstractButton>(&dialog, "okButton")->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(!dialog.IsStandardRule());
        QVERIFY(dialog.IsJqkEnabled());
        QCOMPARE(m_settings.ReadInt("WC", "Standard"), 0u);
        QCOMPARE(m_settings.ReadInt("WC", "JQK"), 1u);
    }

    void worldCupOpensWithTheStoredChoiceAndCancelStillKeepsTheNewOne()
    {
        m_settings.WriteInt("WC", "Standard", 5);
        m_settings.WriteInt("WC", "JQK", 1);
        CWorldCupDlg dialog(*m_profile, m_language, HelpOpener());
        dialog.show();
        QVERIFY(Child<QRadioButton>(&dialog, "standardRuleRadio")->isChecked());
        QVERIFY(Child<QCheckBox>(&dialog, "jqkCheck")->isChecked());
        QCOMPARE(dialog.windowTitle(), QStringLiteral("World Cup - Hero Level"));
        Child<QRadioButton>(&dialog, "advancedRuleRadio")->click();
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(m_settings.ReadInt("WC", "Standard"), 0u);
        QCOMPARE(m_settings.ReadInt("WC", "JQK"), 1u);

        m_settings.WriteInt("WC", "JQK", 2);  // only 1 means on
        CWorldCupDlg again(*m_profile, m_language, HelpOpener());
        QVERIFY(Child<QRadioButton>(&again, "advancedRuleRadio")->isChecked());
        QVERIFY(!Child<QCheckBox>(&again, "jqkCheck")->isChecked());
        QCOMPARE(again.windowTitle(), QStringLiteral("World Cup - Wizard Level"));
    }

    void enterStartsTheGameWithTheShownChoice()
    {
        CWorldCupDlg dialog(*m_profile, m_language, HelpOpener());
        dialog.show();
        Child<QRadioButton>(&dialog, "advancedRuleRadio")->click();
        QTest::keyClick(Child<QRadioButton>(&dialog, "advancedRuleRadio"), Qt::Key_Return);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(!dialog.IsStandardRule());
        QVERIFY(!dialog.IsJqkEnabled());
    }

    void rulesButtonAndF1ShowTheRules()
    {
        CWorldCupDlg dialog(*m_profile, m_language, HelpOpener());
        dialog.show();
        for (const bool byKey : {false, true}) {
            SeenBox seen;
            AnswerNextBox(seen, kOk);
            if (byKey)
                QTest::keyClick(Child<QCheckBox>(&dialog, "jqkCheck"), Qt::Key_F1);
            else
                Child<QAbstractButton>(&dialog, "rulesButton")->click();
            QVERIFY(seen.shown);
            QVERIFY(seen.text.startsWith(QStringLiteral("World Cup Rules\n\n1. A World Cup game has 40 questions")));
            QVERIFY(seen.text.contains(QStringLiteral("when the time is up.\n\nLevels\n\n    Standard Level:")));
            QCOMPARE(seen.caption, QStringLiteral("Tavlix"));
        }
        QVERIFY(m_helpTopics.empty());
        QVERIFY(dialog.isVisible());
    }

    void rankingButtonsOpenTheRankingOfTheChosenLevel()
    {
        StorePlace("Rank\\AMA_SJ", 1, "Hero Amateur", 33);
        StorePlace("Rank\\PRO_SJ", 1, "Hero Pro", 1510);
        CWorldCupDlg dialog(*m_profile, m_language, HelpOpener());
        dialog.show();
        Child<QCheckBox>(&dialog, "jqkCheck")->click();

        QString amateurCaption;
        QString amateurRow;
        OnNextDialog(
            this,
            [&](QDialog* ranking) {
                amateurCaption = ranking->windowTitle();
                amateurRow = Row(ranking, 1);
                QVERIFY(Child<QCheckBox>(ranking, "jqkCheck")->isChecked());
                QVERIFY(Child<QRadioButton>(ranking, "standardRuleRadio")->isChecked());
                Child<QAbstractButton>(ranking, "okButton")->click();
            },
            Named("rankingDlg"));
        Child<QAbstractButton>(&dialog, "amateurRankingButton")->click();
        QCOMPARE(amateurCaption, QStringLiteral("World Ranking for Amateurs - Hero Level"));
        QCOMPARE(amateurRow, QStringLiteral("Number 1: | Hero Amateur | 33"));

        QString professionalCaption;
        QString professionalRow;
        OnNextDialog(
            this,
            [&](QDialog* ranking) {
                professionalCaption = ranking->windowTitle();
                professionalRow = Row(ranking, 1);
                // Another level in the ranking window leaves the World Cup's choice alone.
                Child<QRadioButton>(ranking, "advancedRuleRadio")->click();
                QTest::keyClick(ranking, Qt::Key_Escape);
            },
            Named("rankingDlg"));
        Child<QAbstractButton>(&dialog, "professionalRankingButton")->click();
        QCOMPARE(professionalCaption, QStringLiteral("World Ranking for Professional Players - Hero Level"));
        QCOMPARE(professionalRow, QStringLiteral("Number 1: | Hero Pro | 25 min 10 sec"));
        QVERIFY(Child<QRadioButton>(&dialog, "standardRuleRadio")->isChecked());
        QCOMPARE(dialog.windowTitle(), QStringLiteral("World Cup - Hero Level"));
    }

    void rankingSwitchesLevelLive()
    {
        StorePlace("Rank\\PRO_SS", 1, "Standard Pro", 754);
        StorePlace("Rank\\PRO_AJ", 1, "Holy Pro", 1510);
        StorePlace("Rank\\PRO_AJ", 2, "Out of range", 2401);
        CRankingDlg dialog(*m_profile, m_language, RankingKind::Professional, true, false, HelpOpener());
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("World Ranking for Professional Players - Standard Level"));
        QCOMPARE(Row(&dialog, 1), QStringLiteral("Number 1: | Standard Pro | 12 min 34 sec"));
        for (int row = 2; row <= 6; ++row)
            QCOMPARE(Row(&dialog, row), QStringLiteral("Number %1: | (N/A) | (N/A)").arg(row));

        Child<QRadioButton>(&dialog, "advancedRuleRadio")->click();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("World Ranking for Professional Players - Wizard Level"));
        QCOMPARE(Row(&dialog, 1), QStringLiteral("Number 1: | (N/A) | (N/A)"));
        Child<QCheckBox>(&dialog, "jqkCheck")->click();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("World Ranking for Professional Players - Holy War Level"));
        QCOMPARE(Row(&dialog, 1), QStringLiteral("Number 1: | Holy Pro | 25 min 10 sec"));
        QCOMPARE(Row(&dialog, 2), QStringLiteral("Number 2: | (N/A) | (N/A)"));

        QTest::keyClick(&dialog, Qt::Key_F1);
        QCOMPARE(m_helpTopics, std::vector<int>{17});
        QVERIFY(!m_settings.ReadInt("WC", "Standard").has_value());
    }

    void rankingNumbersTiesAndShowsNamesAsText()
    {
        StorePlace("Rank\\AMA_SS", 1, "Ann", 39);
        StorePlace("Rank\\AMA_SS", 2, "<b>Bob</b>", 35);
        StorePlace("Rank\\AMA_SS", 3, "Cy\r\nsecond line", 35);
        StorePlace("Rank\\AMA_SS", 4, std::string(300, 'W').c_str(), 30);
        CRankingDlg dialog(*m_profile, m_language, RankingKind::Amateur, true, false, HelpOpener());
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("World Ranking for Amateurs - Standard Level"));
        QCOMPARE(Row(&dialog, 1), QStringLiteral("Number 1: | Ann | 39"));
        QCOMPARE(Row(&dialog, 2), QStringLiteral("Number 2: | <b>Bob</b> | 35"));
        QCOMPARE(Child<QLabel>(&dialog, "nameLabel2")->textFormat(), Qt::PlainText);
        QCOMPARE(Row(&dialog, 3), QStringLiteral("Number 2: | Cy  second line | 35"));
        auto* longName = Child<QLabel>(&dialog, "nameLabel4");
        QVERIFY(longName->text().endsWith(QChar(0x2026)));
        QVERIFY(longName->text().size() < 300);
        QCOMPARE(longName->toolTip(), QString(300, QLatin1Char('W')));
        QCOMPARE(Cell(&dialog, "numberLabel", 4), QStringLiteral("Number 4:"));
        QCOMPARE(Row(&dialog, 5), QStringLiteral("Number 5: | (N/A) | (N/A)"));
    }

    void nameDialogCancelStoresNothingButRemembersTheName()
    {
        m_settings.WriteString("Rank", "Last Name", "Old Name");
        QString caption;
        QString prompt;
        QString startName;
        OnNextDialog(
            this,
            [&](QDialog* nameDialog) {
                caption = nameDialog->windowTitle();
                prompt = Child<QLabel>(nameDialog, "promptLabel")->text();
                auto* edit = Child<QLineEdit>(nameDialog, "nameEdit");
                startName = edit->text();
                QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
                QTest::keyClicks(edit, QStringLiteral("  Neo  "));
                Child<QAbstractButton>(nameDialog, "cancelButton")->click();
            },
            Named("rankingNameDlg"));
        QVERIFY(!OfferWorldCupRanking(*m_profile, m_language, HelpOpener(), 39, 1800, true, false, nullptr));
        QCOMPARE(caption, QStringLiteral("Congratulations!"));
        QCOMPARE(prompt, QStringLiteral("Based on you outstanding performance in the World Cup Game, you have entered "
                                        "World Ranking on 24 Calculation for Amateurs! \n\nPlease enter you name:"));
        QCOMPARE(startName, QStringLiteral("Old Name"));
        QCOMPARE(m_settings.ReadString("Rank", "Last Name"), std::optional<std::string>("  Neo  "));
        QVERIFY(!m_settings.ReadInt("Rank\\AMA_SS", "Score1").has_value());
    }

    void nameDialogOkAddsTheEntryAndShowsTheTable()
    {
        StorePlace("Rank\\PRO_AJ", 1, "Faster", 700);
        QString rankingCaption;
        QString rows[3];
        OnNextDialog(
            this,
            [&](QDialog* nameDialog) {
                auto* edit = Child<QLineEdit>(nameDialog, "nameEdit");
                QCOMPARE(edit->maxLength(), 511);
                QTest::keyClicks(edit, QStringLiteral(" Max "));
                OnNextDialog(
                    this,
                    [&](QDialog* ranking) {
                        rankingCaption = ranking->windowTitle();
                        for (int row = 1; row <= 3; ++row)
                            rows[row - 1] = Row(ranking, row);
                        Child<QAbstractButton>(ranking, "okButton")->click();
                    },
                    Named("rankingDlg"));
                Child<QAbstractButton>(nameDialog, "okButton")->click();
            },
            Named("rankingNameDlg"));
        QVERIFY(OfferWorldCupRanking(*m_profile, m_language, HelpOpener(), 40, 754, false, true, nullptr));
        QCOMPARE(rankingCaption, QStringLiteral("World Ranking for Professional Players - Holy War Level"));
        QCOMPARE(rows[0], QStringLiteral("Number 1: | Faster | 11 min 40 sec"));
        QCOMPARE(rows[1], QStringLiteral("Number 2: |  Max  | 12 min 34 sec"));
        QCOMPARE(rows[2], QStringLiteral("Number 3: | (N/A) | (N/A)"));
        QCOMPARE(m_settings.ReadString("Rank\\PRO_AJ", "Name2"), std::optional<std::string>(" Max "));
        QCOMPARE(m_settings.ReadInt("Rank\\PRO_AJ", "Score2"), std::optional<std::uint32_t>(754));
        QCOMPARE(m_settings.ReadString("Rank", "Last Name"), std::optional<std::string>(" Max "));
    }

    void aResultThatDoesNotRankAsksNothing()
    {
        for (int place = 1; place <= 6; ++place)
            StorePlace("Rank\\AMA_AS", place, "Full", 30);
        QObject guard;
        bool asked = false;
        OnNextDialog(&guard, [&](QDialog*) { asked = true; });
        QVERIFY(!OfferWorldCupRanking(*m_profile, m_language, HelpOpener(), 30, 600, false, false, nullptr));
        QVERIFY(!OfferWorldCupRanking(*m_profile, m_language, HelpOpener(), 23, 600, true, false, nullptr));
        QTest::qWait(50);
        QVERIFY(!asked);
        QVERIFY(!m_settings.ReadString("Rank", "Last Name").has_value());
    }
};

TAVLIX_QTEST_MAIN(WorldCupDialogsTest)
#include "WorldCupDialogsTest.moc"
