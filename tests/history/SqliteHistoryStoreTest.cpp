#include <gtest/gtest.h>

#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <functional>

#include "../platform/WriteProtectedFolder.h"
#include "HistoryTestSupport.h"
#include "history/SqliteHistoryStore.h"

namespace tavlix {
namespace {

using namespace tavlix::testing;

// Runs SQL on a file with the plain library, as another program (or an older Tavlix) would.
void RunSql(const fs::path& file, const std::string& sql)
{
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
    char* message = nullptr;
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message), SQLITE_OK) << (message ? message : "");
    sqlite3_free(message);
    sqlite3_close(db);
}

// The answer number i of a long stream: every field depends on i, so a row that came back
// damaged or from another answer shows.
AnswerRecord Numbered(int i)
{
    AnswerRecord r = Answer(kDec8 + i, std::to_string(i % 13 + 1) + " 2 3 " + std::to_string(i % 7 + 4),
                            static_cast<AnswerVerdict>(i % 3), 1000 + i, i % 2 == 0);
    r.mode = static_cast<RunMode>(i % 4);
    r.level = i % 4 + 1;
    r.standardRule = i % 5 != 0;
    r.jqk = i % 3 == 0;
    return r;
}

std::vector<AnswerRecord> Reopened(const fs::path& file)
{
    std::string error;
    auto store = SqliteHistoryStore::Open(file, error);
    EXPECT_TRUE(store) << error;
    return store ? store->LoadAll(error) : std::vector<AnswerRecord>{};
}

// What a writer that stopped abruptly left: answers 0, 1, 2, ... and no other, at least `atLeast`.
void ExpectNumberedStream(const fs::path& file, std::size_t atLeast)
{
    const std::vector<AnswerRecord> kept = Reopened(file);
    ASSERT_GE(kept.size(), atLeast);
    for (std::size_t i = 0; i < kept.size(); ++i)
        ASSERT_EQ(kept[i], Numbered(static_cast<int>(i))) << i;
}

// A file of the first schema had no hint column; opening it adds the column and keeps
// every answer, each counted as given without a hint. Answers come back oldest first,
// those of the same second in the order given, in every later session.
TEST(SqliteHistoryStoreTest, BringsAVersion1FileUpToDateAndKeepsEveryField)
{
    HistoryScratch scratch;
    const fs::path file = scratch.Path() / "history.sqlite3";
    RunSql(file,
           "CREATE TABLE answers (id INTEGER PRIMARY KEY, answered_at INTEGER NOT NULL, question TEXT NOT NULL,"
           " standard_rule INTEGER NOT NULL, jqk INTEGER NOT NULL, mode INTEGER NOT NULL, level INTEGER NOT NULL,"
           " milliseconds INTEGER NOT NULL, verdict INTEGER NOT NULL);"
           "CREATE INDEX answers_by_time ON answers(answered_at, id);"
           "INSERT INTO answers VALUES (1, 1796688000, '1 3 8 8', 0, 1, 2, 3, 4500, 1);"
           "PRAGMA user_version = 1;");
    AnswerRecord old = Answer(kDec8, "1 3 8 8", AnswerVerdict::Incorrect, 4500);
    old.standardRule = false;
    old.jqk = true;
    old.mode = RunMode::TrainingGame;
    old.level = 3;
    std::vector<AnswerRecord> added = {Numbered(7), Numbered(3), Numbered(4), Numbered(3)};
    added[3].question = "13 13 13 13";
    {
        std::string error;
        auto store = SqliteHistoryStore::Open(file, error);
        ASSERT_TRUE(store) << error;
        for (const AnswerRecord& r : added)
            ASSERT_TRUE(store->Add(r, error)) << error;
    }
    EXPECT_EQ(Reopened(file), (std::vector<AnswerRecord>{old, added[1], added[3], added[2], added[0]}));

    // Opened once, the file carries the program's mark: a later schema is a newer version.
    RunSql(file, "PRAGMA user_version = 7");
    std::string error;
    EXPECT_FALSE(SqliteHistoryStore::Open(file, error));
    EXPECT_EQ(error.rfind(std::string(SqliteHistoryStore::kErrorNewerSchema) + ":", 0), 0u) << error;
}

