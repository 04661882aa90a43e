#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "engine/AnswerChecker.h"
#include "engine/Techniques.h"

namespace tavlix {

class LanguageState;

// Hints come in three steps, each telling a little more of one solution.
constexpr int kLastHintStep = 3;

enum class HintKind {
    InvalidQuestion,  // the question boxes hold no question of the range
    NoSolution,       // step 1, and nothing further to tell
    SolutionCount,    // step 1: how many really different solutions, and how many are given
    AllGiven,         // steps 2 and 3 once the typed answers give every solution
    FirstOperation,   // step 2: the operation one solution not given yet starts with
    WholeSolution,    // step 3: that solution
};

// One operation of a solution, as written in it: "8" "/" "3", "4" "^^" "2".
struct Operation {
    std::string left;
    std::string op;  // + - * / ^ or ^^ (the root of left with the index right)
    std::string right;

    std::string Text() const { return left + op + right; }
    bool operator==(const Operation&) const = default;
};

struct Hint {
    HintKind kind = HintKind::InvalidQuestion;
    int step = 0;                   // 1..kLastHintStep; 0 for an invalid question
    std::size_t solutionCount = 0;  // as CBMUtilities::GetSolutions lists them
    std::size_t givenCount = 0;     // of those, how many the typed answers give
    std::string solution;           // FirstOperation, WholeSolution: the solution hinted at
    Operation first;                // FirstOperation: where that solution starts
    QuestionNeeds needs;            // SolutionCount: what the question needs

    // No further step tells more: nothing to solve, nothing left, or the whole solution.
    bool IsLast() const
    {
        return kind != HintKind::SolutionCount && kind != HintKind::FirstOperation;
    }
};

// The operation worked out first in a solution of the engine's list: the leftmost one
// whose operands are both numbers (in "8/(3-8/3)" that is 8/3). The solution is read
// with the grammar of CExpression, and a root stays a root: "8*9^^(4^^2)" starts with
// 4^^2, never with the 1/2 of its power form. Nothing when the text is not a
// well-formed expression with such an operation.
std::optional<Operation> FirstOperation(std::string_view solution);

// The graded hints to the question of the main window, in the interface language. A
// solution counts as given when a typed line is the same or similar to it, exactly as
// the answer checker tells repetitive answers apart. The first step also says what the
// question needs.
class HintGuide {
public:
    explicit HintGuide(const LanguageState& language);

    // The hint of the step (clamped to 1..kLastHintStep).
    Hint GetHint(const AnswerInput& input, int step) const;
    // The text of one hint.
    std::string HintText(const AnswerInput& input, const Hint& hint) const;
    // The hints of steps 1 to step, a blank line between them, as the comments pane shows
    // them; the last step shown is returned in shownStep.
    std::string GetHintsText(const AnswerInput& input, int step, int& shownStep) const;

private:
    const LanguageState& m_language;
};

}  // namespace tavlix
