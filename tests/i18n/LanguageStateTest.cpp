#include <gtest/gtest.h>

#include "i18n/LanguageState.h"
#include "i18n/StringIds.h"

namespace tavlix {
namespace {

TEST(LanguageStateTest, SimplifiedChineseEditionIgnoresTheStoreAndOffersNoLanguages)
{
    LanguageState language;
    language.InitLanguage(Edition::SimplifiedChinese, kLcidEnglish);
    EXPECT_EQ(language.Lcid(), kLcidSimplifiedChinese);
    EXPECT_EQ(language.FontCharSet(), 134);
    EXPECT_EQ(language.InputCharacterSet(), CharacterSet::SimplifiedChinese);
    EXPECT_TRUE(language.LanguageNames().empty());
    EXPECT_EQ(language.GetLocalizedString(IDS_DIALOG_OK), "确定");
    EXPECT_EQ(language.GetLocalizedString(IDS_DIALOG_OK, {}, {}, {}, kEnglish), "OK");

    EXPECT_FALSE(language.SetLanguage("English"));  // no list: nothing changes
    EXPECT_EQ(language.Lcid(), kLcidSimplifiedChinese);
}

TEST(LanguageStateTest, StandardEditionStartsInTheStoredLanguage)
{
    struct Case {
        std::optional<std::uint32_t> stored;
        std::uint32_t userDefault;
        std::uint32_t expected;
    } cases[] = {
        {std::nullopt, kLcidEnglish, kLcidEnglish},
        {std::nullopt, kLcidTraditionalChinese, kLcidTraditionalChinese},
        {kLcidSimplifiedChinese, kLcidEnglish, kLcidSimplifiedChinese},
        {0x0411, kLcidSimplifiedChinese, kLcidEnglish},  // Japanese is not offered
        {0xFFFFFFFF, kLcidEnglish, kLcidEnglish},
    };
    for (const Case& c : cases) {
        LanguageState language;
        language.InitLanguage(Edition::Standard, c.stored.value_or(c.userDefault));
        EXPECT_EQ(language.Lcid(), c.expected);
        EXPECT_EQ(language.FontCharSet(), GetFontCharSet(c.expected));
        EXPECT_EQ(language.LanguageNames(),
                  (std::vector<std::string>{"English", "Simplified Chinese (简体中文)",
                                            "Traditional Chinese (繁體中文)"}));
        EXPECT_EQ(language.LanguageIds(), (std::vector<std::string>{"0409", "0804", "0404"}));
    }
}

// True only for a change, which is what the caller keeps as the choice.
TEST(LanguageStateTest, SetLanguageSwitchesByDisplayName)
{
    LanguageState language;
    language.InitLanguage(Edition::Standard, kLcidEnglish);
    EXPECT_EQ(language.ProductName(), "Tavlix");

    EXPECT_TRUE(language.SetLanguage("Traditional Chinese (繁體中文)"));
    EXPECT_EQ(language.Lcid(), kLcidTraditionalChinese);
    EXPECT_EQ(language.InputCharacterSet(), CharacterSet::TraditionalChinese);
    EXPECT_EQ(language.CompanyName(), language.GetLocalizedString(IDS_BMT_COMPANY));
    EXPECT_EQ(language.GetLocalizedString(IDS_DIALOG_OK), "確定");

    EXPECT_FALSE(language.SetLanguage("Traditional Chinese (繁體中文)"));
    EXPECT_FALSE(language.SetLanguage("traditional chinese (繁體中文)"));  // names match exactly
    EXPECT_FALSE(language.SetLanguage("Klingon"));
    EXPECT_EQ(language.Lcid(), kLcidTraditionalChinese);
}

TEST(LanguageStateTest, CachedStringsFollowTheLanguage)
{
    LanguageState language;
    language.InitLanguage(Edition::Standard, kLcidEnglish);
    CachedStrings cache;
    EXPECT_FALSE(cache.IsLoaded());
    cache.Reload(language);
    EXPECT_EQ(cache.Get(IDS_DIALOG_YES_Y), "&Yes");
    EXPECT_EQ(cache.Get(IDS_TIP_HELP), "Help (F1)");
    EXPECT_EQ(cache.Attribute(2), "Read-only");
    EXPECT_EQ(cache.Attribute(9), "");
    EXPECT_EQ(cache.Get(IDS_DIALOG_MAIN_PROMPT_GOOD), "") << "not a cached text";

    language.SetLanguage("Simplified Chinese (简体中文)");
    cache.Reload(language);
    EXPECT_EQ(cache.Get(IDS_DIALOG_OK), "确定");
}

}  // namespace
}  // namespace tavlix