// A file this program cannot keep its answers in is refused and left byte for byte, with
// no side file beside it. Only the program's mark makes a later schema a newer version.
TEST(SqliteHistoryStoreTest, RefusesForeignDamagedAndNewerFilesWithoutWritingThem)
{
    HistoryScratch scratch;
    const fs::path good = scratch.Path() / "good.sqlite3";
    {
        std::string error;
        auto store = SqliteHistoryStore::Open(good, error);
        for (int i = 0; i < 300; ++i)
            store->Add(Numbered(i), error);
    }
    const std::string goodBytes = FileBytes(good);
    ASSERT_GT(goodBytes.size(), 8192u);
    std::string damaged = goodBytes;
    std::fill(damaged.begin() + 4096, damaged.begin() + 8192, '\x5a');

    const auto write = [](std::string bytes) {
        return [bytes](const fs::path& f) { std::ofstream(f, std::ios::binary) << bytes; };
    };
    const struct {
        const char* name;
        std::function<void(const fs::path&)> make;
        const char* code;
    } cases[] = {
        {"newer schema", [&](const fs::path& f) { fs::copy_file(good, f); RunSql(f, "PRAGMA user_version = 3"); },
         SqliteHistoryStore::kErrorNewerSchema},
        {"text file", write("answered_at,question\n"), SqliteHistoryStore::kErrorNotHistory},
        {"cut short", write(goodBytes.substr(0, 6000)), SqliteHistoryStore::kErrorNotHistory},
        {"pages overwritten", write(damaged), SqliteHistoryStore::kErrorNotHistory},
        {"another program's database", [](const fs::path& f) { RunSql(f, "CREATE TABLE notes (text TEXT)"); },
         SqliteHistoryStore::kErrorNotHistory},
        {"another program's database with a later user_version",
         [](const fs::path& f) { RunSql(f, "PRAGMA journal_mode = WAL; CREATE TABLE notes (text TEXT);"
                                           "PRAGMA user_version = 7"); },
         SqliteHistoryStore::kErrorNotHistory},
        {"another program's mark",
         [&](const fs::path& f) { fs::copy_file(good, f); RunSql(f, "PRAGMA application_id = 42"); },
         SqliteHistoryStore::kErrorNotHistory},
        {"a folder", [](const fs::path& f) { fs::create_directory(f); }, SqliteHistoryStore::kErrorNotHistory},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path file = scratch.Path() / (std::string(c.name) + ".sqlite3");
        c.make(file);
        const std::string before = fs::is_regular_file(file) ? FileBytes(file) : "";
        std::string error;
        EXPECT_FALSE(SqliteHistoryStore::Open(file, error));
        EXPECT_EQ(error.rfind(std::string(c.code) + ":", 0), 0u) << error;
        if (fs::is_regular_file(file)) {
            EXPECT_EQ(FileBytes(file), before);
        }
        EXPECT_FALSE(fs::exists(file.string() + "-wal"));
        EXPECT_FALSE(fs::exists(file.string() + "-shm"));
    }
}

// A good file in a folder this user may not write is read as it lies: every answer, no
// side file made, and Add refused.
TEST(SqliteHistoryStoreTest, AGoodFileInAFolderThatCannotBeWrittenIsReadOnly)
{
    HistoryScratch scratch;
    const fs::path file = scratch.Path() / "locked" / "history.sqlite3";
    std::vector<AnswerRecord> kept;
    {
        std::string error;
        auto store = SqliteHistoryStore::Open(file, error);
        for (int i = 0; i < 5; ++i) {
            kept.push_back(Numbered(i));
            ASSERT_TRUE(store->Add(kept.back(), error)) << error;
        }
    }
    const std::string before = FileBytes(file);
    const WriteProtectedFolder locked(file.parent_path());
    if (!locked.Holds())
        GTEST_SKIP() << "this file system cannot keep root from writing";
    std::string error;
    auto store = SqliteHistoryStore::Open(file, error);
    ASSERT_TRUE(store) << error;
    EXPECT_TRUE(store->ReadOnly());
    EXPECT_EQ(store->LoadAll(error), kept);
    EXPECT_EQ(error, "");
    EXPECT_FALSE(store->Add(Numbered(5), error));
    store.reset();
    EXPECT_EQ(FileBytes(file), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(file.parent_path()), fs::directory_iterator()), 1);
}

// Each answer is its own transaction: a program killed in the middle of a stream of
// answers leaves a file that opens and holds every answer it had finished.
TEST(SqliteHistoryStoreTest, AKilledWriterLosesNoFinishedAnswer)
{
    HistoryScratch scratch;
    const fs::path file = scratch.Path() / "new" / "folder" / "history.sqlite3";
    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::string error;
        auto store = SqliteHistoryStore::Open(file, error);
        for (int i = 0; store && store->Add(Numbered(i), error); ++i)
            if (::write(pipeEnds[1], &i, sizeof i) != sizeof i)
                break;
        ::_exit(1);
    }
    ::close(pipeEnds[1]);
    int finished = -1;
    for (int i; finished < 200 && ::read(pipeEnds[0], &i, sizeof i) == sizeof i;)
        finished = i;
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ::close(pipeEnds[0]);
    ASSERT_TRUE(WIFSIGNALED(status));
    ASSERT_GE(finished, 200);
    ExpectNumberedStream(file, static_cast<std::size_t>(finished) + 1);
}

// With the disk full, Add fails with a reason and harms nothing kept; the game can go on
// calling it.
TEST(SqliteHistoryStoreTest, AFullDiskFailsTheAnswerAndKeepsTheRest)
{
    HistoryScratch scratch;
    const fs::path file = scratch.Path() / "history.sqlite3";
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::string error;
        auto store = SqliteHistoryStore::Open(file, error);
        for (int i = 0; store && i < 20; ++i)
            store->Add(Numbered(i), error);
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{static_cast<rlim_t>(fs::file_size(file.string() + "-wal")), RLIM_INFINITY};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        int failed = 0;
        for (int i = 20; store && i < 2000; ++i)
            failed += store->Add(Numbered(i), error) ? 0 : 1;
        ::_exit(failed > 0 && !error.empty() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ExpectNumberedStream(file, 20);
}

}  // namespace
}  // namespace tavlix
