#pragma once

#include <array>
#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "history/AnswerRecord.h"

namespace tavlix::testing {

// A year of practice up to `now`, the same for the same arguments: about 300 answers on
// most days, none on one day in nine (never in the last ten days, so a streak runs up to
// today), mostly the Standard rule, some missed, some slow, some after a hint. Oldest first.
inline std::vector<AnswerRecord> GeneratedHistory(std::int64_t now, int count = 100'000, int days = 365)
{
    constexpr std::int64_t kDay = 86400;
    std::vector<int> practised;
    for (int back = days - 1; back >= 0; --back)
        if (back < 10 || back % 9 != 4)
            practised.push_back(back);
    std::mt19937_64 rng(20261208);
    std::vector<AnswerRecord> records;
    records.reserve(std::size_t(count));
    const std::int64_t today = now - now % kDay;
    for (int i = 0; i < count; ++i) {
        const int back = practised[std::size_t(i) * practised.size() / std::size_t(count)];
        AnswerRecord r;
        // Within the day and never after `now`.
        r.answeredAt = std::min(now, today - back * kDay + std::int64_t(rng() % 36'000) + 28'800);
        r.standardRule = rng() % 5 != 0;
        r.jqk = rng() % 2 == 0;
        std::array<unsigned, 4> numbers;
        for (unsigned& n : numbers)
            n = unsigned(rng() % (r.jqk ? 13 : 10)) + 1;
        std::sort(numbers.begin(), numbers.end());
        r.question = std::to_string(numbers[0]) + " " + std::to_string(numbers[1]) + " " +
                     std::to_string(numbers[2]) + " " + std::to_string(numbers[3]);
        r.mode = RunMode(rng() % 4);
        r.level = int(rng() % 4) + 1;
        // Quicker and surer as the year goes on.
        const double progress = double(i) / count;
        r.millisecondsTaken = 3'000 + std::int64_t(rng() % std::uint64_t(90'000 - 50'000 * progress));
        const unsigned roll = unsigned(rng() % 100);
        const unsigned missed = unsigned(40 - 25 * progress);
        r.verdict = roll < missed ? AnswerVerdict::Incorrect : roll < missed + 4 ? AnswerVerdict::Rejected
                                                                                 : AnswerVerdict::Correct;
        r.hintUsed = rng() % 10 == 0;
        records.push_back(std::move(r));
    }
    std::stable_sort(records.begin(), records.end(),
                     [](const AnswerRecord& a, const AnswerRecord& b) { return a.answeredAt < b.answeredAt; });
    return records;
}

}  // namespace tavlix::testing
