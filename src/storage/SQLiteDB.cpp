#include "storage/SQLiteDB.h"

#include <sqlite3.h>

#include <cstring>

#include "storage/SQLiteStatement.h"

SQLiteDB::~SQLiteDB()
{
    if (db_ != nullptr) {
        sqlite3_interrupt(db_);
        // The _v2 form still releases the connection once any stray statement is finalized.
        sqlite3_close_v2(db_);
        db_ = nullptr;
    }
}

bool SQLiteDB::Open(const char* path, const std::string& key, int flags)
{
    if (db_ != nullptr) {
        sqlite3_interrupt(db_);
        if (sqlite3_close(db_) == SQLITE_OK) {
            db_ = nullptr;
        } else {
            return false;
        }
    }
    if (path == nullptr) {
        return false;
    }
    sqlite3* handle = nullptr;
    if (sqlite3_open_v2(path, &handle, flags, nullptr) != SQLITE_OK) {
        sqlite3_close(handle);
        return false;
    }
    db_ = handle;
    // Another process (a second copy of the program on another model's window, a backup tool)
    // may hold the file's lock for a moment: a write waits for it rather than fail at once.
    sqlite3_busy_timeout(db_, kBusyTimeoutMs);
    Exec("PRAGMA synchronous = OFF; ", nullptr, nullptr);
    if (key.empty()) {
        return true;
    }
    sqlite3_close(db_);
    db_ = nullptr;
    return false;
}

bool SQLiteDB::Close()
{
    if (db_ == nullptr) {
        return true;
    }
    if (sqlite3_close(db_) != SQLITE_OK) {
        return false;
    }
    db_ = nullptr;
    return true;
}

int SQLiteDB::Prepare(SQLiteStatement& statement, const char* sql, int length)
{
    statement.Finalize();
    if (db_ == nullptr || sql == nullptr) {
        return kMisuse;
    }
    if (length < 0) {
        length = static_cast<int>(std::strlen(sql)) + 1;
    }
    sqlite3_stmt* handle = nullptr;
    const int rc = sqlite3_prepare_v2(db_, sql, length, &handle, nullptr);
    statement.Attach(handle);
    return rc;
}

int SQLiteDB::Exec(const char* sql, ExecCallback callback, void* argument)
{
    if (db_ == nullptr || sql == nullptr) {
        return kMisuse;
    }
    return sqlite3_exec(db_, sql, callback, argument, nullptr);
}

int64_t SQLiteDB::GetLastInsertRowId() const
{
    if (db_ == nullptr) {
        return -1;
    }
    return sqlite3_last_insert_rowid(db_);
}

bool SQLiteDB::InTransaction() const { return db_ != nullptr && sqlite3_get_autocommit(db_) == 0; }

bool SQLiteDB::IsReadOnly() const
{
    return db_ != nullptr && sqlite3_db_readonly(db_, "main") == 1;
}
