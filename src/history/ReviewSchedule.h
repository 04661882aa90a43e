#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "history/AnswerRecord.h"

namespace tavlix {

// A question the player should see again.
struct ReviewItem {
    std::string question;
    bool standardRule = true;
    bool jqk = false;
    std::int64_t dueAt = 0;  // seconds since the Unix epoch, UTC

    bool operator==(const ReviewItem&) const = default;
};

// The questions due at `now` or earlier, most overdue first. Each question (with its rule
// and J/Q/K setting) follows its own answers in time order:
// - a lapse (a miss, a rejected answer, an answer after a hint or a slow one: over twice
//   the player's median time over all answers, or over 60 s) sets the interval to 1 day;
// - a good answer after a lapse moves it one step along 1 -> 3 -> 7 -> 14 -> 30 -> 60
//   days (60 days is the longest);
// the question is due at its last answer + interval. A question without a lapse is never
// due: the player knows it.
std::vector<ReviewItem> DueForReview(std::span<const AnswerRecord> records, std::int64_t now);

}  // namespace tavlix
