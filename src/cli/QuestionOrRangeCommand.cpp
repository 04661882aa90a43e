#include "cli/QuestionOrRangeCommand.h"

namespace tavlix::cli {

void QuestionOrRangeCommand::DeclareOptions(CommandLine& line)
{
    DeclareRuleAndRange(line, m_game);
    line.Flag("--all", m_all);
    line.Flag("--json", m_json);
}

OperandCount QuestionOrRangeCommand::Operands() const
{
    return m_all ? OperandCount{0, 0} : OperandCount{4, 4};
}

NumberArray QuestionOrRangeCommand::QuestionOf(const std::string& text) const
{
    NumberArray question;
    CBMUtilities::GetQuestionFromString(text, question, m_game.maximum);
    return question;
}

}  // namespace tavlix::cli
