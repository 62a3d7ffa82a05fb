// Key tables: key assignments per layer, switch performance, advanced keys and their bindings.
#include "storage/KBDataBase.h"
#include "storage/TableOps.h"

using namespace storage::table;

namespace {

void FillKeyMacro(const SQLiteStatement& row, KeyMacroRecord& record)
{
    record.key_id = row.GetInt(0);
    record.profile = row.GetInt(1);
    record.fn_layer = row.GetInt(2);
    record.key_code = row.GetInt(3);
    record.macro_type = row.GetInt(4);
    record.macro_value = row.GetInt(5);
    record.macro_value2 = row.GetInt(6);
    record.macro_value3 = row.GetInt(7);
    record.macro_desc = KBDataBase::Utf8ToWide(row.GetText(8));
}

void FillKeyPerf(const SQLiteStatement& row, KeyPerfRecord& record)
{
    record.perf_id = row.GetInt(0);
    record.profile = row.GetInt(1);
    record.key_code = row.GetInt(2);
    record.switch_type = row.GetInt(3);
    record.key_mode = row.GetInt(4);
    record.key_actuation = row.GetInt(5);
    record.rt_press = row.GetInt(6);
    record.rt_release = row.GetInt(7);
    record.deadzone_state = row.GetInt(8);
    record.press_deadzone = row.GetInt(9);
    record.release_deadzone = row.GetInt(10);
}

void FillMagneticKey(const SQLiteStatement& row, MagneticKeyRecord& record)
{
    record.macro_id = row.GetInt(0);
    record.profile = row.GetInt(1);
    record.name = KBDataBase::Utf8ToWide(row.GetText(2));
    record.key_value = row.GetInt(3);
    record.fn_layer = row.GetInt(4);
    record.macro_type = row.GetInt(5);
    record.key1_value = row.GetInt(6);
    record.key2_value = row.GetInt(7);
    record.key1_name = KBDataBase::Utf8ToWide(row.GetText(8));
    record.key2_name = KBDataBase::Utf8ToWide(row.GetText(9));
    record.reserved = row.GetInt(10);
}

void FillKeyItem(const SQLiteStatement& row, KeyItemRecord& record)
{
    record.keyitem_id = row.GetInt(0);
    record.macro_id = row.GetInt(1);
    record.trigger_state1 = row.GetInt(2);
    record.trigger_state2 = row.GetInt(3);
    record.trigger_state3 = row.GetInt(4);
    record.trigger_state4 = row.GetInt(5);
    record.key_value = row.GetInt(6);
    record.key_name = KBDataBase::Utf8ToWide(row.GetText(7));
}

constexpr const char* kUpdateKeyMacro =
    "UPDATE t_key_macro_data SET macro_type = ?, macro_value = ?, macro_value2 = ?, "
    "macro_value3 = ?, macro_desc = ? WHERE profile = ? AND fn_layer = ? AND key_code = ?;";

auto KeyMacroUpdateValues(const KeyMacroRecord& record)
{
    return std::make_tuple(record.macro_type, record.macro_value, record.macro_value2,
                           record.macro_value3, KBDataBase::WideToUtf8(record.macro_desc),
                           record.profile, record.fn_layer, record.key_code);
}

}  // namespace

int KBDataBase::GetKeyMacroCount(int profile)
{
    std::lock_guard lock(lock_);
    return FirstInt(db_, "select count(*) FROM t_key_macro_data WHERE profile = ?", profile);
}

void KBDataBase::InsertKeyMacros(std::vector<KeyMacroRecord> records)
{
    std::lock_guard lock(lock_);
    WriteMany(db_, records,
              "INSERT INTO t_key_macro_data(profile, fn_layer, key_code, macro_type, "
              "macro_value, macro_value2, macro_value3, macro_desc) "
              "VALUES (?, ?, ?, ?, ?, ?, ?, ?);",
              [](const KeyMacroRecord& record) {
                  return std::make_tuple(record.profile, record.fn_layer, record.key_code,
                                         record.macro_type, record.macro_value, record.macro_value2,
                                         record.macro_value3, WideToUtf8(record.macro_desc));
              });
}

bool KBDataBase::UpdateKeyMacro(KeyMacroRecord& record)
{
    std::lock_guard lock(lock_);
    SQLiteStatement statement;
    db_.Prepare(statement, kUpdateKeyMacro, -1);
    return WriteSucceeded(BindAndStep(statement, KeyMacroUpdateValues(record)));
}

void KBDataBase::UpdateKeyMacros(std::vector<KeyMacroRecord> records)
{
    std::lock_guard lock(lock_);
    WriteMany(db_, records, kUpdateKeyMacro, KeyMacroUpdateValues);
}

bool KBDataBase::GetKeyMacro(int profile, int fnLayer, int keyCode, KeyMacroRecord& record)
{
    std::lock_guard lock(lock_);
    return ReadOne(
        db_, record, FillKeyMacro,
        "SELECT * FROM t_key_macro_data WHERE profile = ? and fn_layer = ? and key_code = ?",
        profile, fnLayer, keyCode);
}

int KBDataBase::GetLayerKeyMacros(int profile, int fnLayer, std::vector<KeyMacroRecord*>& records)
{
    std::lock_guard lock(lock_);
    return ReadMany(db_, records, FillKeyMacro,
                    "SELECT * FROM t_key_macro_data WHERE profile = ? and fn_layer = ?", profile,
                    fnLayer);
}

