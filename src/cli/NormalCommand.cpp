#include <ostream>

#include "cli/Cli.h"
#include "cli/Command.h"
#include "cli/QuestionOperands.h"

namespace tavlix::cli {

namespace {

constexpr const char* kHelp =
    "Usage: tavlix-cli normal [--advanced] A B C D LINE\n"
    "\n"
    "For a correct LINE, prints its normal answer and then its sub-normal answer: two\n"
    "answers are repetitive when their normal answers match, and the same when their\n"
    "sub-normal answers match too. An incorrect LINE prints \"incorrect\" (exit code 1).\n"
    "\n"
    "  --advanced   allow power (^) and root (^^) as well as + - * /\n";

// The question's numbers may run to 13: the command takes no --max.
class NormalCommand final : public Command {
public:
    const char* Help() const override { return kHelp; }
    void DeclareOptions(CommandLine& line) override { DeclareRule(line, m_game.advanced); }
    OperandCount Operands() const override { return {5, 5}; }

    int Run(const std::vector<std::string>& operands, const Streams& io) override
    {
        const auto input = ReadQuestionAndLine(operands, m_game, io.err);
        if (!input)
            return kUsage;
        if (!CBMUtilities::CheckValidSolution(input->first, input->second, m_game.EngineRules())) {
            io.out << "incorrect\n";
            return kNegative;
        }
        NumberArray numbers;
        std::string subNormal;
        const std::string normal = CBMUtilities::GetNormalAnswer(numbers, subNormal, input->second, m_game.maximum);
        io.out << normal << '\n' << subNormal << '\n';
        return kOk;
    }

private:
    RuleAndRange m_game;
};

}  // namespace

std::unique_ptr<Command> MakeNormalCommand()
{
    return std::make_unique<NormalCommand>();
}

}  // namespace tavlix::cli
