// Speed of deciding what every question needs.
//
// Target, on one core of a 2-core machine: `tavlix-cli techniques --all --json` for the
// 1,820 questions of 1..13 in less than 1 s under either rule. The command is run in
// process, output to memory, so the figure is the search and the JSON, not a terminal.

#include <benchmark/benchmark.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli/Cli.h"
#include "engine/Techniques.h"

namespace {

void RunAllAsJson(benchmark::State& state, bool advanced)
{
    std::vector<std::string> args = {"techniques", "--all", "--json"};
    if (advanced)
        args.push_back("--advanced");
    for (auto _ : state) {
        std::istringstream in;
        std::ostringstream out, err;
        if (tavlix::cli::Run(args, in, out, err) != 0)
            state.SkipWithError("techniques --all --json failed");
        benchmark::DoNotOptimize(out.str().size());
    }
}

void BM_TechniquesAllStandard(benchmark::State& state) { RunAllAsJson(state, false); }
void BM_TechniquesAllAdvanced(benchmark::State& state) { RunAllAsJson(state, true); }

// One question that needs much: every expression that makes 24 is looked at.
void BM_NeedsOf3388(benchmark::State& state)
{
    const tavlix::NumberArray question = {3, 3, 8, 8};
    for (auto _ : state)
        benchmark::DoNotOptimize(tavlix::FindQuestionNeeds(question, {true, 13}));
}

}  // namespace

BENCHMARK(BM_TechniquesAllStandard)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TechniquesAllAdvanced)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NeedsOf3388)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
