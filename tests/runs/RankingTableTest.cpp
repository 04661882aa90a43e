#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "i18n/LanguageState.h"
#include "platform/InMemoryProfileStore.h"
#include "runs/RankingTable.h"
#include "settings/Profile.h"

namespace tavlix {
namespace {

using Entries = std::vector<RankingEntry>;
using Values = std::vector<std::uint32_t>;

class RankingTableTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_language.InitLanguage(Edition::Standard, kLcidEnglish);
    }

    // Writes the places straight into the settings, as a stored table or a hand edit.
    void Store(const std::string& section, const Entries& places)
    {
        for (std::size_t i = 0; i < places.size(); ++i) {
            m_store.WriteString(section, "Name" + std::to_string(i + 1), places[i].name);
            m_store.WriteInt(section, "Score" + std::to_string(i + 1), places[i].value);
        }
    }

    RankingTable Load(RankingKind kind, bool standardRule = true, bool jqkEnabled = false) const
    {
        return RankingTable::Load(m_profile, kind, standardRule, jqkEnabled);
    }

    static Values ValuesOf(const RankingTable& table)
    {
        Values values;
        for (const RankingEntry& entry : table.Entries())
            values.push_back(entry.value);
        return values;
    }

    InMemoryProfileStore m_store;
    Profile m_profile{m_store};
    LanguageState m_language;
};

const Entries kFullAmateurTable = {{"Ann", 39}, {"Bob", 35}, {"Cy", 35}, {"Dee", 30}, {"Eve", 28}, {"Fay", 25}};

TEST_F(RankingTableTest, EachKindAndLevelHasItsOwnSection)
{
    struct Case {
        RankingKind kind;
        bool standardRule;
        bool jqkEnabled;
        const char* section;
    };
    const Case cases[] = {
        {RankingKind::Amateur, true, false, "Rank\\AMA_SS"},      {RankingKind::Amateur, true, true, "Rank\\AMA_SJ"},
        {RankingKind::Amateur, false, false, "Rank\\AMA_AS"},     {RankingKind::Amateur, false, true, "Rank\\AMA_AJ"},
        {RankingKind::Professional, true, false, "Rank\\PRO_SS"}, {RankingKind::Professional, true, true, "Rank\\PRO_SJ"},
        {RankingKind::Professional, false, false, "Rank\\PRO_AS"}, {RankingKind::Professional, false, true, "Rank\\PRO_AJ"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.section);
        Store(c.section, {{"Here", 30}});
        const RankingTable table = Load(c.kind, c.standardRule, c.jqkEnabled);
        EXPECT_EQ(table.SectionName(), c.section);
        EXPECT_EQ(table.Entries(), (Entries{{"Here", 30}}));
    }
}

