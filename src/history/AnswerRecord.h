#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "engine/AnswerChecker.h"
#include "i18n/CharacterSet.h"

namespace tavlix {

// Where an answer was given is stored in the history file as the run mode's number.
static_assert(static_cast<int>(RunMode::Free) == 0 && static_cast<int>(RunMode::Training) == 1 &&
                  static_cast<int>(RunMode::TrainingGame) == 2 && static_cast<int>(RunMode::WorldCup) == 3,
              "the history file stores these numbers: never renumber the run modes");

// How a submission was judged. Rejected: the input could not be judged (abnormal input).
// The numbers are stored in the history file: never renumber.
enum class AnswerVerdict { Correct = 0, Incorrect = 1, Rejected = 2 };

// One judged submission, as the history keeps it.
struct AnswerRecord {
    std::int64_t answeredAt = 0;  // seconds since the Unix epoch, UTC
    std::string question;         // the four numbers sorted, "1 3 8 8"
    bool standardRule = true;
    bool jqk = false;
    RunMode mode = RunMode::Free;
    int level = 1;  // difficulty 1..4: a World Cup plays at 2, or 3 at the Holy War level
    std::int64_t millisecondsTaken = 0;  // from the question being shown to the submission
    AnswerVerdict verdict = AnswerVerdict::Correct;
    bool hintUsed = false;

    bool operator==(const AnswerRecord&) const = default;
};

// The record of a judged submission of input, answered at answeredAt (seconds) after
// millisecondsTaken; nothing when nothing was judged or the boxes hold no question.
// charset: how the question boxes are read.
std::optional<AnswerRecord> RecordOfSubmission(const AnswerInput& input, CheckOutcome outcome,
                                               CharacterSet charset, std::int64_t answeredAt,
                                               std::int64_t millisecondsTaken, bool hintUsed);

}  // namespace tavlix
