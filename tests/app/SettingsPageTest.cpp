// The settings page driven through its controls' notifications against the in-process virtual
// keyboard: the keyboard-wide settings end in the keyboard's settings block, the program's
// preferences in the registry file and the autostart entry, the language in every text of the
// window, and a factory reset in the keyboard's and the database's defaults.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "app/AppTestSupport.h"
#include "app/CUIMessageBox.h"
#include "app/Environment.h"
#include "app/Language.h"
#include "app/MainWindowTestSupport.h"
#include "app/RegistrySettings.h"
#include "device/DeviceManager.h"
#include "macros/KeyTestDlg.h"
#include "platform/mui/KeyHook.h"
#include "platform/mui/KeyHookManager.h"
#include "platform/mui/KeyboardCtrl.h"
#include "platform/mui/KeyboardTestCtrl.h"
#include "platform/mui/MComboBox.h"
#include "platform/os/XdgPaths.h"
#include "platform/text/Utf8.h"
#include "storage/KBDataBase.h"
#include "storage/StorageFixture.h"
#include "support/ModalWindow.h"

namespace {

using apptest::MainWindowTest;
using namespace MainId;

// What a control shows: its caption, its tooltip and the texts of its items.
using ShownTexts = std::map<unsigned, std::wstring>;

ShownTexts TextsOf(const MUI::MDialog& window)
{
    ShownTexts texts;
    for (MUI::MControl* control : window.GetControls()) {
        std::wstring shown = control->GetTitle() + L"|" + control->GetTooltip();
        if (const auto* list = dynamic_cast<const MUI::MComboBox*>(control)) {
            for (int i = 0; i < list->GetItemCount(); ++i) shown += L"|" + list->GetItemText(i);
        }
        texts[control->GetID()] = shown;
    }
    return texts;
}

std::string FileText(const std::filesystem::path& path)
{
    std::ifstream file(path);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

class SettingsPageTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        // The languages the program's configuration lists.
        SupportedLanguages = {1033, 2052};
        CurrentLanguageId = 1033;
    }
    void TearDown() override
    {
        MainWindowTest::TearDown();
        CurrentLanguageId = 1033;
        SupportedLanguages.clear();
        setenv("TOLVENIC_TEST_SYSTEM_TRAY", "1", 1);
    }

    // A click on a check box or radio button: its check as a click leaves it, then its
    // notification.
    void Click(unsigned id)
    {
        auto* box = dlg->GetControlAs<MUI::CCheckButton>(id);
        ASSERT_NE(box, nullptr) << id;
        box->SetCheck(dynamic_cast<MUI::CRadioButton*>(box) != nullptr || !box->GetCheck());
        dlg->OnMessage(id, MUI::kNotifyClick, 0);
    }
    void Pick(unsigned id, int index) { dlg->GetControlAs<MUI::MComboBox>(id)->PickItem(index); }
    bool Checked(unsigned id) { return dlg->GetControlAs<MUI::CCheckButton>(id)->GetCheck(); }
    bool Enabled(unsigned id) { return dlg->GetControl(id)->IsEnabled(); }

    // Answers the next message box with the button; its text goes to shownMessage.
    void AnswerMessageBox(unsigned button)
    {
        testsupport::WhenModalWindowUp(L"MessageBox", [this, button](HWND hwnd) {
            auto* box = dynamic_cast<CUIMessageBox*>(MUI::MWindow::FromHandle(hwnd));
            shownMessage = box->Message();
            box->OnMessage(button, MUI::kNotifyClick, 0);
        });
    }
    std::wstring shownMessage;

    static std::string Registry() { return FileText(apptest::RegistryFile()); }
    static std::filesystem::path AutostartEntry()
    {
        return std::filesystem::path(os::ConfigHome()) / "autostart" /
               (os::SafeFileName(MUI::Manager::GetDeviceName()) + ".desktop");
    }
    static std::wstring Config(const wchar_t* key)
    {
        std::wstring value;
        KBDataBase::GetInstance().GetConfig(0, key, value);
        return value;
    }
};

