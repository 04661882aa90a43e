#include <gtest/gtest.h>

#include "HistoryTestSupport.h"
#include "history/ReviewSchedule.h"

namespace tavlix {
namespace {

using namespace tavlix::testing;

// When the last question of `answers` falls due.
std::int64_t DueAfter(const std::vector<AnswerRecord>& answers)
{
    const std::vector<ReviewItem> due = DueForReview(answers, std::numeric_limits<std::int64_t>::max());
    return due.empty() ? -1 : due.back().dueAt;
}

// A question answered well from the start is never due; from its first lapse on, each
// answer is given a day after the last one fell due. The player's median stays at 10 s
// through a filler question answered many times long before.
TEST(ReviewScheduleTest, ALapseBringsAQuestionInGoodAnswersStretchTheIntervalAnyLapseResetsIt)
{
    const struct {
        const char* name;
        AnswerVerdict verdict;
        std::int64_t milliseconds;
        bool hint;
        bool good;
    } kinds[] = {
        {"good", AnswerVerdict::Correct, 10'000, false, true},
        {"miss", AnswerVerdict::Incorrect, 10'000, false, false},
        {"rejected", AnswerVerdict::Rejected, 10'000, false, false},
        {"hint", AnswerVerdict::Correct, 10'000, true, false},
        {"over twice the median", AnswerVerdict::Correct, 20'001, false, false},
        {"at twice the median", AnswerVerdict::Correct, 20'000, false, true},
    };
    for (const auto& kind : kinds) {
        SCOPED_TRACE(kind.name);
        std::vector<AnswerRecord> answers;
        for (int i = 0; i < 40; ++i)
            answers.push_back(Answer(kDec8 - 1000 * kDay + i, "1 1 1 8"));
        std::int64_t at = kDec8;
        answers.push_back(Answer(at, "5 5 5 1"));
        EXPECT_EQ(DueAfter(answers), -1) << "known from the start";
        at += 10 * kDay;
        answers.push_back(Answer(at, "5 5 5 1", AnswerVerdict::Incorrect));
        EXPECT_EQ(DueAfter(answers), at + kDay);
        at += 2 * kDay;
        for (std::int64_t days : {3, 7, 14, 30, 60, 60}) {
            answers.push_back(Answer(at, "5 5 5 1"));
            EXPECT_EQ(DueAfter(answers), at + days * kDay);
            at += days * kDay + kDay;
        }
        answers.push_back(Answer(at, "5 5 5 1", kind.verdict, kind.milliseconds, kind.hint));
        EXPECT_EQ(DueAfter(answers), at + (kind.good ? 60 : 1) * kDay);
        answers.push_back(Answer(at + 5 * kDay, "5 5 5 1"));
        EXPECT_EQ(DueAfter(answers), at + 5 * kDay + (kind.good ? 60 : 3) * kDay);
    }
    // A minute is slow whatever the player's pace.
    EXPECT_EQ(DueAfter({Answer(kDec8, "1 2 3 4", AnswerVerdict::Correct, 50'000),
                        Answer(kDec8 + 10, "1 2 3 4", AnswerVerdict::Correct, 60'001)}),
              kDec8 + 10 + kDay);
}

// Due means due now or earlier; the most overdue comes first, and each rule and J/Q/K
// setting keeps its own schedule.
TEST(ReviewScheduleTest, ListsOnlyDueQuestionsMostOverdueFirst)
{
    std::vector<AnswerRecord> records = {
        Answer(kDec8 - kDay, "1 2 3 4", AnswerVerdict::Incorrect),      // due exactly now
        Answer(kDec8 - kDay + 1, "2 2 2 3", AnswerVerdict::Incorrect),  // due in a second
        Answer(kDec8 - 5 * kDay, "2 2 2 3", AnswerVerdict::Incorrect),  // superseded
        Answer(kDec8 - 2 * kDay, "1 2 3 4", AnswerVerdict::Incorrect),
        Answer(kDec8 - 3 * kDay, "1 2 3 4", AnswerVerdict::Incorrect),
        Answer(kDec8 - 9 * kDay, "3 3 8 8"),                            // never missed
    };
    records[3].standardRule = false;
    records[4].jqk = true;
    EXPECT_EQ(DueForReview(records, kDec8), (std::vector<ReviewItem>{{"1 2 3 4", true, true, kDec8 - 2 * kDay},
                                                                     {"1 2 3 4", false, false, kDec8 - kDay},
                                                                     {"1 2 3 4", true, false, kDec8}}));
}

}  // namespace
}  // namespace tavlix
