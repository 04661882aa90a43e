#include <ostream>

#include "cli/Cli.h"
#include "cli/JsonOutput.h"
#include "cli/QuestionOperands.h"
#include "cli/QuestionOrRangeCommand.h"
#include "engine/Techniques.h"

namespace tavlix::cli {

namespace {

constexpr const char* kHelp =
    "Usage: tavlix-cli techniques [--advanced] [--max 10|13] [--json] A B C D\n"
    "       tavlix-cli techniques --all [--advanced] [--max 10|13] [--json]\n"
    "\n"
    "Prints what the question needs: each technique that every way of making 24 with its\n"
    "numbers uses, one a line in the order fraction (a value on the way that is not whole),\n"
    "negative (one below 0), large (one of 100 or more), overshoot (one above 24),\n"
    "division, subtraction, power and root; \"plain\" when it needs none of them, \"no\n"
    "solution\" when it has none. Every expression over the numbers is tried.\n"
    "With --all, prints every question of the range: the question, a tab, then the same.\n"
    "\n"
    "  --advanced   allow power (^) and root (^^) as well as + - * /\n"
    "  --max N      the largest number: 13 (J, Q, K enabled; default) or 10\n"
    "  --json       write the same data as JSON; \"needs\" is null without a solution\n";

class TechniquesCommand final : public QuestionOrRangeCommand {
public:
    const char* Help() const override { return kHelp; }

    int Run(const std::vector<std::string>& operands, const Streams& io) override
    {
        if (m_all) {
            WriteAll(io.out);
            return kOk;
        }
        const std::optional<NumberArray> question = ReadQuestion(operands, m_game.maximum, io.err);
        if (!question)
            return kUsage;
        const QuestionNeeds needs = FindQuestionNeeds(*question, m_game.EngineRules());
        if (m_json)
            io.out << JsonText({{"question", QuestionText(operands)},
                                {"rule", RuleName(m_game)},
                                {"maximum", m_game.maximum},
                                {"needs", NeedsJson(needs)}})
                   << '\n';
        else
            io.out << Words(needs, "\n") << '\n';
        return kOk;
    }

private:
    // The techniques' names, "plain" or "no solution", separated as asked.
    static std::string Words(const QuestionNeeds& needs, const char* separator)
    {
        if (!needs.solvable)
            return "no solution";
        if (needs.IsPlain())
            return "plain";
        std::string words;
        for (const Technique technique : kAllTechniques)
            if (needs.needs.Has(technique))
                words += (words.empty() ? "" : separator) + std::string(TechniqueName(technique));
        return words;
    }

    void WriteAll(std::ostream& out) const
    {
        if (m_json) {
            WriteEveryQuestion(out, m_game, [this](const std::string& text) {
                return Json{{"question", text}, {"needs", NeedsJson(NeedsOf(text))}};
            });
            return;
        }
        for (const std::string& text : CBMUtilities::EnumerateQuestions(m_game.maximum))
            out << text << '\t' << Words(NeedsOf(text), " ") << '\n';
    }

    // The needs of a question as EnumerateQuestions writes it.
    QuestionNeeds NeedsOf(const std::string& text) const
    {
        return FindQuestionNeeds(QuestionOf(text), m_game.EngineRules());
    }
};

}  // namespace

std::unique_ptr<Command> MakeTechniquesCommand()
{
    return std::make_unique<TechniquesCommand>();
}

}  // namespace tavlix::cli
