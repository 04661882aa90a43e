#pragma once

#include <string>

#include "cli/Command.h"
#include "cli/SharedOptions.h"
#include "engine/CBMUtilities.h"

namespace tavlix::cli {

// A command about the question of its four operands or, with --all, about every question
// of the range; with --json it writes JSON.
class QuestionOrRangeCommand : public Command {
public:
    void DeclareOptions(CommandLine& line) override;
    OperandCount Operands() const override;

protected:
    // A question of the range as EnumerateQuestions writes it.
    NumberArray QuestionOf(const std::string& text) const;

    RuleAndRange m_game;
    bool m_all = false;
    bool m_json = false;
};

}  // namespace tavlix::cli
