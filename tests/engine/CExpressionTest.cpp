#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "engine/CExpression.h"

namespace tavlix {
namespace {

struct Evaluated {
    int parse;
    int error;
    double value;
};

Evaluated Eval(const std::string& text)
{
    CExpression e;
    Evaluated r{e.SetExpression(text), -1, 0.0};
    r.error = e.GetValue(r.value);
    return r;
}

TEST(CExpressionTest, PrecedenceAndAssociativity)
{
    struct Case {
        const char* text;
        double value;
    } cases[] = {
        {"1+2*3", 7},      {"(1+2)*3", 9},      {"8/4/2", 1},     {"8-4-2", 2},
        {"2^3^2", 64},     {"2*3^2", 18},       {"-3+4", -7},     {"8*3--4+4", 32},
        {"2^-1+1", 0.25},  {" 3 + 4 ", 7},      {"1.5*2", 3},     {"(((7)))", 7},
        {"9^(1/2)", 3},    {"2-(-3)", 5},
    };
    for (const Case& c : cases) {
        const Evaluated r = Eval(c.text);
        EXPECT_EQ(r.parse, -1) << c.text;
        EXPECT_EQ(r.error, CExpression::NoError) << c.text;
        EXPECT_DOUBLE_EQ(r.value, c.value) << c.text;
    }
}

TEST(CExpressionTest, ParseErrorsReportWhereParsingStopped)
{
    EXPECT_EQ(Eval("").parse, 0);
    EXPECT_EQ(Eval("2(3+4)").parse, 1);
    EXPECT_EQ(Eval("1+2)").parse, 3);
    EXPECT_NE(Eval("(1+3)*(2+4").parse, -1);
    EXPECT_NE(Eval("+3").parse, -1);
    EXPECT_NE(Eval("3+").parse, -1);
    EXPECT_NE(Eval("a+1").parse, -1);
    EXPECT_NE(Eval("1^^2").parse, -1);  // roots are rewritten before parsing
    EXPECT_EQ(Eval("2(3+4)").error, -1) << "no tree after a failed parse";
}

// The hint reads solutions with their roots; a root computes what its power form does.
TEST(CExpressionTest, RootsAsWrittenWhenAskedFor)
{
    CExpression e;
    double value = 0;
    ASSERT_EQ(e.SetExpression("8*9^^(4^^2)", CExpression::Notation::WithRoots), -1);
    EXPECT_EQ(e.GetValue(value), CExpression::NoError);
    EXPECT_DOUBLE_EQ(value, 24);
    ASSERT_EQ(e.SetExpression("8^^(2-2)", CExpression::Notation::WithRoots), -1);
    EXPECT_EQ(e.GetValue(value), CExpression::DivisionByZero);
}

TEST(CExpressionTest, DivisionByZeroIsAnErrorEvenWhenUnused)
{
    EXPECT_EQ(Eval("1/0").error, CExpression::DivisionByZero);
    EXPECT_EQ(Eval("24+0*(1/(2-2))").error, CExpression::DivisionByZero);
    EXPECT_EQ(Eval("1/(0^-1-0^-1)").error, CExpression::DivisionByZero) << "not a number";
}

TEST(CExpressionTest, PowerFollowsCPow)
{
    const Evaluated negativeRoot = Eval("(0-8)^(1/3)");
    EXPECT_EQ(negativeRoot.error, CExpression::NoError);
    EXPECT_TRUE(std::isnan(negativeRoot.value));
    EXPECT_TRUE(std::isinf(Eval("13^13^13^13").value));
}

TEST(CExpressionTest, NestingBeyondTheLimitIsAParseError)
{
    const int depth = CExpression::kMaxNesting + 10;
    const std::string deep = std::string(depth, '(') + "1" + std::string(depth, ')');
    EXPECT_NE(Eval(deep).parse, -1);
    const std::string ok = std::string(50, '(') + "1" + std::string(50, ')');
    EXPECT_EQ(Eval(ok).parse, -1);
    EXPECT_NE(Eval("1*" + std::string(10000, '-') + "1").parse, -1);
}

TEST(CExpressionTest, LongFlatChainsEvaluateWithoutRecursion)
{
    std::string sum = "1";
    for (int i = 0; i < 50000; ++i)
        sum += "+1";
    const Evaluated r = Eval(sum);
    EXPECT_EQ(r.parse, -1);
    EXPECT_DOUBLE_EQ(r.value, 50001);
}

TEST(CExpressionTest, HugeNumbersDoNotFail)
{
    EXPECT_TRUE(std::isinf(Eval(std::string(400, '9')).value));
    EXPECT_DOUBLE_EQ(Eval("0." + std::string(400, '0') + "1").value, 0.0);
    EXPECT_DOUBLE_EQ(Eval("1.2.3").value, 1.2);
}

TEST(CExpressionTest, StoreAndLoadKeepTheExpression)
{
    CExpression original;
    original.SetExpression("(1+3)*(2+4)");
    std::stringstream stream;
    original.Store(stream);

    CExpression loaded;
    ASSERT_TRUE(loaded.Load(stream));
    double value = 0;
    EXPECT_EQ(loaded.GetExpression(), "(1+3)*(2+4)");
    EXPECT_EQ(loaded.GetValue(value), CExpression::NoError);
    EXPECT_DOUBLE_EQ(value, 24);

    std::stringstream truncated("20\n(1+3)");
    EXPECT_FALSE(loaded.Load(truncated));
}

}  // namespace
}  // namespace tavlix