TEST_F(RankingTableTest, TheWorldCupOffersTheTableOfItsResult)
{
    struct Case {
        const char* name;
        std::size_t score;
        std::int64_t seconds;
        bool offered;
        RankingKind kind;
        std::uint32_t value;
    };
    const Case cases[] = {
        {"all 40 in 25 min 10 s", 40, 1510, true, RankingKind::Professional, 1510},
        {"all 40 at time up", 40, 2400, true, RankingKind::Professional, 2400},
        {"all 40, time counted past the limit", 40, 2460, true, RankingKind::Professional, 2400},
        {"39 correct", 39, 1510, true, RankingKind::Amateur, 39},
        {"24 correct", 24, 2400, true, RankingKind::Amateur, 24},
        {"23 correct", 23, 1510, false, RankingKind::Amateur, 0},
        {"none correct", 0, 2400, false, RankingKind::Amateur, 0},
        {"all 40 in under 10 s", 40, 9, false, RankingKind::Professional, 0},
        {"more than a World Cup has", 41, 1510, false, RankingKind::Amateur, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto offer = DecideWorldCupRanking(m_profile, c.score, c.seconds, false, true);
        ASSERT_EQ(offer.has_value(), c.offered);
        if (!c.offered)
            continue;
        EXPECT_EQ(offer->table.Kind(), c.kind);
        EXPECT_EQ(offer->value, c.value);
        EXPECT_EQ(offer->table.SectionName(), c.kind == RankingKind::Amateur ? "Rank\\AMA_AJ" : "Rank\\PRO_AJ");
    }
}

TEST_F(RankingTableTest, FreshSettingsShowEmptyRowsAndTakeEveryResult)
{
    for (const RankingKind kind : {RankingKind::Amateur, RankingKind::Professional}) {
        const RankingTable table = Load(kind);
        EXPECT_TRUE(table.Entries().empty());
        const auto rows = table.Rows(m_language);
        for (std::size_t i = 0; i < rows.size(); ++i)
            EXPECT_EQ(rows[i], (RankingRow{"Number " + std::to_string(i + 1) + ":", "(N/A)", "(N/A)"}));
    }
    const RankingTable amateurs = Load(RankingKind::Amateur);
    for (std::uint32_t score = 24; score <= 39; ++score)
        EXPECT_TRUE(amateurs.Qualifies(score)) << score;
    const RankingTable professionals = Load(RankingKind::Professional);
    for (std::uint32_t seconds = 10; seconds <= 2400; ++seconds)
        ASSERT_TRUE(professionals.Qualifies(seconds)) << seconds;
}

TEST_F(RankingTableTest, AFullAmateurTableTakesOnlyAScoreAboveItsSixth)
{
    Store("Rank\\AMA_SS", {{"A", 39}, {"B", 38}, {"C", 36}, {"D", 33}, {"E", 31}, {"F", 30}});
    const RankingTable table = Load(RankingKind::Amateur);
    EXPECT_TRUE(table.Qualifies(31));
    EXPECT_FALSE(table.Qualifies(30));
    EXPECT_FALSE(DecideWorldCupRanking(m_profile, 30, 600, true, false).has_value());
    const auto offer = DecideWorldCupRanking(m_profile, 31, 600, true, false);
    ASSERT_TRUE(offer.has_value());
    EXPECT_EQ(offer->value, 31u);
}

TEST_F(RankingTableTest, AFullProfessionalTableTakesOnlyATimeBelowItsSixth)
{
    Store("Rank\\PRO_SS", {{"A", 600}, {"B", 700}, {"C", 900}, {"D", 1000}, {"E", 1200}, {"F", 1510}});
    const RankingTable table = Load(RankingKind::Professional);
    EXPECT_TRUE(table.Qualifies(1509));
    EXPECT_FALSE(table.Qualifies(1510));
    EXPECT_FALSE(DecideWorldCupRanking(m_profile, 40, 1510, true, false).has_value());
    const auto offer = DecideWorldCupRanking(m_profile, 40, 1509, true, false);
    ASSERT_TRUE(offer.has_value());
    EXPECT_EQ(offer->value, 1509u);
}

TEST_F(RankingTableTest, ANewScoreGoesAboveEqualScoresAndSharesTheirPlaceNumber)
{
    Store("Rank\\AMA_SS", kFullAmateurTable);
    RankingTable table = Load(RankingKind::Amateur);
    ASSERT_TRUE(table.Qualifies(35));
    ASSERT_TRUE(table.Add(m_profile, "New", 35));
    EXPECT_EQ(table.Entries(),
              (Entries{{"Ann", 39}, {"New", 35}, {"Bob", 35}, {"Cy", 35}, {"Dee", 30}, {"Eve", 28}}));
    EXPECT_EQ(table.PlaceNumbers(), (std::vector<std::size_t>{1, 2, 2, 2, 5, 6}));
    const auto rows = table.Rows(m_language);
    EXPECT_EQ(rows[1], (RankingRow{"Number 2:", "New", "35"}));
    EXPECT_EQ(rows[3], (RankingRow{"Number 2:", "Cy", "35"}));
    EXPECT_EQ(rows[4], (RankingRow{"Number 5:", "Dee", "30"}));
    // All six places are written at once, and read back the same.
    EXPECT_EQ(m_store.ReadString("Rank\\AMA_SS", "Name2"), "New");
    EXPECT_EQ(m_store.ReadInt("Rank\\AMA_SS", "Score6"), 28u);
    EXPECT_EQ(Load(RankingKind::Amateur).Entries(), table.Entries());
}

TEST_F(RankingTableTest, ANewScoreAboveTheSixthPushesItOut)
{
    Store("Rank\\AMA_SS", kFullAmateurTable);
    RankingTable table = Load(RankingKind::Amateur);
    EXPECT_FALSE(table.Qualifies(25));
    ASSERT_TRUE(table.Qualifies(26));
    ASSERT_TRUE(table.Add(m_profile, "New", 26));
    EXPECT_EQ(ValuesOf(Load(RankingKind::Amateur)), (Values{39, 35, 35, 30, 28, 26}));
}

TEST_F(RankingTableTest, AProfessionalTimeGoesAboveEqualTimes)
{
    Store("Rank\\PRO_SJ", {{"Quick", 600}, {"Steady", 700}});
    RankingTable table = Load(RankingKind::Professional, true, true);
    ASSERT_TRUE(table.Add(m_profile, "Same", 700));
    ASSERT_TRUE(table.Add(m_profile, "Best", 599));
    ASSERT_TRUE(table.Add(m_profile, "Last", 2400));
    EXPECT_EQ(Load(RankingKind::Professional, true, true).Entries(),
              (Entries{{"Best", 599}, {"Quick", 600}, {"Same", 700}, {"Steady", 700}, {"Last", 2400}}));
    EXPECT_EQ(m_store.ReadString("Rank\\PRO_SJ", "Name6"), "");
    EXPECT_EQ(m_store.ReadInt("Rank\\PRO_SJ", "Score6"), 0u);
}

TEST_F(RankingTableTest, ProfessionalTimesShowInMinutesAndSeconds)
{
    EXPECT_EQ(RankingTimeText(754, m_language), "12 min 34 sec");
    EXPECT_EQ(RankingTimeText(10, m_language), "0 min 10 sec");
    EXPECT_EQ(RankingTimeText(2400, m_language), "40 min 0 sec");
    Store("Rank\\PRO_AS", {{"Pro", 754}});
    EXPECT_EQ(Load(RankingKind::Professional, false, false).Rows(m_language)[0],
              (RankingRow{"Number 1:", "Pro", "12 min 34 sec"}));
}

TEST_F(RankingTableTest, LoadingKeepsOnlyValuesInRange)
{
    struct Case {
        RankingKind kind;
        std::uint32_t value;
        bool kept;
    };
    const Case cases[] = {
        {RankingKind::Amateur, 0, false},         {RankingKind::Amateur, 23, false},
        {RankingKind::Amateur, 24, true},         {RankingKind::Amateur, 39, true},
        {RankingKind::Amateur, 40, false},        {RankingKind::Amateur, 0xFFFFFFFF, false},
        {RankingKind::Professional, 0, false},    {RankingKind::Professional, 9, false},
        {RankingKind::Professional, 10, true},    {RankingKind::Professional, 2400, true},
        {RankingKind::Professional, 2401, false}, {RankingKind::Professional, 0xFFFFFFFF, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.value));
        m_store = InMemoryProfileStore();
        Store(RankingTable(c.kind, true, false).SectionName(), {{"Someone", c.value}});
        const RankingTable table = Load(c.kind);
        EXPECT_EQ(table.Entries().size(), c.kept ? 1u : 0u);
        EXPECT_EQ(table.Rows(m_language)[0].name, c.kept ? "Someone" : "(N/A)");
    }
}

