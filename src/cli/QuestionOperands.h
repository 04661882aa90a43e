#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "cli/SharedOptions.h"
#include "engine/AnswerChecker.h"
#include "engine/CBMUtilities.h"

namespace tavlix::cli {

// The question the first four operands give, or nothing after telling on err, in the
// program's words, that it is not a valid question of 1..maximum.
std::optional<NumberArray> ReadQuestion(const std::vector<std::string>& operands, unsigned maximum,
                                        std::ostream& err);

// The first four operands joined as the question is written: "3 3 8 8".
std::string QuestionText(const std::vector<std::string>& operands);

// The question, up to the largest number of game, and the answer line of the fifth
// operand, normalised as a typed answer is.
std::optional<std::pair<NumberArray, std::string>> ReadQuestionAndLine(const std::vector<std::string>& operands,
                                                                       const RuleAndRange& game, std::ostream& err);

// What the main window would hold with the first four operands in its question boxes, in
// free play at level 1 and with no answer typed.
AnswerInput InputFor(const std::vector<std::string>& operands, const RuleAndRange& game);

// The answer lines: from the file the fifth operand names, else from in. When the file
// cannot be read, tells so on err as the command does and gives nothing.
std::optional<std::string> ReadAnswerLines(const char* command, const std::vector<std::string>& operands,
                                           std::istream& in, std::ostream& err);

}  // namespace tavlix::cli
