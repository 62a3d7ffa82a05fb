#include "storage/SQLiteAutoTransaction.h"

#include <string_view>

#include "storage/SQLiteDB.h"
#include "storage/WriteFailures.h"

SQLiteAutoTransaction::SQLiteAutoTransaction(SQLiteDB* db) : db_(db)
{
    if (db_ == nullptr) {
        return;
    }
    if (db_->IsOpen()) {
        BeginOwn();
    }
    active_ = true;
}

SQLiteAutoTransaction::~SQLiteAutoTransaction()
{
    if (active_) {
        End("END");
    }
}

int SQLiteAutoTransaction::BeginOwn()
{
    owned_ = !db_->InTransaction();
    return owned_ ? db_->Exec("BEGIN", nullptr, nullptr) : 0;
}

int SQLiteAutoTransaction::End(const char* sql)
{
    const bool owned = owned_;
    owned_ = false;
    active_ = false;
    if (!owned) {
        return db_->IsOpen() ? 0 : SQLiteDB::kMisuse;
    }
    const int rc = db_->Exec(sql, nullptr, nullptr);
    // A commit that failed loses every write of the transaction.
    if (rc != 0 && sql == std::string_view("END")) storage::NoteWriteFailed(rc);
    // An end that failed would leave the connection inside the transaction for good.
    if (rc != 0 && db_->InTransaction()) {
        db_->Exec("ROLLBACK", nullptr, nullptr);
    }
    return rc;
}

bool SQLiteAutoTransaction::Begin()
{
    if (active_ || db_ == nullptr) {
        return false;
    }
    const int rc = db_->IsOpen() ? BeginOwn() : SQLiteDB::kMisuse;
    active_ = true;
    return rc == 0;
}

bool SQLiteAutoTransaction::Commit()
{
    if (db_ == nullptr) {
        return false;
    }
    return End("END") == 0;
}

bool SQLiteAutoTransaction::Rollback()
{
    if (db_ == nullptr) {
        return false;
    }
    return End("ROLLBACK") == 0;
}
