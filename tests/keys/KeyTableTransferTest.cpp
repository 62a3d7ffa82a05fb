// The key-table exchanges against the virtual keyboard, with a real settings database.
#include "keys/KeyTableTransfer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <map>
#include <vector>

#include "device/DeviceManager.h"
#include "device/KeyMacroType.h"
#include "storage/RecordList.h"
#include "storage/StorageFixture.h"
#include "virtual-keyboard/Fault.h"
#include "virtual-keyboard/VirtualHidBackend.h"
#include "virtual-keyboard/VirtualKeyboard.h"

namespace {

using Entry = std::array<uint8_t, 3>;

// A keyboard that leaves one request unanswered each time it comes.
class DroppingKeyboard : public vkb::VirtualKeyboard {
public:
    std::atomic<int> dropCommand{-1};
    std::atomic<int> dropAddress{-1};

protected:
    int HandleWrite(size_t interfaceIndex, const uint8_t* data, size_t length) override
    {
        if (interfaceIndex == kConfigInterface && length > 7 && data[2] == dropCommand &&
            (data[6] | data[7] << 8) == dropAddress) {
            return static_cast<int>(length);
        }
        return VirtualKeyboard::HandleWrite(interfaceIndex, data, length);
    }
};

int IndexOfUsage(int usage)
{
    for (size_t i = 0; i < vkb::kKeyCount; ++i) {
        if (vkb::DefaultKeyUsage(i) == usage) return static_cast<int>(i);
    }
    return -1;
}

class KeyTableTransferTest : public storage_test::StorageTest {
protected:
    static constexpr int kProfile = 1;

    void SetUp() override
    {
        StorageTest::SetUp();
        hid::SetBackend(&backend);
        backend.Plug(keyboard);
        manager.AddSupportedDevice(0x3B6D, 0xFD70, L"Morvessa Keyboard", 101, 0);
        manager.Rescan();
        ASSERT_NE(manager.GetCurrentHandle(), nullptr);
        keyboard->ClearLog();

        // The profile's rows as a new profile gets them.
        std::vector<KeyMacroRecord> rows;
        for (int layer = 0; layer <= 8; ++layer) {
            for (size_t i = 0; i < vkb::kKeyCount; ++i) {
                const int code = vkb::DefaultKeyUsage(i);
                if (code == 0) continue;
                KeyMacroRecord row;
                row.profile = kProfile;
                row.fn_layer = layer;
                row.key_code = code;
                row.macro_type = layer == 0 ? KMT_KEY : KMT_FUNCTION;
                row.macro_value = layer == 0 ? code : 1;
                rows.push_back(row);
            }
        }
        db().InsertKeyMacros(rows);
    }

    void TearDown() override
    {
        manager.SetConnected(true);
        manager.CloseAllDevices();
        hid::SetBackend(nullptr);
        StorageTest::TearDown();
    }

    KeyMacroRecord Row(int layer, int code, int profile = kProfile)
    {
        KeyMacroRecord row;
        EXPECT_TRUE(db().GetKeyMacro(profile, layer, code, row)) << layer << " " << code;
        return row;
    }

    void SetRow(int layer, int code, int type, int value, int value2 = 0, int value3 = 0)
    {
        KeyMacroRecord row = Row(layer, code);
        row.macro_type = type;
        row.macro_value = value;
        row.macro_value2 = value2;
        row.macro_value3 = value3;
        db().UpdateKeyMacro(row);
    }

    int LayerRowCount(int profile, int layer)
    {
        std::vector<KeyMacroRecord*> rows;
        const int count = db().GetLayerKeyMacros(profile, layer, rows);
        TakeRecords(rows);
        return count;
    }

    // Reads the maps in, then forgets that exchange.
    void LoadMaps()
    {
        ASSERT_TRUE(transfer.ReadDefaultKeyMap(kProfile));
        keyboard->ClearLog();
    }

    // The commands of the requests the keyboard received.
    std::vector<int> Commands() const
    {
        std::vector<int> commands;
        for (const vkb::RequestRecord& r : keyboard->Requests()) commands.push_back(r.Command());
        return commands;
    }

    static std::vector<int> Batch(int command, int chunks)
    {
        std::vector<int> commands = {CMD_BEGIN_BATCH};
        commands.insert(commands.end(), static_cast<size_t>(chunks), command);
        commands.push_back(CMD_END_BATCH);
        return commands;
    }

