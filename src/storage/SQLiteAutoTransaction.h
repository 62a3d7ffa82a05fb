// A scoped transaction: begun on construction (given a database), ended on Commit or destruction.
// Made while the connection already has a transaction open, it joins that one: it neither begins
// nor ends it, and the outermost one decides what is kept.
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
    // Undoes every write since Begin ("ROLLBACK"), inactive afterwards. A joined transaction
    // undoes nothing itself; it returns true so that its owner, told of the failure, rolls back.
    bool Rollback();
    bool IsActive() const { return active_; }

private:
    // "BEGIN" unless the connection already has a transaction open.
    int BeginOwn();
    // The statement ending an owned transaction; nothing for a joined one.
    int End(const char* sql);

    SQLiteDB* db_;
    bool active_ = false;
    bool owned_ = false;
};
