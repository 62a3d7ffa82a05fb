// The performance, settings-block, colour and macro exchanges against the virtual keyboard,
// with a real settings database.
#include <gtest/gtest.h>

#include <array>
#include <map>
#include <span>
#include <vector>

#include "device/ColorTransfer.h"
#include "device/DeviceKeyPerf.h"
#include "device/DeviceManager.h"
#include "device/KeyPerfTransfer.h"
#include "device/MacroTransfer.h"
#include "device/SettingsTransfer.h"
#include "storage/RecordList.h"
#include "storage/StorageFixture.h"
#include "virtual-keyboard/Fault.h"
#include "virtual-keyboard/VirtualHidBackend.h"
#include "virtual-keyboard/VirtualKeyboard.h"

namespace {

constexpr int kProfile = 1;

class TableTransferTest : public storage_test::StorageTest {
protected:
    void SetUp() override
    {
        StorageTest::SetUp();
        hid::SetBackend(&backend);
        backend.Plug(keyboard);
        manager.AddSupportedDevice(0x3B6D, 0xFD70, L"Morvessa Keyboard", 101, 0);
        manager.Rescan();
        ASSERT_NE(manager.GetCurrentHandle(), nullptr);
        const std::vector<uint8_t> defaults = keyboard->Memory().defaultKeymaps;
        BuildKeyIndexMaps(std::span<const uint8_t>(defaults.data(), vkb::kLayerTableSize), maps);
        ASSERT_GT(maps.indexToCode.size(), 60u);
        keyboard->ClearLog();
    }

    void TearDown() override
    {
        manager.SetConnected(true);
        manager.CloseAllDevices();
        hid::SetBackend(nullptr);
        StorageTest::TearDown();
    }

    std::vector<int> Commands() const
    {
        std::vector<int> commands;
        for (const vkb::RequestRecord& r : keyboard->Requests()) commands.push_back(r.Command());
        return commands;
    }

    std::vector<int> Lengths(int command) const
    {
        std::vector<int> lengths;
        for (const vkb::RequestRecord& r : keyboard->Requests()) {
            if (r.Command() == command) lengths.push_back(r.Length());
        }
        return lengths;
    }

    static std::vector<int> Batch(std::vector<int> inner)
    {
        inner.insert(inner.begin(), CMD_BEGIN_BATCH);
        inner.push_back(CMD_END_BATCH);
        return inner;
    }

    void Fault(const std::string& rule) { keyboard->AddFault(*vkb::ParseFault(rule)); }

    // One row per mapped key of profile, as a new profile gets them.
    void InsertPerfRows()
    {
        std::vector<KeyPerfRecord> rows;
        for (const auto& [index, code] : maps.indexToCode) {
            KeyPerfRecord row;
            row.profile = kProfile;
            row.key_code = code;
            row.switch_type = 3;
            row.key_mode = 1;
            row.key_actuation = 75;
            row.rt_press = 5;
            row.rt_release = 5;
            rows.push_back(row);
        }
        db().InsertKeyPerfs(rows);
    }

    std::map<int, KeyPerfRecord> PerfRows()
    {
        std::vector<KeyPerfRecord*> stored;
        db().GetKeyPerfs(kProfile, stored);
        std::map<int, KeyPerfRecord> rows;
        for (const KeyPerfRecord& row : TakeRecords(stored)) rows[row.key_code] = row;
        return rows;
    }

    void SetConfig(int profile, const wchar_t* key, const wchar_t* value)
    {
        ASSERT_TRUE(db().SetConfig(profile, key, value)) << key;
    }

