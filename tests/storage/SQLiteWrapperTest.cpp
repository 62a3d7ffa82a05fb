#include <sqlite3.h>

#include <string>

#include "StorageFixture.h"
#include "storage/SQLiteAutoTransaction.h"
#include "storage/SQLiteDB.h"
#include "storage/SQLiteStatement.h"

namespace storage_test {
namespace {

constexpr int kCreate = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX;

class SQLiteWrapperTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder_ = NewTempFolder();
        path_ = (folder_ / "w.db").string();
        ASSERT_TRUE(db_.Open(path_.c_str(), "", kCreate));
        ASSERT_EQ(db_.Exec("CREATE TABLE t(id INTEGER PRIMARY KEY AUTOINCREMENT, v TEXT)", nullptr,
                           nullptr),
                  SQLITE_OK);
    }
    void TearDown() override
    {
        db_.Close();
        std::filesystem::remove_all(folder_);
    }

    int Rows() { return QueryInt(path_, "SELECT count(*) FROM t"); }

    std::filesystem::path folder_;
    std::string path_;
    SQLiteDB db_;
};

TEST_F(SQLiteWrapperTest, EveryOperationWithoutConnectionOrStatementIsMisuse)
{
    SQLiteDB closed;
    SQLiteStatement statement;
    EXPECT_FALSE(closed.IsOpen());
    EXPECT_TRUE(closed.Close());
    EXPECT_EQ(closed.Exec("SELECT 1", nullptr, nullptr), 21);
    EXPECT_EQ(closed.Prepare(statement, "SELECT 1", -1), 21);
    EXPECT_EQ(closed.GetLastInsertRowId(), -1);
    EXPECT_EQ(db_.Prepare(statement, nullptr, -1), 21);
    EXPECT_EQ(db_.Exec(nullptr, nullptr, nullptr), 21);
    EXPECT_FALSE(closed.Open(nullptr, "", kCreate));

    EXPECT_TRUE(statement.IsDone());
    EXPECT_EQ(statement.BindInt(1, 5), 21);
    EXPECT_EQ(statement.BindText(1, "x", 1), 21);
    EXPECT_EQ(statement.Step(), 21);
    EXPECT_EQ(statement.GetInt(0), 0);
    EXPECT_EQ(statement.GetText(0), nullptr);
}

TEST_F(SQLiteWrapperTest, AStatementCanBePreparedAgainAndReportsDone)
{
    SQLiteStatement statement;
    ASSERT_EQ(db_.Prepare(statement, "INSERT INTO t(v) VALUES (?)", -1), SQLITE_OK);
    EXPECT_FALSE(statement.IsDone());
    const std::string text = "\xE4\xB8\xAD";
    statement.BindText(1, text.c_str(), static_cast<int>(text.size()));
    EXPECT_EQ(statement.Step(), 101);
    EXPECT_TRUE(statement.IsDone());
    EXPECT_EQ(db_.GetLastInsertRowId(), 1);

    ASSERT_EQ(db_.Prepare(statement, "SELECT id, v, NULL FROM t", -1), SQLITE_OK);
    ASSERT_EQ(statement.Step(), 100);
    EXPECT_EQ(statement.GetInt(0), 1);
    EXPECT_EQ(std::string(statement.GetText(1)), text);
    EXPECT_EQ(statement.GetText(2), nullptr);
    EXPECT_EQ(statement.Step(), 101);
    // A bad statement fails to prepare and leaves nothing to step.
    EXPECT_NE(db_.Prepare(statement, "SELECT FROM nowhere", -1), SQLITE_OK);
    EXPECT_EQ(statement.Step(), 21);
}

TEST_F(SQLiteWrapperTest, NonEmptyKeyIsRefusedWithoutACodec)
{
    SQLiteDB encrypted;
    EXPECT_FALSE(encrypted.Open((folder_ / "k.db").string().c_str(), "00112233", kCreate));
    EXPECT_FALSE(encrypted.IsOpen());
}

TEST_F(SQLiteWrapperTest, TransactionStates)
{
    {
        SQLiteAutoTransaction transaction(&db_);
        EXPECT_TRUE(transaction.IsActive());
        EXPECT_FALSE(transaction.Begin());  // already active
        db_.Exec("INSERT INTO t(v) VALUES ('a')", nullptr, nullptr);
        EXPECT_EQ(Rows(), 0);  // not visible to another connection before the end
        EXPECT_TRUE(transaction.Commit());
        EXPECT_FALSE(transaction.IsActive());
        EXPECT_EQ(Rows(), 1);
        EXPECT_TRUE(transaction.Begin());
        db_.Exec("INSERT INTO t(v) VALUES ('b')", nullptr, nullptr);
    }  // the destructor ends what is still active
    EXPECT_EQ(Rows(), 2);

    SQLiteAutoTransaction none(nullptr);
    EXPECT_FALSE(none.IsActive());
    EXPECT_FALSE(none.Begin());
    EXPECT_FALSE(none.Commit());

    SQLiteDB closed;
    SQLiteAutoTransaction unopened(&closed);
    EXPECT_TRUE(unopened.IsActive());
    EXPECT_FALSE(unopened.Commit());
}

TEST_F(SQLiteWrapperTest, CloseKeepsTheHandleWhileAStatementIsAlive)
{
    {
        SQLiteStatement statement;
        ASSERT_EQ(db_.Prepare(statement, "SELECT 1", -1), SQLITE_OK);
        EXPECT_FALSE(db_.Close());
        EXPECT_TRUE(db_.IsOpen());
    }
    EXPECT_TRUE(db_.Close());
    EXPECT_FALSE(db_.IsOpen());
}

}  // namespace
}  // namespace storage_test
