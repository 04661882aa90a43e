#include <gtest/gtest.h>

#include <string>

#include "i18n/LanguageState.h"
#include "platform/InMemoryProfileStore.h"
#include "collections/Collection.h"
#include "runs/TrainingPlan.h"
#include "runs/WorldCup.h"
#include "settings/Profile.h"

namespace tavlix {
namespace {

TEST(WorldCupTest, TheStoredChoiceReadsNonZeroAsStandardAndOnlyOneAsJqk)
{
    struct Case {
        const char* name;
        std::optional<std::uint32_t> standard;
        std::optional<std::uint32_t> jqk;
        WorldCupChoice choice;
    };
    const Case cases[] = {
        {"fresh settings", std::nullopt, std::nullopt, {true, false}},
        {"advanced with J, Q, K", 0, 1, {false, true}},
        {"any non-zero rule is standard", 7, 0, {true, false}},
        {"a JQK other than 1 is off", 1, 2, {true, false}},
        {"the largest values", 0xFFFFFFFF, 0xFFFFFFFF, {true, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        InMemoryProfileStore store;
        if (c.standard)
            store.WriteInt("WC", "Standard", *c.standard);
        if (c.jqk)
            store.WriteInt("WC", "JQK", *c.jqk);
        EXPECT_EQ(LoadWorldCupChoice(Profile(store)), c.choice);
    }
}

TEST(WorldCupTest, TheChoiceIsStoredAsZeroOrOne)
{
    InMemoryProfileStore store;
    Profile profile(store);
    store.WriteInt("WC", "Standard", 7);
    StoreWorldCupChoice(profile, {false, true});
    EXPECT_EQ(store.ReadInt("WC", "Standard"), 0u);
    EXPECT_EQ(store.ReadInt("WC", "JQK"), 1u);
    StoreWorldCupChoice(profile, {true, false});
    EXPECT_EQ(store.ReadInt("WC", "Standard"), 1u);
    EXPECT_EQ(store.ReadInt("WC", "JQK"), 0u);
}

// Each level draws from every configuration of its range, solvable or not, and only the
// Holy War level is judged at Advanced difficulty.
TEST(WorldCupTest, EachLevelDrawsFromAllItsConfigurationsAtItsDifficulty)
{
    struct Case {
        const char* level;
        WorldCupChoice choice;
        std::size_t configurations;
        int difficulty;
    };
    const Case cases[] = {
        {"Standard", {true, false}, 715, 2},
        {"Hero", {true, true}, 1820, 2},
        {"Wizard", {false, false}, 715, 2},
        {"Holy War", {false, true}, 1820, 3},
    };
    const Collection none(true);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.level);
        const TrainingPlan plan = WorldCupPlan(c.choice);
        EXPECT_EQ(BuildCandidates(plan, none, none).size(), c.configurations);
        EXPECT_EQ(plan.questionCount, 40);
        EXPECT_EQ(WorldCupDifficulty(c.choice), c.difficulty);
    }
}

TEST(WorldCupTest, CaptionAndRulesText)
{
    LanguageState language;
    language.InitLanguage(Edition::Standard, kLcidEnglish);
    EXPECT_EQ(WorldCupCaption({true, false}, language), "World Cup - Standard Level");
    EXPECT_EQ(WorldCupCaption({true, true}, language), "World Cup - Hero Level");
    EXPECT_EQ(WorldCupCaption({false, false}, language), "World Cup - Wizard Level");
    EXPECT_EQ(WorldCupCaption({false, true}, language), "World Cup - Holy War Level");
    const std::string rules = WorldCupRulesText(language);
    EXPECT_EQ(rules.rfind("World Cup Rules\r\n\r\n1. A World Cup game has 40 questions", 0), 0u);
    EXPECT_NE(rules.find("when the time is up.\r\n\r\nLevels\r\n\r\n    Standard Level: Standard Rule"), std::string::npos);
}

}  // namespace
}  // namespace tavlix
