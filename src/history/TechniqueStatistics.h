#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "engine/Techniques.h"
#include "history/AnswerRecord.h"

namespace tavlix {

// The answers to the questions that need one technique (under the rule each answer was
// given under), or to the plain questions.
struct TechniqueFigures {
    std::optional<Technique> technique;  // none: the plain questions
    int answers = 0;
    int correct = 0;
    std::int64_t medianMilliseconds = 0;

    bool operator==(const TechniqueFigures&) const = default;
};

// One entry per technique in the order of kAllTechniques, then the plain questions. An
// answer counts for every technique its question needs; answers to questions without a
// solution count for none.
std::vector<TechniqueFigures> ComputeTechniqueFigures(std::span<const AnswerRecord> records);

// A technique's share of correct answers tells only from this many answers on.
inline constexpr int kAnswersToJudgeATechnique = 20;

// The technique with the lowest share of correct answers among those with at least
// kAnswersToJudgeATechnique answers, the first in order on a tie; none when no technique
// has that many.
std::optional<Technique> WeakestTechnique(std::span<const AnswerRecord> records);

}  // namespace tavlix