    vkb::VirtualHidBackend backend;
    std::shared_ptr<DroppingKeyboard> keyboard = std::make_shared<DroppingKeyboard>();
    DeviceManager manager;
    KeyTableState state;
    KeyTableTransfer transfer{manager, db(), state};
};

TEST_F(KeyTableTransferTest, DefaultReadBuildsMapsStoresDefaultsOnceAndReadsEveryLayer)
{
    keyboard->ModifyMemory([](vkb::KeyboardMemory& m) {
        const size_t a = static_cast<size_t>(IndexOfUsage(0x04)) * 3;
        m.keymaps[a + 2] = 0x05;  // A now types B
        const size_t esc = 2 * vkb::kLayerTableSize + static_cast<size_t>(IndexOfUsage(0x29)) * 3;
        m.keymaps[esc] = 0x30;  // Esc on layer 2: volume up
        m.keymaps[esc + 1] = 0xE9;
        m.keymaps[esc + 2] = 0x00;
    });
    ASSERT_TRUE(transfer.ReadDefaultKeyMap(kProfile));

    EXPECT_EQ(state.maps.indexToCode.size(), 84u);
    EXPECT_EQ(state.maps.CodeAt(IndexOfUsage(0x46)), 70);  // sent as a function code
    EXPECT_EQ(state.maps.IndexOf(255), IndexOfUsage(0xFF));
    EXPECT_EQ(state.maps.IndexOf(0xE1), IndexOfUsage(0xE1));
    EXPECT_FALSE(state.DefaultCacheEmpty());

    EXPECT_EQ(Row(0, 0x04).macro_value, 0x05);
    EXPECT_EQ(Row(2, 0x29).macro_type, KMT_CONSUMER);
    EXPECT_EQ(Row(2, 0x29).macro_value, 0xE9);
    EXPECT_EQ(Row(1, 0x43).macro_value, 0xE2);  // the factory's FN1 mute
    // An empty entry of an FN layer read whole is what the keyboard holds: no action.
    EXPECT_EQ(Row(1, 0x04).macro_type, KMT_NONE);

    // Device defaults, every key of every layer: FN1 holds three media keys and the FN key,
    // the other layers the FN key; every other key no action, the keyboard's empty entry.
    EXPECT_EQ(Row(101, 0x44, 1).macro_value, 0xEA);
    EXPECT_EQ(Row(101, 0xFF, 1).macro_value, 0x1FF);
    EXPECT_EQ(Row(104, 0xFF, 1).macro_value, 0x1FF);
    EXPECT_EQ(Row(104, 0x44, 1).macro_type, KMT_NONE);
    EXPECT_EQ(Row(101, 0x04, 1).macro_type, KMT_NONE);
    for (int layer = 101; layer <= 107; ++layer) EXPECT_EQ(LayerRowCount(1, layer), 84) << layer;

    ASSERT_TRUE(transfer.ReadDefaultKeyMap(kProfile));
    EXPECT_EQ(LayerRowCount(1, 101), 84);
    EXPECT_EQ(keyboard->BatchesBegun(), 2);
    EXPECT_EQ(keyboard->BatchesEnded(), 2);
    EXPECT_TRUE(keyboard->Errors().empty());
}

TEST_F(KeyTableTransferTest, SixtyKeysOrFewerReadNoFurtherLayers)
{
    keyboard->ModifyMemory([](vkb::KeyboardMemory& m) {
        std::fill(m.defaultKeymaps.begin() + 60 * 3,
                  m.defaultKeymaps.begin() + vkb::kLayerTableSize, uint8_t{0});
    });
    transfer.ReadDefaultKeyMap(kProfile);

    EXPECT_EQ(state.maps.indexToCode.size(), 60u);
    EXPECT_EQ(Commands(), Batch(CMD_READ_DEFAULT_KEYMAP, 10));
    EXPECT_EQ(LayerRowCount(1, 101), 0);
}

TEST_F(KeyTableTransferTest, ALayerNotReadWholeStoresNothingAndIsNotWrittenOverTheKeyboards)
{
    keyboard->ModifyMemory([](vkb::KeyboardMemory& m) {
        for (size_t i = 0; i < vkb::kKeyCount; ++i) {
            if (vkb::DefaultKeyUsage(i) != 0) m.keymaps[i * 3 + 2] = 0x05;
        }
    });
    const auto layer0 = [this] {
        const std::vector<uint8_t> all = keyboard->Memory().keymaps;
        return std::vector<uint8_t>(all.begin(), all.begin() + 512);
    };
    const std::vector<uint8_t> keyboardLayer0 = layer0();
    keyboard->dropCommand = CMD_READ_KEYMAP;
    keyboard->dropAddress = 2 * 56;  // bytes 112..167 of layer 0, never answered
    EXPECT_FALSE(transfer.ReadDefaultKeyMap(kProfile));
    EXPECT_EQ(state.unreadLayers.load(), 1u);
    for (const auto& [index, code] : state.maps.indexToCode) {
        if (code == 0xFF || code == 70 || code >= 0xE0) continue;  // not plain key entries
        EXPECT_EQ(Row(0, code).macro_value, code) << "index " << index;
    }
    EXPECT_EQ(LayerRowCount(1, 101), 84);  // the default layers arrived whole

    // An edit of that layer is not sent: the keyboard keeps its own keys.
    SetRow(0, 0x04, KMT_KEY, 0x06);
    keyboard->ClearLog();
    EXPECT_FALSE(transfer.WriteKeyMap(kProfile, 0, kProfile));
    const std::vector<int> commands = Commands();
    EXPECT_EQ(std::count(commands.begin(), commands.end(), CMD_WRITE_KEYMAP), 0);
    EXPECT_EQ(layer0(), keyboardLayer0);
    // Another layer, read whole, is written.
    SetRow(1, 0x04, KMT_CONSUMER, 0xE9);
    EXPECT_TRUE(transfer.WriteKeyMap(kProfile, 1, kProfile));
    EXPECT_EQ(keyboard->KeyEntry(1, IndexOfUsage(0x04)), (Entry{0x30, 0xE9, 0x00}));

    // Answers lost now and then are asked for again: the next read gets the layer whole.
    keyboard->dropCommand = -1;
    keyboard->AddFault(*vkb::ParseFault("no-answer=0x08:3"));
    EXPECT_TRUE(transfer.ReadDefaultKeyMap(kProfile));
    EXPECT_EQ(state.unreadLayers.load(), 0u);
    EXPECT_EQ(Row(0, 0x04).macro_value, 0x05);
    EXPECT_EQ(Row(0, 0x1B).macro_value, 0x05);
}

TEST_F(KeyTableTransferTest, DefaultLayersWithAMissingChunkAreNotStored)
{
    keyboard->dropCommand = CMD_READ_DEFAULT_KEYMAP;
    keyboard->dropAddress = 3 * 512 + 56;
    EXPECT_FALSE(transfer.ReadDefaultKeyMap(kProfile));
    for (int layer = 101; layer <= 107; ++layer) EXPECT_EQ(LayerRowCount(1, layer), 0);
    EXPECT_EQ(state.maps.indexToCode.size(), 84u);
}

TEST_F(KeyTableTransferTest, LayerWriteSendsTheEncodedRowsAtTheirKeyIndexes)
{
    LoadMaps();
    SetRow(2, 0x04, KMT_CONSUMER, 0xE9);
    SetRow(2, 0x05, KMT_KEY, 0x06, 0xE0);
    SetRow(2, 0x06, KMT_MOUSE, 6);
    ASSERT_TRUE(transfer.WriteKeyMap(kProfile, 2, kProfile));

    EXPECT_EQ(keyboard->KeyEntry(2, IndexOfUsage(0x04)), (Entry{0x30, 0xE9, 0x00}));
    EXPECT_EQ(keyboard->KeyEntry(2, IndexOfUsage(0x05)), (Entry{0x10, 0x01, 0x06}));
    EXPECT_EQ(keyboard->KeyEntry(2, IndexOfUsage(0x06)), (Entry{0x21, 0x00, 0xFF}));
    EXPECT_EQ(keyboard->KeyEntry(2, IndexOfUsage(0x29)), (Entry{0, 0, 0})) << "read empty";
    EXPECT_EQ(keyboard->KeyEntry(2, 100), (Entry{0, 0, 0}));  // no key there
    EXPECT_EQ(keyboard->KeyEntry(0, IndexOfUsage(0x04)), (Entry{0x10, 0x00, 0x04}));

    ASSERT_EQ(Commands(), Batch(CMD_WRITE_KEYMAP, 10));
    const std::vector<vkb::RequestRecord> requests = keyboard->Requests();
    for (size_t i = 1; i <= 10; ++i) {
        EXPECT_EQ(requests[i].Address(), 1024 + (i - 1) * 56);
        EXPECT_EQ(requests[i].Length(), i == 10 ? 8 : 56);
        EXPECT_TRUE(requests[i].inBatch);
        EXPECT_TRUE(requests[i].checksumOk);
    }
}

TEST_F(KeyTableTransferTest, LayerZeroIsBuiltOnTheDefaultTable)
{
    LoadMaps();
    KeyMacroRecord row = Row(0, 0x04);
    row.macro_type = KMT_NONE;  // no action of its own: the default stays
    db().UpdateKeyMacro(row);
    SetRow(0, 0x05, KMT_DISABLED, 1);
    keyboard->ModifyMemory([](vkb::KeyboardMemory& m) { m.keymaps.assign(m.keymaps.size(), 0); });
    ASSERT_TRUE(transfer.WriteKeyMap(kProfile, 0, kProfile));

    EXPECT_EQ(keyboard->KeyEntry(0, IndexOfUsage(0x04)), (Entry{0x10, 0x00, 0x04}));
    EXPECT_EQ(keyboard->KeyEntry(0, IndexOfUsage(0x05)), (Entry{0x10, 0x00, 0x00}));
    EXPECT_EQ(keyboard->KeyEntry(0, IndexOfUsage(0xFF)), (Entry{0xF0, 0xFF, 0x01}));
}

TEST_F(KeyTableTransferTest, LayerZeroIsNotSentWhenItsDefaultTableDidNotArrive)
{
    keyboard->dropCommand = CMD_READ_DEFAULT_KEYMAP;
    keyboard->dropAddress = 56;
    EXPECT_FALSE(transfer.WriteKeyMap(kProfile, 0, kProfile));
    // Nine chunks reached the keyboard (the dropped one is not logged); nothing was written.
    EXPECT_EQ(Commands(), Batch(CMD_READ_DEFAULT_KEYMAP, 9));
    EXPECT_TRUE(state.DefaultCacheEmpty());
}

class AdvancedKeyWrites : public KeyTableTransferTest {
protected:
    void SetUp() override
    {
        KeyTableTransferTest::SetUp();
        LoadMaps();
        MagneticKeyRecord dks;
        dks.profile = kProfile;
        dks.macro_type = KMT_DKS;
        dks.key1_value = 0x0102;
        dksId = db().InsertMagneticKey(dks);
        for (int k = 0; k < 4; ++k) {
            KeyItemRecord item;
            item.macro_id = dksId;
            item.key_value = 0x04 + k;
            item.trigger_state1 = 0x11 * (k + 1);
            db().InsertKeyItem(item);
        }
        MagneticKeyRecord toggle;
        toggle.profile = kProfile;
        toggle.macro_type = KMT_TGL;
        toggle.key1_value = 0x2C;
        toggleId = db().InsertMagneticKey(toggle);
        SetRow(1, 0x04, KMT_DKS, dksId);
        SetRow(0, 0x05, KMT_TGL, toggleId);
    }

