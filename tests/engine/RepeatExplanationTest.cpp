#include <gtest/gtest.h>

#include "../i18n/TestLanguage.h"
#include "engine/RepeatExplanation.h"

namespace tavlix {
namespace {

using Verdict = LineComparison::Verdict;

AnswerInput Input(std::array<std::string, 4> question, std::string answers, bool standardRule = true)
{
    AnswerInput input;
    input.questionBoxes = std::move(question);
    input.answerText = std::move(answers);
    input.standardRule = standardRule;
    return input;
}

// The pairs the checker's tests judge, and one of each step that makes lines similar.
TEST(RepeatExplanationTest, ComparesTwoLinesAsTheCheckerDoes)
{
    const struct {
        NumberArray question;
        bool standardRule;
        std::array<std::string, 2> lines;
        Verdict verdict;
        std::string normal;
        unsigned steps;  // of similar lines
    } cases[] = {
        {{1, 2, 3, 4}, true, {"(1+3)*(2+4)", "(4+2)*(3+1)"}, Verdict::Same, "(1+3)*(2+4)", 0},
        {{1, 2, 3, 4}, true, {"1*2*3*4", "2*3*4/1"}, Verdict::Similar, "1*2*3*4",
         kUnifyOperationWithOne | kUnifyFactorOfOne},
        {{2, 3, 4, 6}, true, {"4*6/(3-2)", "4*6*(3-2)"}, Verdict::Similar, "4*6*(3-2)", kUnifyGroupOfOne},
        {{1, 2, 3, 12}, false, {"1^3*2*12", "1^^3*2*12"}, Verdict::Similar, "2*12*1^3", kUnifyRootOfOne},
        {{1, 2, 3, 6}, false, {"(1-3)^2*6", "(3-1)^2*6"}, Verdict::Similar, "6*(3-1)^2", kUnifyEvenPowerOfNegative},
        {{1, 2, 3, 4}, true, {"4*(1+2+3)", "(1+3)*(2+4)"}, Verdict::Different, "4*(1+2+3)", 0},
    };
    for (const auto& c : cases) {
        const LineComparison why = CompareLines(c.question, c.lines, Rules{c.standardRule, 13});
        EXPECT_EQ(why.verdict, c.verdict) << c.lines[1];
        EXPECT_EQ(why.normalAnswers[0], c.normal) << c.lines[1];
        EXPECT_EQ(why.normalAnswers[1] == c.normal, c.verdict != Verdict::Different) << c.lines[1];
        EXPECT_EQ(why.subNormalAnswers[0] == why.subNormalAnswers[1], c.verdict == Verdict::Same) << c.lines[1];
        if (c.verdict == Verdict::Similar) {
            EXPECT_EQ(why.unifications, c.steps) << c.lines[1];
        }
    }
    const LineComparison wrong = CompareLines({1, 2, 3, 4}, {"1*2*3*4", "1+2+3+4"}, Rules{true, 13});
    EXPECT_EQ(wrong.verdict, Verdict::Incorrect);
    EXPECT_EQ(wrong.incorrectLine, 1u);
}

// Only what the comment lists is explained: lines judged in a scored run below Ultimate,
// and nothing for a single line.
TEST(RepeatExplanationTest, ExplainsEachRepetitiveLineOfTheComment)
{
    const LanguageState english = testing::MakeLanguage();
    // The wording is read in the main window, tests/gui/MainWindowWhyTest.cpp.
    EXPECT_EQ(ExplainRepeatedLines(Input({"1", "2", "3", "4"}, "1*2*3*4"), english), "");

    AnswerInput game = Input({"1", "2", "3", "4"}, "4*(1+2+3)\r\n(1+3)*(2+4)\r\n4*3*2*1\r\n4*(3+2+1)");
    game.mode = RunMode::TrainingGame;
    game.level = 3;  // two lines judged of four
    EXPECT_TRUE(AnswerChecker(english).RepeatedLines(game).empty());
    game.level = 4;
    const auto repeated = AnswerChecker(english).RepeatedLines(game);
    ASSERT_EQ(repeated.size(), 1u);
    EXPECT_TRUE(repeated[0].line == 3 && repeated[0].earlierLine == 0 && repeated[0].same);
}

}  // namespace
}  // namespace tavlix
