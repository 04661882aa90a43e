#include <gtest/gtest.h>

#include "engine/CExpression.h"
#include "engine/Hint.h"
#include "i18n/LanguageState.h"

namespace tavlix {
namespace {

LanguageState English()
{
    LanguageState language;
    language.InitLanguage(Edition::Standard, kLcidEnglish);
    return language;
}

AnswerInput Input(std::array<std::string, 4> question, bool standardRule = true, std::string answers = {})
{
    AnswerInput input;
    input.questionBoxes = std::move(question);
    input.standardRule = standardRule;
    input.answerText = std::move(answers);
    return input;
}

// The steps as the comments pane joins them, and how they start again, are read through
// the main window in tests/gui/MainWindowHintTest.cpp.
class HintTest : public ::testing::Test {
protected:
    std::string Text(const AnswerInput& input, int step) const
    {
        return m_guide.HintText(input, m_guide.GetHint(input, step));
    }

    LanguageState m_language = English();
    HintGuide m_guide{m_language};
};

TEST(FirstOperationTest, TheInnermostOperationOnTheLeftComesFirst)
{
    const std::pair<const char*, Operation> cases[] = {
        {"8/(3-8/3)", {"8", "/", "3"}}, {"(1+3)*(2+4)", {"1", "+", "3"}}, {"8+4*(6-2)", {"6", "-", "2"}},
        {"2^(9-4)-8", {"9", "-", "4"}}, {"5^2-5/5", {"5", "^", "2"}},
        // A root is a root of its own: never the 1/2 of its power form.
        {"8*9^^(4^^2)", {"4", "^^", "2"}}, {"10+7*8^^3", {"8", "^^", "3"}}, {"(2*6^^2)^2", {"6", "^^", "2"}},
        {"12*4^^(1+1)", {"1", "+", "1"}},
    };
    for (const auto& [solution, first] : cases)
        EXPECT_EQ(FirstOperation(solution), first) << solution;
    const std::size_t tooDeep = CExpression::kMaxNesting + 1;
    for (const std::string& text : std::vector<std::string>{"", "8", "(8)", "-8", "8/(3", "8/3)", "8//3", "8^^^3", "8*x",
                                                            std::string(tooDeep, '(') + "1+1" + std::string(tooDeep, ')')})
        EXPECT_EQ(FirstOperation(text), std::nullopt) << text;
}

// Every solution the engine lists, under both rules, starts with an operation on two of
// its numbers, written as it stands in the solution.
TEST(FirstOperationTest, EverySolutionOfEveryQuestionHasOne)
{
    for (const bool standardRule : {true, false}) {
        for (const std::string& text : CBMUtilities::EnumerateQuestions(13)) {
            NumberArray question;
            ASSERT_TRUE(CBMUtilities::GetQuestionFromString(text, question, true));
            StringArray solutions;
            CBMUtilities::GetSolutions(question, solutions, standardRule);
            for (const std::string& solution : solutions) {
                const std::optional<Operation> first = FirstOperation(solution);
                ASSERT_TRUE(first) << solution;
                EXPECT_FALSE(first->left.empty() || first->right.empty()) << solution;
                EXPECT_NE(solution.find(first->Text()), std::string::npos) << solution;
            }
        }
    }
}

TEST_F(HintTest, OneSolutionStepByStepUntilItIsGiven)
{
    AnswerInput input = Input({"3", "3", "8", "8"});
    EXPECT_EQ(Text(input, 1), "Hint 1 of 3: the question has one solution under Standard Rule.\r\n"
                              "This question needs a fraction on the way, a division and a subtraction.");
    EXPECT_EQ(Text(input, 2), "Hint 2 of 3: start with 8/3.");
    EXPECT_EQ(Text(input, 3), "Hint 3 of 3: a solution that your answers do not give yet is 8/(3-8/3)");
    EXPECT_TRUE(m_guide.GetHint(input, 7).IsLast());
    EXPECT_FALSE(m_guide.GetHint(input, 2).IsLast());

    // Given in another form than the engine's, beside a wrong line: nothing is left.
    input.answerText = "3*8\r\n8/(3-(8/3))\r\n";
    const Hint hint = m_guide.GetHint(input, 2);
    EXPECT_TRUE(hint.kind == HintKind::AllGiven && hint.IsLast());
    EXPECT_EQ(m_guide.HintText(input, hint),
              "Hint: the question has one solution under Standard Rule, and your answers already give it.");
}

TEST_F(HintTest, ManySolutionsSkipThoseGivenSameOrSimilar)
{
    // 4*(1+2+3), (1+3)*(2+4), 1*2*3*4
    AnswerInput input = Input({"1", "2", "3", "4"});
    EXPECT_EQ(Text(input, 2), "Hint 2 of 3: start with 1+2.");

    // The first in the same form written otherwise, the last in a similar one; a power is
    // not correct under this rule.
    input.answerText = "(3+2+1)*4\r\n\r\n2*3*4/1\r\n4*3*2^1";
    EXPECT_EQ(Text(input, 1), "Hint 1 of 3: the question has 3 really different solutions under Standard Rule, "
                              "and your answers give 2 of them so far.\r\n"
                              "This question needs no technique in particular: there is a way around each of them.");
    EXPECT_EQ(Text(input, 2), "Hint 2 of 3: start with 1+3.");
    EXPECT_EQ(Text(input, 3), "Hint 3 of 3: a solution that your answers do not give yet is (1+3)*(2+4)");
    input.answerText += "\r\n(4+2)*(3+1)";
    EXPECT_EQ(m_guide.GetHint(input, 3).kind, HintKind::AllGiven);
    input.noSolutionChecked = true;
    EXPECT_EQ(m_guide.GetHint(input, 1).givenCount, 0u) << "the claim of no solution stands alone";
}

TEST_F(HintTest, AdvancedRuleNamesRootsAsRoots)
{
    // 8*(9-2-4), 8*9^^(4^^2), 2^(9-4)-8, 8*9^^(4-2), 8*9^(2/4)
    AnswerInput input = Input({"2", "4", "8", "9"}, false, "(9-4-2)*8");
    // A subtraction, a power or a root each has a way around it.
    EXPECT_EQ(Text(input, 1), "Hint 1 of 3: the question has 5 really different solutions under Advanced Rule, "
                              "and your answers give 1 of them so far.\r\n"
                              "This question needs no technique in particular: there is a way around each of them.");
    EXPECT_EQ(Text(input, 2), "Hint 2 of 3: start with 4^^2, the root of 4 with the index 2.");
    EXPECT_EQ(Text(input, 3), "Hint 3 of 3: a solution that your answers do not give yet is 8*9^^(4^^2)");

    input = Input({"10", "7", "3", "8"}, false);
    EXPECT_EQ(Text(input, 1), "Hint 1 of 3: the question has one solution under Advanced Rule.\r\n"
                              "This question needs a root.");
    EXPECT_EQ(Text(input, 2), "Hint 2 of 3: start with 8^^3, the root of 8 with the index 3.");
}

// No solution, or nothing left, stops at the first step; no question gets no hint.
TEST_F(HintTest, NoSolutionHasOneStepOnly)
{
    int shown = -1;
    for (const bool standardRule : {true, false}) {
        const std::string rule = standardRule ? "Standard" : "Advanced";
        EXPECT_EQ(m_guide.GetHintsText(Input({"1", "1", "1", "1"}, standardRule, "1+1+1+1"), 3, shown),
                  "Hint: the question has no solution under " + rule + " Rule.");
        EXPECT_EQ(shown, 1);
    }
    EXPECT_EQ(m_guide.GetHint(Input({"10", "7", "3", "8"}), 2).kind, HintKind::NoSolution)
        << "its only solution needs a root";
    m_guide.GetHintsText(Input({"3", "3", "8", "8"}, true, "8/(3-8/3)"), 3, shown);
    EXPECT_EQ(shown, 1) << "nothing is left after the first step";
    EXPECT_EQ(m_guide.GetHintsText(Input({"x", "3", "8", "8"}), 3, shown),
              "The question is not valid! A valid question is comprised of 4 positive integers ranging between 1-13.");
    EXPECT_EQ(shown, 0);
}

}  // namespace
}  // namespace tavlix
