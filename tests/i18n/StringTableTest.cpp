#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <set>

#include "i18n/StringIds.h"
#include "i18n/StringTable.h"

namespace tavlix {
namespace {

std::string Look(int id, int column, std::string_view a = {}, std::string_view b = {},
                 std::string_view c = {})
{
    return LookUpString(id, column, a, b, c, GetStringCount());
}

TEST(StringTableTest, LayoutHeaderRowsCategoriesAndTerminator)
{
    const auto rows = StringTableRows();
    ASSERT_GE(rows.size(), 4u);
    EXPECT_EQ(rows[0].id, 1);
    EXPECT_STREQ(rows[0].text_chs, "Simplified Chinese (简体中文)");
    EXPECT_STREQ(rows[0].text_cht, "Traditional Chinese (繁體中文)");
    EXPECT_STREQ(rows[1].text_chs, "0x0804");
    EXPECT_EQ(rows.back().id, 0);
    EXPECT_STREQ(rows.back().text_en, "*");
    EXPECT_EQ(GetStringCount(), int(rows.size()));

    // Categories in their order, each within its id range and with its row count.
    const std::vector<std::string> order = {"Info", "BMT", "Dialog", "Error", "Menu", "Message", "Tip",
                                            "Hint", "History", "Statistics", "Update", "Accessibility", "Notices",
                                            "Technique"};
    const std::map<std::string, std::pair<int, int>> ranges = {
        {"Tip", {20000, 32}}, {"Menu", {30000, 32}}, {"Dialog", {40000, 210}},
        {"Message", {80000, 4}}, {"Error", {100000, 19}}, {"BMT", {140000, 28}},
        {"Hint", {90000, 11}}, {"History", {90100, 5}}, {"Statistics", {90200, 27}},
        {"Update", {90300, 9}}, {"Accessibility", {90400, 5}}, {"Notices", {90550, 3}},
        {"Technique", {90600, 25}}};
    std::map<std::string, int> counts;
    std::size_t category = 0;
    std::set<int> ids;
    for (std::size_t i = 0; i + 1 < rows.size(); ++i) {
        const LocalizedStringRecord& r = rows[i];
        while (category < order.size() && order[category] != r.category)
            ++category;
        ASSERT_LT(category, order.size()) << r.name << " is out of category order";
        EXPECT_TRUE(ids.insert(r.id).second) << r.name << " repeats id " << r.id;
        EXPECT_EQ(r.reserved, 0);
        ++counts[r.category];
        if (const auto range = ranges.find(r.category); range != ranges.end()) {
            EXPECT_GE(r.id, range->second.first) << r.name;
            EXPECT_LT(r.id, range->second.first + range->second.second) << r.name;
        }
    }
    for (const auto& [name, range] : ranges)
        EXPECT_EQ(counts[name], range.second) << name;
}

TEST(StringTableTest, EveryRowIsTranslatedWithTheSamePlaceholders)
{
    const std::regex placeholder("%[123]|#[1-6]");
    const auto shape = [&](const std::string& text) {
        std::multiset<std::string> marks;
        for (auto it = std::sregex_iterator(text.begin(), text.end(), placeholder);
             it != std::sregex_iterator(); ++it)
            marks.insert(it->str());
        const auto count = [&](std::string_view what) {
            std::size_t n = 0;
            for (std::size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + 1))
                ++n;
            return n;
        };
        return std::tuple(marks, count("\r\n"), count("\t"));
    };
    for (const LocalizedStringRecord& r : StringTableRows()) {
        for (const char* text : {r.text_en, r.text_chs, r.text_cht})
            EXPECT_NE(std::string(text), "") << r.name;
        EXPECT_EQ(shape(r.text_en), shape(r.text_chs)) << r.name;
        EXPECT_EQ(shape(r.text_en), shape(r.text_cht)) << r.name;
    }
}

TEST(StringTableTest, QuotedTextsAreExact)
{
    EXPECT_EQ(Look(IDS_BMT_PRODUCT, kEnglish), "Tavlix");
    EXPECT_EQ(Look(IDS_BMT_COMPANY, kEnglish), "Brelmor Studio");
    EXPECT_EQ(Look(IDS_DIALOG_OK, kEnglish), "OK");
    EXPECT_EQ(Look(IDS_MENU_GAME_CHECK_SOLUTION_C, kEnglish), "&Check Solution\tCtrl+S");
    EXPECT_EQ(Look(IDS_BMT_FILE_TYPE_TEXT_AND_ALL, kEnglish),
              "Text File (*.txt)|*.txt|All Files (*.*)|*.*||");
    const auto raw = [](int id) {
        for (const LocalizedStringRecord& r : StringTableRows())
            if (r.id == id)
                return std::string(r.text_en);
        return std::string();
    };
    EXPECT_EQ(raw(IDS_DIALOG_MAIN_YOU_LOST_CAN_CLICK),
              "You lost! The question has %1 answer(s) under %2.\r\n\r\nYou can view all valid "
              "solution(s) by clicking the button below.");
    EXPECT_EQ(Look(IDS_DIALOG_TRAINING_DIFFICULTY_LEVEL_LIST, kEnglish),
              "Beginner\r\nIntermediate\r\nAdvanced\r\nUltimate");
    EXPECT_EQ(Look(IDS_BMT_PROPERTIES_ATTRIBUTES, kEnglish),
              "Attributes\r\nNormal\r\nRead-only\r\nHidden\r\nArchive\r\nSystem");
}

TEST(StringTableTest, PlaceholderSubstitutionSteps)
{
    // "%1 (same as %2)": both filled.
    EXPECT_EQ(Look(IDS_DIALOG_MAIN_PROMPT_WCM_SAME_AS, kEnglish, "1*2*3*4", "1"), "1*2*3*4 (same as 1)");
    // An argument holding a later placeholder is filled by the next step.
    EXPECT_EQ(Look(IDS_DIALOG_MAIN_PROMPT_WCM_SAME_AS, kEnglish, "%2", "7"), "7 (same as 7)");
    // Without "%1" nothing is substituted, even "%2".
    EXPECT_EQ(Look(IDS_DIALOG_MAIN_YOU_LOST_WITH_NO_ANSWER, kEnglish, "Standard Rule"),
              "You lost! The question has NO answer under Standard Rule.");
    const std::string exit = Look(IDS_DIALOG_MAIN_PROMPT_EXIT_OTHER_TAVLIX, kEnglish, "Tavlix");
    EXPECT_EQ(exit.find("%1"), std::string::npos);
    EXPECT_GE(std::count(exit.begin(), exit.end(), 'T'), 2);
    // "#n" placeholders are the caller's.
    EXPECT_NE(Look(IDS_ERROR_FILE_CAN_NOT_CREATE_DIR, kEnglish, "x").find("#1"), std::string::npos);
}

TEST(StringTableTest, LookupEdges)
{
    EXPECT_EQ(Look(0, kEnglish), "*");
    EXPECT_EQ(Look(123456, kEnglish), "");
    EXPECT_EQ(LookUpString(IDS_DIALOG_OK, kEnglish, {}, {}, {}, 3), "") << "beyond the rows in use";
    EXPECT_EQ(Look(IDS_DIALOG_OK, kSimplifiedChinese), "确定");
    EXPECT_EQ(Look(IDS_DIALOG_OK, kTraditionalChinese), "確定");
    EXPECT_EQ(Look(IDS_DIALOG_OK, 7), "確定") << "any other column reads Traditional Chinese";
}

TEST(StringTableTest, ParseHexNumber)
{
    EXPECT_EQ(ParseHexNumber("0x0804"), 2052u);
    EXPECT_EQ(ParseHexNumber("0804"), 2052u);
    EXPECT_EQ(ParseHexNumber(" \t0X0404\r\n"), 1028u);
    EXPECT_EQ(ParseHexNumber("ffffFFFF"), 0xFFFFFFFFu);
    EXPECT_EQ(ParseHexNumber("123456789"), 0u);
    EXPECT_EQ(ParseHexNumber("04G4"), 0u);
    EXPECT_EQ(ParseHexNumber(""), 0u);
    EXPECT_EQ(ParseHexNumber("0x"), 0u);
}

TEST(StringTableTest, FontCharSetFollowsTheLocaleCodePage)
{
    EXPECT_EQ(GetFontCharSet(1033), 0);
    EXPECT_EQ(GetFontCharSet(2052), 134);
    EXPECT_EQ(GetFontCharSet(1028), 136);
    EXPECT_EQ(GetFontCharSet(0x0C04), 136);  // Hong Kong
    EXPECT_EQ(GetFontCharSet(0x1004), 134);  // Singapore
    EXPECT_EQ(GetFontCharSet(0x0411), 128);  // Japanese
    EXPECT_EQ(GetFontCharSet(0x0419), 204);  // Russian
    EXPECT_EQ(GetFontCharSet(0x0439), 1);    // Hindi: Unicode only
    EXPECT_EQ(GetFontCharSet(0x7777), 0);    // unknown
}

}  // namespace
}  // namespace tavlix
