#include <gtest/gtest.h>

#include <algorithm>

#include "shell/CommandTable.h"
#include "i18n/LanguageState.h"

namespace tavlix {
namespace {

LanguageState English()
{
    LanguageState language;
    language.InitLanguage(Edition::Standard, kLcidEnglish);
    return language;
}

std::vector<std::string> Texts(const std::vector<MenuEntry>& entries, bool grayedOnly = false)
{
    std::vector<std::string> texts;
    for (const MenuEntry& e : entries)
        if (!grayedOnly || e.grayed)
            texts.push_back(e.IsSeparator() ? "-" : e.text);
    return texts;
}

// The entry of a command in a popup, wherever it stands.
const MenuEntry& EntryOf(const std::vector<MenuEntry>& entries, int id)
{
    static const MenuEntry kNone{};
    const auto found = std::find_if(entries.begin(), entries.end(), [id](const MenuEntry& e) { return e.id == id; });
    return found != entries.end() ? *found : kNone;
}

TEST(CommandTableTest, TrainingGameMenus)
{
    const LanguageState language = English();
    CommandContext c;
    c.mode = RunMode::TrainingGame;
    c.questionValid = true;
    const auto game = PopupEntries(Popup::Game, c, language, "Tavlix");
    EXPECT_EQ(EntryOf(game, ID_TRAINING_GAME).text, "Stop Training &Game\tEsc");
    EXPECT_FALSE(EntryOf(game, ID_TRAINING_GAME).grayed);
    EXPECT_EQ(Texts(game, true),
              (std::vector<std::string>{
                  "&Standard rule (addition, subtraction, multiplication and division)",
                  "&Advanced rule (addition, subtraction, multiplication, division, power and root)",
                  "Enable &J (11), Q (12), K (13)", "T&raining...", "&World Cup...",
                  "&Check Solution\tCtrl+S", "&Hint\tCtrl+H", "Save to \"&Trouble Makers\"...",
                  "Save to \"&My Favorites\"..."}));
    const auto tools = PopupEntries(Popup::Tools, c, language, "Tavlix");
    EXPECT_EQ(Texts(tools, true).size(), 5u);  // the collections, Instant Solutions, Complete List, Statistics
    EXPECT_FALSE(tools.back().grayed) << "Options stays available";
}

TEST(CommandTableTest, AvailabilityPerMode)
{
    struct Case {
        RunMode mode;
        std::vector<int> enabled;
        std::vector<int> disabled;
    } cases[] = {
        {RunMode::Free, {ID_STANDARD_RULE, ID_TRAINING, ID_TRAINING_GAME, ID_WORLD_CUP, ID_TROUBLE_MAKERS, ID_OPTIONS},
         {ID_DONE, ID_PREVIOUS, ID_NEXT}},
        {RunMode::Training, {ID_STANDARD_RULE, ID_TRAINING, ID_INSTANT_SOLUTIONS, ID_STATISTICS},
         {ID_TRAINING_GAME, ID_WORLD_CUP, ID_DONE}},
        {RunMode::WorldCup, {ID_WORLD_CUP, ID_DONE, ID_HELP, ID_MUSIC_ON},
         {ID_STANDARD_RULE, ID_ENABLE_JQK, ID_TRAINING, ID_TRAINING_GAME, ID_COMPLETE_LIST, ID_CHECK_SOLUTION,
          ID_STATISTICS}},
    };
    for (const Case& test : cases) {
        CommandContext c;
        c.mode = test.mode;
        c.questionValid = true;
        for (const int id : test.enabled)
            EXPECT_TRUE(IsCommandEnabled(id, c)) << id;
        for (const int id : test.disabled)
            EXPECT_FALSE(IsCommandEnabled(id, c)) << id;
    }
}

// Hints are for practice: free play and Training, never a game that is scored.
TEST(CommandTableTest, HintOnlyInPractice)
{
    CommandContext c;
    c.questionValid = true;
    for (const RunMode mode : {RunMode::Free, RunMode::Training}) {
        c.mode = mode;
        EXPECT_TRUE(IsCommandEnabled(ID_HINT, c));
    }
    for (const RunMode mode : {RunMode::TrainingGame, RunMode::WorldCup}) {
        c.mode = mode;
        EXPECT_FALSE(IsCommandEnabled(ID_HINT, c));
    }
    c.mode = RunMode::Free;
    c.questionValid = false;
    EXPECT_FALSE(IsCommandEnabled(ID_HINT, c)) << "no question, no hint";
    const auto game = PopupEntries(Popup::Game, c, English(), "Tavlix");
    const auto hint = std::find_if(game.begin(), game.end(), [](const MenuEntry& e) { return e.id == ID_HINT; });
    ASSERT_NE(hint, game.end());
    EXPECT_EQ(hint->text, "&Hint\tCtrl+H");
    EXPECT_TRUE(hint->grayed);
    EXPECT_EQ(std::prev(hint)->id, ID_CHECK_SOLUTION) << "next to Check Solution";
}

TEST(CommandTableTest, ChecksFollowTheState)
{
    CommandContext c;
    c.standardRule = false;
    c.jqkEnabled = false;
    c.enlarged = true;
    c.lcid = kLcidTraditionalChinese;
    c.edition = Edition::Standard;
    EXPECT_FALSE(IsCommandChecked(ID_STANDARD_RULE, c));
    EXPECT_TRUE(IsCommandChecked(ID_ADVANCED_RULE, c));
    EXPECT_FALSE(IsCommandChecked(ID_ENABLE_JQK, c));
    EXPECT_TRUE(IsCommandChecked(ID_ENLARGED_UI, c));
    EXPECT_TRUE(IsCommandChecked(ID_LANGUAGE_TRADITIONAL, c));
    EXPECT_FALSE(IsCommandChecked(ID_LANGUAGE_ENGLISH, c));
    c.edition = Edition::SimplifiedChinese;
    EXPECT_FALSE(IsCommandEnabled(ID_LANGUAGE_ENGLISH, c));
    EXPECT_EQ(PopupEntries(Popup::UI, c, English(), "Tavlix").size(), 3u);
}

TEST(CommandTableTest, ClampQuestionBoxesOnJqkOff)
{
    struct Case {
        std::array<std::string, 4> in;
        std::array<std::string, 4> out;
    } cases[] = {
        {{"12", "3", "4", "5"}, {"10", "3", "4", "5"}},
        {{"x", "13", " 4 ", "05"}, {"", "10", " 4 ", ""}},
        {{"", "", "", ""}, {"", "", "", ""}},
        {{"", "11", "", ""}, {"", "10", "", ""}},
        {{"\xEF\xBC\x91\xEF\xBC\x92", "1", "1", "1"}, {"10", "1", "1", "1"}},  // full-width 12
    };
    for (Case c : cases) {
        ClampQuestionBoxes(c.in, 10, CharacterSet::SimplifiedChinese);
        EXPECT_EQ(c.in, c.out);
    }
    std::array<std::string, 4> boxes = {"1", "2", "3", "4"};
    EXPECT_EQ(QuestionTextOfBoxes(boxes, CharacterSet::English), "1 2 3 4");
}

}  // namespace
}  // namespace tavlix
