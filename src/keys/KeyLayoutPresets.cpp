#include "keys/KeyLayoutPresets.h"

#include <map>

#include "device/AdvancedKeyTables.h"
#include "device/KeyMacroType.h"
#include "device/KeyNameTable.h"
#include "storage/KBDataBase.h"
#include "storage/RecordList.h"

namespace {

struct Remap {
    int usage;
    const wchar_t* caption;  // null: the usage's own name
};

using RemapTable = std::map<int, Remap>;

const RemapTable& MacTable()
{
    static const RemapTable table = {
        {0xE3, {0xE2, L"Opt"}},
        {0xE2, {0xE3, L"Cmd"}},
        {0xE6, {0xE7, L"Cmd"}},
    };
    return table;
}

RemapTable Plain(std::initializer_list<std::pair<const int, int>> pairs)
{
    RemapTable table;
    for (const auto& [from, to] : pairs) table[from] = {to, nullptr};
    return table;
}

const RemapTable& DvorakTable()
{
    static const RemapTable table = Plain({
        {0x05, 0x1B}, {0x06, 0x0D}, {0x07, 0x08}, {0x08, 0x37}, {0x09, 0x18}, {0x0A, 0x0C},
        {0x0B, 0x07}, {0x0C, 0x06}, {0x0D, 0x0B}, {0x0E, 0x17}, {0x0F, 0x11}, {0x11, 0x05},
        {0x12, 0x15}, {0x13, 0x0F}, {0x14, 0x34}, {0x15, 0x13}, {0x16, 0x12}, {0x17, 0x1C},
        {0x18, 0x0A}, {0x19, 0x0E}, {0x1A, 0x36}, {0x1B, 0x14}, {0x1C, 0x09}, {0x1D, 0x33},
        {0x29, 0x35}, {0x2D, 0x2F}, {0x2E, 0x30}, {0x2F, 0x38}, {0x30, 0x2E}, {0x33, 0x16},
        {0x34, 0x2D}, {0x36, 0x1A}, {0x37, 0x19}, {0x38, 0x1D},
    });
    return table;
}

const RemapTable& ColemakTable()
{
    static const RemapTable table = Plain({
        {0x07, 0x16},
        {0x08, 0x09},
        {0x09, 0x17},
        {0x0A, 0x07},
        {0x0C, 0x18},
        {0x0D, 0x11},
        {0x0E, 0x08},
        {0x0F, 0x0C},
        {0x11, 0x0E},
        {0x12, 0x1C},
        {0x13, 0x33},
        {0x15, 0x13},
        {0x16, 0x15},
        {0x17, 0x0A},
        {0x18, 0x0F},
        {0x1C, 0x0D},
        {0x33, 0x12},
    });
    return table;
}

const RemapTable& WorkmanTable()
{
    static const RemapTable table = Plain({
        {0x05, 0x19}, {0x06, 0x10}, {0x07, 0x0B}, {0x08, 0x15}, {0x09, 0x17}, {0x0B, 0x1C},
        {0x0C, 0x18}, {0x0D, 0x11}, {0x0E, 0x08}, {0x0F, 0x12}, {0x10, 0x0F}, {0x11, 0x0E},
        {0x12, 0x13}, {0x13, 0x33}, {0x15, 0x1A}, {0x17, 0x05}, {0x18, 0x09}, {0x19, 0x06},
        {0x1A, 0x07}, {0x1C, 0x0D}, {0x33, 0x0C},
    });
    return table;
}

const RemapTable* TableOf(int presetId)
{
    switch (presetId) {
        case PRESET_MAC_SWAP:
            return &MacTable();
        case PRESET_DVORAK:
            return &DvorakTable();
        case PRESET_COLEMAK:
            return &ColemakTable();
        case PRESET_WORKMAN:
            return &WorkmanTable();
        default:
            return nullptr;
    }
}

}  // namespace

bool IsKeyLayoutPreset(int presetId)
{
    return presetId >= PRESET_STANDARD && presetId <= PRESET_WORKMAN;
}

int PresetKeyUsage(int presetId, int keyCode, std::wstring* caption)
{
    if (caption != nullptr) caption->clear();
    const RemapTable* table = TableOf(presetId);
    if (table == nullptr || keyCode == kFnKeyCode) return keyCode;
    const auto found = table->find(keyCode);
    if (found == table->end()) return keyCode;
    if (caption != nullptr && found->second.caption != nullptr) *caption = found->second.caption;
    return found->second.usage;
}

bool ApplyKeyPresetToRow(int presetId, KeyMacroRecord& row)
{
    if (row.macro_type == KMT_MACRO || AdvTableBitOf(row.macro_type) != 0) return false;
    if (row.macro_type != KMT_KEY) {
        row.macro_value2 = 0;
        row.macro_value3 = 0;
    }
    const KeyNameTable& names = KeyNameTable::GetInstance();
    if (row.key_code == kFnKeyCode) {
        row.macro_type = KMT_FUNCTION;
        row.macro_value = FUNC_FN1;
        row.macro_desc = names.KeyUsageToName(row.key_code);
        return true;
    }
    std::wstring caption;
    const int usage = PresetKeyUsage(presetId, row.key_code, &caption);
    row.macro_type = KMT_KEY;
    row.macro_value = usage;
    row.macro_desc = caption.empty() ? names.KeyUsageToName(usage) : caption;
    return true;
}

int ApplyKeyPreset(KBDataBase& db, int presetId, int profile, int layer)
{
    if (profile < 1 || !IsKeyLayoutPreset(presetId)) return 0;
    int written = 0;
    const bool kept = db.WriteTogether([&] {
        std::vector<KeyMacroRecord*> listed;
        db.GetLayerKeyMacros(profile, layer, listed);
        for (const KeyMacroRecord& listedRow : TakeRecords(listed)) {
            KeyMacroRecord row;
            if (!db.GetKeyMacro(profile, layer, listedRow.key_code, row)) continue;
            if (!ApplyKeyPresetToRow(presetId, row)) continue;
            if (!db.UpdateKeyMacro(row)) return false;
            ++written;
        }
        return true;
    });
    return kept ? written : 0;
}