int KBDataBase::GetProfileKeyMacros(int profile, std::vector<KeyMacroRecord*>& records)
{
    std::lock_guard lock(lock_);
    return ReadMany(db_, records, FillKeyMacro, "SELECT * FROM t_key_macro_data WHERE profile = ?",
                    profile);
}

int KBDataBase::GetAllKeyMacros(std::vector<KeyMacroRecord*>& records)
{
    std::lock_guard lock(lock_);
    return ReadMany(db_, records, FillKeyMacro, "SELECT * FROM t_key_macro_data");
}

int KBDataBase::GetKeyPerfCount(int profile)
{
    std::lock_guard lock(lock_);
    return FirstInt(db_, "select count(*) FROM t_key_perf_data WHERE profile = ?", profile);
}

void KBDataBase::InsertKeyPerfs(std::vector<KeyPerfRecord> records)
{
    std::lock_guard lock(lock_);
    WriteMany(db_, records,
              "INSERT INTO t_key_perf_data(profile, key_code, switch_type, key_mode, "
              "key_actuation, rt_press, rt_release, deadzone_state, press_deadzone, "
              "release_deadzone) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?);",
              [](const KeyPerfRecord& record) {
                  return std::make_tuple(record.profile, record.key_code, record.switch_type,
                                         record.key_mode, record.key_actuation, record.rt_press,
                                         record.rt_release, record.deadzone_state,
                                         record.press_deadzone, record.release_deadzone);
              });
}

void KBDataBase::UpdateKeyPerfs(std::vector<KeyPerfRecord> records)
{
    std::lock_guard lock(lock_);
    WriteMany(db_, records,
              "UPDATE t_key_perf_data SET switch_type = ?, key_mode = ?, key_actuation = ?, "
              "rt_press = ?, rt_release = ?, deadzone_state = ?, press_deadzone = ?, "
              "release_deadzone = ? WHERE profile = ? AND key_code = ?;",
              [](const KeyPerfRecord& record) {
                  return std::make_tuple(record.switch_type, record.key_mode, record.key_actuation,
                                         record.rt_press, record.rt_release, record.deadzone_state,
                                         record.press_deadzone, record.release_deadzone,
                                         record.profile, record.key_code);
              });
}

int KBDataBase::GetKeyPerfs(int profile, std::vector<KeyPerfRecord*>& records)
{
    std::lock_guard lock(lock_);
    return ReadMany(db_, records, FillKeyPerf, "SELECT * FROM t_key_perf_data WHERE profile = ?",
                    profile);
}

int KBDataBase::InsertMagneticKey(MagneticKeyRecord& record)
{
    std::lock_guard lock(lock_);
    return Insert(db_,
                  "INSERT INTO t_magnetic_key_data(profile, name, key_value, fn_layer, "
                  "macro_type, key1_value, key2_value, key1_name, key2_name, reserved) "
                  "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?);",
                  record.profile, WideToUtf8(record.name), record.key_value, record.fn_layer,
                  record.macro_type, record.key1_value, record.key2_value,
                  WideToUtf8(record.key1_name), WideToUtf8(record.key2_name), record.reserved);
}

int KBDataBase::GetMagneticKeys(int profile, std::vector<MagneticKeyRecord*>& records)
{
    std::lock_guard lock(lock_);
    return ReadMany(db_, records, FillMagneticKey,
                    "SELECT * FROM t_magnetic_key_data WHERE profile = ?", profile);
}

bool KBDataBase::GetMagneticKey(int macroId, MagneticKeyRecord& record)
{
    std::lock_guard lock(lock_);
    return ReadOne(db_, record, FillMagneticKey,
                   "SELECT * FROM t_magnetic_key_data WHERE macro_id = ?", macroId);
}

bool KBDataBase::UpdateMagneticKey(int macroId, MagneticKeyRecord& record)
{
    std::lock_guard lock(lock_);
    return Write(db_,
                 "UPDATE t_magnetic_key_data SET key1_value = ?, key2_value = ?, key1_name = ?, "
                 "key2_name = ?, reserved = ? WHERE macro_id = ?;",
                 record.key1_value, record.key2_value, WideToUtf8(record.key1_name),
                 WideToUtf8(record.key2_name), record.reserved, macroId);
}

bool KBDataBase::DeleteMagneticKey(int macroId)
{
    std::lock_guard lock(lock_);
    const bool deleted = Write(db_, "DELETE FROM t_magnetic_key_data WHERE macro_id = ?", macroId);
    DeleteKeyItems(macroId);
    return deleted;
}

int KBDataBase::InsertKeyItem(KeyItemRecord& record)
{
    std::lock_guard lock(lock_);
    return Insert(db_,
                  "INSERT INTO t_key_item_data(macro_id, trigger_state1, trigger_state2, "
                  "trigger_state3, trigger_state4, key_value, key_name) "
                  "VALUES (?, ?, ?, ?, ?, ?, ?);",
                  record.macro_id, record.trigger_state1, record.trigger_state2,
                  record.trigger_state3, record.trigger_state4, record.key_value,
                  WideToUtf8(record.key_name));
}

bool KBDataBase::DeleteKeyItems(int macroId)
{
    std::lock_guard lock(lock_);
    return Write(db_, "DELETE FROM t_key_item_data WHERE macro_id = ?", macroId);
}

int KBDataBase::GetKeyItems(int macroId, std::vector<KeyItemRecord*>& records)
{
    std::lock_guard lock(lock_);
    return ReadMany(db_, records, FillKeyItem, "SELECT * FROM t_key_item_data WHERE macro_id = ?",
                    macroId);
}
