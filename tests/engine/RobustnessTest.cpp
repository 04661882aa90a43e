#include <gtest/gtest.h>

#include "engine/CBMUtilities.h"

namespace tavlix {
namespace {

// Hostile lines: every operation answers (false, empty, the sentinel) and returns.
class RobustnessTest : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override
    {
        CBMUtilities::SetCurrentMaximum(13);
        StringArray ignored;
        CBMUtilities::GetSolutions({1, 2, 3, 4}, ignored, false);
    }
};

TEST_P(RobustnessTest, EveryOperationReturns)
{
    const std::string& line = GetParam();
    for (const CharacterSet cs : {CharacterSet::English, CharacterSet::SimplifiedChinese,
                                  CharacterSet::TraditionalChinese}) {
        const std::string normalized =
            CBMUtilities::GetNormalizedUserInput(line, InputMode::AnswerLine, cs);
        EXPECT_FALSE(CBMUtilities::CheckValidSolution({1, 2, 3, 4}, normalized));
        NumberArray q;
        EXPECT_FALSE(CBMUtilities::GetQuestionFromString(line, q, true, cs));
    }
    EXPECT_DOUBLE_EQ(CBMUtilities::EvaluateExpression(line), 999.0);
    EXPECT_FALSE(CBMUtilities::EqualsTwentyFour(line));
    NumberArray numbers;
    std::string subNormal;
    EXPECT_EQ(CBMUtilities::GetNormalAnswer(numbers, subNormal, line), "");
    EXPECT_EQ(CBMUtilities::IsQuestionInList(line, {"1 2 3 4"}), -1);
    CBMUtilities::IsRedundantSolution(line);  // only has to return
}

std::string Repeat(const std::string& piece, int times)
{
    std::string out;
    for (int i = 0; i < times; ++i)
        out += piece;
    return out;
}

std::string HostileLineName(const ::testing::TestParamInfo<std::string>& param)
{
    static const char* const kNames[] = {"LongDigitRun", "LongSum",       "DeepParentheses",
                                         "ManyUnaryMinus", "ManyRoots",   "NestedRoots",
                                         "RootSignsOnly", "NulInside",    "InvalidUtf8",
                                         "AllNul"};
    return kNames[param.index];
}

INSTANTIATE_TEST_SUITE_P(
    HostileLines, RobustnessTest,
    ::testing::Values(
        std::string(100000, '1'),
        Repeat("1+", 50000),
        std::string(10000, '(') + "1*2*3*4" + std::string(10000, ')'),
        "1*2*3*" + std::string(10000, '-') + "4",
        "2" + Repeat("^^2", 10000),
        "2^^(" + Repeat("2^^(", 5000) + "2" + std::string(5001, ')'),
        Repeat("^^", 10000),
        std::string("1*2*3\0*4", 9),
        std::string("\xFF\xFE\xC3\x28\xE2\x82", 6),
        std::string(1000, '\0')),
    HostileLineName);

TEST(RobustnessLimitsTest, LongButHarmlessLinesStillWork)
{
    CBMUtilities::SetCurrentMaximum(13);
    StringArray ignored;
    CBMUtilities::GetSolutions({1, 2, 3, 4}, ignored, true);
    // Blanks are not part of the expression: a padded answer is judged as typed.
    EXPECT_TRUE(CBMUtilities::CheckValidSolution({1, 2, 3, 4}, std::string(100000, ' ') + "1*2*3*4"));
    // Redundant parentheses within reason are fine.
    EXPECT_TRUE(CBMUtilities::CheckValidSolution(
        {1, 2, 3, 4}, std::string(100, '(') + "1*2*3*4" + std::string(100, ')')));
}

}  // namespace
}  // namespace tavlix
