// Speed of the solution search and of the normal answer.
//
// Targets, on one core of a 2-core machine: every question of 1..13 solved under the
// Advanced rule in less than 0.25 s, under the Standard rule in less than 0.1 s.
//
// Before timing anything, the fast search is checked against the reference search
// over every question of both ranges and both rules: a fast search that gives other
// answers is no speed-up, so a mismatch ends the program with exit code 1.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "collections/Collection.h"
#include "engine/CBMUtilities.h"
#include "i18n/LanguageState.h"

using tavlix::CBMUtilities;
using tavlix::NumberArray;
using tavlix::Rules;
using tavlix::StringArray;

namespace {

using SearchFunction = bool (*)(const NumberArray&, StringArray&, const Rules&);

struct Signature {
    std::size_t questionsWithSolutions = 0;
    std::size_t solutions = 0;
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a offset basis

    bool operator==(const Signature&) const = default;
};

void Mix(std::uint64_t& hash, std::string_view text)
{
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;  // FNV-1a prime
    }
}

// Every question of 1..maximum, read once so that parsing stays out of the timings.
std::vector<NumberArray> ReadQuestions(unsigned maximum, StringArray* texts = nullptr)
{
    const StringArray enumerated = CBMUtilities::EnumerateQuestions(maximum);
    std::vector<NumberArray> questions;
    questions.reserve(enumerated.size());
    for (const std::string& text : enumerated) {
        NumberArray q;
        if (CBMUtilities::GetQuestionFromString(text, q, maximum))
            questions.push_back(std::move(q));
    }
    if (texts)
        *texts = enumerated;
    return questions;
}

// The separators keep list boundaries in the hash: no question or solution text
// holds ':', ';' or a newline.
Signature Sign(const StringArray& texts, const std::vector<NumberArray>& questions,
               const Rules& rules, SearchFunction search)
{
    Signature s;
    StringArray solutions;
    for (std::size_t i = 0; i < questions.size(); ++i) {
        search(questions[i], solutions, rules);
        Mix(s.hash, texts[i]);
        Mix(s.hash, ":");
        for (const std::string& solution : solutions) {
            Mix(s.hash, solution);
            Mix(s.hash, ";");
        }
        Mix(s.hash, "\n");
        s.solutions += solutions.size();
        s.questionsWithSolutions += solutions.empty() ? 0 : 1;
    }
    return s;
}

void Print(const char* rule, unsigned maximum, const char* path, const Signature& s)
{
    std::printf("signature %s 1..%u %s: questions-with-solutions=%zu solutions=%zu hash=0x%016llx\n",
                rule, maximum, path, s.questionsWithSolutions, s.solutions,
                static_cast<unsigned long long>(s.hash));
}

bool SignaturesAgree()
{
    bool agree = true;
    for (const unsigned maximum : {10u, 13u}) {
        StringArray texts;
        const std::vector<NumberArray> questions = ReadQuestions(maximum, &texts);
        if (questions.size() != texts.size()) {
            std::fprintf(stderr, "error: not every enumerated question of 1..%u reads back\n",
                         maximum);
            return false;
        }
        for (const bool standardOnly : {true, false}) {
            const char* rule = standardOnly ? "standard" : "advanced";
            const Rules rules{standardOnly, maximum};
            const Signature fast = Sign(texts, questions, rules, &CBMUtilities::GetSolutions);
            const Signature reference =
                Sign(texts, questions, rules, &CBMUtilities::GetSolutionsReference);
            Print(rule, maximum, "fast", fast);
            Print(rule, maximum, "reference", reference);
            if (!(fast == reference)) {
                std::fprintf(stderr,
                             "error: the fast search disagrees with the reference search "
                             "(%s rule, 1..%u)\n",
                             rule, maximum);
                agree = false;
            }
        }
    }
    std::fflush(stdout);
    return agree;
}

void SolveAll(benchmark::State& state, bool standardOnly)
{
    const std::vector<NumberArray> questions = ReadQuestions(13);
    const Rules rules{standardOnly, 13};
    StringArray solutions;
    for (auto _ : state) {
        for (const NumberArray& q : questions) {
            benchmark::DoNotOptimize(CBMUtilities::GetSolutions(q, solutions, rules));
            benchmark::DoNotOptimize(solutions.data());
        }
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(questions.size()));
}

void BM_SolveAllAdvanced(benchmark::State& state) { SolveAll(state, false); }
void BM_SolveAllStandard(benchmark::State& state) { SolveAll(state, true); }

void BM_Solve2468Advanced(benchmark::State& state)
{
    const NumberArray q = {2, 4, 6, 8};
    StringArray solutions;
    for (auto _ : state) {
        benchmark::DoNotOptimize(CBMUtilities::GetSolutions(q, solutions, Rules{false, 13}));
        benchmark::DoNotOptimize(solutions.data());
        benchmark::ClobberMemory();
    }
}

void BM_NormalAnswer(benchmark::State& state)
{
    NumberArray numbers;
    for (auto _ : state) {
        std::string sub;  // only an empty one is filled
        std::string normal = CBMUtilities::GetNormalAnswer(numbers, sub, "(2+4)*(3+1)", 13);
        benchmark::DoNotOptimize(normal.data());
        benchmark::DoNotOptimize(sub.data());
        benchmark::ClobberMemory();
    }
}

}  // namespace

// Instant Solutions refills its pane on every key typed: the text of the solutions of
// the question typed so far, under the Advanced rule (the most work). The target is a
// few milliseconds.
void BM_InstantSolutionsPane(benchmark::State& state)
{
    tavlix::LanguageState language;
    language.InitLanguage(tavlix::Edition::Standard, tavlix::kLcidEnglish);
    for (auto _ : state)
        benchmark::DoNotOptimize(tavlix::SolutionsText("13 12 11 10", true, language, true));
}

BENCHMARK(BM_SolveAllAdvanced)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SolveAllStandard)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Solve2468Advanced)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_NormalAnswer)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_InstantSolutionsPane)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    if (!SignaturesAgree())
        return 1;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
