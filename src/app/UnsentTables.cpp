#include "app/UnsentTables.h"

#include <string>

#include "app/RegistrySettings.h"
#include "app/WorkerCommand.h"

namespace {

constexpr const wchar_t* kValueName = L"unsent_tables";

}  // namespace

int UnsentTables::WrittenBy(int command)
{
    switch (command) {
        case QCMD_APPLY_PROFILE:
            return kAll;
        case QCMD_WRITE_KEYMAP:
        case QCMD_WRITE_LAYER_KEYMAP:
            return kKeyTables;
        case QCMD_WRITE_MACROS:
            return kMacros;
        case QCMD_WRITE_LIGHTING:
        case QCMD_WRITE_USER_COLORS:
            return kLighting;
        case QCMD_WRITE_KEY_PERF:
            return kPerformance;
        case QCMD_WRITE_SETTINGS:
            return kSettings;
        default:
            return 0;
    }
}

int UnsentTables::WrittenWholeBy(int command)
{
    switch (command) {
        case QCMD_APPLY_PROFILE:
        case QCMD_WRITE_MACROS:
        case QCMD_WRITE_KEY_PERF:
        case QCMD_WRITE_SETTINGS:
            return WrittenBy(command);
        default:
            return 0;
    }
}

void UnsentTables::Load()
{
    std::lock_guard lock(mutex_);
    LoadLocked();
}

void UnsentTables::LoadLocked()
{
    if (loaded_) return;
    loaded_ = true;
    owed_ = GetRegInt(kValueName) & kAll;
}

bool UnsentTables::Mark(int tables)
{
    std::lock_guard lock(mutex_);
    LoadLocked();
    const int before = owed_.load();
    const int after = before | (tables & kAll);
    if (after != before) Store(after);
    return before == 0 && after != 0;
}

void UnsentTables::Clear(int tables)
{
    std::lock_guard lock(mutex_);
    LoadLocked();
    const int before = owed_.load();
    const int after = before & ~tables;
    if (after != before) Store(after);
}

void UnsentTables::Store(int tables)
{
    owed_ = tables;
    SetRegString(kValueName, std::to_wstring(tables));
}
