#include <algorithm>
#include <cstdint>
#include <ostream>

#include "cli/Cli.h"
#include "cli/Command.h"
#include "cli/SharedOptions.h"
#include "collections/Collection.h"
#include "platform/Clock.h"
#include "platform/Random.h"
#include "runs/TrainingPlan.h"

namespace tavlix::cli {

namespace {

constexpr const char* kHelp =
    "Usage: tavlix-cli questions [--advanced] [--max 10|13] [--from A B C D] [--to A B C D]\n"
    "                            [--kind all|solvable|unsolvable]\n"
    "                            [--order random|ascending|descending] [--count N]\n"
    "                            [--seed S] [--available]\n"
    "\n"
    "Prints the questions that a training plan over the full set gives, one per line,\n"
    "in the order a Training or a Training Game puts them.\n"
    "\n"
    "  --advanced   allow power (^) and root (^^) as well as + - * /\n"
    "  --max N      the largest number: 13 (default) or 10\n"
    "  --from A B C D  the first configuration of the range (default 1 1 1 1)\n"
    "  --to A B C D    the last configuration of the range (default: the largest\n"
    "                  number four times); a configuration's numbers never decrease\n"
    "  --kind K     all configurations (default), the solvable or the unsolvable ones\n"
    "  --order O    random (default), ascending or descending\n"
    "  --count N    how many questions, 1 to 500 (default 40)\n"
    "  --seed S     random order only: the time in seconds the picking starts from\n"
    "               (default: now); one seed always gives one list\n"
    "  --available  print only the number of questions available\n";

enum class PlanOrder { Random, Ascending, Descending };

// A configuration from the command line: four numbers of 1..maximum, none below the one
// before it.
std::optional<Configuration> ReadConfiguration(const std::vector<std::string>& numbers, unsigned maximum)
{
    Configuration configuration{};
    for (std::size_t i = 0; i < configuration.size(); ++i) {
        const std::optional<int> n = ReadTypedNumber(numbers[i]);
        if (!n || std::to_string(*n) != numbers[i] || *n < 1 || unsigned(*n) > maximum)
            return std::nullopt;
        configuration[i] = unsigned(*n);
    }
    if (!std::ranges::is_sorted(configuration))
        return std::nullopt;
    return configuration;
}

std::string Joined(const std::vector<std::string>& numbers)
{
    std::string text;
    for (const std::string& n : numbers)
        text += (text.empty() ? "" : " ") + n;
    return text;
}

class QuestionsCommand final : public Command {
public:
    const char* Help() const override { return kHelp; }

    void DeclareOptions(CommandLine& line) override
    {
        static const Choices<PlanOrder> kOrders = {
            {"random", PlanOrder::Random}, {"ascending", PlanOrder::Ascending}, {"descending", PlanOrder::Descending}};
        DeclareRuleAndRange(line, m_game);
        line.Configuration("--from", m_from);
        line.Configuration("--to", m_to);
        DeclareKinds(line, m_kinds);
        line.Choice("--order", kOrders, m_order);
        line.Number("--count", 1, kMaxQuestionCount, m_count);
        line.Number("--seed", 0, UINT32_MAX, m_seed);
        line.Flag("--available", m_availableOnly);
    }

    OperandCount Operands() const override { return {0, 0}; }

    int Run(const std::vector<std::string>&, const Streams& io) override
    {
        const std::optional<TrainingPlan> plan = PlanFor(io.err);
        if (!plan)
            return kUsage;
        StringArray candidates = BuildCandidates(*plan, Collection(false), Collection(true));
        if (m_availableOnly) {
            io.out << candidates.size() << '\n';
            return kOk;
        }
        StandardRandom random;
        const FixedClock seeded(m_seed.value_or(0));
        const SystemClock now;
        const Clock& clock = m_seed ? static_cast<const Clock&>(seeded) : now;
        for (const std::string& question : ChooseQuestions(std::move(candidates), *plan, random, clock))
            io.out << question << '\n';
        return kOk;
    }

private:
    // The plan of the command line, or nothing with the reason told on err.
    std::optional<TrainingPlan> PlanFor(std::ostream& err) const
    {
        TrainingPlan plan;
        plan.standardRule = !m_game.advanced;
        plan.jqkEnabled = m_game.maximum == 13;
        std::tie(plan.withSolution, plan.withoutSolution) = m_kinds;
        plan.random = m_order == PlanOrder::Random;
        plan.ascending = m_order != PlanOrder::Descending;
        plan.questionCount = m_count;
        if (!Bound("--from", m_from, plan, plan.start, plan.startBounded, err) ||
            !Bound("--to", m_to, plan, plan.end, plan.endBounded, err))
            return std::nullopt;
        if (plan.EffectiveStart() > plan.EffectiveEnd()) {
            err << "tavlix-cli questions: --from " << Joined(m_from) << " comes after --to " << Joined(m_to) << "\n";
            return std::nullopt;
        }
        if (m_seed && !plan.random) {
            err << "tavlix-cli questions: --seed applies to --order random only\n";
            return std::nullopt;
        }
        return plan;
    }

    // Bounds the plan's range at the configuration of --from or --to, when it was given.
    bool Bound(const char* option, const std::vector<std::string>& numbers, TrainingPlan& plan, Configuration& bound,
               bool& bounded, std::ostream& err) const
    {
        if (numbers.empty())
            return true;
        const std::optional<Configuration> configuration = ReadConfiguration(numbers, m_game.maximum);
        if (!configuration) {
            err << "tavlix-cli questions: " << option << " " << Joined(numbers) << " is not a configuration of 1.."
                << m_game.maximum << " (four numbers, none below the one before it)\n";
            return false;
        }
        bound = *configuration;
        bounded = true;
        plan.fullRange = false;
        return true;
    }

    RuleAndRange m_game;
    std::vector<std::string> m_from;  // four numbers each, or none
    std::vector<std::string> m_to;
    ListedKinds m_kinds{true, true};
    PlanOrder m_order = PlanOrder::Random;
    int m_count = 40;
    std::optional<std::uint32_t> m_seed;
    bool m_availableOnly = false;
};

}  // namespace

std::unique_ptr<Command> MakeQuestionsCommand()
{
    return std::make_unique<QuestionsCommand>();
}

}  // namespace tavlix::cli
