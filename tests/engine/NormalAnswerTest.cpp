#include <gtest/gtest.h>

#include "engine/CBMUtilities.h"

namespace tavlix {
namespace {

struct Normal {
    std::string normal;
    std::string subNormal;
    NumberArray numbers;
};

Normal NormalOf(const std::string& line, bool standardOnly = true)
{
    CBMUtilities::SetCurrentMaximum(13);
    StringArray ignored;
    CBMUtilities::GetSolutions({1, 2, 3, 4}, ignored, standardOnly);
    Normal n;
    n.normal = CBMUtilities::GetNormalAnswer(n.numbers, n.subNormal, line);
    return n;
}

TEST(GetModelTest, NumbersBecomePlaceholdersInOrder)
{
    NumberArray numbers;
    EXPECT_EQ(CBMUtilities::GetModel("(13-1)*(10/5)", &numbers), "(n1-n2)*(n3/n4)");
    EXPECT_EQ(numbers, (NumberArray{13, 1, 10, 5}));
    EXPECT_EQ(CBMUtilities::GetModel("8*9^^2"), "n1*n2^^n3");
    EXPECT_EQ(CBMUtilities::GetModel("1 + 2"), "") << "blanks are removed by the caller";
    EXPECT_EQ(CBMUtilities::GetModel("1.5+2"), "");
}

TEST(GetModelTest, ParenthesisSimplification)
{
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {
        {"(((n1)))+(n2)", "n1+n2"},
        {"((n1+n2)*(n3+n4))", "(n1+n2)*(n3+n4)"},
        {"(n1+n2)*(n3+n4)", "(n1+n2)*(n3+n4)"},
        {"((n1+n2))*n3", "(n1+n2)*n3"},
        {"(((n1*n2)-n3))/n4", "((n1*n2)-n3)/n4"},
        {"n1*((n2+n3))", "n1*(n2+n3)"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CBMUtilities::SimplifyParentheses(c.in), c.out) << c.in;
}

TEST(NormalAnswerTest, SameSolutionWrittenDifferently)
{
    const Normal base = NormalOf("(1+3)*(2+4)");
    EXPECT_EQ(base.normal, "(1+3)*(2+4)");
    EXPECT_EQ(base.subNormal, "(1+3)*(2+4)");
    for (const char* writing : {"(2+4)*(3+1)", "(((1+3)*(2+4)))", "((3+1))*(4+2)", " ( 1 + 3 ) * ( 2 + 4 ) "}) {
        const Normal n = NormalOf(writing);
        EXPECT_EQ(n.normal, base.normal) << writing;
        EXPECT_EQ(n.subNormal, base.subNormal) << writing;
    }
    EXPECT_EQ(NormalOf("4*(3+2+1)").normal, NormalOf("4*(1+2+3)").normal);
    EXPECT_EQ(NormalOf("4*(3+2+1)").subNormal, "4*(1+2+3)");
}

TEST(NormalAnswerTest, CommutedGroupsAreTheSame)
{
    CBMUtilities::SetCurrentMaximum(13);
    const Normal a = NormalOf("(9-3)*(2+2)");
    const Normal b = NormalOf("(2+2)*(9-3)");
    EXPECT_EQ(a.normal, "(2+2)*(9-3)");
    EXPECT_EQ(a.subNormal, "(2+2)*(9-3)");
    EXPECT_EQ(b.normal, a.normal);
    EXPECT_EQ(b.subNormal, a.subNormal);
    EXPECT_EQ(a.numbers, (NumberArray{2, 2, 9, 3}));
}

TEST(NormalAnswerTest, RewritingsOfSubtractionAndDivisionAreRepetitive)
{
    // a-(b-c) is a-b+c, a/(b/c) is a/b*c: same calculation, different writing.
    EXPECT_EQ(NormalOf("13-(1-12)").normal, NormalOf("13-1+12").normal);
    EXPECT_EQ(NormalOf("12/(1/2)").normal, NormalOf("12/1*2").normal);
    EXPECT_EQ(NormalOf("(8+4)/(2/4)").normal, NormalOf("4*(8+4)/2").normal);
    // The table maps before the sub-normal answer is taken: these are the same answer.
    EXPECT_EQ(NormalOf("(8+4)/(2/4)").subNormal, "4*(4+8)/2");
}

TEST(NormalAnswerTest, OperationsWithOneAreSimilarNotIrrelevant)
{
    for (const char* variant : {"2*3*4/1", "2*3*4^1", "2*3*4^^1"}) {
        const Normal n = NormalOf(variant, false);
        const Normal times = NormalOf("2*3*4*1", false);
        EXPECT_EQ(n.normal, times.normal) << variant;
        EXPECT_NE(n.subNormal, times.subNormal) << variant;
    }
    EXPECT_EQ(NormalOf("2*3*4/1").subNormal, "2*3*4/1");
    EXPECT_EQ(NormalOf("2*3*4/1").normal, NormalOf("1*2*3*4").normal);
    EXPECT_EQ(NormalOf("(2+4)*4/(3-2)").normal, NormalOf("(2+4)*4*(3-2)").normal);
}

TEST(NormalAnswerTest, FactorOneMovedAroundIsTheSameCalculation)
{
    const std::string product = NormalOf("1*2*3*4").normal;
    EXPECT_EQ(product, "1*2*3*4");
    for (const char* moved : {"2*1*3*4", "2*3*4*1", "1*(2*3*4)", "(1*2)*(3*4)"})
        EXPECT_EQ(NormalOf(moved).normal, product) << moved;
}

TEST(NormalAnswerTest, EvenPowerOfANegativeDifference)
{
    EXPECT_EQ(NormalOf("(2-4)^2*6", false).normal, NormalOf("(4-2)^2*6", false).normal);
}

TEST(NormalAnswerTest, UnconvertibleTextsGiveEmpty)
{
    EXPECT_EQ(NormalOf("1+2+x").normal, "");
    EXPECT_EQ(NormalOf("1+2+3").normal, "") << "three numbers";
    EXPECT_EQ(NormalOf("1+2+3+4+5").normal, "") << "five numbers";
    EXPECT_EQ(NormalOf("").normal, "");
}

}  // namespace
}  // namespace tavlix
