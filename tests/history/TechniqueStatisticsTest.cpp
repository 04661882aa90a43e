#include <gtest/gtest.h>

#include "HistoryTestSupport.h"
#include "history/TechniqueStatistics.h"

namespace tavlix {
namespace {

using testing::Answer;
using testing::kDec8;
using enum Technique;

// 3 3 8 8 needs a fraction, a division and a subtraction; 1 2 3 4 nothing in particular;
// 1 1 1 1 has no solution; under the Advanced rule 1 5 5 5 needs only a subtraction.
TEST(TechniqueStatisticsTest, AnAnswerCountsForEveryTechniqueItsQuestionNeeds)
{
    AnswerRecord advanced = Answer(kDec8 + 4, "1 5 5 5", AnswerVerdict::Rejected, 20'000);
    advanced.standardRule = false;
    const std::vector<AnswerRecord> records = {
        Answer(kDec8, "3 3 8 8", AnswerVerdict::Correct, 30'000),
        Answer(kDec8 + 1, "3 3 8 8", AnswerVerdict::Incorrect, 90'000),
        Answer(kDec8 + 2, "1 2 3 4", AnswerVerdict::Correct, 5'000),
        Answer(kDec8 + 3, "1 1 1 1", AnswerVerdict::Incorrect),
        advanced,
    };
    const std::vector<TechniqueFigures> figures = ComputeTechniqueFigures(records);
    ASSERT_EQ(figures.size(), kAllTechniques.size() + 1);
    EXPECT_EQ(figures[std::size_t(Fraction)], (TechniqueFigures{Fraction, 2, 1, 60'000}));
    EXPECT_EQ(figures[std::size_t(Subtraction)], (TechniqueFigures{Subtraction, 3, 1, 30'000}));
    EXPECT_EQ(figures[std::size_t(Large)], (TechniqueFigures{Large, 0, 0, 0}));
    EXPECT_EQ(figures.back(), (TechniqueFigures{std::nullopt, 1, 1, 5'000}));
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