TEST_F(RankingTableTest, AHandEditedTableIsSortedAndItsGapsClosed)
{
    Store("Rank\\AMA_SS", {{"Low", 25}, {"Gone", 40}, {"Top", 39}, {"First30", 30}, {"Second30", 30}});
    EXPECT_EQ(Load(RankingKind::Amateur).Entries(),
              (Entries{{"Top", 39}, {"First30", 30}, {"Second30", 30}, {"Low", 25}}));
    Store("Rank\\PRO_SS", {{"Slow", 2000}, {"Fast", 300}, {"Middle", 1000}});
    EXPECT_EQ(ValuesOf(Load(RankingKind::Professional)), (Values{300, 1000, 2000}));
}

TEST_F(RankingTableTest, CorruptedSettingsNeverGiveAnInvalidEntry)
{
    const std::string section = "Rank\\AMA_SS";
    m_store.WriteString(section, "Name1", "Garbage score");
    m_store.WriteString(section, "Score1", "thirty");
    m_store.WriteString(section, "Name2", std::string(600, 'x'));  // longer than a setting holds
    m_store.WriteInt(section, "Score2", 33);
    m_store.WriteInt(section, "Name3", 77);  // a number where a name belongs
    m_store.WriteInt(section, "Score3", 31);
    m_store.WriteString(section, "Name4", "No score at all");
    m_store.WriteInt(section, "Score5", 29);  // no name at all
    m_store.WriteString(section, "Name6", "<b>Bold</b>\r\nsecond line");
    m_store.WriteInt(section, "Score6", 27);
    const RankingTable table = Load(RankingKind::Amateur);
    EXPECT_EQ(table.Entries(), (Entries{{"", 33}, {"", 31}, {"", 29}, {"<b>Bold</b>\r\nsecond line", 27}}));
    const auto rows = table.Rows(m_language);
    EXPECT_EQ(rows[4], (RankingRow{"Number 5:", "(N/A)", "(N/A)"}));
}

