// Lighting tables: the lighting modes of a profile and the per-key colours of user layouts.
#include "storage/KBDataBase.h"
#include "storage/TableOps.h"

using namespace storage::table;

namespace {

void FillLight(const SQLiteStatement& row, LightRecord& record)
{
    record.light_id = row.GetInt(0);
    record.profile = row.GetInt(1);
    record.name = KBDataBase::Utf8ToWide(row.GetText(2));
    record.mode = row.GetInt(3);
    record.brightness = row.GetInt(4);
    record.speed = row.GetInt(5);
    record.direction = row.GetInt(6);
    record.colorful = row.GetInt(7);
    record.colorindex = row.GetInt(8);
    record.color_value = row.GetInt(9);
    record.config_func = row.GetInt(10);
    record.reserved = row.GetInt(11);
    record.status = row.GetInt(12);
}

void FillUserLightRgb(const SQLiteStatement& row, UserLightRgbRecord& record)
{
    record.userlightrgb_id = row.GetInt(0);
    record.profile = row.GetInt(1);
    record.userlight_id = row.GetInt(2);
    record.key_code = row.GetInt(3);
    record.key_rgb = row.GetInt(4);
}

}  // namespace

int KBDataBase::GetLightCount(int profile)
{
    std::lock_guard lock(lock_);
    return FirstInt(db_, "select count(*) FROM t_light_data WHERE profile = ?", profile);
}

int KBDataBase::InsertLight(LightRecord& record)
{
    std::lock_guard lock(lock_);
    return Insert(db_,
                  "INSERT INTO t_light_data(profile, name, mode, brightness, speed, direction, "
                  "colorful, colorindex, color_value, config_func, reserved, status) "
                  "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?);",
                  record.profile, WideToUtf8(record.name), record.mode, record.brightness,
                  record.speed, record.direction, record.colorful, record.colorindex,
                  record.color_value, record.config_func, record.reserved, record.status);
}

int KBDataBase::InsertLights(std::vector<LightRecord> records)
{
    std::lock_guard lock(lock_);
    const bool written = InOneTransaction(db_, [this, &records] {
        return WriteMany(db_, records,
                         "INSERT INTO t_light_data(profile, name, mode, brightness, speed, "
                         "direction, colorful, colorindex, color_value, config_func, reserved, "
                         "status) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?);",
                         [](const LightRecord& record) {
                             return std::make_tuple(
                                 record.profile, WideToUtf8(record.name), record.mode,
                                 record.brightness, record.speed, record.direction, record.colorful,
                                 record.colorindex, record.color_value, record.config_func,
                                 record.reserved, record.status);
                         });
    });
    return written ? static_cast<int>(records.size()) : 0;
}

bool KBDataBase::UpdateLight(int mode, LightRecord& record)
{
    std::lock_guard lock(lock_);
    return Write(db_,
                 "UPDATE t_light_data SET brightness = ?, speed = ?, direction = ?, "
                 "colorful = ?, colorindex = ?, color_value = ?, config_func = ?, reserved = ?, "
                 "status = ? WHERE profile = ? AND mode = ?",
                 record.brightness, record.speed, record.direction, record.colorful,
                 record.colorindex, record.color_value, record.config_func, record.reserved,
                 record.status, record.profile, mode);
}

bool KBDataBase::SetActiveLightMode(int profile, int mode)
{
    std::lock_guard lock(lock_);
    SQLiteStatement statement;
    StepWith(db_, statement, "UPDATE t_light_data SET status = ? WHERE profile = ?", 0, profile);
    return WriteSucceeded(StepWith(
        db_, statement, "UPDATE t_light_data SET status = ? WHERE profile = ? and mode = ?", 1,
        profile, mode));
}

int KBDataBase::GetActiveLightMode(int profile)
{
    std::lock_guard lock(lock_);
    return FirstInt(db_, "SELECT mode FROM t_light_data WHERE profile = ? and status = ?", profile,
                    1);
}

bool KBDataBase::GetLight(int profile, int mode, LightRecord& record)
{
    std::lock_guard lock(lock_);
    return ReadOne(db_, record, FillLight,
                   "SELECT * FROM t_light_data WHERE profile = ? AND mode = ?", profile, mode);
}

int KBDataBase::GetLights(int profile, std::vector<LightRecord*>& records)
{
    std::lock_guard lock(lock_);
    return ReadMany(db_, records, FillLight, "SELECT * FROM t_light_data WHERE profile = ?",
                    profile);
}

int KBDataBase::InsertUserLightRgbs(std::vector<UserLightRgbRecord> records)
{
    std::lock_guard lock(lock_);
    WriteMany(db_, records,
              "INSERT INTO t_userlightrgb_data(profile, userlight_id, key_code, key_rgb) "
              "VALUES (?, ?, ?, ?);",
              [](const UserLightRgbRecord& record) {
                  return std::make_tuple(record.profile, record.userlight_id, record.key_code,
                                         record.key_rgb);
              });
    return static_cast<int>(records.size());
}

bool KBDataBase::DeleteUserLightRgbs(int userlightId)
{
    std::lock_guard lock(lock_);
    return Write(db_, "DELETE FROM t_userlightrgb_data WHERE userlight_id = ?", userlightId);
}

int KBDataBase::GetUserLightRgbs(int userlightId, std::vector<UserLightRgbRecord*>& records)
{
    std::lock_guard lock(lock_);
    return ReadMany(db_, records, FillUserLightRgb,
                    "SELECT * FROM t_userlightrgb_data WHERE userlight_id = ?", userlightId);
}
