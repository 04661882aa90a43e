#include <ostream>

#include "cli/Cli.h"
#include "cli/Command.h"
#include "cli/QuestionOperands.h"
#include "common/TextUtilities.h"

namespace tavlix::cli {

namespace {

constexpr const char* kHelp =
    "Usage: tavlix-cli check [--advanced] [--max 10|13] [--level 1-4]\n"
    "                        [--mode free|training|training-game|world-cup]\n"
    "                        [--status 0|1|2] [--no-solution] [--lang en|zh-CN|zh-TW]\n"
    "                        A B C D [FILE]\n"
    "\n"
    "Reads the answers, one per line, from FILE or standard input and judges them as a\n"
    "submission of one question would be judged. Prints the comment, then a last line\n"
    "\"outcome: N status: S\" (outcome 0 nothing judged, 1 correct, 2 wrong, 3 rejected;\n"
    "the question's status in the run: 0 not answered, 1 correct, 2 incorrect).\n"
    "\n"
    "  --advanced     allow power (^) and root (^^) as well as + - * /\n"
    "  --max N        the largest number: 13 (default) or 10\n"
    "  --level L      1 Beginner (default), 2 Intermediate, 3 Advanced, 4 Ultimate\n"
    "  --mode M       free (default), training, training-game or world-cup\n"
    "  --status S     the question's status before the submission (default 0)\n"
    "  --no-solution  claim that the question has no solution\n"
    "  --lang L       the interface language: en (default), zh-CN or zh-TW\n";

class CheckCommand final : public Command {
public:
    const char* Help() const override { return kHelp; }

    void DeclareOptions(CommandLine& line) override
    {
        static const Choices<int> kLevels = {{"1", 1}, {"2", 2}, {"3", 3}, {"4", 4}};
        static const Choices<RunMode> kModes = {{"free", RunMode::Free},
                                                {"training", RunMode::Training},
                                                {"training-game", RunMode::TrainingGame},
                                                {"world-cup", RunMode::WorldCup}};
        static const Choices<unsigned> kStatuses = {{"0", 0}, {"1", 1}, {"2", 2}};
        DeclareRuleAndRange(line, m_game);
        line.Choice("--level", kLevels, m_level);
        line.Choice("--mode", kModes, m_mode);
        line.Choice("--status", kStatuses, m_status);
        line.Flag("--no-solution", m_noSolution);
        DeclareLanguage(line, m_lcid);
    }

    OperandCount Operands() const override { return {4, 5}; }

    int Run(const std::vector<std::string>& operands, const Streams& io) override
    {
        const std::optional<std::string> text = ReadAnswerLines("check", operands, io.in, io.err);
        if (!text)
            return kUsage;
        AnswerInput input = InputFor(operands, m_game);
        input.level = m_level;
        input.mode = m_mode;
        input.noSolutionChecked = m_noSolution;
        input.answerText = ToCrLf(*text);
        const LanguageState language = LanguageFor(m_lcid);
        AnswerChecker checker(language);
        std::vector<unsigned> statuses = {m_status};
        const std::string comment = checker.GetComments(input, true, RunStatus{&statuses, 0});
        if (!comment.empty())
            io.out << ToPlatformLineEnds(comment) << '\n';
        io.out << "outcome: " << static_cast<int>(checker.LastOutcome()) << " status: " << statuses[0] << '\n';
        return kOk;
    }

private:
    RuleAndRange m_game;
    int m_level = 1;
    RunMode m_mode = RunMode::Free;
    unsigned m_status = 0;  // the question's status in the run before the submission
    bool m_noSolution = false;
    std::uint32_t m_lcid = kLcidEnglish;
};

}  // namespace

std::unique_ptr<Command> MakeCheckCommand()
{
    return std::make_unique<CheckCommand>();
}

}  // namespace tavlix::cli
