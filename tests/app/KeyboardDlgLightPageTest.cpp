// The lighting page driven through its control notifications, with the worker run by hand
// against the in-process virtual keyboard: each case ends on the keyboard's settings block
// (data bytes 8-16) and its user-colour table.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "app/MainWindowTestSupport.h"
#include "device/DeviceReport.h"
#include "lighting/LightModes.h"
#include "platform/mui/CCheckButton.h"
#include "platform/mui/CSwitchButton.h"
#include "platform/mui/CirclePalette.h"
#include "platform/mui/KeyboardCtrl.h"
#include "platform/mui/MComboBox3.h"
#include "platform/mui/MEdit.h"
#include "platform/mui/MLevelCtrl.h"
#include "platform/mui/MListBoxEx.h"
#include "platform/mui/MSlider.h"
#include "storage/KBDataBase.h"
#include "storage/RecordList.h"

namespace {

using apptest::MainWindowTest;
using Lighting = std::array<uint8_t, 9>;  // settings data bytes 8-16

constexpr int kKeyA = 0x04;
constexpr int kKeyS = 0x16;
constexpr int kKeyEsc = 0x29;

class KeyboardDlgLightPageTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        Plug();
        CreateWindow();
        ASSERT_TRUE(Drain());
        ASSERT_TRUE(dlg->connection.deviceOpened.load());
        ASSERT_GT(Profile(), 0);
        keyboard->ClearLog();
    }

    static KBDataBase& db() { return KBDataBase::GetInstance(); }
    LightPageControls& Page() { return dlg->lightPage; }
    int Profile() const { return dlg->LightingPageProfile(); }
    bool Shown(unsigned id) const { return dlg->GetControl(id)->IsVisible(); }

    void Notify(unsigned id, int code = MUI::kNotifyClick) { dlg->OnMessage(id, code, 0); }
    void Send() { ASSERT_TRUE(Drain()); }
    void ChooseMode(int mode)
    {
        ASSERT_GE(Page().modeList->SelectData(mode), 0) << mode;
        Notify(151);
    }
    void Flip(MUI::CCheckButton* box, bool on)
    {
        box->SetCheck(on);
        Notify(box->GetID());
    }
    void Type(unsigned id, const std::wstring& text)
    {
        Page().rgbEdits[id - 171]->SetTitle(text);
        Notify(id, MUI::kNotifyTextChanged);
    }

    Lighting KeyboardLighting() const
    {
        const std::vector<uint8_t> block = keyboard->Settings();
        Lighting bytes{};
        std::copy_n(block.begin() + 8, bytes.size(), bytes.begin());
        return bytes;
    }
    std::array<uint8_t, 3> UserColor(int code) const
    {
        const auto table = keyboard->Memory().userColors;
        const size_t at = static_cast<size_t>(dlg->keyTables.maps.IndexOf(code)) * 3;
        return {table[at], table[at + 1], table[at + 2]};
    }
    LightRecord Row(int mode)
    {
        LightRecord row;
        EXPECT_TRUE(db().GetLight(Profile(), mode, row));
        return row;
    }
    std::wstring Config(const wchar_t* key)
    {
        std::wstring value;
        db().GetConfig(Profile(), key, value);
        return value;
    }
    size_t StoredUserColors()
    {
        std::vector<UserLightRgbRecord*> rows;
        db().GetUserLightRgbs(Profile(), rows);
        return TakeRecords(rows).size();
    }
};

TEST_F(KeyboardDlgLightPageTest, LoadListsTheModesAndShowsTheActiveOnesControls)
{
    MUI::MListBoxEx& list = *Page().modeList;
    ASSERT_EQ(list.GetItemCount(), 22) << "23 rows without the off row";
    for (int i = 0; i < list.GetItemCount(); ++i) {
        EXPECT_NE(list.GetItemData(i), 255);
        EXPECT_NE(list.GetItemData(i), 20);
        EXPECT_NE(list.GetItemData(i), 21);
    }
    // The factory keyboard shows mode 1 at brightness 4 and speed 2.
    EXPECT_EQ(list.GetCurData(), 1);
    EXPECT_EQ(dlg->page.currentLightMode.load(), 1);
    EXPECT_EQ(dlg->page.lightFunc.load(), 0x003u);
    EXPECT_TRUE(Page().enableSwitch->GetCheck());
    EXPECT_TRUE(Shown(154));
    EXPECT_EQ(Page().brightness->GetPos(), 4);
    // The model's brightness range ends at 4: the slider stands at its end, not near 0.
    EXPECT_EQ(Page().brightness->GetRangeMax(), 4);
    EXPECT_EQ(Page().speed->GetLevel(), 2);
    EXPECT_FALSE(Shown(157)) << "mode 1 has no direction";
    EXPECT_FALSE(Shown(167)) << "nor a colour panel";
    EXPECT_FALSE(Shown(206)) << "nor the music panel";
    EXPECT_EQ(list.GetItemText(list.GetCurSel()), L"Neon");
}

