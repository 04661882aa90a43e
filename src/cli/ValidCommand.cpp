#include <ostream>

#include "cli/Cli.h"
#include "cli/Command.h"
#include "cli/QuestionOperands.h"

namespace tavlix::cli {

namespace {

constexpr const char* kHelp =
    "Usage: tavlix-cli valid [--advanced] [--max 10|13] A B C D LINE\n"
    "\n"
    "Prints \"correct\" when LINE is a correct answer to the question, else \"incorrect\".\n"
    "\n"
    "  --advanced   allow power (^) and root (^^) as well as + - * /\n"
    "  --max N      the largest number: 13 (default) or 10\n";

class ValidCommand final : public Command {
public:
    const char* Help() const override { return kHelp; }
    void DeclareOptions(CommandLine& line) override { DeclareRuleAndRange(line, m_game); }
    OperandCount Operands() const override { return {5, 5}; }

    int Run(const std::vector<std::string>& operands, const Streams& io) override
    {
        const auto input = ReadQuestionAndLine(operands, m_game, io.err);
        if (!input)
            return kUsage;
        io.out << (CBMUtilities::CheckValidSolution(input->first, input->second, m_game.EngineRules()) ? "correct" : "incorrect") << '\n';
        return kOk;
    }

private:
    RuleAndRange m_game;
};

}  // namespace

std::unique_ptr<Command> MakeValidCommand()
{
    return std::make_unique<ValidCommand>();
}

}  // namespace tavlix::cli
