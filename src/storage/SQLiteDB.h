// Owner of one SQLite connection.
#pragma once

#include <cstdint>
#include <string>

struct sqlite3;
class SQLiteStatement;

class SQLiteDB {
public:
    // SQLite's "misuse" code, given by every operation that needs a connection when none is open.
    static constexpr int kMisuse = 21;
    // How long an operation waits for a lock another connection holds before it fails. The
    // window waits with it, so it is kept short: a write that fails is told to the user
    // (storage::SetWriteFailureHandler) rather than waited for.
    static constexpr int kBusyTimeoutMs = 100;

    using ExecCallback = int (*)(void*, int, char**, char**);

    SQLiteDB() = default;
    SQLiteDB(const SQLiteDB&) = delete;
    SQLiteDB& operator=(const SQLiteDB&) = delete;
    virtual ~SQLiteDB();

    // Closes a held connection first. A non-empty key needs a codec, which this SQLite build
    // lacks, so it fails rather than leave the file unencrypted unasked.
    bool Open(const char* path, const std::string& key, int flags);
    // True when no connection was held or the close succeeded; the handle is kept otherwise.
    bool Close();
    bool IsOpen() const { return db_ != nullptr; }

    // Finalizes the statement's previous handle first; a negative length takes the whole text.
    int Prepare(SQLiteStatement& statement, const char* sql, int length);
    int Exec(const char* sql, ExecCallback callback, void* argument);
    // -1 without a connection.
    int64_t GetLastInsertRowId() const;
    // False without a connection; true when the main database can only be read.
    bool IsReadOnly() const;
    // True while a transaction of this connection is open.
    bool InTransaction() const;

private:
    sqlite3* db_ = nullptr;
};
