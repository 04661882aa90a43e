#include <ostream>

#include "cli/Cli.h"
#include "cli/Command.h"
#include "cli/QuestionOperands.h"
#include "common/TextUtilities.h"
#include "engine/RepeatExplanation.h"

namespace tavlix::cli {

namespace {

constexpr const char* kHelp =
    "Usage: tavlix-cli why [--advanced] A B C D LINE1 LINE2\n"
    "\n"
    "Tells whether LINE2 repeats LINE1 as the program judges answers, and why. Repetitive\n"
    "lines share their normal answer; the same lines also their sub-normal answer (the\n"
    "line written in order), similar ones differ in it. Prints \"same\" with the shared\n"
    "normal and sub-normal answer, \"similar\" with the shared normal answer, both\n"
    "sub-normal answers and the steps that join them (a sentence a line), or \"different\n"
    "solutions\" with both normal answers. A line that is not a correct answer prints\n"
    "\"line N is incorrect\" (exit code 1).\n"
    "\n"
    "  --advanced   allow power (^) and root (^^) as well as + - * /\n";

// The question's numbers may run to 13: the command takes no --max.
class WhyCommand final : public Command {
public:
    const char* Help() const override { return kHelp; }
    void DeclareOptions(CommandLine& line) override { DeclareRule(line, m_game.advanced); }
    OperandCount Operands() const override { return {6, 6}; }

    int Run(const std::vector<std::string>& operands, const Streams& io) override
    {
        const std::optional<NumberArray> question = ReadQuestion(operands, m_game.maximum, io.err);
        if (!question)
            return kUsage;
        std::array<std::string, 2> lines;
        for (std::size_t i = 0; i < lines.size(); ++i)
            lines[i] = CBMUtilities::GetNormalizedUserInput(operands[4 + i], InputMode::AnswerLine, CharacterSet::English);
        const LineComparison comparison = CompareLines(*question, lines, m_game.EngineRules());
        using Verdict = LineComparison::Verdict;
        if (comparison.verdict == Verdict::Incorrect) {
            io.out << "line " << comparison.incorrectLine + 1 << " is incorrect\n";
            return kNegative;
        }
        if (comparison.verdict == Verdict::Different) {
            io.out << "different solutions\nnormal answers: " << Pair(comparison.normalAnswers) << '\n';
            return kOk;
        }
        io.out << (comparison.verdict == Verdict::Same ? "same" : "similar") << "\nnormal answer: "
               << comparison.normalAnswers[0] << '\n';
        if (comparison.verdict == Verdict::Same) {
            io.out << "sub-normal answer: " << comparison.subNormalAnswers[0] << '\n';
            return kOk;
        }
        io.out << "sub-normal answers: " << Pair(comparison.subNormalAnswers) << '\n'
               << ToPlatformLineEnds(UnificationText(comparison.unifications, LanguageFor(kLcidEnglish))) << '\n';
        return kOk;
    }

private:
    static std::string Pair(const std::array<std::string, 2>& texts) { return texts[0] + " and " + texts[1]; }

    RuleAndRange m_game;
};

}  // namespace

std::unique_ptr<Command> MakeWhyCommand()
{
    return std::make_unique<WhyCommand>();
}

}  // namespace tavlix::cli