    vkb::VirtualHidBackend backend;
    std::shared_ptr<vkb::VirtualKeyboard> keyboard = std::make_shared<vkb::VirtualKeyboard>();
    DeviceManager manager;
    KeyIndexMaps maps;
    KeyPerfState perf;
    std::vector<int> pauses;
    SettingsTransfer::Pause pause = [this](int ms) { pauses.push_back(ms); };
};

TEST_F(TableTransferTest, PerformanceWriteSendsEveryRowAtItsKeyIndex)
{
    InsertPerfRows();
    const int first = maps.CodeAt(maps.indexToCode.begin()->first);
    KeyPerfRecord row = PerfRows()[first];
    row.key_actuation = 256;
    row.rt_press = 512;
    row.deadzone_state = 1;
    row.press_deadzone = 3;
    db().UpdateKeyPerfs({row});
    // A key index past the table (the maps reach 143) is never written.
    maps.codeToIndex[0x99] = 140;
    KeyPerfRecord outside = row;
    outside.key_code = 0x99;
    db().InsertKeyPerfs({outside});

    KeyPerfTransfer transfer(manager, db(), maps, perf);
    ASSERT_TRUE(transfer.WriteToDevice(kProfile));

    EXPECT_EQ(Commands(), Batch(std::vector<int>(19, CMD_WRITE_KEY_PERF)));
    EXPECT_EQ(Lengths(CMD_WRITE_KEY_PERF).back(), 16);
    const int firstIndex = maps.IndexOf(first);
    EXPECT_EQ(keyboard->KeyPerf(firstIndex),
              (std::array<uint8_t, 8>{0xA3, 1, 0xFF, 0x00, 0xFF, 0x07, 4, 0}));
    for (const auto& [index, code] : maps.indexToCode) {
        if (index == firstIndex) continue;
        EXPECT_EQ(keyboard->KeyPerf(index), (std::array<uint8_t, 8>{0xA3, 1, 74, 0, 4, 0, 4, 0}))
            << index;
    }
    EXPECT_EQ(perf.switchTypeByCode.size(), maps.indexToCode.size());
    EXPECT_EQ(perf.switchTypeByCode.count(0x99), 0u);
}

TEST_F(TableTransferTest, PerformanceWriteWithoutRowsSendsNothing)
{
    KeyPerfTransfer transfer(manager, db(), maps, perf);
    EXPECT_FALSE(transfer.WriteToDevice(kProfile));
    EXPECT_FALSE(transfer.WriteToDevice(0));
    EXPECT_TRUE(keyboard->Requests().empty());
}

TEST_F(TableTransferTest, PerformanceReadTakesTheTableOnlyWholeAndAsksForLostChunksAgain)
{
    InsertPerfRows();
    const auto [lowIndex, lowCode] = *maps.indexToCode.begin();     // in chunk 0
    const auto [highIndex, highCode] = *maps.indexToCode.rbegin();  // in a later chunk
    ASSERT_LT(lowIndex * 8, 56);
    ASSERT_GE(highIndex * 8, 56);
    keyboard->ModifyMemory([&](vkb::KeyboardMemory& m) {
        for (const int index : {lowIndex, highIndex}) {
            const std::array<uint8_t, 8> entry{0xA4, 2, 0xFF, 0, 4, 0x06, 9, 0};
            std::copy(entry.begin(), entry.end(), m.keyPerf.begin() + index * 8);
        }
    });
    KeyPerfTransfer transfer(manager, db(), maps, perf);

    // The keyboard answers nothing: nothing is stored, and the table is not written over the
    // keyboard's own.
    Fault("no-answer=0xA0");
    EXPECT_FALSE(transfer.ReadFromDevice(kProfile));
    EXPECT_EQ(Commands(), Batch(std::vector<int>(19, CMD_READ_KEY_PERF)));
    for (const auto& [code, row] : PerfRows()) {
        EXPECT_EQ(row.key_actuation, 75) << code;
        EXPECT_EQ(row.switch_type, 3) << code;
    }
    keyboard->ClearLog();
    EXPECT_FALSE(transfer.WriteToDevice(kProfile));
    EXPECT_TRUE(keyboard->Requests().empty());
    EXPECT_EQ(keyboard->KeyPerf(highIndex)[2], 0xFF);

    // Two answers lost: their chunks are asked for again and the table is taken whole.
    keyboard->ClearFaults();
    Fault("no-answer=0xA0:2");
    keyboard->ClearLog();
    EXPECT_TRUE(transfer.ReadFromDevice(kProfile));
    EXPECT_EQ(Commands(), Batch(std::vector<int>(21, CMD_READ_KEY_PERF)));
    EXPECT_EQ(keyboard->Requests()[20].Address(), 0) << "the lost chunks again, in order";
    EXPECT_EQ(keyboard->Requests()[21].Address(), 56);
    std::map<int, KeyPerfRecord> rows = PerfRows();
    for (const int code : {lowCode, highCode}) {
        const KeyPerfRecord& row = rows[code];
        EXPECT_EQ(row.switch_type, 4) << code;
        EXPECT_EQ(row.key_mode, 2);
        EXPECT_EQ(row.key_actuation, 256);
        EXPECT_EQ(row.rt_press, 5);
        EXPECT_EQ(row.press_deadzone, 3);
        EXPECT_EQ(row.rt_release, 10);
        EXPECT_EQ(row.deadzone_state, 1);
    }
    {
        std::lock_guard lock(perf.mutex);
        EXPECT_EQ(perf.slots[highIndex].key_code, highCode);
        EXPECT_EQ(perf.slots[highIndex].profile, kProfile);
        EXPECT_FALSE(perf.unread);
    }
    EXPECT_TRUE(transfer.WriteToDevice(kProfile));
}

TEST_F(TableTransferTest, DeviceProfileReadTakesItsOwnTableWithoutBatch)
{
    InsertPerfRows();
    const auto [index, code] = *maps.indexToCode.rbegin();
    keyboard->ModifyMemory([&](vkb::KeyboardMemory& m) {
        const std::array<uint8_t, 8> entry{0xA2, 0, 9, 0, 4, 0x06, 4, 0};
        std::copy(entry.begin(), entry.end(), m.keyPerf.begin() + index * 8);
    });
    KeyPerfTransfer transfer(manager, db(), maps, perf);
    ASSERT_TRUE(transfer.ReadDeviceProfile(kProfile, 2));
    EXPECT_EQ(Commands(), std::vector<int>(19, CMD_READ_KEY_PERF));
    EXPECT_EQ(keyboard->Requests().front().Address(), 2048);
    const KeyPerfRecord row = PerfRows()[code];
    EXPECT_EQ(row.switch_type, 2);
    EXPECT_EQ(row.key_actuation, 10);
    EXPECT_EQ(row.press_deadzone, 3);
}

TEST_F(TableTransferTest, SettingsWritePatchesTheSwitchBytesAndKeepsTheRest)
{
    db().InsertDefaultConfig(kProfile);
    SetConfig(0, L"reporte_rate", L"3");
    SetConfig(0, L"tick_rate", L"1");
    SetConfig(0, L"dead_zone", L"1");
    SetConfig(0, L"disable_alttab", L"1");
    SetConfig(0, L"perf_tachyon_mode", L"1");
    SetConfig(0, L"debounce_level", L"2");
    SetConfig(kProfile, L"perf_bottomrapidtrigger_mode", L"1");
    keyboard->ModifyMemory([](vkb::KeyboardMemory& m) { m.settings[7] = 0xFF; });
    const std::vector<uint8_t> before = keyboard->Settings();

    SettingsTransfer transfer(manager, db(), pause);
    ASSERT_TRUE(transfer.WriteSwitchSettings(kProfile, false));

    EXPECT_EQ(Commands(), Batch({CMD_READ_SETTINGS, CMD_WRITE_SETTINGS}));
    EXPECT_EQ(pauses, std::vector<int>{kSettingsStorePauseMs});
    const std::vector<uint8_t> after = keyboard->Settings();
    for (size_t k = 0; k < after.size(); ++k) {
        if (k >= 4 && k <= 7) continue;
        EXPECT_EQ(after[k], before[k]) << "byte " << k;
    }
    EXPECT_EQ(after[4], 0x13);
    EXPECT_EQ(after[5], 1);
    EXPECT_EQ(after[6], 0x02);
    // Calibration bit cleared though it was set; bits 2 and 4 as they were.
    EXPECT_EQ(after[7], 0x14 | 0x01 | 0x02 | 0x40);
}

LightRecord Light(int profile, int mode)
{
    LightRecord light;
    light.profile = profile;
    light.mode = mode;
    light.name = L"1";
    light.brightness = 3;
    light.speed = 1;
    light.direction = 1;
    light.colorful = 0;
    light.colorindex = 2;
    light.color_value = 0x0000FF;
    return light;
}

TEST_F(TableTransferTest, FailedSettingsReadWritesNothingAndEndsTheBatch)
{
    db().InsertDefaultConfig(kProfile);
    LightRecord light = Light(kProfile, 5);
    db().InsertLight(light);
    Fault("no-answer=0x05:2");
    const std::vector<uint8_t> before = keyboard->Settings();
    SettingsTransfer transfer(manager, db(), pause);
    EXPECT_FALSE(transfer.WriteSwitchSettings(kProfile, true));
    EXPECT_FALSE(transfer.WriteLighting(kProfile, 5));
    EXPECT_TRUE(pauses.empty());
    for (const int command : Commands()) EXPECT_NE(command, CMD_WRITE_SETTINGS);
    EXPECT_EQ(keyboard->Settings(), before);
    EXPECT_FALSE(keyboard->InBatch());
    EXPECT_EQ(keyboard->BatchesBegun(), keyboard->BatchesEnded());
}

TEST_F(TableTransferTest, LightingWriteAndReadMoveBytesEightToSixteen)
{
    LightRecord light = Light(kProfile, 5);
    db().InsertLight(light);
    LightRecord other = Light(kProfile, 7);
    db().InsertLight(other);
    const std::vector<uint8_t> before = keyboard->Settings();

    SettingsTransfer transfer(manager, db(), pause);
    ASSERT_TRUE(transfer.WriteLighting(kProfile, 5));
    std::vector<uint8_t> after = keyboard->Settings();
    EXPECT_EQ(std::vector<uint8_t>(after.begin() + 8, after.begin() + 17),
              (std::vector<uint8_t>{5, 3, 3, 1, 0, 2, 0xFF, 0, 0}));
    EXPECT_EQ(std::vector<uint8_t>(after.begin(), after.begin() + 8),
              std::vector<uint8_t>(before.begin(), before.begin() + 8));

    // The keyboard switched to mode 7 with its own fields and colours.
    const auto [index, code] = *maps.indexToCode.rbegin();
    keyboard->ModifyMemory([&](vkb::KeyboardMemory& m) {
        const std::vector<uint8_t> fields{7, 1, 4, 0, 1, 3, 0x10, 0x20, 0x30};
        std::copy(fields.begin(), fields.end(), m.settings.begin() + 8);
        m.userColors[index * 3] = 0x12;
    });
    ASSERT_TRUE(transfer.ReadLighting(kProfile, maps));
    EXPECT_EQ(db().GetActiveLightMode(kProfile), 7);
    LightRecord read;
    ASSERT_TRUE(db().GetLight(kProfile, 7, read));
    EXPECT_EQ(read.brightness, 1);
    EXPECT_EQ(read.speed, 0);
    EXPECT_EQ(read.colorful, 1);
    EXPECT_EQ(read.colorindex, 3);
    EXPECT_EQ(read.color_value, 0x302010);
    std::vector<UserLightRgbRecord*> stored;
    db().GetUserLightRgbs(kProfile, stored);
    const std::vector<UserLightRgbRecord> colors = TakeRecords(stored);
    EXPECT_EQ(colors.size(), maps.indexToCode.size());
    for (const UserLightRgbRecord& row : colors) {
        EXPECT_EQ(row.key_rgb, row.key_code == code ? 0xFFFF12 : 0xFFFFFF) << row.key_code;
    }
}

TEST_F(TableTransferTest, UserColoursAreStoredOnlyWhenTheyArriveWhole)
{
    const auto [lowIndex, lowCode] = *maps.indexToCode.begin();
    const int highCode = maps.indexToCode.rbegin()->second;
    db().InsertUserLightRgbs({{0, kProfile, kProfile, lowCode, 0x0000AA}});
    SettingsTransfer transfer(manager, db(), pause);
    const auto colors = [this] {
        std::vector<UserLightRgbRecord*> stored;
        db().GetUserLightRgbs(kProfile, stored);
        std::map<int, int> byCode;
        for (const UserLightRgbRecord& row : TakeRecords(stored))
            byCode[row.key_code] = row.key_rgb;
        return byCode;
    };
    Fault("no-answer=0x0A");
    EXPECT_FALSE(transfer.ReadLighting(kProfile, maps));
    EXPECT_EQ(colors(), (std::map<int, int>{{lowCode, 0x0000AA}}));
    EXPECT_FALSE(keyboard->InBatch());

    // A lost answer is asked for again.
    keyboard->ClearFaults();
    Fault("no-answer=0x0A:1");
    EXPECT_TRUE(transfer.ReadLighting(kProfile, maps));
    EXPECT_EQ(colors()[lowCode], 0xFFFFFF);
    EXPECT_EQ(colors()[highCode], 0xFFFFFF);
    EXPECT_EQ(colors().size(), maps.indexToCode.size());
}

TEST_F(TableTransferTest, UserColoursGoToTheirKeyIndexes)
{
    const auto [index, code] = *maps.indexToCode.rbegin();
    maps.codeToIndex[0x99] = 141;
    db().InsertUserLightRgbs(
        {{0, kProfile, kProfile, code, 0x030201}, {0, kProfile, kProfile, 0x99, 0x030201}});
    std::vector<KeyColor> sent;
    ASSERT_TRUE(ColorTransfer(manager, maps).WriteUserColors(db(), kProfile, sent));
    EXPECT_EQ(Commands(), Batch(std::vector<int>(7, CMD_WRITE_USER_COLORS)));
    EXPECT_EQ(Lengths(CMD_WRITE_USER_COLORS).back(), 48);
    EXPECT_EQ(sent, (std::vector<KeyColor>{{code, 0x030201}}));
    const std::vector<uint8_t> colors = keyboard->Memory().userColors;
    EXPECT_EQ(std::vector<uint8_t>(colors.begin() + index * 3, colors.begin() + index * 3 + 3),
              (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(std::count(colors.begin(), colors.end(), 0), 381);
}

TEST_F(TableTransferTest, LiveColoursReadWholeOrNotAtAll)
{
    const auto [index, code] = *maps.indexToCode.rbegin();
    keyboard->ModifyMemory([&](vkb::KeyboardMemory& m) {
        m.liveColors[index * 3] = 85;
        m.liveColors[index * 3 + 1] = 30;
        m.liveColors[index * 3 + 2] = 0;
    });
    std::vector<KeyColor> colors;
    ColorTransfer transfer(manager, maps);
    ASSERT_TRUE(transfer.ReadLiveColors(true, colors));
    EXPECT_EQ(colors.size(), maps.indexToCode.size());
    EXPECT_EQ(std::count(colors.begin(), colors.end(), KeyColor{code, 255 | 90 << 8}), 1);

    keyboard->ClearLog();
    Fault("no-answer=0xDE:1");
    EXPECT_FALSE(transfer.ReadLiveColors(false, colors));
    EXPECT_TRUE(colors.empty());
    EXPECT_EQ(Commands(), Batch({CMD_READ_LIVE_COLORS}));
}

TEST_F(TableTransferTest, LiveColourWriteStopsAtTheFirstFailureAndEndsItsBatch)
{
    const auto [index, code] = *maps.indexToCode.rbegin();
    ColorTransfer transfer(manager, maps);
    ASSERT_TRUE(transfer.WriteLiveColors({{code, 0x102030}, {0x99, 1}}));
    EXPECT_EQ(keyboard->Memory().liveColors[index * 3], 0x30);

    keyboard->ClearLog();
    Fault("fail-write=0xDD:3");
    EXPECT_FALSE(transfer.WriteLiveColors({{code, 0}}));
    EXPECT_EQ(Commands(), (std::vector<int>{CMD_BEGIN_BATCH, CMD_END_BATCH}))
        << "the chunks stop at the failed one; the batch still ends";
    EXPECT_FALSE(keyboard->InBatch());
}

TEST_F(TableTransferTest, MacroImageChunksFollowTheUsedLength)
{
    struct Case {
        int steps;
        std::vector<int> lengths;
    };
    for (const Case& c : {Case{0, {56, 12}}, Case{11, {56, 52}}, Case{12, {56, 56}}}) {
        std::vector<MacroRecord*> old;
        db().GetMacros(old);
        for (const MacroRecord& m : TakeRecords(old)) db().DeleteMacro(m.macro_id);
        if (c.steps > 0) {
            const int id = db().InsertNewMacro(L"M");
            for (int s = 0; s < c.steps; ++s) {
                MacroStepRecord step;
                step.macro_id = id;
                step.type = s % 2 == 0 ? 2 : 3;
                step.record_index = s;
                step.value = 'A';
                step.delay_time = 10;
                db().InsertMacroStep(step);
            }
        }
        keyboard->ClearLog();
        ASSERT_TRUE(WriteMacrosToKeyboard(manager, db())) << c.steps;
        EXPECT_EQ(Lengths(CMD_WRITE_MACROS), c.lengths) << c.steps;
        const std::vector<uint8_t> image = keyboard->Memory().macros;
        EXPECT_EQ(image[0], 0x40);
        if (c.steps == 11) {
            EXPECT_EQ(std::vector<uint8_t>(image.begin() + 104, image.begin() + 108),
                      (std::vector<uint8_t>{10, 0, 0x42, 0x04}))
                << "a key press at the end carries no end mark";
        }
    }
}

}  // namespace
