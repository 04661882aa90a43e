#include <gtest/gtest.h>

#include <cmath>

#include "engine/CBMUtilities.h"

namespace tavlix {
namespace {

// Every search sets the rule the evaluation functions then use.
void UseRule(bool standardOnly)
{
    CBMUtilities::SetCurrentMaximum(13);
    StringArray ignored;
    CBMUtilities::GetSolutions({1, 2, 3, 4}, ignored, standardOnly);
}

bool Valid(const NumberArray& q, const std::string& line, bool standardOnly = true)
{
    UseRule(standardOnly);
    return CBMUtilities::CheckValidSolution(q, line);
}

TEST(RootNotationTest, RewritesRootsToPowers)
{
    struct Case {
        const char* in;
        int result;
        const char* out;
    } cases[] = {
        {"8*9^^(4^^2)", 1, "8*9^(1/(4^(1/2)))"},
        {"8 * 9 ^^ 2", 1, "8*9^(1/2)"},
        {"2^^1", 1, "2"},
        {"2^^1+3", 1, "2^1+3"},
        {"2^^13", 1, "2^(1/13)"},
        {"2^^10*3", 1, "2^(1/10)*3"},
        {"2^^0", -1, ""},
        {"2^^-2", -1, ""},
        {"^^2", -1, ""},
        {"2^^", -1, ""},
        {"2^^^3", -1, ""},
        {"2^^(3", -1, ""},
        {"1+2^3", 1, "1+2^3"},
    };
    for (const Case& c : cases) {
        std::string text = c.in;
        EXPECT_EQ(CBMUtilities::ConvertRootNotation(text, true), c.result) << c.in;
        if (c.result == 1) {
            EXPECT_EQ(text, c.out) << c.in;
        }
    }
}

TEST(RootNotationTest, StandardRuleRejectsAnyPower)
{
    std::string text = "2 ^ 3";
    EXPECT_EQ(CBMUtilities::ConvertRootNotation(text, false), -1);
    text = "1 + 2";
    EXPECT_EQ(CBMUtilities::ConvertRootNotation(text, false), 1);
    EXPECT_EQ(text, "1+2");
}

TEST(EvaluationTest, TwentyFourTolerance)
{
    EXPECT_TRUE(CBMUtilities::IsTwentyFour(23.99995));
    EXPECT_TRUE(CBMUtilities::IsTwentyFour(24.00009));
    EXPECT_FALSE(CBMUtilities::IsTwentyFour(24.0002));
    EXPECT_FALSE(CBMUtilities::IsTwentyFour(-24));
    EXPECT_FALSE(CBMUtilities::IsTwentyFour(std::nan("")));
}

TEST(EvaluationTest, EvaluateExpressionFollowsTheRuleAndHasASentinel)
{
    UseRule(false);
    EXPECT_DOUBLE_EQ(CBMUtilities::EvaluateExpression("2^3^2"), 64);
    EXPECT_DOUBLE_EQ(CBMUtilities::EvaluateExpression("-3+4"), -7);
    EXPECT_DOUBLE_EQ(CBMUtilities::EvaluateExpression("9^^2"), 3);
    EXPECT_DOUBLE_EQ(CBMUtilities::EvaluateExpression("1/0"), 999.0);
    EXPECT_DOUBLE_EQ(CBMUtilities::EvaluateExpression("2(3)"), 999.0);
    UseRule(true);
    EXPECT_DOUBLE_EQ(CBMUtilities::EvaluateExpression("2^3"), 999.0);
    EXPECT_TRUE(CBMUtilities::EqualsTwentyFour("4*6"));
    EXPECT_FALSE(CBMUtilities::EqualsTwentyFour("2^3*3"));
}

TEST(EvaluationTest, StripOperatorsLeavesNumbersAndBlanks)
{
    std::string text = "(8-2)*9^^2+1";
    CBMUtilities::StripOperators(text);
    EXPECT_EQ(text, " 8 2  9 2 1");
}

TEST(EvaluationTest, GroupHelpers)
{
    EXPECT_TRUE(CBMUtilities::IsGroupEqualToOne(4, "2*3/(4-3)*4"));
    EXPECT_FALSE(CBMUtilities::IsGroupEqualToOne(4, "2*3/(4-2)*4"));
    EXPECT_FALSE(CBMUtilities::IsGroupEqualToOne(1, "2(4-3)"));   // too close to the start
    EXPECT_FALSE(CBMUtilities::IsGroupEqualToOne(4, "2*3/(4-3"));  // no closing parenthesis
    EXPECT_FALSE(CBMUtilities::IsGroupEqualToOne(4, "2*3/(4/0)"));
    EXPECT_TRUE(CBMUtilities::IsGroupNegative(6, "2*(3-4)^2+1"));
    EXPECT_FALSE(CBMUtilities::IsGroupNegative(6, "2*(4-3)^2+1"));
    EXPECT_FALSE(CBMUtilities::IsGroupNegative(6, "2*3-4)^2+1"));
}

TEST(CheckValidSolutionTest, CorrectAndIncorrectLines)
{
    struct Case {
        NumberArray q;
        const char* line;
        bool valid;
    } cases[] = {
        {{3, 3, 8, 8}, "8/(3-8/3)", true},
        {{1, 2, 3, 4}, "(1+3)*(2+4)", true},
        {{1, 2, 3, 4}, "1*2*3*4", true},
        {{1, 2, 3, 4}, "4 * (1+2+3)", true},
        {{1, 2, 3, 4}, "4\t*\t(1+2+3)", true},
        {{1, 2, 3, 4}, "1+2+3+4", false},
        {{1, 2, 3, 4}, "(1+3)*(2+4", false},
        {{1, 1, 4, 6}, "-1+1+4*6", false},     // leading unary minus
        {{1, 1, 4, 6}, "4*6+(-1+1)", false},   // unary minus after "("
        {{1, 1, 4, 6}, "4*6/-1*-1", true},     // after an operator it is evaluated
        {{1, 2, 3, 4}, "2(3+4)*1", false},
        {{1, 2, 3, 4}, "1*2*3*4*1", false},   // a number twice
        {{1, 2, 3, 3}, "1*2*03*4", false},    // leading zero
        {{1, 2, 3, 4}, "1.0*2*3*4", false},
        {{1, 2, 3, 4}, "1*2*3*4 ", true},
        {{1, 2, 3, 4}, "1*2*3*4|", false},
        {{1, 2, 3, 4}, "(1+3)*(2+4)+0*(1/0)", false},
        {{2, 3, 4, 5}, "2*(3+4+5)", true},
        {{4, 4, 6, 6}, "4*6+4-4", false},  // a 4 too many, a 6 missing
    };
    for (const Case& c : cases)
        EXPECT_EQ(Valid(c.q, c.line), c.valid) << c.line;
}

TEST(CheckValidSolutionTest, DivisionByZeroAnywhereMakesTheLineIncorrect)
{
    EXPECT_FALSE(Valid({2, 2, 6, 4}, "6*4+2/(2-2)"));
}

TEST(CheckValidSolutionTest, BlankBetweenDigitsIsNeverTwoNumbersJoined)
{
    // "1 2" reads as the numbers 1 and 2 but would evaluate as 12.
    EXPECT_FALSE(Valid({1, 2, 3, 4}, "1 2+3*4"));
    EXPECT_FALSE(Valid({1, 2, 3, 4}, "1\t2+3*4"));
    EXPECT_FALSE(Valid({1, 2, 3, 4}, "3*4+1 2"));
    EXPECT_TRUE(Valid({1, 2, 3, 4}, "1 * 2 * 3 * 4"));
    EXPECT_TRUE(Valid({1, 2, 3, 4}, "( 1 + 3 ) * ( 2 + 4 )"));
}

TEST(CheckValidSolutionTest, RulesAndMaximum)
{
    EXPECT_TRUE(Valid({2, 4, 8, 9}, "8*9^^(4^^2)", false));
    EXPECT_FALSE(Valid({2, 4, 8, 9}, "8*9^^(4^^2)", true));
    EXPECT_TRUE(Valid({2, 2, 3, 13}, "13+3^2+2", false));

    UseRule(true);
    CBMUtilities::SetCurrentMaximum(10);
    EXPECT_FALSE(CBMUtilities::CheckValidSolution({11, 1, 12, 1}, "11+12+1*1"));
    CBMUtilities::SetCurrentMaximum(13);
    EXPECT_TRUE(CBMUtilities::CheckValidSolution({11, 1, 12, 1}, "11+12+1*1"));
}

TEST(CheckValidSolutionTest, ChineseLookAlikesJudgedLikeAscii)
{
    const std::string typed =
        "\xEF\xBC\x88\xEF\xBC\x91\xEF\xBC\x8B\xEF\xBC\x93\xEF\xBC\x89\xC3\x97"
        "\xEF\xBC\x88\xEF\xBC\x92\xEF\xBC\x8B\xEF\xBC\x94\xEF\xBC\x89";
    for (const CharacterSet cs : {CharacterSet::SimplifiedChinese, CharacterSet::TraditionalChinese})
        EXPECT_TRUE(Valid({1, 2, 3, 4},
                          CBMUtilities::GetNormalizedUserInput(typed, InputMode::AnswerLine, cs)));
    EXPECT_FALSE(Valid({1, 2, 3, 4}, CBMUtilities::GetNormalizedUserInput(
                                         typed, InputMode::AnswerLine, CharacterSet::English)));
}

}  // namespace
}  // namespace tavlix
