#include <gtest/gtest.h>

#include "engine/CBMUtilities.h"

namespace tavlix {
namespace {

std::string Normalize(const std::string& text, InputMode mode, CharacterSet cs)
{
    return CBMUtilities::GetNormalizedUserInput(text, mode, cs);
}

constexpr auto kEn = CharacterSet::English;
constexpr auto kGb = CharacterSet::SimplifiedChinese;
constexpr auto kBig5 = CharacterSet::TraditionalChinese;

TEST(UserInputTest, QuestionNumberDropsEveryBlank)
{
    EXPECT_EQ(Normalize(" 1\t2 ", InputMode::QuestionNumber, kEn), "12");
    EXPECT_EQ(Normalize("\xEF\xBC\x91\xE3\x80\x80\xEF\xBC\x93", InputMode::QuestionNumber, kGb), "13");
    EXPECT_EQ(Normalize("\xEF\xBC\x91\xE3\x80\x80\xEF\xBC\x93", InputMode::QuestionNumber, kBig5), "13");
    // English leaves full-width digits alone.
    EXPECT_EQ(Normalize("\xEF\xBC\x91", InputMode::QuestionNumber, kEn), "\xEF\xBC\x91");
}

TEST(UserInputTest, QuestionLineSeparators)
{
    EXPECT_EQ(Normalize("3,3;8\t8", InputMode::QuestionLine, kEn), "3 3 8 8");
    // Full-width comma and semicolon separate only under the Chinese interfaces.
    const std::string fullWidth = "3\xEF\xBC\x8C" "3\xEF\xBC\x9B" "8 8";
    EXPECT_EQ(Normalize(fullWidth, InputMode::QuestionLine, kGb), "3 3 8 8");
    EXPECT_EQ(Normalize(fullWidth, InputMode::QuestionLine, kBig5), "3 3 8 8");
    EXPECT_EQ(Normalize(fullWidth, InputMode::QuestionLine, kEn), fullWidth);
    // The ideographic space is a blank in Simplified Chinese and removed in Traditional.
    EXPECT_EQ(Normalize("3\xE3\x80\x80" "3", InputMode::QuestionLine, kGb), "3 3");
    EXPECT_EQ(Normalize("3\xE3\x80\x80" "3", InputMode::QuestionLine, kBig5), "33");
}

TEST(UserInputTest, AnswerLineLookAlikesPerCharacterSet)
{
    // （１＋３）×（２＋４） typed with a Chinese input method.
    const std::string typed =
        "\xEF\xBC\x88\xEF\xBC\x91\xEF\xBC\x8B\xEF\xBC\x93\xEF\xBC\x89\xC3\x97"
        "\xEF\xBC\x88\xEF\xBC\x92\xEF\xBC\x8B\xEF\xBC\x94\xEF\xBC\x89";
    EXPECT_EQ(Normalize(typed, InputMode::AnswerLine, kGb), "(1+3)*(2+4)");
    EXPECT_EQ(Normalize(typed, InputMode::AnswerLine, kBig5), "(1+3)*(2+4)");
    EXPECT_EQ(Normalize(typed, InputMode::AnswerLine, kEn), typed);
    EXPECT_EQ(Normalize("2x3X4", InputMode::AnswerLine, kEn), "2*3*4");
}

TEST(UserInputTest, TablesDifferBetweenTheTwoChineseSets)
{
    // "^" look-alikes exist only in the Simplified table; curly brackets and the box
    // drawing dash only in the Traditional one.
    const std::string caret = "\xEF\xBC\xBE";          // U+FF3E
    const std::string curly = "\xEF\xBD\x9B";          // U+FF5B
    const std::string boxDash = "\xE2\x94\x80";        // U+2500
    const std::string cyrillicHa = "\xD0\xA5";         // U+0425
    EXPECT_EQ(Normalize(caret, InputMode::AnswerLine, kGb), "^");
    EXPECT_EQ(Normalize(caret, InputMode::AnswerLine, kBig5), caret);
    EXPECT_EQ(Normalize(curly, InputMode::AnswerLine, kBig5), "(");
    EXPECT_EQ(Normalize(curly, InputMode::AnswerLine, kGb), curly);
    EXPECT_EQ(Normalize(boxDash, InputMode::AnswerLine, kBig5), "-");
    EXPECT_EQ(Normalize(cyrillicHa, InputMode::AnswerLine, kGb), "*");
    EXPECT_EQ(Normalize(cyrillicHa, InputMode::AnswerLine, kBig5), cyrillicHa);
}

TEST(UserInputTest, InvalidUtf8PassesThroughByteForByte)
{
    const std::string garbage("\xFF\xC3\x28\xE2\x82\x00\x80x", 8);
    const std::string expected("\xFF\xC3\x28\xE2\x82\x00\x80*", 8);
    EXPECT_EQ(Normalize(garbage, InputMode::AnswerLine, kGb), expected);
    // An overlong spelling of a tab is no tab.
    EXPECT_EQ(Normalize("\xC0\x89", InputMode::AnswerLine, kEn), "\xC0\x89");
}

}  // namespace
}  // namespace tavlix
