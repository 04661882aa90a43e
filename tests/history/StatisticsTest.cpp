#include <gtest/gtest.h>

#include <tuple>

#include "HistoryTestSupport.h"
#include "history/Statistics.h"

namespace tavlix {
namespace {

using namespace tavlix::testing;

// Totals, the empty history and the figures by level are read through the Statistics
// window (tests/gui/StatisticsWindowTest.cpp); here the day boundaries and the ranking.

// Days are the player's local days: 23:30 UTC is already the next day at UTC+1 and
// still the same day at UTC-1.
TEST(StatisticsTest, CountsEachLocalDay)
{
    const std::vector<AnswerRecord> records = {
        Answer(kDec8 - kDay + 3600, "1 1 1 8", AnswerVerdict::Correct, 4000),
        Answer(kDec8 + 23 * 3600 + 1800, "1 2 3 4", AnswerVerdict::Incorrect, 9000, true),
        Answer(kDec8 + 600, "1 2 3 4", AnswerVerdict::Correct, 2000),
        Answer(kDec8 + 700, "2 2 2 3", AnswerVerdict::Rejected, 5000),
        Answer(kDec8 + 800, "3 3 8 8", AnswerVerdict::Correct, 1000, true),
    };
    const HistoryStatistics utc = ComputeStatistics(records, kDec8 + kDay, 0);
    ASSERT_EQ(utc.days.size(), 2u);
    EXPECT_EQ(utc.days[0].day, "2026-12-07");
    EXPECT_EQ(utc.days[0].answers, 1);
    const DayFigures& dec8 = utc.days[1];
    EXPECT_EQ(std::tie(dec8.day, dec8.answers, dec8.correct, dec8.hints), std::make_tuple("2026-12-08", 4, 2, 2));
    EXPECT_EQ(dec8.medianMilliseconds, 3500);  // 1000 2000 5000 9000

    const std::vector<DayFigures> east = ComputeStatistics(records, kDec8 + kDay, 3600).days;
    ASSERT_EQ(east.size(), 3u);
    EXPECT_EQ(east[2].day, "2026-12-09");
    const HistoryStatistics west = ComputeStatistics(records, kDec8 + kDay, -3600 * 2);
    ASSERT_EQ(west.days.size(), 3u);
    EXPECT_EQ(west.days[0].day, "2026-12-06");
    EXPECT_EQ(west.days[1].answers, 3);
}

TEST(StatisticsTest, StreakRunsUpToTodayOrYesterday)
{
    std::vector<AnswerRecord> records;
    // A gap after the first day ends one streak.
    for (std::int64_t at : {kDec8 - 5 * kDay, kDec8 - 3 * kDay, kDec8 - 2 * kDay + 10, kDec8 - 2 * kDay + 20,
                            kDec8 - kDay + 50000})
        records.push_back(Answer(at, "1 1 1 8"));
    EXPECT_EQ(ComputeStatistics(records, kDec8 + 100, 0).streakDays, 3);  // not yet today
    EXPECT_EQ(ComputeStatistics(records, kDec8 + kDay + 100, 0).streakDays, 0);  // missed a day
    records.push_back(Answer(kDec8 + 3000, "1 1 1 8"));
    EXPECT_EQ(ComputeStatistics(records, kDec8 + 5000, 0).streakDays, 4);
    // Late on the 9th in UTC is already the 10th east of Greenwich: two days without
    // practice there.
    EXPECT_EQ(ComputeStatistics(records, kDec8 + 2 * kDay - 3600, 0).streakDays, 4);
    EXPECT_EQ(ComputeStatistics(records, kDec8 + 2 * kDay - 3600, 7200).streakDays, 0);
}

TEST(StatisticsTest, RanksMissesAboveSlownessAboveHints)
{
    std::vector<AnswerRecord> records;
    for (int i = 0; i < 6; ++i)
        records.push_back(Answer(kDec8 + i, "1 1 1 8"));  // easy
    records.push_back(Answer(kDec8 + 10, "2 2 2 2", AnswerVerdict::Correct, 10'000, true));
    records.push_back(Answer(kDec8 + 11, "3 3 3 3", AnswerVerdict::Correct, 40'000));
    records.push_back(Answer(kDec8 + 12, "4 4 4 4", AnswerVerdict::Incorrect));
    records.push_back(Answer(kDec8 + 13, "4 4 4 4"));
    records.push_back(Answer(kDec8 + 14, "4 4 4 4", AnswerVerdict::Rejected));
    records.back().standardRule = false;
    records.back().level = 3;

    const HistoryStatistics s = ComputeStatistics(records, kDec8, 0, 3);
    ASSERT_EQ(s.hardest.size(), 3u);  // the easy one is no hard question at all; limit 3
    EXPECT_EQ(s.hardest[0].question, "4 4 4 4");
    EXPECT_FALSE(s.hardest[0].standardRule);  // missed every time
    EXPECT_DOUBLE_EQ(s.hardest[0].cost, 4.0);
    EXPECT_EQ(std::tie(s.hardest[1].question, s.hardest[1].answers, s.hardest[1].correct),
              std::make_tuple("4 4 4 4", 2, 1));  // missed half the time
    EXPECT_EQ(s.hardest[2].question, "3 3 3 3");
    EXPECT_EQ(ComputeStatistics(records, kDec8, 0).hardest.back().question, "2 2 2 2");
}

}  // namespace
}  // namespace tavlix