TEST_F(RankingTableTest, AddingOutOfRangeStoresNothing)
{
    struct Case {
        RankingKind kind;
        std::uint32_t value;
    };
    const Case cases[] = {{RankingKind::Amateur, 23}, {RankingKind::Amateur, 40}, {RankingKind::Professional, 9},
                          {RankingKind::Professional, 2401}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.value));
        RankingTable table = Load(c.kind);
        EXPECT_FALSE(table.Qualifies(c.value));
        EXPECT_FALSE(table.Add(m_profile, "Cheater", c.value));
        EXPECT_TRUE(table.Entries().empty());
        EXPECT_FALSE(m_store.ReadInt(table.SectionName(), "Score1").has_value());
    }
}

TEST_F(RankingTableTest, AnOverlongNameIsCutNeverLeftToTheFormerHolder)
{
    Store("Rank\\AMA_SS", {{"Former holder", 0}});
    RankingTable table = Load(RankingKind::Amateur);
    std::string chinese;
    for (int i = 0; i < 600; ++i)
        chinese += "字";
    ASSERT_TRUE(table.Add(m_profile, chinese, 30));
    std::string cut;
    for (int i = 0; i < 511; ++i)
        cut += "字";
    EXPECT_EQ(Load(RankingKind::Amateur).Entries(), (Entries{{cut, 30}}));
}

TEST_F(RankingTableTest, TheLastNameIsRemembered)
{
    EXPECT_EQ(LoadLastRankingName(m_profile), "");
    StoreLastRankingName(m_profile, "  Spaced Out  ");
    EXPECT_EQ(m_store.ReadString("Rank", "Last Name"), "  Spaced Out  ");
    EXPECT_EQ(LoadLastRankingName(m_profile), "  Spaced Out  ");
    StoreLastRankingName(m_profile, std::string(600, 'n'));
    EXPECT_EQ(LoadLastRankingName(m_profile), std::string(511, 'n'));
}

TEST_F(RankingTableTest, TitlesAndCaptionsNameTheKindAndLevel)
{
    EXPECT_EQ(RankingTable(RankingKind::Amateur, true, true).Caption(m_language),
              "World Ranking for Amateurs - Hero Level");
    EXPECT_EQ(RankingTable(RankingKind::Professional, false, true).Caption(m_language),
              "World Ranking for Professional Players - Holy War Level");
    EXPECT_EQ(GameLevelName(true, false, m_language), "Standard");
    EXPECT_EQ(GameLevelName(false, false, m_language), "Wizard");
    EXPECT_EQ(RankingNamePrompt(RankingKind::Professional, m_language),
              "Based on you outstanding performance in the World Cup Game, you have entered World Ranking on 24 "
              "Calculation for Professional Players! \r\n\r\nPlease enter you name:");
    EXPECT_EQ(RankingTitle(RankingKind::Amateur, m_language), "World Ranking on 24 Calculation for Amateurs");
}

}  // namespace
}  // namespace tavlix