TEST_F(KeyboardDlgLightPageTest, EachModeShowsItsOwnDirectionPair)
{
    // (mode, the pair shown: its first button; 0 for none).
    const struct {
        int mode;
        unsigned first;
    } cases[] = {{6, 158}, {7, 160}, {8, 202}, {10, 204}, {1, 0}, {5, 0}};
    const unsigned firsts[] = {158, 160, 202, 204};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        ChooseMode(c.mode);
        EXPECT_EQ(Shown(157), c.first != 0);
        for (const unsigned first : firsts) {
            EXPECT_EQ(Shown(first), first == c.first);
            EXPECT_EQ(Shown(first + 1), first == c.first);
        }
        EXPECT_TRUE(Shown(154));
        EXPECT_TRUE(Shown(156));
        EXPECT_EQ(Shown(162), c.mode >= 6) << "the colourful box";
        Send();
        EXPECT_EQ(KeyboardLighting()[0], c.mode);
    }
}

TEST_F(KeyboardDlgLightPageTest, ValueHandlersEndInTheSettingsBlock)
{
    ChooseMode(6);
    Send();
    // Within the model's brightness range of 0 to 4.
    Page().brightness->SetPos(2);
    Notify(154);
    Page().speed->SetLevel(1);
    Notify(156);
    Notify(158);  // right: direction 1
    Send();
    EXPECT_EQ(KeyboardLighting(), (Lighting{6, 2, 3, 1, 1, 0, 255, 0, 0}));

    // Unticking colourful shows red; a preset colour, then a typed green.
    Flip(Page().colorful, false);
    Send();
    EXPECT_EQ(KeyboardLighting(), (Lighting{6, 2, 3, 1, 0, 0, 255, 0, 0}));
    EXPECT_EQ(Page().rgbEdits[0]->GetTitle(), L"255");
    Notify(188);  // 122, 7, 255
    Send();
    EXPECT_EQ(KeyboardLighting(), (Lighting{6, 2, 3, 1, 0, 0, 122, 7, 255}));
    EXPECT_EQ(Page().palette->GetColor(), MUI::MakeColorRef(122, 7, 255))
        << "the wheel shows the swatch's colour";
    Type(172, L"300");
    EXPECT_EQ(Page().rgbEdits[1]->GetTitle(), L"255");
    Type(171, L"-5");
    EXPECT_EQ(Page().rgbEdits[0]->GetTitle(), L"0");
    Notify(159);  // left: direction 0
    Send();
    EXPECT_EQ(KeyboardLighting(), (Lighting{6, 2, 3, 0, 0, 0, 0, 255, 255}));
    EXPECT_EQ(Row(6).color_value, 0xFFFF00);

    // A colour choice clears a ticked box.
    Flip(Page().colorful, true);
    Notify(176);  // 255, 5, 5
    Send();
    EXPECT_FALSE(Page().colorful->GetCheck());
    EXPECT_EQ(KeyboardLighting(), (Lighting{6, 2, 3, 0, 0, 0, 255, 5, 5}));
    EXPECT_EQ(Row(1).color_value, 0xFFFFFF) << "other modes keep their colour";

    Page().palette->SetColor(MUI::MakeColorRef(10, 200, 30));
    Notify(167);
    Send();
    EXPECT_EQ(KeyboardLighting(), (Lighting{6, 2, 3, 0, 0, 0, 10, 200, 30}));
    EXPECT_EQ(Page().rgbEdits[1]->GetTitle(), L"200");
}

TEST_F(KeyboardDlgLightPageTest, AKeyboardWithItsLightingOffLoadsSwitchedOff)
{
    keyboard->ModifyMemory([](vkb::KeyboardMemory& memory) { memory.settings[8] = 255; });
    dlg->ReadLightingFromDevice(Profile());
    dlg->LoadLightModes();
    EXPECT_FALSE(Page().enableSwitch->GetCheck());
    EXPECT_EQ(dlg->page.currentLightMode.load(), 255);
    EXPECT_EQ(db().GetActiveLightMode(Profile()), 1) << "switching on restores the mode";
    Flip(Page().enableSwitch, true);
    Send();
    EXPECT_EQ(KeyboardLighting()[0], 1);
}

TEST_F(KeyboardDlgLightPageTest, BrightnessBeyondAByteIsSentAsTheTop)
{
    LightRecord row = Row(1);
    row.brightness = 300;
    db().UpdateLight(1, row);
    dlg->QueueCommand(QCMD_WRITE_LIGHTING);
    Send();
    EXPECT_EQ(KeyboardLighting()[1], 255);
}

