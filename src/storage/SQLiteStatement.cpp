#include "storage/SQLiteStatement.h"

#include <sqlite3.h>

#include "storage/SQLiteDB.h"
#include "storage/WriteFailures.h"

SQLiteStatement::~SQLiteStatement() { Finalize(); }

void SQLiteStatement::Finalize()
{
    if (stmt_ == nullptr) {
        done_ = 1;
        return;
    }
    // sqlite3_finalize always releases the statement; a non-OK code only repeats the last
    // step's error, so the handle is gone either way.
    sqlite3_finalize(stmt_);
    stmt_ = nullptr;
    done_ = 1;
}

void SQLiteStatement::Attach(sqlite3_stmt* handle)
{
    stmt_ = handle;
    done_ = handle == nullptr ? 1 : 0;
}

int SQLiteStatement::BindInt(int index, int value)
{
    if (stmt_ == nullptr) {
        return SQLiteDB::kMisuse;
    }
    return sqlite3_bind_int(stmt_, index, value);
}

int SQLiteStatement::BindText(int index, const char* text, int byteLength)
{
    if (stmt_ == nullptr) {
        return SQLiteDB::kMisuse;
    }
    return sqlite3_bind_text(stmt_, index, text, byteLength, SQLITE_STATIC);
}

int SQLiteStatement::Step()
{
    if (stmt_ == nullptr) {
        return SQLiteDB::kMisuse;
    }
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_DONE) {
        done_ = 1;
    }
    if (sqlite3_stmt_readonly(stmt_) == 0) {
        if (rc == SQLITE_DONE || rc == SQLITE_ROW || rc == SQLITE_OK) {
            storage::NoteWriteSucceeded();
        } else {
            storage::NoteWriteFailed(rc);
        }
    }
    return rc;
}

int SQLiteStatement::Reset()
{
    if (stmt_ == nullptr) {
        return SQLiteDB::kMisuse;
    }
    done_ = 0;
    return sqlite3_reset(stmt_);
}

int SQLiteStatement::GetInt(int column) const
{
    if (stmt_ == nullptr) {
        return 0;
    }
    return sqlite3_column_int(stmt_, column);
}

const char* SQLiteStatement::GetText(int column) const
{
    if (stmt_ == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
}
