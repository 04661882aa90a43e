// Speed of opening the Statistics window over a year of practice (100,000 answers).
//
// Target, on one core of a 2-core machine: under 0.5 s from Tools > Statistics to the
// window painted: the history read from its file, the figures computed for the first
// period and once over the whole history (the streak), the charts and the list built and
// everything drawn once. The history file lies in the temporary folder (TMPDIR, else
// /tmp). BM_OpenFromMemory leaves the file out, to tell the reading from the rest.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPixmap>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "GeneratedHistory.h"
#include "history/SqliteHistoryStore.h"
#include "i18n/LanguageState.h"
#include "history/StatisticsWindow.h"

namespace {

namespace fs = std::filesystem;
using tavlix::AnswerRecord;

constexpr std::int64_t kNow = 1796731200;  // 2026-12-08 12:00 UTC

tavlix::LanguageState& English()
{
    static tavlix::LanguageState language = [] {
        tavlix::LanguageState state;
        state.InitLanguage(tavlix::Edition::Standard, tavlix::kLcidEnglish);
        return state;
    }();
    return language;
}

const std::vector<AnswerRecord>& Year()
{
    static const std::vector<AnswerRecord> records = tavlix::testing::GeneratedHistory(kNow);
    return records;
}

fs::path ScratchFolder()
{
    const char* tmp = std::getenv("TMPDIR");
    return fs::path(tmp && *tmp ? tmp : "/tmp") / ("tavlix-statistics-bench-" + std::to_string(::getpid()));
}

// The year written once into a history file.
const fs::path& YearFile()
{
    static const fs::path file = [] {
        fs::create_directories(ScratchFolder());
        const fs::path path = ScratchFolder() / "history.sqlite3";
        std::string error;
        auto store = tavlix::SqliteHistoryStore::Open(path, error);
        for (const AnswerRecord& record : Year())
            if (!store || !store->Add(record, error))
                std::abort();
        return path;
    }();
    return file;
}

void OpenAndPaint(std::vector<AnswerRecord> records, benchmark::State& state)
{
    tavlix::StatisticsWindow window({English(), kNow, {}, {}, {}}, std::move(records));
    window.show();
    const QPixmap painted = window.grab();
    benchmark::DoNotOptimize(painted.cacheKey());
    if (window.Figures().totalAnswers == 0)
        state.SkipWithError("the period shows no answers");
}

void BM_OpenFromFile(benchmark::State& state)
{
    const fs::path& file = YearFile();
    for (auto _ : state) {
        std::string error;
        auto store = tavlix::SqliteHistoryStore::Open(file, error);
        std::vector<AnswerRecord> records = store ? store->LoadAll(error) : std::vector<AnswerRecord>{};
        if (records.size() != Year().size()) {
            state.SkipWithError("the history file did not read back whole");
            break;
        }
        OpenAndPaint(std::move(records), state);
    }
}
BENCHMARK(BM_OpenFromFile)->Unit(benchmark::kMillisecond);

void BM_OpenFromMemory(benchmark::State& state)
{
    for (auto _ : state)
        OpenAndPaint(Year(), state);
}
BENCHMARK(BM_OpenFromMemory)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("TZ", "UTC");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code error;
    fs::remove_all(ScratchFolder(), error);
    return 0;
}
