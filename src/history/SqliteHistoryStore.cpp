#include "history/SqliteHistoryStore.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

#include <array>
#include <cctype>
#include <cstring>
#include <fstream>
#include <optional>
#include <system_error>
#include <utility>

namespace tavlix {

namespace {

namespace fs = std::filesystem;

// Version 1 kept no hint column; version 2 adds it. Each step brings a file one version
// up inside the transaction that also sets the new user_version, so a crash during a
// migration leaves the file at the old version, whole.
constexpr const char* kCreateVersion1 =
    "CREATE TABLE answers ("
    " id INTEGER PRIMARY KEY,"
    " answered_at INTEGER NOT NULL,"
    " question TEXT NOT NULL,"
    " standard_rule INTEGER NOT NULL,"
    " jqk INTEGER NOT NULL,"
    " mode INTEGER NOT NULL,"
    " level INTEGER NOT NULL,"
    " milliseconds INTEGER NOT NULL,"
    " verdict INTEGER NOT NULL);"
    "CREATE INDEX answers_by_time ON answers(answered_at, id);";
constexpr std::array<const char*, 2> kMigrations = {
    kCreateVersion1,                                                           // 0 -> 1
    "ALTER TABLE answers ADD COLUMN hint_used INTEGER NOT NULL DEFAULT 0;",  // 1 -> 2
};
static_assert(kMigrations.size() == SqliteHistoryStore::kSchemaVersion);

// A connection that is closed however the function leaves.
struct Connection {
    sqlite3* db = nullptr;
    Connection() = default;
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    ~Connection() { sqlite3_close_v2(db); }
    sqlite3* Release() { return std::exchange(db, nullptr); }
};

class Statement {
public:
    Statement(sqlite3* db, const char* sql) { m_rc = sqlite3_prepare_v2(db, sql, -1, &m_stmt, nullptr); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    ~Statement() { sqlite3_finalize(m_stmt); }
    bool Prepared() const { return m_rc == SQLITE_OK && m_stmt; }
    sqlite3_stmt* operator*() const { return m_stmt; }

private:
    sqlite3_stmt* m_stmt = nullptr;
    int m_rc;
};

std::string Detail(sqlite3* db) { return db ? sqlite3_errmsg(db) : "out of memory"; }

std::string Failure(const char* code, const std::string& detail) { return std::string(code) + ": " + detail; }

bool Execute(sqlite3* db, const char* sql, std::string& error)
{
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK)
        return true;
    error = Detail(db);
    return false;
}

// One integer the query returns in its first row; nothing when the query fails.
std::optional<std::int64_t> QueryInteger(sqlite3* db, const char* sql)
{
    Statement statement(db, sql);
    if (!statement.Prepared() || sqlite3_step(*statement) != SQLITE_ROW)
        return std::nullopt;
    return sqlite3_column_int64(*statement, 0);
}

// Marks the file as this program's history (SQLite's application_id, "Tavx"), so that a
// foreign database that happens to carry a user_version is not taken for a newer history.
// The files written before the mark have none, and none of them has a user_version beyond 2.
constexpr std::int64_t kApplicationId = 0x54617678;
constexpr int kLastUnmarkedVersion = 2;

// The address SQLite takes for the file with URI parameters: every byte but the plain ones
// percent-encoded.
std::string FileUri(const fs::path& file, const char* parameters)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string uri = "file:";
    for (const unsigned char c : file.string()) {
        if (std::isalnum(c) || c == '/' || c == '.' || c == '-' || c == '_' || c == '~') {
            uri += static_cast<char>(c);
        } else {
            uri += '%';
            uri += kHex[c >> 4];
            uri += kHex[c & 0x0F];
        }
    }
    return uri + "?" + parameters;
}

fs::path SideFile(const fs::path& file, const char* suffix) { return fs::path(file.string() + suffix); }

// Opens an existing file for reading only. Reading a file in the write-ahead journal needs
// its -wal and -shm side files, which SQLite makes when they are missing and then leaves
// behind, and cannot make in a folder that is not writable. When there are none, no
// connection has the file open and nothing is in a journal, so the file is read as it
// lies on the disk (immutable) and no side file is made.
bool OpenForReading(const fs::path& file, Connection& connection)
{
    std::error_code ec;
    const bool sideFiles = fs::exists(SideFile(file, "-wal"), ec) || fs::exists(SideFile(file, "-shm"), ec);
    const int flags = SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX;
    if (sideFiles)
        return sqlite3_open_v2(file.c_str(), &connection.db, flags, nullptr) == SQLITE_OK;
    return sqlite3_open_v2(FileUri(file, "immutable=1").c_str(), &connection.db, flags | SQLITE_OPEN_URI, nullptr) ==
           SQLITE_OK;
}

// Whether this user may write the file and make its side files beside it.
bool CanWrite(const fs::path& file)
{
    const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
    return ::faccessat(AT_FDCWD, folder.c_str(), W_OK, AT_EACCESS) == 0 &&
           ::faccessat(AT_FDCWD, file.c_str(), W_OK, AT_EACCESS) == 0;
}

// What the file's first bytes say: no file or an empty one (a crash right after creating
// it leaves that) is started afresh; anything else must carry SQLite's header.
enum class FileKind { Absent, SQLite, Foreign };

FileKind Inspect(const fs::path& file)
{
    std::error_code ec;
    if (!fs::exists(file, ec))
        return ec ? FileKind::Foreign : FileKind::Absent;
    if (!fs::is_regular_file(file, ec))
        return FileKind::Foreign;
    if (fs::file_size(file, ec) == 0 && !ec)
        return FileKind::Absent;
    static constexpr char kHeader[16] = "SQLite format 3";  // with its terminating zero
    std::array<char, 16> head{};
    std::ifstream in(file, std::ios::binary);
    if (!in.read(head.data(), head.size()))
        return FileKind::Foreign;
    return std::memcmp(head.data(), kHeader, head.size()) == 0 ? FileKind::SQLite : FileKind::Foreign;
}

struct ExistingFile {
    int version = 0;
    bool marked = false;  // carries this program's application_id
};

// Looks at an existing file through a read-only connection, so a file that is refused
// is never written. Returns what it found, or nothing with the error set.
std::optional<ExistingFile> CheckExisting(const fs::path& file, std::string& error)
{
    Connection probe;
    if (!OpenForReading(file, probe)) {
        error = Failure(SqliteHistoryStore::kErrorCannotOpen, Detail(probe.db));
        return std::nullopt;
    }
    std::optional<std::int64_t> version = QueryInteger(probe.db, "PRAGMA user_version");
    std::optional<std::int64_t> applicationId = QueryInteger(probe.db, "PRAGMA application_id");
    std::optional<std::int64_t> integrity;
    {
        Statement check(probe.db, "PRAGMA quick_check(1)");
        if (check.Prepared() && sqlite3_step(*check) == SQLITE_ROW) {
            const unsigned char* text = sqlite3_column_text(*check, 0);
            integrity = text && std::strcmp(reinterpret_cast<const char*>(text), "ok") == 0;
        }
    }
    if (!version || !applicationId || !integrity || !*integrity) {
        error = Failure(SqliteHistoryStore::kErrorNotHistory, integrity ? "damaged file" : Detail(probe.db));
        return std::nullopt;
    }
    const bool marked = *applicationId == kApplicationId;
    if ((*applicationId != 0 && !marked) || (!marked && *version > kLastUnmarkedVersion)) {
        error = Failure(SqliteHistoryStore::kErrorNotHistory, "another program's database");
        return std::nullopt;
    }
    if (*version > SqliteHistoryStore::kSchemaVersion) {
        error = Failure(SqliteHistoryStore::kErrorNewerSchema,
                        "schema " + std::to_string(*version) + ", this program knows up to " +
                            std::to_string(SqliteHistoryStore::kSchemaVersion));
        return std::nullopt;
    }
    std::optional<std::int64_t> tables = QueryInteger(probe.db, "SELECT count(*) FROM sqlite_master");
    std::optional<std::int64_t> ours =
        QueryInteger(probe.db, "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = 'answers'");
    // Version 0 is a new, empty database; any other database is some other program's.
    bool isHistory = *version == 0 ? tables == 0 : *version < 0 ? false : ours == 1;
    if (!tables || !ours || !isHistory) {
        error = Failure(SqliteHistoryStore::kErrorNotHistory, "no answer history in this database");
        return std::nullopt;
    }
    return ExistingFile{static_cast<int>(*version), marked};
}

bool Migrate(sqlite3* db, int from, std::string& error)
{
    for (int version = from; version < SqliteHistoryStore::kSchemaVersion; ++version) {
        std::string step = std::string("BEGIN IMMEDIATE;") + kMigrations[static_cast<std::size_t>(version)] +
                           "PRAGMA user_version = " + std::to_string(version + 1) + ";COMMIT;";
        if (!Execute(db, step.c_str(), error)) {
            sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
            return false;
        }
    }
    return true;
}

}  // namespace

