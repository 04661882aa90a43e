#include <ostream>

#include "cli/Cli.h"
#include "cli/JsonOutput.h"
#include "cli/QuestionOperands.h"
#include "cli/QuestionOrRangeCommand.h"

namespace tavlix::cli {

namespace {

constexpr const char* kHelp =
    "Usage: tavlix-cli solve [--advanced] [--max 10|13] [--json] A B C D\n"
    "       tavlix-cli solve --all [--advanced] [--max 10|13] [--json]\n"
    "\n"
    "Lists every solution of the question, one per line, in the program's order.\n"
    "With --all, prints every question of the range: the question, a tab, the number\n"
    "of solutions, then each solution after a tab.\n"
    "\n"
    "  --advanced   allow power (^) and root (^^) as well as + - * /\n"
    "  --max N      the largest number: 13 (J, Q, K enabled; default) or 10\n"
    "  --json       write the same data as JSON\n";

class SolveCommand final : public QuestionOrRangeCommand {
public:
    const char* Help() const override { return kHelp; }

    int Run(const std::vector<std::string>& operands, const Streams& io) override
    {
        if (!m_all)
            return SolveOne(operands, io);
        if (m_json)
            SolveAllAsJson(io.out);
        else
            SolveAllAsText(io.out);
        return kOk;
    }

private:
    StringArray Solutions(const NumberArray& question) const
    {
        StringArray solutions;
        CBMUtilities::GetSolutions(question, solutions, m_game.EngineRules());
        return solutions;
    }

    // The solutions of a question as EnumerateQuestions writes it.
    StringArray SolutionsOf(const std::string& text) const { return Solutions(QuestionOf(text)); }

    int SolveOne(const std::vector<std::string>& operands, const Streams& io) const
    {
        const std::optional<NumberArray> question = ReadQuestion(operands, m_game.maximum, io.err);
        if (!question)
            return kUsage;
        const StringArray solutions = Solutions(*question);
        if (m_json) {
            io.out << JsonText({{"question", QuestionText(operands)},
                                {"rule", RuleName(m_game)},
                                {"maximum", m_game.maximum},
                                {"solutions", solutions}})
                   << '\n';
            return kOk;
        }
        for (const std::string& solution : solutions)
            io.out << solution << '\n';
        return kOk;
    }

    // A line a question: the question, a tab, the number of solutions, then each after a tab.
    void SolveAllAsText(std::ostream& out) const
    {
        for (const std::string& text : CBMUtilities::EnumerateQuestions(m_game.maximum)) {
            const StringArray solutions = SolutionsOf(text);
            out << text << '\t' << solutions.size();
            for (const std::string& solution : solutions)
                out << '\t' << solution;
            out << '\n';
        }
    }

    void SolveAllAsJson(std::ostream& out) const
    {
        WriteEveryQuestion(out, m_game, [this](const std::string& text) {
            return Json{{"question", text}, {"solutions", SolutionsOf(text)}};
        });
    }
};

}  // namespace

std::unique_ptr<Command> MakeSolveCommand()
{
    return std::make_unique<SolveCommand>();
}

}  // namespace tavlix::cli
