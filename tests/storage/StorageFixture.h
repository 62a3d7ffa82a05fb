// A fresh data folder with its "db" subfolder per test, the process-wide database opened on it,
// and a second, independent SQLite connection for looking at the file directly.
#pragma once

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

#include "storage/KBDataBase.h"

namespace storage_test {

inline std::filesystem::path NewTempFolder()
{
    static std::atomic<int> counter{0};
    const char* home = std::getenv("HOME");
    std::filesystem::path folder =
        std::filesystem::path(home != nullptr ? home : "/tmp") /
        ("storage-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

// The data folder as the program hands it over: with a trailing separator.
inline std::wstring DataFolderText(const std::filesystem::path& folder)
{
    return folder.wstring() + L"/";
}

using Rows = std::vector<std::vector<std::string>>;

// Every row of sql on the file at path, each column as text ("NULL" for NULL); opened read-only
// so the program's own connection is not disturbed.
inline Rows Query(const std::string& path, const std::string& sql)
{
    Rows rows;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        ADD_FAILURE() << "cannot open " << path;
        return rows;
    }
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
        ADD_FAILURE() << "cannot prepare " << sql << ": " << sqlite3_errmsg(db);
    }
    while (stmt != nullptr && sqlite3_step(stmt) == SQLITE_ROW) {
        std::vector<std::string> row;
        for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, i));
            row.emplace_back(text != nullptr ? text : "NULL");
        }
        rows.push_back(std::move(row));
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return rows;
}

// Runs sql on the file through a connection of its own (for example a trigger that makes a
// chosen row of the program's writes fail).
inline void Exec(const std::string& path, const std::string& sql)
{
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    char* error = nullptr;
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK)
        << sql << ": " << (error != nullptr ? error : "");
    sqlite3_free(error);
    sqlite3_close(db);
}

inline int QueryInt(const std::string& path, const std::string& sql)
{
    const Rows rows = Query(path, sql);
    return rows.empty() || rows[0].empty() ? -1 : std::stoi(rows[0][0]);
}

template <class Record>
void DeleteAll(std::vector<Record*>& records)
{
    for (Record* record : records) {
        delete record;
    }
    records.clear();
}

class StorageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        db().Close();
        folder_ = NewTempFolder();
        std::filesystem::create_directories(folder_ / "db");
        ASSERT_TRUE(db().Open(DataFolderText(folder_), kModel));
        path_ = (folder_ / "db" / "QX71_datav4.db").string();
    }

    void TearDown() override
    {
        db().Close();
        std::error_code error;
        std::filesystem::remove_all(folder_, error);
    }

    static KBDataBase& db() { return KBDataBase::GetInstance(); }

    // Closes and opens the same file again, as a restart of the program would.
    void Reopen()
    {
        db().Close();
        ASSERT_TRUE(db().Open(DataFolderText(folder_), kModel));
    }

    static constexpr const wchar_t* kModel = L"QX71";
    std::filesystem::path folder_;
    std::string path_;
};

}  // namespace storage_test
