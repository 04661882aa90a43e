#include "history/Statistics.h"

#include <algorithm>
#include <set>
#include <tuple>

#include "history/HistoryTime.h"

namespace tavlix {

namespace {

using history_time::LocalDay;

using history_time::Median;

struct Tally {
    int answers = 0;
    int correct = 0;
    int hints = 0;
    std::vector<std::int64_t> times;

    void Count(const AnswerRecord& record)
    {
        ++answers;
        correct += record.verdict == AnswerVerdict::Correct ? 1 : 0;
        hints += record.hintUsed ? 1 : 0;
        times.push_back(record.millisecondsTaken);
    }
};

using QuestionKey = std::tuple<std::string, bool, bool>;

// How hard a question is for this player, from three shares that each run from 0 to 1:
//   misses:   answers not judged correct (rejected ones included) / answers
//   slowness: how far the question's median time lies above the player's own median,
//             0 at or below it, 1 at twice it or more
//   hints:    answers given after a hint / answers
// cost = 4 * misses + 2 * slowness + 1 * hints, so a question missed now and then ranks
// above one that is only slow, and a slow one above one that merely needed a hint.
double Cost(const Tally& tally, std::int64_t questionMedian, std::int64_t playerMedian)
{
    double misses = static_cast<double>(tally.answers - tally.correct) / tally.answers;
    double slowness = 0;
    if (playerMedian > 0)
        slowness = std::clamp(static_cast<double>(questionMedian) / static_cast<double>(playerMedian) - 1.0, 0.0, 1.0);
    else if (questionMedian > 0)
        slowness = 1;
    double hints = static_cast<double>(tally.hints) / tally.answers;
    return 4 * misses + 2 * slowness + hints;
}

int Streak(const std::set<std::int64_t>& daysPractised, std::int64_t today)
{
    // A day not practised yet today still keeps the streak that ended yesterday.
    std::int64_t day = daysPractised.count(today) ? today : today - 1;
    int streak = 0;
    while (daysPractised.count(day)) {
        ++streak;
        --day;
    }
    return streak;
}

}  // namespace

HistoryStatistics ComputeStatistics(std::span<const AnswerRecord> records, std::int64_t now,
                                    int utcOffsetSeconds, std::size_t hardestLimit)
{
    HistoryStatistics result;
    std::map<std::int64_t, Tally> byDay;
    std::map<QuestionKey, Tally> byQuestion;
    Tally all;
    for (const AnswerRecord& record : records) {
        all.Count(record);
        byDay[LocalDay(record.answeredAt, utcOffsetSeconds)].Count(record);
        byQuestion[{record.question, record.standardRule, record.jqk}].Count(record);
        ++result.answersByRuleAndLevel[{record.standardRule, record.level}];
    }
    result.totalAnswers = all.answers;
    result.totalCorrect = all.correct;
    result.totalHints = all.hints;
    result.medianMilliseconds = Median(std::move(all.times));

    std::set<std::int64_t> daysPractised;
    for (auto& [day, tally] : byDay) {
        daysPractised.insert(day);
        result.days.push_back({history_time::DayText(day), tally.answers, tally.correct,
                               Median(std::move(tally.times)), tally.hints});
    }
    result.streakDays = Streak(daysPractised, LocalDay(now, utcOffsetSeconds));

    std::vector<QuestionFigures> ranked;
    for (auto& [key, tally] : byQuestion) {
        std::int64_t median = Median(std::move(tally.times));
        double cost = Cost(tally, median, result.medianMilliseconds);
        if (cost > 0)  // a question always answered well, quickly and unaided is not hard
            ranked.push_back({std::get<0>(key), std::get<1>(key), std::get<2>(key), tally.answers, tally.correct,
                              median, tally.hints, cost});
    }
    // Equal costs: the question with more answers behind it first, then in question order.
    std::stable_sort(ranked.begin(), ranked.end(), [](const QuestionFigures& a, const QuestionFigures& b) {
        return a.cost != b.cost ? a.cost > b.cost : a.answers > b.answers;
    });
    if (ranked.size() > hardestLimit)
        ranked.resize(hardestLimit);
    result.hardest = std::move(ranked);
    return result;
}

}  // namespace tavlix
