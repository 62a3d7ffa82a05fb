// A scoped transaction: begun on construction (given a database), ended on Commit or destruction.
#pragma once

class SQLiteDB;

class SQLiteAutoTransaction {
public:
    explicit SQLiteAutoTransaction(SQLiteDB* db);
    SQLiteAutoTransaction(const SQLiteAutoTransaction&) = delete;
    SQLiteAutoTransaction& operator=(const SQLiteAutoTransaction&) = delete;
    virtual ~SQLiteAutoTransaction();

    // False when already active or without a database.
    bool Begin();
    bool Commit();
    bool IsActive() const { return active_; }

private:
    SQLiteDB* db_;
    bool active_ = false;
};
