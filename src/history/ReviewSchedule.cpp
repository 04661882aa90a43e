#include "history/ReviewSchedule.h"

#include <algorithm>
#include <array>
#include <map>
#include <tuple>

#include "history/HistoryTime.h"

namespace tavlix {

namespace {

constexpr std::array<std::int64_t, 6> kIntervalDays = {1, 3, 7, 14, 30, 60};
constexpr std::int64_t kSlowMilliseconds = 60'000;

std::int64_t MedianMilliseconds(std::span<const AnswerRecord> records)
{
    std::vector<std::int64_t> times;
    times.reserve(records.size());
    for (const AnswerRecord& record : records)
        times.push_back(record.millisecondsTaken);
    return history_time::Median(std::move(times));
}

struct Progress {
    int step = -1;  // index into kIntervalDays; -1 until the first lapse
    std::int64_t lastAnswer = 0;
};

}  // namespace

std::vector<ReviewItem> DueForReview(std::span<const AnswerRecord> records, std::int64_t now)
{
    const std::int64_t median = MedianMilliseconds(records);
    // Answers in time order; answers of the same second keep the order they were given in.
    std::vector<const AnswerRecord*> ordered;
    ordered.reserve(records.size());
    for (const AnswerRecord& record : records)
        ordered.push_back(&record);
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const AnswerRecord* a, const AnswerRecord* b) { return a->answeredAt < b->answeredAt; });

    std::map<std::tuple<std::string, bool, bool>, Progress> progress;
    for (const AnswerRecord* record : ordered) {
        Progress& p = progress[{record->question, record->standardRule, record->jqk}];
        bool slow = record->millisecondsTaken > 2 * median || record->millisecondsTaken > kSlowMilliseconds;
        bool good = record->verdict == AnswerVerdict::Correct && !record->hintUsed && !slow;
        if (!good)
            p.step = 0;
        else if (p.step >= 0)
            p.step = std::min<int>(p.step + 1, static_cast<int>(kIntervalDays.size()) - 1);
        p.lastAnswer = record->answeredAt;
    }

    std::vector<ReviewItem> due;
    for (const auto& [key, p] : progress) {
        if (p.step < 0)
            continue;
        std::int64_t dueAt = p.lastAnswer + kIntervalDays[static_cast<std::size_t>(p.step)] * history_time::kSecondsPerDay;
        if (dueAt <= now)
            due.push_back({std::get<0>(key), std::get<1>(key), std::get<2>(key), dueAt});
    }
    // Most overdue first; equal times in question order (the map's order, kept by the
    // stable sort).
    std::stable_sort(due.begin(), due.end(), [](const ReviewItem& a, const ReviewItem& b) { return a.dueAt < b.dueAt; });
    return due;
}

}  // namespace tavlix
