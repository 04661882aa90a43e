#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "engine/CBMUtilities.h"

namespace tavlix {
namespace {

StringArray Solve(const NumberArray& q, bool standardOnly = true)
{
    CBMUtilities::SetCurrentMaximum(13);
    StringArray solutions;
    EXPECT_TRUE(CBMUtilities::GetSolutions(q, solutions, standardOnly));
    StringArray reference;
    CBMUtilities::GetSolutionsReference(q, reference, standardOnly);
    EXPECT_EQ(solutions, reference) << "fast search and reference disagree";
    return solutions;
}

TEST(SolutionSearchTest, KnownQuestionsListTheirSolutionsInOrder)
{
    EXPECT_EQ(Solve({1, 2, 3, 4}), (StringArray{"4*(1+2+3)", "(1+3)*(2+4)", "1*2*3*4"}));
    EXPECT_EQ(Solve({3, 3, 8, 8}), (StringArray{"8/(3-8/3)"}));
    EXPECT_EQ(Solve({10, 4, 10, 4}), (StringArray{"(10*10-4)/4"}));
    EXPECT_EQ(Solve({5, 1, 5, 5}), (StringArray{"5*(5-1/5)"}));
    EXPECT_EQ(Solve({8, 6, 4, 2}),
              (StringArray{"8+4*(6-2)", "2*(6+8)-4", "4*(2+6)-8", "4+8+2*6", "4*8-2-6",
                           "6*8/(4-2)", "6*(2+8/4)", "2*6*8/4"}));
    const StringArray twoThreeFourFive = Solve({2, 3, 4, 5});
    ASSERT_GE(twoThreeFourFive.size(), 2u);
    EXPECT_EQ(twoThreeFourFive[0], "2*(3+4+5)");
    EXPECT_EQ(twoThreeFourFive[1], "4*(3+5-2)");
    EXPECT_EQ(Solve({3, 5, 7, 9}).front(), "3+5+7+9");
}

TEST(SolutionSearchTest, NoSolutionUnderEitherRule)
{
    EXPECT_TRUE(Solve({1, 1, 1, 1}, true).empty());
    EXPECT_TRUE(Solve({1, 1, 1, 1}, false).empty());
    EXPECT_FALSE(Solve({1, 2, 3, 4}, false).empty());
}

TEST(SolutionSearchTest, AdvancedRuleAddsPowersAfterTheStandardSolutions)
{
    const StringArray standard = Solve({2, 4, 8, 9}, true);
    const StringArray advanced = Solve({2, 4, 8, 9}, false);
    ASSERT_GT(advanced.size(), standard.size());
    EXPECT_TRUE(std::equal(standard.begin(), standard.end(), advanced.begin()));
    for (std::size_t i = standard.size(); i < advanced.size(); ++i)
        EXPECT_NE(advanced[i].find('^'), std::string::npos) << advanced[i];
}

TEST(SolutionSearchTest, InvalidQuestionLeavesListAndRuleAlone)
{
    StringArray solutions = {"keep"};
    CBMUtilities::SetCurrentMaximum(13);
    CBMUtilities::GetSolutions({1, 2, 3, 4}, solutions, false);
    solutions = {"keep"};
    EXPECT_FALSE(CBMUtilities::GetSolutions({3, 3, 8}, solutions, true));
    CBMUtilities::SetCurrentMaximum(10);
    EXPECT_FALSE(CBMUtilities::GetSolutions({11, 1, 1, 1}, solutions, true));
    EXPECT_EQ(solutions, StringArray{"keep"});
    EXPECT_FALSE(CBMUtilities::IsStandardOnly());
    CBMUtilities::SetCurrentMaximum(13);
}

// The calls without rules follow the rule of the last such search and the current
// maximum; a call given its rules neither reads nor changes them.
TEST(SolutionSearchTest, GivenRulesLeaveTheEngineStateAlone)
{
    const NumberArray question = {2, 4, 8, 9};
    const std::string root = "8*9^^(4^^2)";
    const Rules advanced{false, 13};
    StringArray solutions;
    CBMUtilities::SetCurrentMaximum(10);
    ASSERT_TRUE(CBMUtilities::GetSolutions(question, solutions, true));
    EXPECT_FALSE(CBMUtilities::CheckValidSolution(question, root));

    EXPECT_TRUE(CBMUtilities::GetSolutions({12, 12, 1, 1}, solutions, advanced));
    EXPECT_TRUE(CBMUtilities::CheckValidSolution(question, root, advanced));
    EXPECT_DOUBLE_EQ(CBMUtilities::EvaluateExpression(root, advanced), 24.0);
    EXPECT_TRUE(CBMUtilities::IsStandardOnly());
    EXPECT_EQ(CBMUtilities::GetCurrentMaximum(), 10u);
    EXPECT_FALSE(CBMUtilities::GetSolutions({12, 12, 1, 1}, solutions, false));
    EXPECT_EQ(CBMUtilities::EvaluateExpression(root), CBMUtilities::kTwentyFourFailure);
    CBMUtilities::SetCurrentMaximum(13);
}

// Two threads searching and judging under different rules at once each get the answers
// of their own rules.
TEST(SolutionSearchTest, SearchesUnderDifferentRulesRunSideBySide)
{
    const NumberArray question = {2, 4, 8, 9};
    const Rules rules[] = {{true, 10}, {false, 13}};
    StringArray expected[2];
    for (std::size_t i = 0; i < 2; ++i)
        CBMUtilities::GetSolutionsReference(question, expected[i], rules[i]);
    ASSERT_NE(expected[0], expected[1]);

    std::atomic<int> wrong = 0;
    const auto work = [&](std::size_t i) {
        for (int k = 0; k < 100; ++k) {
            StringArray found;
            CBMUtilities::GetSolutionsReference(question, found, rules[i]);
            const bool rootAccepted = CBMUtilities::CheckValidSolution(question, "8*9^^(4^^2)", rules[i]);
            wrong += found != expected[i] || rootAccepted == rules[i].standardOnly;
        }
    };
    std::thread standard(work, 0);
    std::thread advanced(work, 1);
    standard.join();
    advanced.join();
    EXPECT_EQ(wrong, 0);
}

TEST(SolutionSearchTest, PermutationsAreDistinctOrderingsInLexicographicOrder)
{
    const auto count = [](unsigned a, unsigned b, unsigned c, unsigned d) {
        PermutationColumns columns;
        CBMUtilities::GetPermutations(a, b, c, d, columns);
        return columns.size();
    };
    EXPECT_EQ(count(1, 2, 3, 4), 24u);
    EXPECT_EQ(count(1, 1, 3, 4), 12u);
    EXPECT_EQ(count(1, 1, 3, 3), 6u);
    EXPECT_EQ(count(1, 3, 3, 3), 4u);
    EXPECT_EQ(count(5, 5, 5, 5), 1u);

    PermutationColumns columns;
    CBMUtilities::GetPermutations(1, 2, 3, 4, columns);
    const auto row = [&](std::size_t i) {
        return NumberArray{columns.columns[0][i], columns.columns[1][i], columns.columns[2][i],
                           columns.columns[3][i]};
    };
    EXPECT_EQ(row(0), (NumberArray{1, 2, 3, 4}));
    EXPECT_EQ(row(1), (NumberArray{1, 2, 4, 3}));
    EXPECT_EQ(row(6), (NumberArray{2, 1, 3, 4}));
    EXPECT_EQ(row(23), (NumberArray{4, 3, 2, 1}));
}

TEST(SolutionSearchTest, EvaluateTemplateKeepsRootNotationInHits)
{
    CBMUtilities::SetCurrentMaximum(13);
    StringArray ignored;
    CBMUtilities::GetSolutions({1, 2, 8, 9}, ignored, false);
    PermutationColumns columns;
    CBMUtilities::GetPermutations(1, 2, 8, 9, columns);
    StringArray hits;
    EXPECT_EQ(CBMUtilities::EvaluateTemplate(hits, "n1*n2^^n3/n4", columns), 1);
    EXPECT_EQ(hits, StringArray{"8*9^^2/1"});
    EXPECT_EQ(CBMUtilities::EvaluateTemplate(hits, "n1^^n2^^", columns), -1);
}

TEST(SolutionSearchTest, NormalizationTypesFoldCommutativeWritings)
{
    struct Case {
        StringArray hits;
        const char* templ;
        int type;
        bool keepSwapped;
        StringArray expected;
    } cases[] = {
        {{"3+2+1-4", "2+3+1-4"}, "n1+n2+n3-n4", 1, false, {"1+2+3-4"}},
        {{"4*(3+2+1)"}, "n1*(n2+n3+n4)", 2, false, {"4*(1+2+3)"}},
        {{"(3+1)*(4+2)", "(4+2)*(3+1)"}, "(n1+n2)*(n3+n4)", 7, false, {"(1+3)*(2+4)"}},
        {{"(4+2)*(3+1)"}, "(n1+n2)*(n3+n4)", 7, true, {"(1+3)*(2+4)"}},
        {{"(4+2)*(3+3)"}, "(n1+n2)*(n3+n4)", 7, false, {}},  // equal groups keep nothing
        {{"2*6+3*4", "3*4+2*6"}, "n1*n2+n3*n4", 8, false, {"2*6+3*4"}},
        {{"(8-2)*(5-1)", "(5-1)*(8-2)"}, "(n1-n2)*(n3-n4)", 9, false, {"(5-1)*(8-2)"}},
        {{"2^4+2^3", "2^3+2^4"}, "n1^n2+n3^n4", 10, false, {"2^3+2^4"}},
        {{"4*3*2*1"}, "n1*n2*n3*n4", 11, false, {"1*2*3*4"}},
    };
    CBMUtilities::SetCurrentMaximum(13);
    for (const Case& c : cases) {
        StringArray out;
        EXPECT_EQ(CBMUtilities::AddNormalizedSolutions(c.hits, out, c.templ, c.type, c.keepSwapped),
                  int(c.expected.size()))
            << c.templ;
        EXPECT_EQ(out, c.expected) << c.templ;
    }
}

TEST(SolutionSearchTest, RedundantSolutions)
{
    CBMUtilities::SetCurrentMaximum(13);
    struct Case {
        const char* text;
        bool redundant;
    } cases[] = {
        {"2*3*4/1", true},         {"2*3*4^1", true},      {"(8+4)*2/1", true},
        {"2*12/(3-2)", true},      {"3*8^(2-1)", true},    {"24/10^^(2-1)", true},
        {"11+13*1", true},          {"12+12*1/1", true},    {"11+3*13/3", true},
        {"1^^2*24", true},          {"(2-4)^2*6", true},    {"(3-5)^4+8", true},
        {"8*3^^1*1", true},
        {"2*12/13", false},        {"2+11*2", false},      {"(4-2)^2*6", false},
        {"1*2*3*4", false},        {"4*(1+2+3)", false},   {"24/12*13", false},
        {"11*2+1+1", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CBMUtilities::IsRedundantSolution(c.text), c.redundant) << c.text;
}

}  // namespace
}  // namespace tavlix
