#include <ostream>

#include "cli/Cli.h"
#include "cli/Command.h"
#include "cli/QuestionOperands.h"
#include "common/TextUtilities.h"
#include "engine/Hint.h"

namespace tavlix::cli {

namespace {

constexpr const char* kHelp =
    "Usage: tavlix-cli hint [--advanced] [--max 10|13] [--step 1|2|3] [--lang en|zh-CN|zh-TW]\n"
    "                       A B C D [FILE]\n"
    "\n"
    "Prints the hint of one step as the program gives it: 1 how many really different\n"
    "solutions the question has, 2 the operation to start one with that the answers\n"
    "already given do not give, 3 that whole solution. The answers given so far are read,\n"
    "one per line, from FILE or standard input; an answer that is the same as or similar\n"
    "to a solution gives it. Without a solution, or with every one given, every step says\n"
    "so.\n"
    "\n"
    "  --advanced   allow power (^) and root (^^) as well as + - * /\n"
    "  --max N      the largest number: 13 (default) or 10\n"
    "  --step S     the step: 1 (default), 2 or 3\n"
    "  --lang L     the interface language: en (default), zh-CN or zh-TW\n";

class HintCommand final : public Command {
public:
    const char* Help() const override { return kHelp; }

    void DeclareOptions(CommandLine& line) override
    {
        static const Choices<int> kSteps = {{"1", 1}, {"2", 2}, {"3", 3}};
        DeclareRuleAndRange(line, m_game);
        line.Choice("--step", kSteps, m_step);
        DeclareLanguage(line, m_lcid);
    }

    OperandCount Operands() const override { return {4, 5}; }

    int Run(const std::vector<std::string>& operands, const Streams& io) override
    {
        if (!ReadQuestion(operands, m_game.maximum, io.err))
            return kUsage;
        const std::optional<std::string> text = ReadAnswerLines("hint", operands, io.in, io.err);
        if (!text)
            return kUsage;
        AnswerInput input = InputFor(operands, m_game);
        input.answerText = ToCrLf(*text);
        const LanguageState language = LanguageFor(m_lcid);
        const HintGuide guide(language);
        io.out << ToPlatformLineEnds(guide.HintText(input, guide.GetHint(input, m_step))) << '\n';
        return kOk;
    }

private:
    RuleAndRange m_game;
    int m_step = 1;
    std::uint32_t m_lcid = kLcidEnglish;
};

}  // namespace

std::unique_ptr<Command> MakeHintCommand()
{
    return std::make_unique<HintCommand>();
}

}  // namespace tavlix::cli
