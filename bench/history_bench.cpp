// Speed of the answer history with a year of practice behind it (100,000 answers).
//
// Targets, on one core of a 2-core machine: keeping one answer in less than 1 ms, so
// the game never waits on the file; loading the whole history and computing its
// statistics well below 0.5 s, the time the Statistics window may take to open.
//
// The history file lies in the temporary folder (TMPDIR, else /tmp), so the flush times
// are those of that disk. BM_InsertWithSynchronous compares the two durability settings
// the store could run with; the store itself runs with NORMAL, as FULL's flush per
// answer takes several milliseconds on an ordinary disk.

#include <benchmark/benchmark.h>

#include <sqlite3.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "history/ReviewSchedule.h"
#include "history/SqliteHistoryStore.h"
#include "history/Statistics.h"

namespace {

namespace fs = std::filesystem;
using tavlix::AnswerRecord;

constexpr int kYearOfAnswers = 100'000;
constexpr std::int64_t kStart = 1765152000;  // 2025-12-08 00:00 UTC

fs::path ScratchFile(const char* name)
{
    const char* tmp = std::getenv("TMPDIR");
    fs::path folder = fs::path(tmp && *tmp ? tmp : "/tmp") / ("tavlix-history-bench-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    return folder / name;
}

// A deterministic year: about 274 answers a day over a few hundred questions, some
// missed, some slow, some after a hint.
std::vector<AnswerRecord> GeneratedYear()
{
    std::vector<AnswerRecord> records;
    records.reserve(kYearOfAnswers);
    std::uint64_t state = 88172645463325252ull;
    auto next = [&state] {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return state;
    };
    for (int i = 0; i < kYearOfAnswers; ++i) {
        std::uint64_t r = next();
        AnswerRecord a;
        a.answeredAt = kStart + static_cast<std::int64_t>(i) * 365 * 86400 / kYearOfAnswers;
        unsigned q = static_cast<unsigned>(r % 400);
        a.question = std::to_string(q % 5 + 1) + " " + std::to_string(q / 5 % 4 + 3) + " " +
                     std::to_string(q / 20 % 4 + 6) + " " + std::to_string(q / 80 + 9);
        a.standardRule = (r >> 12) % 4 != 0;
        a.jqk = (r >> 14) % 3 == 0;
        a.mode = static_cast<tavlix::RunMode>((r >> 16) % 4);
        a.level = static_cast<int>((r >> 18) % 4) + 1;
        a.millisecondsTaken = 2000 + static_cast<std::int64_t>((r >> 20) % 60'000);
        a.verdict = static_cast<tavlix::AnswerVerdict>((r >> 40) % 10 < 7 ? 0 : (r >> 40) % 10 < 9 ? 1 : 2);
        a.hintUsed = (r >> 44) % 8 == 0;
        records.push_back(std::move(a));
    }
    return records;
}

// The year written once into a history file, shared by the benchmarks that read it.
const fs::path& YearFile()
{
    static const fs::path file = [] {
        fs::path path = ScratchFile("year.sqlite3");
        fs::remove(path);
        sqlite3* db = nullptr;
        std::string error;
        auto store = tavlix::SqliteHistoryStore::Open(path, error);
        // One transaction for the whole year, or the set-up alone would take minutes.
        sqlite3_open(path.c_str(), &db);
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        sqlite3_stmt* insert = nullptr;
        sqlite3_prepare_v2(db,
                           "INSERT INTO answers (answered_at, question, standard_rule, jqk, mode, level,"
                           " milliseconds, verdict, hint_used) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)",
                           -1, &insert, nullptr);
        for (const AnswerRecord& a : GeneratedYear()) {
            sqlite3_bind_int64(insert, 1, a.answeredAt);
            sqlite3_bind_text(insert, 2, a.question.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_int(insert, 3, a.standardRule);
            sqlite3_bind_int(insert, 4, a.jqk);
            sqlite3_bind_int(insert, 5, static_cast<int>(a.mode));
            sqlite3_bind_int(insert, 6, a.level);
            sqlite3_bind_int64(insert, 7, a.millisecondsTaken);
            sqlite3_bind_int(insert, 8, static_cast<int>(a.verdict));
            sqlite3_bind_int(insert, 9, a.hintUsed);
            sqlite3_step(insert);
            sqlite3_reset(insert);
        }
        sqlite3_finalize(insert);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(db);
        return path;
    }();
    return file;
}

void BM_AddOneAnswer(benchmark::State& state)
{
    fs::path file = ScratchFile("add.sqlite3");
    fs::copy_file(YearFile(), file, fs::copy_options::overwrite_existing);
    std::string error;
    auto store = tavlix::SqliteHistoryStore::Open(file, error);
    AnswerRecord a = GeneratedYear().front();
    for (auto _ : state) {
        ++a.answeredAt;
        if (!store->Add(a, error))
            state.SkipWithError(error.c_str());
    }
}
BENCHMARK(BM_AddOneAnswer)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same single-row transaction under synchronous = NORMAL (0) and FULL (1).
void BM_InsertWithSynchronous(benchmark::State& state)
{
    fs::path file = ScratchFile("sync.sqlite3");
    fs::copy_file(YearFile(), file, fs::copy_options::overwrite_existing);
    sqlite3* db = nullptr;
    sqlite3_open(file.c_str(), &db);
    sqlite3_exec(db, state.range(0) ? "PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL"
                                    : "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL",
                 nullptr, nullptr, nullptr);
    std::int64_t t = kStart;
    for (auto _ : state) {
        std::string sql = "INSERT INTO answers (answered_at, question, standard_rule, jqk, mode, level, milliseconds,"
                          " verdict, hint_used) VALUES (" + std::to_string(++t) + ", '1 2 3 4', 1, 0, 0, 1, 5000, 0, 0)";
        sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
    }
    sqlite3_close(db);
}
BENCHMARK(BM_InsertWithSynchronous)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LoadAll(benchmark::State& state)
{
    std::string error;
    auto store = tavlix::SqliteHistoryStore::Open(YearFile(), error);
    for (auto _ : state) {
        std::vector<AnswerRecord> records = store->LoadAll(error);
        if (records.size() != kYearOfAnswers)
            state.SkipWithError("the year did not load whole");
        benchmark::DoNotOptimize(records.data());
    }
}
BENCHMARK(BM_LoadAll)->Unit(benchmark::kMillisecond);

void BM_ComputeStatistics(benchmark::State& state)
{
    const std::vector<AnswerRecord> records = GeneratedYear();
    for (auto _ : state)
        benchmark::DoNotOptimize(tavlix::ComputeStatistics(records, kStart + 365 * 86400, 3600));
}
BENCHMARK(BM_ComputeStatistics)->Unit(benchmark::kMillisecond);

// What opening the Statistics window costs: open the file, read it, compute.
void BM_OpenLoadAllAndCompute(benchmark::State& state)
{
    for (auto _ : state) {
        std::string error;
        auto store = tavlix::SqliteHistoryStore::Open(YearFile(), error);
        std::vector<AnswerRecord> records = store->LoadAll(error);
        benchmark::DoNotOptimize(tavlix::ComputeStatistics(records, kStart + 365 * 86400, 3600));
    }
}
BENCHMARK(BM_OpenLoadAllAndCompute)->Unit(benchmark::kMillisecond);

void BM_DueForReview(benchmark::State& state)
{
    const std::vector<AnswerRecord> records = GeneratedYear();
    for (auto _ : state)
        benchmark::DoNotOptimize(tavlix::DueForReview(records, kStart + 365 * 86400));
}
BENCHMARK(BM_DueForReview)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ec;
    fs::remove_all(ScratchFile("x").parent_path(), ec);
    return 0;
}