TEST_F(SettingsPageTest, KeyboardSettingsEndInTheSettingsBlockAndComeBackOnLoad)
{
    Plug();
    CreateWindow();
    ASSERT_TRUE(Drain());
    ASSERT_TRUE(dlg->connection.deviceOpened.load());
    Pick(kTickRateCombo, 2);     // data 2
    Pick(kDebounceCombo, 1);     // data 1
    Pick(kReportRateCombo, 3);   // data 4
    Pick(kTachyonModeCombo, 1);  // data 1
    EXPECT_EQ(TakeQueue(), (std::vector<int>{QCMD_WRITE_SETTINGS, QCMD_WRITE_SETTINGS,
                                             QCMD_WRITE_SETTINGS, QCMD_WRITE_SETTINGS}));
    EXPECT_EQ(Config(L"tick_rate"), L"2");
    EXPECT_EQ(Config(L"debounce_level"), L"1");
    EXPECT_EQ(Config(L"reporte_rate"), L"4");
    EXPECT_EQ(Config(L"perf_tachyon_mode"), L"1");
    dlg->QueueCommand(QCMD_WRITE_SETTINGS);
    ASSERT_TRUE(Drain());
    const std::vector<uint8_t> block = keyboard->Settings();
    EXPECT_EQ(block[4], 0x24) << "report rate 4, tick rate 2";
    EXPECT_EQ(block[7] & 0x01, 0x01) << "tachyon mode";
    EXPECT_EQ(block[7] >> 5, 1) << "debounce level";

    // A load shows what the database holds.
    for (unsigned id : {kTickRateCombo, kDebounceCombo, kReportRateCombo, kTachyonModeCombo}) {
        dlg->GetControlAs<MUI::MComboBox>(id)->SetCurSel(0);
    }
    dlg->LoadSettingsPage();
    EXPECT_EQ(dlg->ui.tickRateCombo->GetCurData(), 2);
    EXPECT_EQ(dlg->ui.debounceCombo->GetCurData(), 1);
    EXPECT_EQ(dlg->ui.reportRateCombo->GetCurData(), 4);
    EXPECT_EQ(dlg->ui.tachyonModeCombo->GetCurData(), 1);
    EXPECT_EQ(dlg->ui.settings.firmwareVersion->GetTitle(),
              DeviceManager::GetInstance().GetFirmwareVersion());
}

