// The worker codes that move switch performance, the settings block, colours and macros,
// run by the main window against the in-process virtual keyboard.
#include <gtest/gtest.h>

#include <array>
#include <map>
#include <vector>

#include "Fault.h"
#include "app/MainWindowTestSupport.h"
#include "device/DeviceKeyPerf.h"
#include "storage/KBDataBase.h"
#include "storage/RecordList.h"

namespace {

using apptest::MainWindowTest;

constexpr int kProfile = 1;

class KeyboardDlgDeviceTablesTest : public MainWindowTest {
protected:
    // A connected window whose load has run, working on profile 1, with the keyboard's log
    // cleared.
    void Connect()
    {
        Plug();
        CreateWindow();
        dlg->page.currentProfile = kProfile;
        ASSERT_TRUE(Drain());
        ASSERT_TRUE(dlg->connection.deviceOpened.load());
        db().InsertDefaultConfig(kProfile);
        keyboard->ClearLog();
    }

    static KBDataBase& db() { return KBDataBase::GetInstance(); }

    void RunCode(int code)
    {
        dlg->QueueCommand(code);
        dlg->Run();
    }

    std::vector<int> Commands() const
    {
        std::vector<int> commands;
        for (const vkb::RequestRecord& r : keyboard->Requests()) commands.push_back(r.Command());
        return commands;
    }

