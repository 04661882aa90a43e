// Speed of the complete list of all solutions.
//
// Target, on one core of a 2-core machine: the Holy War page (1820 configurations under
// the Advanced rule, both kinds listed) solved and filled into its template in well under
// a second. The page is made with the template shipped in data/doc, so the figure is the
// work the program does between Go! and writing the file.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <optional>
#include <string>

#include "completelist/CompleteList.h"
#include "completelist/CompleteListGenerator.h"
#include "i18n/LanguageState.h"

namespace {

using tavlix::CompleteListGenerator;
using tavlix::CompleteListOptions;

constexpr CompleteListOptions kHolyWar{false, true, true, true};
constexpr CompleteListOptions kStandard{true, false, true, true};

tavlix::LanguageState English()
{
    tavlix::LanguageState language;
    language.InitLanguage(tavlix::Edition::Standard, tavlix::kLcidEnglish);
    return language;
}

const std::string& Template()
{
    static const std::string text =
        tavlix::ReadCompleteListTemplate(tavlix::CompleteListTemplatePath(TAVLIX_DATA_DIR, tavlix::kLcidEnglish))
            .value_or(std::string());
    return text;
}

// From the first configuration to the finished page in memory.
void MakePage(benchmark::State& state, const CompleteListOptions& options)
{
    const tavlix::LanguageState language = English();
    std::size_t bytes = 0;
    for (auto _ : state) {
        CompleteListGenerator list(options);
        list.Run();
        const std::string page = list.FillTemplate(Template(), language);
        bytes = page.size();
        benchmark::DoNotOptimize(page.data());
    }
    state.counters["page_bytes"] = double(bytes);
}

void BM_HolyWarPage(benchmark::State& state) { MakePage(state, kHolyWar); }
void BM_StandardPage(benchmark::State& state) { MakePage(state, kStandard); }

// Only the filling of the template, the solving done once beforehand.
void BM_HolyWarFillTemplate(benchmark::State& state)
{
    const tavlix::LanguageState language = English();
    CompleteListGenerator list(kHolyWar);
    list.Run();
    for (auto _ : state) {
        const std::string page = list.FillTemplate(Template(), language);
        benchmark::DoNotOptimize(page.data());
    }
}

}  // namespace

BENCHMARK(BM_HolyWarPage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StandardPage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HolyWarFillTemplate)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    if (Template().empty()) {
        std::fprintf(stderr, "error: the English template is missing under %s\n", TAVLIX_DATA_DIR);
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