TEST_F(SettingsPageTest, OutOfRangeStoredValuesNeverReachTheKeyboard)
{
    Plug();
    CreateWindow();
    ASSERT_TRUE(Drain());
    KBDataBase& db = KBDataBase::GetInstance();
    // A stored setting that is no number of its range goes to the keyboard as its default
    // (report rate 1, everything else 0); the user's edit of another setting sends the block.
    const struct {
        const wchar_t* key;
        const wchar_t* value;
        int rates;        // data byte 4
        int deadZone;     // data byte 5
        int switchModes;  // data byte 7, the program's bits
    } cases[] = {
        {L"tick_rate", L"2", 0x21, 0, 0},  // in range: sent as stored
        {L"tick_rate", L"99999999999999999999", 0x01, 0, 0},
        {L"tick_rate", L"-1", 0x01, 0, 0},
        {L"tick_rate", L"3", 0x01, 0, 0},
        {L"reporte_rate", L"100000", 0x01, 0, 0},
        {L"reporte_rate", L"0", 0x01, 0, 0},
        {L"reporte_rate", L"4x", 0x01, 0, 0},
        {L"dead_zone", L"100000", 0x01, 0, 0},
        {L"dead_zone", L"-1", 0x01, 0, 0},
        {L"debounce_level", L"100000", 0x01, 0, 0},
        {L"debounce_level", L"-1", 0x01, 0, 0},
        {L"perf_tachyon_mode", L"-1", 0x01, 0, 0},
        {L"perf_tachyon_mode", L"100000", 0x01, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(text::WideToUtf8(c.key) + " = " + text::WideToUtf8(c.value));
        for (const wchar_t* key : {L"tick_rate", L"reporte_rate", L"dead_zone", L"debounce_level",
                                   L"perf_tachyon_mode"}) {
            db.SetConfig(0, key, key == std::wstring(L"reporte_rate") ? L"1" : L"0");
        }
        db.SetConfig(0, c.key, c.value);
        Click(kSetAltTabSwitch);
        ASSERT_TRUE(Drain());
        const std::vector<uint8_t> block = keyboard->Settings();
        EXPECT_EQ(block[4], c.rates);
        EXPECT_EQ(block[5], c.deadZone);
        EXPECT_EQ(block[7] & 0xE9, c.switchModes);
    }

    // A key's stored performance row: each distance and dead zone is held to what its bits
    // carry, an unknown switch type or mode is sent as 0.
    const int profile = dlg->page.currentProfile.load();
    const int code = dlg->keyPage.keyboard->GetKeyItems().front().code;
    storage_test::Exec(db.GetDbPath(),
                       "UPDATE t_key_perf_data SET switch_type = 100000, key_mode = -1, "
                       "key_actuation = 100000, rt_press = -1, rt_release = 100000, "
                       "deadzone_state = 1, press_deadzone = 100000, release_deadzone = -1 "
                       "WHERE profile = " +
                           std::to_string(profile) + " AND key_code = " + std::to_string(code));
    dlg->QueueCommand(QCMD_WRITE_KEY_PERF);
    ASSERT_TRUE(Drain());
    EXPECT_EQ(keyboard->KeyPerf(static_cast<size_t>(dlg->keyTables.maps.IndexOf(code))),
              (std::array<uint8_t, 8>{0xA0, 0x00, 0xFF, 0x01, 0x00, 0xFE, 0xFF, 0x01}));
}

TEST_F(SettingsPageTest, KeyLocksAreStoredAndComeBackOnLoad)
{
    Plug();
    CreateWindow();
    ASSERT_TRUE(Drain());
    KBDataBase::GetInstance().SetConfig(0, L"disable_win", L"1");
    KBDataBase::GetInstance().SetConfig(0, L"disable_altf4", L"1");
    dlg->LoadSettingsPage();
    EXPECT_TRUE(Checked(kSetWinLockSwitch));
    EXPECT_FALSE(Checked(kSetAltTabSwitch));
    EXPECT_TRUE(Checked(kSetAltF4Switch));
    Click(kSetAltF4Switch);
    Click(kSetAltTabSwitch);
    EXPECT_EQ(Config(L"disable_altf4"), L"0");
    EXPECT_EQ(Config(L"disable_alttab"), L"1");
    EXPECT_EQ(TakeQueue(), (std::vector<int>{QCMD_WRITE_SETTINGS, QCMD_WRITE_SETTINGS}));
}

TEST_F(SettingsPageTest, StartupAndCloseChoicesEndInTheRegistryFileAndTheAutostartEntry)
{
    CreateWindow();
    ASSERT_FALSE(Enabled(kSetAutorunMinimize));
    Click(kSetAutorunCheck);
    const std::string entry = FileText(AutostartEntry());
    // The running program's folder (that the entry starts an installed program is the install
    // test's).
    EXPECT_NE(entry.find("Exec=" + text::WideToUtf8(GetProgramFolder()) + "Tolvenic -autorun"),
              std::string::npos)
        << entry;
    EXPECT_TRUE(Enabled(kSetAutorunMinimize));
    Click(kSetAutorunMinimize);
    EXPECT_NE(Registry().find("autorun_minimize=1"), std::string::npos) << Registry();

    // Autostart off: the entry goes, start hidden is turned off and no longer offered.
    Click(kSetAutorunCheck);
    EXPECT_FALSE(std::filesystem::exists(AutostartEntry()));
    EXPECT_FALSE(Checked(kSetAutorunMinimize));
    EXPECT_FALSE(Enabled(kSetAutorunMinimize));
    EXPECT_NE(Registry().find("autorun_minimize=0"), std::string::npos) << Registry();

    Click(kSetExitToTray);
    EXPECT_NE(Registry().find("exit_mode=1"), std::string::npos) << Registry();
    EXPECT_FALSE(Checked(kSetExitProgram));
    Click(kSetExitProgram);
    EXPECT_NE(Registry().find("exit_mode=0"), std::string::npos) << Registry();
    EXPECT_FALSE(Checked(kSetExitToTray));
}

TEST_F(SettingsPageTest, WithoutATrayNeitherStartHiddenNorCloseToTrayIsOffered)
{
    setenv("TOLVENIC_TEST_SYSTEM_TRAY", "0", 1);
    SetRegString(L"exit_mode", L"1");
    CreateWindow();
    EXPECT_FALSE(Enabled(kSetExitToTray));
    EXPECT_TRUE(Checked(kSetExitProgram));
    Click(kSetAutorunCheck);
    EXPECT_TRUE(std::filesystem::exists(AutostartEntry()));
    EXPECT_FALSE(Enabled(kSetAutorunMinimize)) << "a hidden start could not be undone";
    // A stored "close to tray" from a desktop with a tray ends the program instead.
    dlg->ShowWindow(SW_SHOW);
    dlg->OnMessage(kCloseButton, MUI::kNotifyClick, 0);
    EXPECT_EQ(Exits(), std::vector<int>{0});
    Click(kSetAutorunCheck);
}

TEST_F(SettingsPageTest, LanguageChoiceRelabelsEveryTextAsAStartInThatLanguageShowsIt)
{
    CreateWindow();
    const ShownTexts english = TextsOf(*dlg);
    MUI::MComboBox* languages = dlg->ui.settings.languageCombo;
    ASSERT_EQ(languages->GetItemCount(), 2);
    ASSERT_EQ(languages->GetItemData(1), 2052);
    Pick(kSetLanguageCombo, 1);
    EXPECT_EQ(CurrentLanguageId.load(), 2052);
    EXPECT_NE(Registry().find("LCID=2052"), std::string::npos) << Registry();

    // A window started in Chinese, its texts applied once more as a change applies them.
    KeyboardDlg started;
    started.running = 1;  // no worker of its own
    ASSERT_NE(started.Create(nullptr, L"Started", WS_POPUP, 0, RECT{0, 0, 1600, 970}), nullptr);
    started.ApplyLanguageTexts();
    const ShownTexts chinese = TextsOf(started);
    const ShownTexts switched = TextsOf(*dlg);
    int changed = 0;
    for (const auto& [id, text] : chinese) {
        EXPECT_EQ(switched.at(id), text) << "control " << id;
        changed += english.at(id) != text ? 1 : 0;
    }
    EXPECT_GT(changed, 80) << "most texts differ between the languages";
    EXPECT_EQ(dlg->ui.settings.heading->GetTitle(), L"系统设置");
}

TEST_F(SettingsPageTest, FactoryResetAskedFirstThenEverythingBackToDefaults)
{
    Plug();
    CreateWindow(false);
    ASSERT_TRUE(WaitFor([&] { return TabsShown() && dlg->worker.queue.Empty(); }));
    // Changes to undo: a keyboard setting, a key on the keyboard, a preference.
    KBDataBase::GetInstance().SetConfig(0, L"tick_rate", L"2");
    keyboard->ModifyMemory([](vkb::KeyboardMemory& memory) { memory.keymaps[0] = 0x30; });
    SetRegString(L"exit_mode", L"1");
    const std::string before = KBDataBase::GetInstance().GetDbPath();

    // Answered No: nothing changes.
    AnswerMessageBox(kMessageBoxSecondButtonId);
    EXPECT_EQ(dlg->OnMessage(kSetFactoryReset, MUI::kNotifyClick, 0), 0);
    EXPECT_EQ(Config(L"tick_rate"), L"2");
    EXPECT_EQ(keyboard->FactoryResets(), 0);

    AnswerMessageBox(kMessageBoxFirstButtonId);
    EXPECT_EQ(dlg->OnMessage(kSetFactoryReset, MUI::kNotifyClick, 0), 1);
    EXPECT_EQ(shownMessage, GetLanString(280));
    EXPECT_EQ(keyboard->FactoryResets(), 1);
    EXPECT_EQ(keyboard->Memory().keymaps, vkb::KeyboardMemory::Factory().keymaps);
    EXPECT_EQ(Config(L"tick_rate"), L"0") << "the database was made anew";
    EXPECT_EQ(KBDataBase::GetInstance().GetDbPath(), before);
    EXPECT_NE(Registry().find("exit_mode=0"), std::string::npos) << Registry();
    EXPECT_TRUE(dlg->ui.settings.exitProgram->GetCheck());
    EXPECT_TRUE(WaitFor([&] { return KBDataBase::GetInstance().GetActiveProfile() == 1; }));
}

TEST_F(SettingsPageTest, FactoryResetWithoutAKeyboardSaysSoAndChangesNothing)
{
    CreateWindow();
    ASSERT_TRUE(Drain());
    SetRegString(L"exit_mode", L"1");
    AnswerMessageBox(kMessageBoxFirstButtonId);
    EXPECT_EQ(dlg->OnMessage(kSetFactoryReset, MUI::kNotifyClick, 0), 0);
    EXPECT_EQ(shownMessage, GetLanString(282));
    EXPECT_NE(Registry().find("exit_mode=1"), std::string::npos) << "no half reset";
    EXPECT_TRUE(TakeQueue().empty());
}

TEST_F(SettingsPageTest, KeyTestLinkOpensTheTesterThatMarksTheKeysTyped)
{
    CreateWindow();
    int marked = -1;
    testsupport::WhenModalWindowUp(L"KeyTestDlg", [&marked](HWND hwnd) {
        auto* tester = dynamic_cast<KeyTestDlg*>(MUI::MWindow::FromHandle(hwnd));
        MUI::InjectNativeKey(38, false);  // the desktop's A key
        marked = tester->keys->GetKeyState(0x04);
        tester->OnMessage(kKeyTestCloseId, MUI::kNotifyClick, 0);
    });
    EXPECT_EQ(dlg->OnMessage(kSetKeyTestButton, MUI::kNotifyClick, 0), 1);
    EXPECT_EQ(marked, MUI::KeyboardTestCtrl::kKeyDown);
    EXPECT_EQ(MUI::KeyHookManager::Active(), nullptr) << "the tester's hook went with it";
}

}  // namespace
