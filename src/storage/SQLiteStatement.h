// Owner of one prepared statement (prepared through SQLiteDB::Prepare).
#pragma once

struct sqlite3_stmt;

class SQLiteStatement {
public:
    static constexpr int kRow = 100;
    static constexpr int kDone = 101;

    SQLiteStatement() = default;
    SQLiteStatement(const SQLiteStatement&) = delete;
    SQLiteStatement& operator=(const SQLiteStatement&) = delete;
    virtual ~SQLiteStatement();

    // Indexes start at 1. Every operation gives 21 when no statement is held.
    int BindInt(int index, int value);
    // Bound without a copy: the text must outlive the last Step.
    int BindText(int index, const char* text, int byteLength);
    // 100 a row, 101 done (which also sets the done flag).
    int Step();
    // Makes the statement ready to be bound and stepped again; bindings stay until rebound.
    int Reset();
    // Columns start at 0; 0 without a statement.
    int GetInt(int column) const;
    // Owned by the statement until the next Step; null without a statement or for NULL.
    const char* GetText(int column) const;

    bool IsDone() const { return done_ != 0; }
    bool HasStatement() const { return stmt_ != nullptr; }

private:
    friend class SQLiteDB;

    // Finalizes the held handle; on success the handle is cleared and the done flag set.
    void Finalize();
    void Attach(sqlite3_stmt* handle);

    int done_ = 1;
    sqlite3_stmt* stmt_ = nullptr;
};
