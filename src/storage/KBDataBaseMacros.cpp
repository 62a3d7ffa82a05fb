// Macro tables: macro headers (per model file, not per profile) and their steps.
#include "storage/KBDataBase.h"
#include "storage/TableOps.h"

using namespace storage::table;

namespace {

void FillMacro(const SQLiteStatement& row, MacroRecord& record)
{
    record.macro_id = row.GetInt(0);
    record.play_times = row.GetInt(1);
    record.delay_type = row.GetInt(2);
    record.delay_time = row.GetInt(3);
    record.link_count = row.GetInt(4);
    record.name = KBDataBase::Utf8ToWide(row.GetText(5));
}

void FillMacroStep(const SQLiteStatement& row, MacroStepRecord& record)
{
    record.record_id = row.GetInt(0);
    record.macro_id = row.GetInt(1);
    record.type = row.GetInt(2);
    record.record_index = row.GetInt(3);
    record.desc = KBDataBase::Utf8ToWide(row.GetText(4));
    record.value = row.GetInt(5);
    record.delay_time = row.GetInt(6);
}

constexpr const char* kInsertMacro =
    "INSERT INTO t_macro_data(play_times, delay_type, delay_time, link_count, name) "
    "VALUES (?, ?, ?, ?, ?);";

constexpr const char* kInsertMacroStep =
    "INSERT INTO t_macrorecord(macro_id, type, record_index, desc, value, delay_time) "
    "VALUES (?, ?, ?, ?, ?, ?);";

auto MacroStepValues(const MacroStepRecord& record)
{
    return std::make_tuple(record.macro_id, record.type, record.record_index,
                           KBDataBase::WideToUtf8(record.desc), record.value, record.delay_time);
}

// The play values a macro made in the editor starts with.
constexpr int kNewPlayTimes = 1;
constexpr int kNewDelayType = 1;
// macro_type of a key that plays the macro in macro_value.
constexpr int kPlaysMacro = 3;

}  // namespace

int KBDataBase::InsertNewMacro(const std::wstring& name)
{
    std::lock_guard lock(lock_);
    return Insert(db_, kInsertMacro, kNewPlayTimes, kNewDelayType, 0, 0, WideToUtf8(name));
}

int KBDataBase::InsertMacro(MacroRecord record)
{
    std::lock_guard lock(lock_);
    return Insert(db_, kInsertMacro, record.play_times, record.delay_type, record.delay_time,
                  record.link_count, WideToUtf8(record.name));
}

bool KBDataBase::UpdateMacro(MacroRecord& record)
{
    std::lock_guard lock(lock_);
    return Write(db_,
                 "UPDATE t_macro_data SET play_times = ?, delay_type = ?, delay_time = ?, "
                 "link_count = ? WHERE macro_id = ?",
                 record.play_times, record.delay_type, record.delay_time, record.link_count,
                 record.macro_id);
}

bool KBDataBase::RenameMacro(int macroId, const std::wstring& name)
{
    std::lock_guard lock(lock_);
    return Write(db_, "UPDATE t_macro_data SET name = ? WHERE macro_id = ?", WideToUtf8(name),
                 macroId);
}

bool KBDataBase::DeleteMacro(int macroId)
{
    std::lock_guard lock(lock_);
    return InOneTransaction(db_, [this, macroId] {
        return Write(db_, "DELETE FROM t_macro_data WHERE macro_id = ?", macroId) &&
               Write(db_, "DELETE FROM t_macrorecord WHERE macro_id = ?", macroId) &&
               Write(db_, "DELETE FROM t_key_macro_data WHERE macro_type = ? and macro_value = ?",
                     kPlaysMacro, macroId);
    });
}

bool KBDataBase::GetMacro(int macroId, MacroRecord& record)
{
    std::lock_guard lock(lock_);
    return ReadOne(db_, record, FillMacro, "SELECT * FROM t_macro_data WHERE macro_id = ?",
                   macroId);
}

int KBDataBase::GetMacros(std::vector<MacroRecord*>& records)
{
    std::lock_guard lock(lock_);
    return ReadMany(db_, records, FillMacro, "SELECT * FROM t_macro_data");
}

int KBDataBase::InsertMacroStep(MacroStepRecord record)
{
    std::lock_guard lock(lock_);
    return std::apply(
        [this](const auto&... values) { return Insert(db_, kInsertMacroStep, values...); },
        MacroStepValues(record));
}

void KBDataBase::InsertMacroSteps(std::vector<MacroStepRecord> records)
{
    std::lock_guard lock(lock_);
    WriteMany(db_, records, kInsertMacroStep, MacroStepValues);
}

int KBDataBase::GetMacroSteps(int macroId, std::vector<MacroStepRecord*>& records)
{
    std::lock_guard lock(lock_);
    return ReadMany(db_, records, FillMacroStep,
                    "SELECT * FROM t_macrorecord WHERE macro_id = ? ORDER BY record_index ASC",
                    macroId);
}

bool KBDataBase::DeleteMacroSteps(int macroId)
{
    std::lock_guard lock(lock_);
    return Write(db_, "DELETE FROM t_macrorecord WHERE macro_id = ?", macroId);
}

int KBDataBase::GetMacroStepTotal()
{
    std::lock_guard lock(lock_);
    return FirstInt(db_, "select count(*) FROM t_macrorecord");
}

int KBDataBase::GetMacroStepCount(int macroId)
{
    std::lock_guard lock(lock_);
    return FirstInt(db_, "select count(*) FROM t_macrorecord WHERE macro_id = ?", macroId);
}