TEST_F(KeyboardDlgLightPageTest, SwitchedOffAModeChosenThenOnShowsThatMode)
{
    Flip(Page().enableSwitch, false);
    Send();
    EXPECT_EQ(KeyboardLighting()[0], 255);
    EXPECT_EQ(Config(L"enable_light"), L"0");
    EXPECT_EQ(dlg->page.lightFunc.load(), 0u) << "the off row hides every value control";
    EXPECT_FALSE(Shown(154));

    ChooseMode(7);
    Send();
    EXPECT_EQ(dlg->page.currentLightMode.load(), 255);
    EXPECT_EQ(KeyboardLighting()[0], 255);
    EXPECT_EQ(db().GetActiveLightMode(Profile()), 7) << "the chosen mode, not the off row";

    Flip(Page().enableSwitch, true);
    Send();
    EXPECT_EQ(KeyboardLighting()[0], 7);
    EXPECT_EQ(Config(L"enable_light"), L"1");
    EXPECT_TRUE(Shown(160));

    // A reload keeps it all.
    dlg->LoadLightModes();
    EXPECT_EQ(dlg->page.currentLightMode.load(), 7);
}

TEST_F(KeyboardDlgLightPageTest, PaintedKeysAndPresetsReachTheUserColours)
{
    EXPECT_FALSE(dlg->GetControl(201)->IsEnabled());
    ChooseMode(0);
    Send();
    EXPECT_TRUE(dlg->GetControl(201)->IsEnabled());
    EXPECT_EQ(KeyboardLighting()[0], 0);
    EXPECT_TRUE(Page().keyboard->GetUserColorMode());

    Notify(201);  // every key
    Notify(186);  // white
    Send();
    EXPECT_EQ(UserColor(kKeyEsc), (std::array<uint8_t, 3>{255, 255, 255}));
    Notify(199);  // none
    Page().keyboard->SetKeyCheck(kKeyA, true);
    Notify(176);  // 255, 5, 5
    Send();
    EXPECT_EQ(UserColor(kKeyA), (std::array<uint8_t, 3>{255, 5, 5}));
    EXPECT_EQ(UserColor(kKeyS), (std::array<uint8_t, 3>{255, 255, 255}));
    EXPECT_EQ(StoredUserColors(), 84u);
    Notify(200);  // invert
    EXPECT_FALSE(Page().keyboard->IsKeyChecked(kKeyA));
    EXPECT_TRUE(Page().keyboard->IsKeyChecked(kKeyS));

    // The "Gaming" preset: W, A, S, D red, Esc orange.
    Page().presetCombo->SelectData(205);
    Notify(144);
    Send();
    EXPECT_EQ(UserColor(kKeyA), (std::array<uint8_t, 3>{255, 20, 20}));
    EXPECT_EQ(UserColor(kKeyEsc), (std::array<uint8_t, 3>{255, 140, 0}));
    EXPECT_EQ(Page().keyboard->GetKeyColor(kKeyA), 0x1414FFu);

    // Reset: the user colours go, mode 1 comes back, the modes' values stay.
    const LightRecord before = Row(6);
    Notify(145);
    Send();
    EXPECT_EQ(StoredUserColors(), 0u);
    EXPECT_EQ(KeyboardLighting()[0], 1);
    EXPECT_EQ(Page().modeList->GetCurData(), 1);
    EXPECT_EQ(Row(6).brightness, before.brightness);
    EXPECT_EQ(Row(6).color_value, before.color_value);
}

TEST_F(KeyboardDlgLightPageTest, PresetWhileSwitchedOffStoresItAndSelectsTheUserMode)
{
    Flip(Page().enableSwitch, false);
    Send();
    Page().presetCombo->SelectData(202);
    Notify(144);
    EXPECT_EQ(TakeQueue(), std::vector<int>{QCMD_WRITE_LIGHTING});
    EXPECT_EQ(StoredUserColors(), 84u);
    EXPECT_EQ(Page().modeList->GetCurData(), 0);
    EXPECT_EQ(dlg->page.currentLightMode.load(), 255);

    // Switching on sends the colours and the mode.
    Flip(Page().enableSwitch, true);
    Send();
    EXPECT_EQ(KeyboardLighting()[0], 0);
    EXPECT_NE(UserColor(kKeyEsc), (std::array<uint8_t, 3>{255, 255, 255}));
}

TEST_F(KeyboardDlgLightPageTest, PaintingOutsideTheUserModeStoresNothing)
{
    ChooseMode(3);
    TakeQueue();
    Notify(138);
    EXPECT_TRUE(TakeQueue().empty());
    EXPECT_EQ(StoredUserColors(), 84u) << "the colours read from the keyboard stay";
}

}  // namespace
