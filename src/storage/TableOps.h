// The steps every table operation of KBDataBase is made of: prepare on every call, bind the
// arguments in the order of the question marks (ints and UTF-8 texts), step, read the columns.
// The caller holds the database lock.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "storage/SQLiteAutoTransaction.h"
#include "storage/SQLiteDB.h"
#include "storage/SQLiteStatement.h"

namespace storage::table {

// A write succeeded when its step gave OK, a row or done.
inline bool WriteSucceeded(int rc)
{
    return rc == 0 || rc == SQLiteStatement::kRow || rc == SQLiteStatement::kDone;
}

inline void BindOne(SQLiteStatement& statement, int index, int value)
{
    statement.BindInt(index, value);
}

// The text is bound without a copy: it must live until the statement's last step.
inline void BindOne(SQLiteStatement& statement, int index, const std::string& utf8)
{
    statement.BindText(index, utf8.c_str(), static_cast<int>(utf8.size()));
}

// Binds the values of a tuple from index 1 and steps once.
template <class Tuple>
int BindAndStep(SQLiteStatement& statement, const Tuple& values)
{
    std::apply(
        [&statement](const auto&... value) {
            int index = 1;
            (BindOne(statement, index++, value), ...);
        },
        values);
    return statement.Step();
}

// Prepares sql into statement (finalizing what it held), binds args from index 1 and steps once.
template <class... Args>
int StepWith(SQLiteDB& db, SQLiteStatement& statement, const char* sql, const Args&... args)
{
    db.Prepare(statement, sql, -1);
    return BindAndStep(statement, std::tie(args...));
}

template <class... Args>
bool Write(SQLiteDB& db, const char* sql, const Args&... args)
{
    SQLiteStatement statement;
    return WriteSucceeded(StepWith(db, statement, sql, args...));
}

// The new row's id (low 32 bits), 0 when the insert failed.
template <class... Args>
int Insert(SQLiteDB& db, const char* sql, const Args&... args)
{
    if (!Write(db, sql, args...)) {
        return 0;
    }
    return static_cast<int32_t>(db.GetLastInsertRowId());
}

// Column 0 of the first row as an int (a count, an id), 0 when there is no row.
template <class... Args>
int FirstInt(SQLiteDB& db, const char* sql, const Args&... args)
{
    SQLiteStatement statement;
    if (StepWith(db, statement, sql, args...) != SQLiteStatement::kRow) {
        return 0;
    }
    return statement.GetInt(0);
}

// Fills out from the first row through fill(statement, record); out stays untouched without one.
template <class Record, class Fill, class... Args>
bool ReadOne(SQLiteDB& db, Record& out, Fill fill, const char* sql, const Args&... args)
{
    SQLiteStatement statement;
    if (StepWith(db, statement, sql, args...) != SQLiteStatement::kRow) {
        return false;
    }
    Record record{};
    fill(statement, record);
    out = std::move(record);
    return true;
}

// Deletes the records out holds, then appends one new record per row; returns the new size.
template <class Record, class Fill, class... Args>
int ReadMany(SQLiteDB& db, std::vector<Record*>& out, Fill fill, const char* sql,
             const Args&... args)
{
    for (Record* record : out) {
        delete record;
    }
    out.clear();
    SQLiteStatement statement;
    for (int rc = StepWith(db, statement, sql, args...); rc == SQLiteStatement::kRow;
         rc = statement.Step()) {
        auto record = std::make_unique<Record>();
        fill(statement, *record);
        out.push_back(record.get());
        record.release();
    }
    return static_cast<int>(out.size());
}

// Runs sql once per record, in order, inside one transaction, bound with values(record) (a
// tuple of ints and UTF-8 texts, kept alive until its step). The statement is prepared once
// and reset between records, which stores exactly what preparing it again would. A failing
// record does not stop the others; the result tells whether every record was written, so that
// an enclosing transaction (see InOneTransaction) can undo them all.
template <class Record, class Values>
bool WriteMany(SQLiteDB& db, const std::vector<Record>& records, const char* sql, Values values)
{
    SQLiteAutoTransaction transaction(&db);
    bool all = true;
    {
        SQLiteStatement statement;
        all = db.Prepare(statement, sql, -1) == 0;
        for (const Record& record : records) {
            statement.Reset();
            all = WriteSucceeded(BindAndStep(statement, values(record))) && all;
        }
    }
    return transaction.Commit() && all;
}

// Runs writes() (true when every write it made succeeded) as one transaction: kept whole when it
// succeeds, undone whole when it fails. Inside another transaction it joins that one, and its
// false result is for the caller to pass on.
template <class Writes>
bool InOneTransaction(SQLiteDB& db, Writes writes)
{
    SQLiteAutoTransaction transaction(&db);
    if (!db.IsOpen() || !writes()) {
        transaction.Rollback();
        return false;
    }
    return transaction.Commit();
}

}  // namespace storage::table
