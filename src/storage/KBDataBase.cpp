#include "storage/KBDataBase.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <string_view>

#include "platform/text/PathText.h"
#include "platform/text/Utf8.h"
#include "storage/DatabaseSchema.h"
#include "storage/TableOps.h"

using namespace storage::table;

namespace {

constexpr int kOpenExisting = SQLITE_OPEN_READWRITE | SQLITE_OPEN_FULLMUTEX;
constexpr int kOpenReadOnly = SQLITE_OPEN_READONLY | SQLITE_OPEN_FULLMUTEX;
constexpr int kOpenCreate = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX;

}  // namespace

KBDataBase& KBDataBase::GetInstance()
{
    static KBDataBase instance;
    return instance;
}

KBDataBase::KBDataBase() = default;

KBDataBase::~KBDataBase()
{
    if (opened_) {
        db_.Close();
    }
}

std::string KBDataBase::BuildDbPath(const std::wstring& folder, const std::wstring& deviceName)
{
    // No folder: no path, rather than one relative to wherever the program was started.
    if (folder.empty()) {
        return {};
    }
    return text::NormalizePath(WideToUtf8(folder) + "db\\" + WideToUtf8(deviceName) + "_datav4.db");
}

bool KBDataBase::Open(const std::wstring& folder, const std::wstring& deviceName)
{
    std::lock_guard lock(lock_);
    path_ = BuildDbPath(folder, deviceName);
    setAsidePath_.clear();
    if (!db_.IsOpen()) {
        readOnly_ = false;
    }
    bool result = false;
    std::error_code error;
    if (std::filesystem::exists(path_, error)) {
        result = db_.IsOpen() || OpenExisting();
    } else {
        result = CreateDatabase();
    }
    opened_ = result;
    return result;
}

bool KBDataBase::OpenExisting()
{
    if (!db_.Open(path_.c_str(), keyB_, kOpenExisting)) {
        return false;
    }
    const FileState state = CheckFile();
    if (state == FileState::kUsable && CompleteSchema()) {
        AddLookupIndexes();
        return true;
    }
    // A file that can only be read is shown as it is; nothing is added to it, also not by a
    // user whom the file's mode does not stop (root).
    if (state == FileState::kReadOnly) {
        db_.Close();
        readOnly_ = db_.Open(path_.c_str(), keyB_, kOpenReadOnly);
        return readOnly_;
    }
    db_.Close();
    if (state != FileState::kDamaged || !SetFileAside()) {
        return false;
    }
    return CreateDatabase();
}

KBDataBase::FileState KBDataBase::CheckFile()
{
    // SQLite reads the file lazily and silently falls back to read-only access, so a file that
    // is no database, a damaged one, or one that cannot be written would only fail at some later
    // table operation. Ask now instead.
    std::string verdict;
    const int rc = db_.Exec(
        "PRAGMA quick_check(1)",
        [](void* out, int columns, char** values, char**) {
            if (columns > 0 && values[0] != nullptr) {
                *static_cast<std::string*>(out) = values[0];
            }
            return 0;
        },
        &verdict);
    if (rc == SQLITE_NOTADB || rc == SQLITE_CORRUPT || (rc == SQLITE_OK && verdict != "ok") ||
        (rc == SQLITE_OK && !HasOwnSchema())) {
        return FileState::kDamaged;
    }
    if (rc != SQLITE_OK) {
        return FileState::kUnusable;
    }
    struct stat st {};
    if (db_.IsReadOnly() || access(path_.c_str(), W_OK) != 0 ||
        (stat(path_.c_str(), &st) == 0 && (st.st_mode & S_IWUSR) == 0)) {
        // Only a complete file is of use unwritten: one that lacks tables cannot be completed.
        return SchemaIsComplete() ? FileState::kReadOnly : FileState::kUnusable;
    }
    return FileState::kUsable;
}

namespace {

// Column 0 of every row the query gives, as text.
std::vector<std::string> FirstColumn(SQLiteDB& db, const std::string& sql)
{
    std::vector<std::string> values;
    db.Exec(
        sql.c_str(),
        [](void* out, int count, char** row, char**) {
            if (count > 0 && row[0] != nullptr) {
                static_cast<std::vector<std::string>*>(out)->push_back(row[0]);
            }
            return 0;
        },
        &values);
    return values;
}

std::vector<std::string> TablesOf(SQLiteDB& db)
{
    return FirstColumn(db, "SELECT name FROM sqlite_master WHERE type = 'table'");
}

std::vector<std::string> ColumnsOf(SQLiteDB& db, const std::string& table)
{
    std::string quoted;
    for (const char c : table) {
        quoted += c == '\'' ? std::string("''") : std::string(1, c);
    }
    return FirstColumn(db, "SELECT name FROM pragma_table_info('" + quoted + "')");
}

// A fresh database with the schema, in memory: what the file's tables are compared with.
SQLiteDB& ReferenceSchema()
{
    static SQLiteDB reference;
    static std::once_flag made;
    std::call_once(made, [] {
        reference.Open(":memory:", {}, kOpenCreate | SQLITE_OPEN_MEMORY);
        for (const std::string& sql : storage::SchemaStatements()) {
            reference.Exec(sql.c_str(), nullptr, nullptr);
        }
    });
    return reference;
}

}  // namespace

