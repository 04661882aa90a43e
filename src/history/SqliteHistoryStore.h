#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "history/HistoryStore.h"

struct sqlite3;

namespace tavlix {

// The history file: an SQLite database whose schema version is its `PRAGMA user_version`.
// Every Add is one transaction in a write-ahead journal, so a crash of the program or a
// full disk loses at most the answer being written (a power loss at most the last few).
class SqliteHistoryStore final : public HistoryStore {
public:
    // The schema this build writes; older files are brought up to it when opened.
    static constexpr int kSchemaVersion = 2;

    // Error codes Open sets (the caller maps them to a localized message). The text after
    // the code, if any, is SQLite's own detail for the log.
    static constexpr const char* kErrorNewerSchema = "history-newer-schema";
    static constexpr const char* kErrorNotHistory = "history-not-a-history-file";
    static constexpr const char* kErrorCannotOpen = "history-cannot-open";

    // Opens the file, creating it (and missing parent folders) when it does not exist.
    // Returns nullptr with an error starting with one of the codes above when the file is
    // of a newer schema, is corrupt, is no SQLite file or another program's database (one
    // without this program's application_id beyond the versions written before it had
    // one), or cannot be opened; such a file is never written. A good file this user may
    // not write (or make its side files beside) is opened for reading only: see ReadOnly.
    static std::unique_ptr<SqliteHistoryStore> Open(const std::filesystem::path& file, std::string& error);

    ~SqliteHistoryStore() override;
    SqliteHistoryStore(const SqliteHistoryStore&) = delete;
    SqliteHistoryStore& operator=(const SqliteHistoryStore&) = delete;

    bool Add(const AnswerRecord& record, std::string& error) override;
    std::vector<AnswerRecord> LoadAll(std::string& error) const override;
    bool ReadOnly() const override { return m_readOnly; }

private:
    SqliteHistoryStore(sqlite3* db, int schemaVersion, bool readOnly);
    static std::unique_ptr<SqliteHistoryStore> OpenReadOnly(const std::filesystem::path& file, int schemaVersion,
                                                            std::string& error);

    sqlite3* m_db;
    int m_schemaVersion;
    bool m_readOnly;
};

}  // namespace tavlix
