#pragma once

#include <span>
#include <string>

#include "history/AnswerRecord.h"

namespace tavlix {

// The answers as CSV: a header row, then one row per answer in the given order; fields
// quoted as RFC 4180 asks (only where needed), lines ended with CRLF, times in ISO 8601
// UTC ("2026-12-08T09:56:32Z"). Columns: answered_at, question, rule (standard|
// nonstandard), jqk (0|1), mode (free|training|training_game|world_cup), level,
// milliseconds, verdict (correct|incorrect|rejected), hint (0|1).
std::string HistoryToCsv(std::span<const AnswerRecord> records);

}  // namespace tavlix