    void InsertPerfRows(int actuation)
    {
        std::vector<KeyPerfRecord> rows;
        for (const auto& [index, code] : dlg->keyTables.maps.indexToCode) {
            KeyPerfRecord row;
            row.profile = kProfile;
            row.key_code = code;
            row.switch_type = 3;
            row.key_mode = 1;
            row.key_actuation = actuation;
            row.rt_press = 5;
            row.rt_release = 5;
            rows.push_back(row);
        }
        db().InsertKeyPerfs(rows);
    }
};

TEST_F(KeyboardDlgDeviceTablesTest, PerformanceAndSettingsCodesReachTheKeyboard)
{
    Connect();
    InsertPerfRows(256);
    ASSERT_TRUE(db().SetConfig(0, L"reporte_rate", L"2"));
    ASSERT_TRUE(db().SetConfig(kProfile, L"perf_bottomrapidtrigger_mode", L"1"));

    RunCode(QCMD_WRITE_KEY_PERF);
    for (const auto& [index, code] : dlg->keyTables.maps.indexToCode) {
        ASSERT_EQ(keyboard->KeyPerf(index), (std::array<uint8_t, 8>{0xA3, 1, 0xFF, 0, 4, 0, 4, 0}))
            << index;
    }

    RunCode(QCMD_WRITE_SETTINGS);
    EXPECT_EQ(keyboard->Settings()[4], 0x02);
    EXPECT_EQ(keyboard->Settings()[7] & 0x0B, 0x02);

    // While calibrating, bit 3 travels in the settings block and the keyboard is told.
    dlg->perf.calibrating = true;
    RunCode(QCMD_SET_CALIBRATION);
    EXPECT_TRUE(keyboard->Calibrating());
    RunCode(QCMD_WRITE_SETTINGS);
    EXPECT_EQ(keyboard->Settings()[7] & 0x08, 0x08);
    dlg->perf.calibrating = false;
    RunCode(QCMD_SET_CALIBRATION);
    EXPECT_FALSE(keyboard->Calibrating());
    RunCode(QCMD_WRITE_SETTINGS);
    EXPECT_EQ(keyboard->Settings()[7] & 0x08, 0);
}

TEST_F(KeyboardDlgDeviceTablesTest, LoadReadsPerformanceAndWritesTheSettings)
{
    Connect();
    InsertPerfRows(75);
    const auto [index, code] = *dlg->keyTables.maps.indexToCode.rbegin();
    keyboard->ModifyMemory([index = index](vkb::KeyboardMemory& m) {
        const std::array<uint8_t, 8> entry{0xA1, 2, 39, 0, 9, 0x06, 9, 0};
        std::copy(entry.begin(), entry.end(), m.keyPerf.begin() + index * 8);
        m.settings[4] = 0x77;
    });
    RunCode(QCMD_LOAD_FROM_DEVICE);

    KeyPerfRecord row;
    std::vector<KeyPerfRecord*> stored;
    db().GetKeyPerfs(kProfile, stored);
    for (const KeyPerfRecord& r : TakeRecords(stored)) {
        if (r.key_code == code) row = r;
    }
    EXPECT_EQ(row.switch_type, 1);
    EXPECT_EQ(row.key_mode, 2);
    EXPECT_EQ(row.key_actuation, 40);
    EXPECT_EQ(row.press_deadzone, 3);
    EXPECT_EQ(row.deadzone_state, 1);
    // The load ends with the settings write from the configuration (report rate "1").
    EXPECT_EQ(keyboard->Settings()[4], 0x01);
    EXPECT_EQ(Commands().back(), CMD_END_BATCH);
}

TEST_F(KeyboardDlgDeviceTablesTest, FailedSettingsReadLeavesTheKeyboardsSettings)
{
    Connect();
    const std::vector<uint8_t> before = keyboard->Settings();
    keyboard->AddFault(*vkb::ParseFault("no-answer=0x05:1"));
    RunCode(QCMD_WRITE_SETTINGS);
    EXPECT_EQ(keyboard->Settings(), before);
    for (const int command : Commands()) EXPECT_NE(command, CMD_WRITE_SETTINGS);
    EXPECT_FALSE(keyboard->InBatch());
}

TEST_F(KeyboardDlgDeviceTablesTest, LightingColourAndMacroCodesReachTheKeyboard)
{
    Connect();
    LightRecord light;
    light.profile = kProfile;
    light.mode = 3;
    light.name = L"1";
    light.brightness = 2;
    light.speed = 3;
    light.color_value = 0x00FF00;
    // The profile's default rows hold the mode already; its fields become the ones above.
    LightRecord stored;
    if (db().GetLight(kProfile, light.mode, stored)) {
        ASSERT_TRUE(db().UpdateLight(light.mode, light));
    } else {
        db().InsertLight(light);
    }
    dlg->page.currentLightMode = 3;
    RunCode(QCMD_WRITE_LIGHTING);
    const std::vector<uint8_t> settings = keyboard->Settings();
    EXPECT_EQ(std::vector<uint8_t>(settings.begin() + 8, settings.begin() + 17),
              (std::vector<uint8_t>{3, 2, 1, 0, 0, 0, 0, 0xFF, 0}));

    const auto [index, code] = *dlg->keyTables.maps.indexToCode.rbegin();
    ASSERT_TRUE(db().DeleteUserLightRgbs(kProfile));
    db().InsertUserLightRgbs({{0, kProfile, kProfile, code, 0x112233}});
    RunCode(QCMD_WRITE_USER_COLORS);
    const std::vector<uint8_t> colors = keyboard->Memory().userColors;
    EXPECT_EQ(std::vector<uint8_t>(colors.begin() + index * 3, colors.begin() + index * 3 + 3),
              (std::vector<uint8_t>{0x33, 0x22, 0x11}));

    const int macro = db().InsertNewMacro(L"M");
    MacroStepRecord step;
    step.macro_id = macro;
    step.type = 3;
    step.value = 'B';
    step.delay_time = 7;
    db().InsertMacroStep(step);
    RunCode(QCMD_WRITE_MACROS);
    const std::vector<uint8_t> image = keyboard->Memory().macros;
    // A key release that ends its macro carries the end mark.
    EXPECT_EQ(std::vector<uint8_t>(image.begin() + 64, image.begin() + 68),
              (std::vector<uint8_t>{7, 0, 0x82, 0x05}));
}

TEST_F(KeyboardDlgDeviceTablesTest, CodesWithoutKeyboardSendNothing)
{
    Connect();
    InsertPerfRows(75);
    dlg->connection.deviceOpened = false;
    for (const int code : {QCMD_WRITE_KEY_PERF, QCMD_WRITE_SETTINGS, QCMD_SET_CALIBRATION,
                           QCMD_WRITE_LIGHTING, QCMD_WRITE_USER_COLORS, QCMD_WRITE_MACROS}) {
        RunCode(code);
    }
    EXPECT_TRUE(keyboard->Requests().empty());
}

}  // namespace
