#include "storage/KBDataBase.h"

#include <sqlite3.h>

#include <filesystem>
#include <string_view>

#include "platform/text/Utf8.h"
#include "storage/DatabaseSchema.h"
#include "platform/text/PathText.h"

namespace {

constexpr int kOpenExisting = SQLITE_OPEN_READWRITE | SQLITE_OPEN_FULLMUTEX;
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
    return text::NormalizePath(WideToUtf8(folder) + "db\\" + WideToUtf8(deviceName) +
                                  "_datav4.db");
}

bool KBDataBase::Open(const std::wstring& folder, const std::wstring& deviceName)
{
    std::lock_guard lock(lock_);
    path_ = BuildDbPath(folder, deviceName);
    bool result = false;
    std::error_code error;
    if (std::filesystem::exists(path_, error)) {
        if (db_.IsOpen()) {
            result = true;
        } else {
            result = db_.Open(path_.c_str(), keyB_, kOpenExisting) && IsUsableFile();
            if (!result) {
                db_.Close();
            }
        }
    } else {
        result = CreateDatabase();
    }
    opened_ = result;
    return result;
}

bool KBDataBase::IsUsableFile()
{
    // SQLite reads the file lazily and silently falls back to read-only access, so a file that
    // is no database, or one that cannot be written, would only fail at the first table
    // operation. Ask now instead.
    if (db_.Exec("SELECT count(*) FROM sqlite_master", nullptr, nullptr) != SQLITE_OK) {
        return false;
    }
    return !db_.IsReadOnly();
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
    const std::vector<std::string>& statements = storage::SchemaStatements();
    if (!db_.Open(path_.c_str(), keyB_, kOpenCreate)) {
        return false;
    }
    int codes = 0;
    for (const std::string& sql : statements) {
        codes |= db_.Exec(sql.c_str(), nullptr, nullptr);
    }
    InsertDefaultConfig(0);
    return codes == 0;
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