    int dksId = 0;
    int toggleId = 0;
};

TEST_F(AdvancedKeyWrites, OnlyTheTablesNamedByTheMaskAreSent)
{
    state.advTableMask = ADV_TABLE_DKS;
    ASSERT_TRUE(transfer.WriteKeyMap(kProfile, 1, kProfile));

    std::vector<int> expected = Batch(CMD_WRITE_DKS_TABLE, 14);
    const std::vector<int> keymap = Batch(CMD_WRITE_KEYMAP, 10);
    expected.insert(expected.end(), keymap.begin(), keymap.end());
    EXPECT_EQ(Commands(), expected);
    EXPECT_EQ(state.advTableMask.load(), 0);

    const vkb::KeyboardMemory memory = keyboard->Memory();
    const std::vector<uint8_t> slot(memory.dksTable.begin(), memory.dksTable.begin() + 24);
    EXPECT_EQ(slot, (std::vector<uint8_t>{0x02, 0x01, 0x00, 0x00, 0x10, 0x00, 0x04, 0x11,
                                          0x00, 0x10, 0x00, 0x05, 0x22, 0x00, 0x10, 0x00,
                                          0x06, 0x33, 0x00, 0x10, 0x00, 0x07, 0x44, 0x00}));
    EXPECT_EQ(memory.toggleTable, std::vector<uint8_t>(128, 0));
    EXPECT_EQ(keyboard->KeyEntry(1, IndexOfUsage(0x04)), (Entry{0x90, 0x00, 0x00}));
}

TEST_F(AdvancedKeyWrites, WithoutAMaskOnlyTheBatchMarkersPrecedeTheKeyTable)
{
    ASSERT_TRUE(transfer.WriteKeyMap(kProfile, 0, kProfile));
    std::vector<int> expected = {CMD_BEGIN_BATCH, CMD_END_BATCH};
    const std::vector<int> keymap = Batch(CMD_WRITE_KEYMAP, 10);
    expected.insert(expected.end(), keymap.begin(), keymap.end());
    EXPECT_EQ(Commands(), expected);
    EXPECT_EQ(state.slotMaps.toggle, (AdvancedSlots{{{0x05, toggleId}, 0}}));
    EXPECT_EQ(keyboard->KeyEntry(0, IndexOfUsage(0x05)), (Entry{0x91, 0x00, 0x05}));
}

TEST_F(AdvancedKeyWrites, LayerWriteSendsTheTablesOfThatLayersAdvancedKeys)
{
    ASSERT_TRUE(transfer.WriteLayerKeyMap(kProfile, 0, kProfile));
    std::vector<int> expected = Batch(CMD_WRITE_TOGGLE_TABLE, 3);
    const std::vector<int> keymap = Batch(CMD_WRITE_KEYMAP, 10);
    expected.insert(expected.end(), keymap.begin(), keymap.end());
    EXPECT_EQ(Commands(), expected);
    const vkb::KeyboardMemory memory = keyboard->Memory();
    EXPECT_EQ(std::vector<uint8_t>(memory.toggleTable.begin(), memory.toggleTable.begin() + 3),
              (std::vector<uint8_t>{0x10, 0x00, 0x2C}));
    // The slots are numbered over every layer: layer 1's DKS key has its slot too.
    EXPECT_EQ(state.slotMaps.dks, (AdvancedSlots{{{0x04, dksId}, 0}}));
    EXPECT_EQ(state.advTableMask.load(), 0);
}

TEST_F(AdvancedKeyWrites, ANewAdvancedKeyRewritesTheOtherLayersWhoseSlotsMoved)
{
    ASSERT_TRUE(transfer.WriteKeyMap(kProfile, 1, kProfile));
    EXPECT_EQ(keyboard->KeyEntry(1, IndexOfUsage(0x04)), (Entry{0x90, 0x00, 0x00}));
    // A DKS key on the base layer comes before layer 1's in the rows: layer 1's key moves to
    // slot 1, although only the base layer is shown.
    SetRow(0, 0x06, KMT_DKS, dksId);
    keyboard->ClearLog();
    ASSERT_TRUE(transfer.WriteKeyMap(kProfile, 0, kProfile));
    std::vector<int> expected = Batch(CMD_WRITE_DKS_TABLE, 14);
    for (int layer = 0; layer < 2; ++layer) {
        const std::vector<int> keymap = Batch(CMD_WRITE_KEYMAP, 10);
        expected.insert(expected.end(), keymap.begin(), keymap.end());
    }
    EXPECT_EQ(Commands(), expected);
    EXPECT_EQ(keyboard->KeyEntry(0, IndexOfUsage(0x06)), (Entry{0x90, 0x00, 0x06}));
    EXPECT_EQ(keyboard->KeyEntry(1, IndexOfUsage(0x04)), (Entry{0x90, 0x01, 0x00}));
    const vkb::KeyboardMemory memory = keyboard->Memory();
    EXPECT_EQ(memory.dksTable[24], 0x02) << "slot 1 holds layer 1's key";

    // Nothing moved: the shown layer alone.
    keyboard->ClearLog();
    ASSERT_TRUE(transfer.WriteKeyMap(kProfile, 0, kProfile));
    expected = {CMD_BEGIN_BATCH, CMD_END_BATCH};
    const std::vector<int> keymap = Batch(CMD_WRITE_KEYMAP, 10);
    expected.insert(expected.end(), keymap.begin(), keymap.end());
    EXPECT_EQ(Commands(), expected);

    // A layer asked for is sent beside the shown one.
    keyboard->ClearLog();
    state.pendingLayers = 1u << 5;
    ASSERT_TRUE(transfer.WriteKeyMap(kProfile, 0, kProfile));
    expected.insert(expected.end(), keymap.begin(), keymap.end());
    EXPECT_EQ(Commands(), expected);
    EXPECT_EQ(state.pendingLayers.load(), 0u);
}

TEST_F(AdvancedKeyWrites, NoProfileSendsNothing)
{
    EXPECT_FALSE(transfer.WriteKeyMap(0, 0, 0));
    EXPECT_FALSE(transfer.ReadKeyMap(0));
    EXPECT_TRUE(keyboard->Requests().empty());
}

}  // namespace
