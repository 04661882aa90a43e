#include "history/AnswerRecord.h"

#include <algorithm>

namespace tavlix {

std::optional<AnswerRecord> RecordOfSubmission(const AnswerInput& input, CheckOutcome outcome,
                                               CharacterSet charset, std::int64_t answeredAt,
                                               std::int64_t millisecondsTaken, bool hintUsed)
{
    if (outcome == CheckOutcome::NothingJudged)
        return std::nullopt;
    std::string boxes;
    for (const std::string& box : input.questionBoxes)
        boxes += box + " ";
    NumberArray numbers;
    if (!CBMUtilities::GetQuestionFromString(boxes, numbers, kLargestNumber, charset))
        return std::nullopt;
    std::sort(numbers.begin(), numbers.end());
    AnswerRecord record;
    record.answeredAt = answeredAt;
    record.question = CBMUtilities::FormatQuestion(numbers[0], numbers[1], numbers[2], numbers[3]);
    record.standardRule = input.standardRule;
    record.jqk = input.jqkEnabled;
    record.mode = input.mode;
    record.level = input.level;
    record.millisecondsTaken = std::max<std::int64_t>(0, millisecondsTaken);
    record.verdict = outcome == CheckOutcome::Correct ? AnswerVerdict::Correct
                     : outcome == CheckOutcome::Wrong ? AnswerVerdict::Incorrect
                                                      : AnswerVerdict::Rejected;
    record.hintUsed = hintUsed;
    return record;
}

}  // namespace tavlix
