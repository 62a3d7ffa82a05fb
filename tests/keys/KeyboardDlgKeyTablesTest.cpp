// The main window's key-table and preset operations, without a window or a keyboard.
#include <gtest/gtest.h>

#include <vector>

#include "app/KeyboardDlg.h"
#include "device/KeyMacroType.h"
#include "keys/KeyLayoutPresets.h"
#include "storage/StorageFixture.h"

namespace {

class KeyboardDlgKeyTables : public storage_test::StorageTest {
protected:
    void SetUp() override
    {
        StorageTest::SetUp();
        dlg.worker.pause = [this](int ms) { pauses.push_back(ms); };
        KeyMacroRecord row;
        row.profile = 2;
        row.fn_layer = 1;
        row.key_code = 0x14;
        row.macro_type = KMT_FUNCTION;
        row.macro_value = 1;
        db().InsertKeyMacros({row});
        dlg.page.currentFnLayer = 1;
    }

    std::vector<int> Queued()
    {
        std::vector<int> codes;
        while (auto code = dlg.worker.queue.Pop()) codes.push_back(*code);
        return codes;
    }

    KeyboardDlg dlg;
    std::vector<int> pauses;
};

TEST_F(KeyboardDlgKeyTables, PresetRewritesTheShownLayerAndQueuesTheKeyTableWrite)
{
    dlg.page.currentProfile = 2;
    dlg.ApplyKeyLayoutPreset(PRESET_DVORAK);
    KeyMacroRecord row;
    ASSERT_TRUE(db().GetKeyMacro(2, 1, 0x14, row));
    EXPECT_EQ(row.macro_type, KMT_KEY);
    EXPECT_EQ(row.macro_value, 0x34);
    EXPECT_EQ(Queued(), std::vector<int>{QCMD_WRITE_KEYMAP});

    EXPECT_FALSE(dlg.ApplyKeyLayoutPreset(101));  // a profile-menu id applies nothing
    EXPECT_TRUE(Queued().empty());
}

TEST_F(KeyboardDlgKeyTables, PresetWithoutAProfileChangesAndQueuesNothing)
{
    dlg.page.currentProfile = 0;
    dlg.ApplyKeyLayoutPreset(PRESET_STANDARD);
    KeyMacroRecord row;
    ASSERT_TRUE(db().GetKeyMacro(2, 1, 0x14, row));
    EXPECT_EQ(row.macro_type, KMT_FUNCTION);
    EXPECT_TRUE(Queued().empty());
}

TEST_F(KeyboardDlgKeyTables, DefaultTableReadIsRetriedTwiceWhileItNamesTooFewKeys)
{
    // No keyboard: every read comes back empty.
    dlg.LoadKeyTablesFromDevice();
    EXPECT_EQ(pauses, (std::vector<int>{100, 1000}));
    EXPECT_TRUE(dlg.keyTables.maps.indexToCode.empty());
    EXPECT_TRUE(dlg.keyTables.DefaultCacheEmpty());
}

}  // namespace
