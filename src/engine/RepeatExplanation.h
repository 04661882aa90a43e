#pragma once

#include <array>
#include <cstddef>
#include <string>

#include "engine/AnswerChecker.h"

namespace tavlix {

class LanguageState;

// Two lines of one question compared as the answer checker compares them: the same
// normal answer makes them repetitive, and then the same sub-normal answer (the line
// written in order) makes them the same, another one similar.
struct LineComparison {
    enum class Verdict { Same, Similar, Different, Incorrect };
    Verdict verdict = Verdict::Incorrect;
    std::size_t incorrectLine = 0;               // Incorrect: 0 the earlier line, 1 the later
    std::array<std::string, 2> normalAnswers;     // the earlier line's, the later line's
    std::array<std::string, 2> subNormalAnswers;
    unsigned unifications = 0;  // the Unification bits of the steps either normal answer took
};

LineComparison CompareLines(const NumberArray& question, const std::array<std::string, 2>& lines,
                            const Rules& rules);

// The steps of the Unification bits in the interface language, one sentence a line.
std::string UnificationText(unsigned unifications, const LanguageState& language);

// Why each line that the comment on input lists as repetitive repeats its earlier line:
// both lines, each written in order, the normal answer they come to and, for similar
// lines, the steps that join them; a blank line between two lines' explanations. Empty
// when the comment lists no repetitive line.
std::string ExplainRepeatedLines(const AnswerInput& input, const LanguageState& language);

}  // namespace tavlix
