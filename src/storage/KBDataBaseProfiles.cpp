// Configuration keys, profiles and the music layer.
#include "storage/DefaultConfig.h"
#include "storage/KBDataBase.h"
#include "storage/TableOps.h"

using namespace storage::table;

namespace {

void FillProfile(const SQLiteStatement& row, ProfileRecord& record)
{
    record.profile = row.GetInt(0);
    record.type = row.GetInt(1);
    record.name = KBDataBase::Utf8ToWide(row.GetText(2));
    record.status = row.GetInt(3);
}

void FillMusicLayer(const SQLiteStatement& row, MusicLayerRecord& record)
{
    record.layer_id = row.GetInt(0);
    record.profile = row.GetInt(1);
    record.name = KBDataBase::Utf8ToWide(row.GetText(2));
    record.deviceindex = row.GetInt(3);
    record.foremode = row.GetInt(4);
    record.fore_amplitude = row.GetInt(5);
    record.backmode = row.GetInt(6);
    record.backb_right = row.GetInt(7);
}

// Reads column 0 of the first row as text into out (emptied first).
template <class... Args>
bool ReadText(SQLiteDB& db, std::wstring& out, const char* sql, const Args&... args)
{
    out.clear();
    return ReadOne(
        db, out,
        [](const SQLiteStatement& row, std::wstring& text) {
            text = KBDataBase::Utf8ToWide(row.GetText(0));
        },
        sql, args...);
}

constexpr int kUserProfile = 1;

}  // namespace

bool KBDataBase::SetConfig(int profile, const std::wstring& key, const std::wstring& value)
{
    std::lock_guard lock(lock_);
    return Write(db_, "UPDATE t_config_data SET value = ? WHERE profile = ? and key = ?",
                 WideToUtf8(value), profile, WideToUtf8(key));
}

bool KBDataBase::GetConfig(int profile, const std::wstring& key, std::wstring& value)
{
    std::lock_guard lock(lock_);
    return ReadText(db_, value, "SELECT value FROM t_config_data WHERE profile = ? and key = ?",
                    profile, WideToUtf8(key));
}

bool KBDataBase::InsertDefaultConfig(int profile)
{
    std::lock_guard lock(lock_);
    return InOneTransaction(db_, [this, profile] {
        for (const storage::DefaultConfigEntry& entry : storage::DefaultConfigRows()) {
            if (!Write(db_, "INSERT INTO t_config_data(profile, key, value) VALUES (?, ?, ?);",
                       profile, std::string(entry.key), std::string(entry.value))) {
                return false;
            }
        }
        return true;
    });
}

int KBDataBase::InsertProfile(ProfileRecord& record)
{
    std::lock_guard lock(lock_);
    return Insert(db_, "INSERT INTO t_profile_data(type, name, status) VALUES (?, ?, ?);",
                  record.type, WideToUtf8(record.name), 0);
}

bool KBDataBase::DeleteProfile(int profile)
{
    std::lock_guard lock(lock_);
    return Write(db_, "DELETE FROM t_profile_data WHERE profile = ?", profile);
}

bool KBDataBase::RenameProfile(int profile, const std::wstring& name)
{
    std::lock_guard lock(lock_);
    return Write(db_, "UPDATE t_profile_data SET name = ? WHERE profile = ?", WideToUtf8(name),
                 profile);
}

bool KBDataBase::GetProfileName(int profile, std::wstring& name)
{
    std::lock_guard lock(lock_);
    return ReadText(db_, name, "SELECT name FROM t_profile_data WHERE profile = ?", profile);
}

int KBDataBase::GetProfiles(std::vector<ProfileRecord*>& records)
{
    std::lock_guard lock(lock_);
    return ReadMany(db_, records, FillProfile, "SELECT * FROM t_profile_data WHERE type = ?",
                    kUserProfile);
}

bool KBDataBase::SetActiveProfile(int profile)
{
    std::lock_guard lock(lock_);
    return InOneTransaction(db_, [this, profile] {
        return Write(db_, "UPDATE t_profile_data SET status = ? WHERE type = ?", 0, kUserProfile) &&
               Write(db_, "UPDATE t_profile_data SET status = ? WHERE profile = ?", 1, profile);
    });
}

int KBDataBase::GetActiveProfile()
{
    std::lock_guard lock(lock_);
    return FirstInt(db_, "SELECT profile FROM t_profile_data WHERE type = ? AND status = ?",
                    kUserProfile, 1);
}

int KBDataBase::GetMusicLayerCount(int profile)
{
    std::lock_guard lock(lock_);
    return FirstInt(db_, "select count(*) FROM t_musiclayer_data WHERE profile = ?", profile);
}

int KBDataBase::InsertMusicLayer(int profile, const std::wstring& name, int foremode)
{
    std::lock_guard lock(lock_);
    return Insert(db_,
                  "INSERT INTO t_musiclayer_data(profile, name, deviceindex, foremode, "
                  "fore_amplitude, backmode, backb_right, sel) VALUES (?, ?, ?, ?, ?, ?, ?, ?);",
                  profile, WideToUtf8(name), 0, foremode, 4, 0, 20, 0);
}

bool KBDataBase::GetMusicLayer(int profile, MusicLayerRecord& record)
{
    std::lock_guard lock(lock_);
    return ReadOne(db_, record, FillMusicLayer, "SELECT * FROM t_musiclayer_data WHERE profile = ?",
                   profile);
}

bool KBDataBase::UpdateMusicLayer(int profile, MusicLayerRecord& record)
{
    std::lock_guard lock(lock_);
    return Write(db_,
                 "UPDATE t_musiclayer_data SET deviceindex= ?, foremode= ?, fore_amplitude = ?, "
                 "backmode= ?, backb_right= ? WHERE profile = ?",
                 record.deviceindex, record.foremode, record.fore_amplitude, record.backmode,
                 record.backb_right, profile);
}
