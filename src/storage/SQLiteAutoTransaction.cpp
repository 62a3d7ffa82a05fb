#include "storage/SQLiteAutoTransaction.h"

#include "storage/SQLiteDB.h"

SQLiteAutoTransaction::SQLiteAutoTransaction(SQLiteDB* db) : db_(db)
{
    if (db_ == nullptr) {
        return;
    }
    if (db_->IsOpen()) {
        db_->Exec("BEGIN", nullptr, nullptr);
    }
    active_ = true;
}

SQLiteAutoTransaction::~SQLiteAutoTransaction()
{
    if (active_) {
        db_->Exec("END", nullptr, nullptr);
    }
}

bool SQLiteAutoTransaction::Begin()
{
    if (active_ || db_ == nullptr) {
        return false;
    }
    const int rc = db_->IsOpen() ? db_->Exec("BEGIN", nullptr, nullptr) : SQLiteDB::kMisuse;
    active_ = true;
    return rc == 0;
}

bool SQLiteAutoTransaction::Commit()
{
    if (db_ == nullptr) {
        return false;
    }
    const int rc = db_->Exec("END", nullptr, nullptr);
    active_ = false;
    return rc == 0;
}