bool KBDataBase::HasOwnSchema()
{
    // Another program's file of the same name: a table of its own, or one of this program's
    // table names with other columns. A file whose creation was cut short only lacks tables.
    SQLiteDB& reference = ReferenceSchema();  // used under lock_ only
    const std::vector<std::string> own = TablesOf(reference);
    for (const std::string& table : TablesOf(db_)) {
        if (table.rfind("sqlite_", 0) == 0) {
            continue;
        }
        if (std::find(own.begin(), own.end(), table) == own.end() ||
            ColumnsOf(db_, table) != ColumnsOf(reference, table)) {
            return false;
        }
    }
    return true;
}

bool KBDataBase::SchemaIsComplete()
{
    std::string names;
    for (const std::string& name : storage::SchemaObjectNames()) {
        names += (names.empty() ? "'" : ", '") + name + "'";
    }
    const int present =
        FirstInt(db_, ("SELECT count(*) FROM sqlite_master WHERE name IN (" + names + ")").c_str());
    return present == static_cast<int>(storage::SchemaObjectNames().size()) &&
           FirstInt(db_, "SELECT count(*) FROM t_config_data WHERE profile = ?", 0) > 0;
}

bool KBDataBase::CompleteSchema()
{
    if (SchemaIsComplete()) {
        return true;
    }
    const bool defaults =
        FirstInt(db_, "SELECT count(*) FROM sqlite_master WHERE name = 't_config_data'") > 0 &&
        FirstInt(db_, "SELECT count(*) FROM t_config_data WHERE profile = ?", 0) > 0;
    // A file whose creation was cut short: what is missing is added, what is there is kept.
    return InOneTransaction(db_, [this, defaults] {
        for (const std::string& sql : storage::SchemaStatements()) {
            if (db_.Exec(sql.c_str(), nullptr, nullptr) != SQLITE_OK) {
                return false;
            }
        }
        return defaults || InsertDefaultConfig(0);
    });
}

void KBDataBase::AddLookupIndexes()
{
    // Only speed depends on them: a file they cannot be added to is used as it is.
    InOneTransaction(db_, [this] {
        for (const std::string& sql : storage::LookupIndexStatements()) {
            db_.Exec(sql.c_str(), nullptr, nullptr);
        }
        return true;
    });
}

bool KBDataBase::SetFileAside()
{
    // Kept under a new name, never deleted: what it holds may still be worth something to the
    // user. The time stamp keeps earlier ones.
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32] = {};
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    std::error_code error;
    std::string aside = path_ + ".unusable-" + stamp;
    for (int n = 2; std::filesystem::exists(aside, error); ++n) {
        aside = path_ + ".unusable-" + stamp + "-" + std::to_string(n);
    }
    std::filesystem::rename(path_, aside, error);
    if (error) {
        return false;
    }
    // A journal left beside the damaged file belongs to it, not to the new one.
    std::filesystem::rename(path_ + "-journal", aside + "-journal", error);
    setAsidePath_ = aside;
    return true;
}

bool KBDataBase::CreateDatabase()
{
    std::lock_guard lock(lock_);
    if (db_.IsOpen()) {
        return true;
    }
    // An empty path would make SQLite create an anonymous temporary database.
    if (path_.empty()) {
        return false;
    }
    // The user's settings are not for other users to read: the file is made before SQLite
    // opens it (an empty file is a new database to SQLite), and its journal takes its mode.
    const int fd = open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd >= 0) {
        close(fd);
    }
    if (!db_.Open(path_.c_str(), keyB_, kOpenCreate)) {
        return false;
    }
    // One transaction: a crash part way leaves an empty file, never a half-made one.
    const bool created = InOneTransaction(db_, [this] {
        for (const std::string& sql : storage::SchemaStatements()) {
            if (db_.Exec(sql.c_str(), nullptr, nullptr) != SQLITE_OK) {
                return false;
            }
        }
        return InsertDefaultConfig(0);
    });
    if (!created) {
        db_.Close();
        return false;
    }
    AddLookupIndexes();
    return true;
}

std::string KBDataBase::GetSetAsidePath()
{
    std::lock_guard lock(lock_);
    return setAsidePath_;
}

bool KBDataBase::WriteTogether(const std::function<bool()>& writes)
{
    std::lock_guard lock(lock_);
    return InOneTransaction(db_, writes);
}

std::string KBDataBase::GetDbPath()
{
    std::lock_guard lock(lock_);
    return path_;
}

bool KBDataBase::Close()
{
    std::lock_guard lock(lock_);
    const bool closed = db_.Close();
    opened_ = false;
    readOnly_ = false;
    return closed;
}

void KBDataBase::DeleteDbFile(const std::wstring& folder, const std::wstring& deviceName)
{
    std::error_code error;
    std::filesystem::remove(BuildDbPath(folder, deviceName), error);
}

std::string KBDataBase::WideToUtf8(const std::wstring& wide)
{
    const std::wstring_view view(wide);
    return text::WideToUtf8(view.substr(0, view.find(L'\0')));
}

std::wstring KBDataBase::Utf8ToWide(const char* utf8)
{
    if (utf8 == nullptr) {
        return {};
    }
    return text::Utf8ToWide(utf8);
}