SqliteHistoryStore::SqliteHistoryStore(sqlite3* db, int schemaVersion, bool readOnly)
    : m_db(db), m_schemaVersion(schemaVersion), m_readOnly(readOnly)
{
}

SqliteHistoryStore::~SqliteHistoryStore() { sqlite3_close_v2(m_db); }

std::unique_ptr<SqliteHistoryStore> SqliteHistoryStore::Open(const fs::path& file, std::string& error)
{
    error.clear();
    ExistingFile existing;
    switch (Inspect(file)) {
    case FileKind::Foreign:
        error = Failure(kErrorNotHistory, "not an SQLite database");
        return nullptr;
    case FileKind::SQLite:
        if (std::optional<ExistingFile> found = CheckExisting(file, error))
            existing = *found;
        else
            return nullptr;
        if (!CanWrite(file))
            return OpenReadOnly(file, existing.version, error);
        break;
    case FileKind::Absent:
        if (file.has_parent_path()) {
            std::error_code ec;
            fs::create_directories(file.parent_path(), ec);
            if (ec) {
                error = Failure(kErrorCannotOpen, ec.message());
                return nullptr;
            }
        }
        break;
    }

    Connection connection;
    if (sqlite3_open_v2(file.c_str(), &connection.db,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK) {
        error = Failure(kErrorCannotOpen, Detail(connection.db));
        return nullptr;
    }
    sqlite3_busy_timeout(connection.db, 2000);
    // In the write-ahead journal an answer is committed once it is in the journal file, so
    // a crash of the program loses nothing committed and a full disk fails only the answer
    // being written. synchronous=NORMAL leaves the flush to the checkpoints: after a power
    // loss the file is still whole, though the last few answers may be missing. FULL would
    // flush every answer: 0.26 ms on an idle disk but 6-7 ms on a busy one, against about
    // 0.1 ms either way (see the history benchmark), more than a submission may cost.
    std::string detail;
    const std::string mark = "PRAGMA application_id = " + std::to_string(kApplicationId);
    if (!Execute(connection.db, "PRAGMA journal_mode = WAL; PRAGMA synchronous = NORMAL;", detail) ||
        !Migrate(connection.db, existing.version, detail) ||
        (!existing.marked && !Execute(connection.db, mark.c_str(), detail))) {
        error = Failure(kErrorCannotOpen, detail);
        return nullptr;
    }
    return std::unique_ptr<SqliteHistoryStore>(new SqliteHistoryStore(connection.Release(), kSchemaVersion, false));
}

std::unique_ptr<SqliteHistoryStore> SqliteHistoryStore::OpenReadOnly(const fs::path& file, int schemaVersion,
                                                                     std::string& error)
{
    Connection connection;
    if (!OpenForReading(file, connection)) {
        error = Failure(kErrorCannotOpen, Detail(connection.db));
        return nullptr;
    }
    return std::unique_ptr<SqliteHistoryStore>(new SqliteHistoryStore(connection.Release(), schemaVersion, true));
}

bool SqliteHistoryStore::Add(const AnswerRecord& record, std::string& error)
{
    if (m_readOnly) {
        error = "the history is open for reading only";
        return false;
    }
    // A single INSERT is its own transaction: committed whole, or not at all.
    Statement insert(m_db,
                     "INSERT INTO answers (answered_at, question, standard_rule, jqk, mode, level, milliseconds,"
                     " verdict, hint_used) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)");
    if (!insert.Prepared()) {
        error = Detail(m_db);
        return false;
    }
    sqlite3_bind_int64(*insert, 1, record.answeredAt);
    sqlite3_bind_text(*insert, 2, record.question.data(), static_cast<int>(record.question.size()), SQLITE_STATIC);
    sqlite3_bind_int(*insert, 3, record.standardRule ? 1 : 0);
    sqlite3_bind_int(*insert, 4, record.jqk ? 1 : 0);
    sqlite3_bind_int(*insert, 5, static_cast<int>(record.mode));
    sqlite3_bind_int(*insert, 6, record.level);
    sqlite3_bind_int64(*insert, 7, record.millisecondsTaken);
    sqlite3_bind_int(*insert, 8, static_cast<int>(record.verdict));
    sqlite3_bind_int(*insert, 9, record.hintUsed ? 1 : 0);
    if (sqlite3_step(*insert) != SQLITE_DONE) {
        error = Detail(m_db);
        return false;
    }
    return true;
}

std::vector<AnswerRecord> SqliteHistoryStore::LoadAll(std::string& error) const
{
    std::vector<AnswerRecord> records;
    // A file of the first schema, read where it cannot be brought up to date, has no hint column.
    const std::string sql = std::string("SELECT answered_at, question, standard_rule, jqk, mode, level, milliseconds,"
                                        " verdict, ") +
                            (m_schemaVersion >= 2 ? "hint_used" : "0") + " FROM answers ORDER BY answered_at, id";
    Statement select(m_db, sql.c_str());
    if (!select.Prepared()) {
        error = Detail(m_db);
        return records;
    }
    int rc;
    while ((rc = sqlite3_step(*select)) == SQLITE_ROW) {
        // A row this program cannot read (a mode or verdict it does not know) is left out.
        int mode = sqlite3_column_int(*select, 4);
        int verdict = sqlite3_column_int(*select, 7);
        if (mode < 0 || mode > static_cast<int>(RunMode::WorldCup) || verdict < 0 ||
            verdict > static_cast<int>(AnswerVerdict::Rejected))
            continue;
        AnswerRecord& r = records.emplace_back();
        r.answeredAt = sqlite3_column_int64(*select, 0);
        if (const unsigned char* text = sqlite3_column_text(*select, 1))
            r.question.assign(reinterpret_cast<const char*>(text),
                              static_cast<std::size_t>(sqlite3_column_bytes(*select, 1)));
        r.standardRule = sqlite3_column_int(*select, 2) != 0;
        r.jqk = sqlite3_column_int(*select, 3) != 0;
        r.mode = static_cast<RunMode>(mode);
        r.level = sqlite3_column_int(*select, 5);
        r.millisecondsTaken = sqlite3_column_int64(*select, 6);
        r.verdict = static_cast<AnswerVerdict>(verdict);
        r.hintUsed = sqlite3_column_int(*select, 8) != 0;
    }
    if (rc != SQLITE_DONE)
        error = Detail(m_db);
    return records;
}

}  // namespace tavlix
