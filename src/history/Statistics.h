#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "history/AnswerRecord.h"

namespace tavlix {

// The answers of one local day.
struct DayFigures {
    std::string day;  // "2026-12-08", local date
    int answers = 0;
    int correct = 0;
    std::int64_t medianMilliseconds = 0;
    int hints = 0;  // answers given after a hint
};

// All answers to one question under one rule and J/Q/K setting.
struct QuestionFigures {
    std::string question;
    bool standardRule = true;
    bool jqk = false;
    int answers = 0;
    int correct = 0;
    std::int64_t medianMilliseconds = 0;
    int hints = 0;
    double cost = 0;  // higher = harder for this player
};

struct HistoryStatistics {
    std::vector<DayFigures> days;        // ascending
    std::vector<QuestionFigures> hardest;  // descending cost
    std::map<std::pair<bool, int>, int> answersByRuleAndLevel;  // key: standardRule, level
    int streakDays = 0;  // consecutive days practised up to today (or up to yesterday)
    int totalAnswers = 0;
    int totalCorrect = 0;
    std::int64_t medianMilliseconds = 0;  // over every answer
    int totalHints = 0;
};

// The player's figures. `now` in seconds since the Unix epoch, UTC; local days are UTC
// shifted by utcOffsetSeconds (east positive). At most hardestLimit questions are ranked.
HistoryStatistics ComputeStatistics(std::span<const AnswerRecord> records, std::int64_t now,
                                    int utcOffsetSeconds, std::size_t hardestLimit = 20);

}  // namespace tavlix
