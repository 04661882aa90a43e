#include <ostream>

#include "cli/Cli.h"
#include "cli/Command.h"
#include "cli/QuestionOperands.h"
#include "common/TextUtilities.h"

namespace tavlix::cli {

namespace {

constexpr const char* kHelp =
    "Usage: tavlix-cli solutions [--advanced] [--max 10|13] [--lang en|zh-CN|zh-TW] A B C D\n"
    "\n"
    "Prints the list of all solutions as the program shows it (\"A1: ...\").\n"
    "\n"
    "  --advanced   allow power (^) and root (^^) as well as + - * /\n"
    "  --max N      the largest number: 13 (default) or 10\n"
    "  --lang L     the interface language: en (default), zh-CN or zh-TW\n";

class SolutionsCommand final : public Command {
public:
    const char* Help() const override { return kHelp; }

    void DeclareOptions(CommandLine& line) override
    {
        DeclareRuleAndRange(line, m_game);
        DeclareLanguage(line, m_lcid);
    }

    OperandCount Operands() const override { return {4, 4}; }

    int Run(const std::vector<std::string>& operands, const Streams& io) override
    {
        const LanguageState language = LanguageFor(m_lcid);
        io.out << ToPlatformLineEnds(AnswerChecker(language).GetAllSolutionsText(InputFor(operands, m_game))) << '\n';
        return kOk;
    }

private:
    RuleAndRange m_game;
    std::uint32_t m_lcid = kLcidEnglish;
};

}  // namespace

std::unique_ptr<Command> MakeSolutionsCommand()
{
    return std::make_unique<SolutionsCommand>();
}

}  // namespace tavlix::cli
