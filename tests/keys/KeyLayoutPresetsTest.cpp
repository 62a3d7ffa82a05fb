#include "keys/KeyLayoutPresets.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "device/KeyMacroType.h"
#include "device/KeyNameTable.h"
#include "storage/RecordList.h"
#include "storage/StorageFixture.h"

namespace {

struct PresetCase {
    int preset;
    int keyCode;
    int usage;
};

TEST(KeyLayoutPresetTables, RemapQwertyPositions)
{
    const PresetCase cases[] = {
        {PRESET_STANDARD, 0x14, 0x14}, {PRESET_STANDARD_ALT, 0xE3, 0xE3},
        {PRESET_MAC_SWAP, 0xE3, 0xE2}, {PRESET_MAC_SWAP, 0xE2, 0xE3},
        {PRESET_MAC_SWAP, 0xE6, 0xE7}, {PRESET_MAC_SWAP, 0xE7, 0xE7},
        {PRESET_DVORAK, 0x14, 0x34},   {PRESET_DVORAK, 0x29, 0x35},
        {PRESET_DVORAK, 0x38, 0x1D},   {PRESET_DVORAK, 0x04, 0x04},
        {PRESET_COLEMAK, 0x33, 0x12},  {PRESET_COLEMAK, 0x07, 0x16},
        {PRESET_COLEMAK, 0x05, 0x05},  {PRESET_WORKMAN, 0x05, 0x19},
        {PRESET_WORKMAN, 0x33, 0x0C},  {PRESET_WORKMAN, 0x1A, 0x07},
        {PRESET_DVORAK, 0xFF, 0xFF},   {201, 0x14, 0x14},
    };
    for (const PresetCase& c : cases) {
        EXPECT_EQ(PresetKeyUsage(c.preset, c.keyCode), c.usage) << c.preset << " " << c.keyCode;
    }
    std::wstring caption;
    PresetKeyUsage(PRESET_MAC_SWAP, 0xE3, &caption);
    EXPECT_EQ(caption, L"Opt");
    PresetKeyUsage(PRESET_MAC_SWAP, 0xE6, &caption);
    EXPECT_EQ(caption, L"Cmd");
    PresetKeyUsage(PRESET_DVORAK, 0x14, &caption);
    EXPECT_EQ(caption, L"");
}

class KeyLayoutPresetRows : public storage_test::StorageTest {
protected:
    static constexpr int kProfile = 2;
    static constexpr int kLayer = 3;

    void SetUp() override
    {
        StorageTest::SetUp();
        std::vector<KeyMacroRecord> rows;
        for (int code : {0x04, 0x14, 0x29, 0xE2, 0xE3, 0xE6, 0xE7, 0xFF}) {
            KeyMacroRecord row;
            row.profile = kProfile;
            row.fn_layer = kLayer;
            row.key_code = code;
            // Keys given another key; Q with an added modifier.
            row.macro_type = KMT_KEY;
            row.macro_value = 0x1E;
            row.macro_value2 = code == 0x14 ? 0xE1 : 0;
            row.macro_value3 = 9;
            row.macro_desc = L"before";
            rows.push_back(row);
        }
        db().InsertKeyMacros(rows);
    }

    std::map<int, KeyMacroRecord> Layer(int profile = kProfile)
    {
        std::vector<KeyMacroRecord*> listed;
        db().GetLayerKeyMacros(profile, kLayer, listed);
        std::map<int, KeyMacroRecord> byCode;
        for (KeyMacroRecord& row : TakeRecords(listed)) byCode[row.key_code] = row;
        return byCode;
    }
};

TEST_F(KeyLayoutPresetRows, StandardGivesEveryKeyItsOwnCode)
{
    EXPECT_EQ(ApplyKeyPreset(db(), PRESET_STANDARD, kProfile, kLayer), 8);
    for (const auto& [code, row] : Layer()) {
        if (code == 0xFF) {
            EXPECT_EQ(row.macro_type, KMT_FUNCTION);
            EXPECT_EQ(row.macro_value, 0x1FF);
        } else {
            EXPECT_EQ(row.macro_type, KMT_KEY) << code;
            EXPECT_EQ(row.macro_value, code);
        }
        EXPECT_EQ(row.macro_desc, KeyNameTable::GetInstance().KeyUsageToName(code)) << code;
        EXPECT_EQ(row.macro_value3, 9);
    }
    EXPECT_EQ(Layer()[0x14].macro_value2, 0xE1);
}

TEST_F(KeyLayoutPresetRows, MacTwiceEqualsMacOnce)
{
    ApplyKeyPreset(db(), PRESET_MAC_SWAP, kProfile, kLayer);
    ApplyKeyPreset(db(), PRESET_MAC_SWAP, kProfile, kLayer);
    std::map<int, KeyMacroRecord> rows = Layer();
    EXPECT_EQ(rows[0xE3].macro_value, 0xE2);
    EXPECT_EQ(rows[0xE3].macro_desc, L"Opt");
    EXPECT_EQ(rows[0xE2].macro_value, 0xE3);
    EXPECT_EQ(rows[0xE2].macro_desc, L"Cmd");
    EXPECT_EQ(rows[0xE6].macro_value, 0xE7);
    EXPECT_EQ(rows[0xE7].macro_value, 0xE7);
}

TEST_F(KeyLayoutPresetRows, DvorakKeepsAnAddedModifier)
{
    ApplyKeyPreset(db(), PRESET_DVORAK, kProfile, kLayer);
    std::map<int, KeyMacroRecord> rows = Layer();
    EXPECT_EQ(rows[0x14].macro_value, 0x34);
    EXPECT_EQ(rows[0x14].macro_value2, 0xE1);
    EXPECT_EQ(rows[0x14].macro_desc, KeyNameTable::GetInstance().KeyUsageToName(0x34));
    EXPECT_EQ(rows[0x29].macro_value, 0x35);
    EXPECT_EQ(rows[0x04].macro_value, 0x04);
}

TEST_F(KeyLayoutPresetRows, ARowFailingPartWayKeepsTheWholeLayer)
{
    // The last row of the layer cannot be written: the rows before it are undone too.
    storage_test::Exec(path_,
                       "CREATE TRIGGER fail BEFORE UPDATE ON t_key_macro_data WHEN "
                       "NEW.key_code = 255 BEGIN SELECT RAISE(ABORT, 'no'); END");
    EXPECT_EQ(ApplyKeyPreset(db(), PRESET_STANDARD, kProfile, kLayer), 0);
    for (const auto& [code, row] : Layer()) EXPECT_EQ(row.macro_desc, L"before") << code;
}

TEST_F(KeyLayoutPresetRows, NoProfileNoRowsOrNoPresetChangesNothing)
{
    EXPECT_EQ(ApplyKeyPreset(db(), PRESET_STANDARD, 0, kLayer), 0);
    EXPECT_EQ(ApplyKeyPreset(db(), PRESET_STANDARD, kProfile, kLayer + 1), 0);
    EXPECT_EQ(ApplyKeyPreset(db(), 103, kProfile, kLayer), 0);
    for (const auto& [code, row] : Layer()) EXPECT_EQ(row.macro_desc, L"before") << code;
}

}  // namespace
