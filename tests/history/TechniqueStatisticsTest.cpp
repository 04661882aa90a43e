#include <gtest/gtest.h>

#include "HistoryTestSupport.h"
#include "history/TechniqueStatistics.h"

namespace tavlix {
namespace {

using testing::Answer;
using testing::kDec8;
using enum Technique;

// The figures are read in the Statistics window, tests/gui/StatisticsWindowTest.cpp; the
// rule is this test's: 1 5 5 5 needs a fraction under the Standard rule, under the
// Advanced rule only a subtraction (5^2-1).
TEST(TechniqueStatisticsTest, AnAnswerCountsUnderTheRuleItWasGivenUnder)
{
    AnswerRecord advanced = Answer(kDec8, "1 5 5 5", AnswerVerdict::Correct);
    advanced.standardRule = false;
    const std::vector<TechniqueFigures> figures = ComputeTechniqueFigures(std::vector{advanced});
    EXPECT_EQ(figures[std::size_t(Fraction)].answers, 0);
    EXPECT_EQ(figures[std::size_t(Subtraction)].answers, 1);
}

TEST(TechniqueStatisticsTest, TheWeakestTechniqueTakesTwentyAnswers)
{
    // 4 4 10 10 needs 100 or more, above 24, a division and a subtraction; 3 3 7 7 a
    // fraction and a division.
    std::vector<AnswerRecord> records(19, Answer(kDec8, "4 4 10 10", AnswerVerdict::Incorrect));
    EXPECT_EQ(WeakestTechnique(records), std::nullopt) << "19 answers tell nothing";
    for (int i = 0; i < 20; ++i)
        records.push_back(Answer(kDec8, "3 3 7 7", i % 2 ? AnswerVerdict::Correct : AnswerVerdict::Incorrect));
    EXPECT_EQ(WeakestTechnique(records), Division) << "10 of 39 correct, below the fraction's 10 of 20";
    records.push_back(Answer(kDec8, "4 4 10 10", AnswerVerdict::Incorrect));
    EXPECT_EQ(WeakestTechnique(records), Large) << "none correct: the first of the techniques tied";
}

}  // namespace
}  // namespace tavlix
