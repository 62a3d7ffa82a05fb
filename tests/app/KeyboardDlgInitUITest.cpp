#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/KeyboardDlgFixture.h"
#include "platform/mui/MEdit.h"
#include "platform/os/Autostart.h"

namespace {

class KeyboardDlgInitUITest : public apptest::KeyboardDlgFixture {};

struct Expected {
    unsigned id;
    const wchar_t* className;
    bool area;
    unsigned container;  // 0: directly in the window
};

// Every control of the frame, the containers, the no-keyboard panel and the settings page.
const Expected kControls[] = {
    {30, L"MPicture", true, 0},
    {31, L"CRoundArea", true, 0},
    {34, L"MPicture", true, 0},
    {33, L"MPicture", true, 0},
    {32, L"MText", true, 0},
    {39, L"MComboBox2", false, 0},
    {35, L"MImageButton", false, 0},
    {36, L"MImageButton", false, 0},
    {37, L"MImageButton", false, 0},
    {42, L"MImageButton", false, 0},
    {43, L"MImageButton", false, 0},
    {44, L"MImageButton", false, 0},
    {45, L"CTextButton", false, 0},
    {46, L"CTextButton", false, 0},
    {47, L"MPicture", true, 0},
    {48, L"MText", true, 0},
    {49, L"CRoundArea", true, 0},
    {50, L"MComboBox2", false, 0},
    {51, L"MComboBox2", false, 0},
    {52, L"MComboBox2", false, 0},
    {54, L"MComboBox2", false, 0},
    {53, L"MText", true, 0},
    {57, L"MTabLayout", false, 0},
    {58, L"MTabLayout", false, 0},
    {59, L"MTabLayout", false, 0},
    {60, L"MTabLayout", false, 0},
    {61, L"MTabLayout", false, 0},
    {62, L"MTabLayout", false, 0},
    {63, L"MTabLayout", false, 0},
    {56, L"CRoundArea", true, 0},
    {55, L"MTabCtrl", false, 0},
    {68, L"CRoundArea", true, 0},
    {64, L"CRoundArea", true, 63},
    {65, L"MPicture", true, 63},
    {66, L"MPicture", true, 63},
    {67, L"MPicture", true, 63},
    {69, L"MText", true, 63},
    {330, L"MPicture", true, 62},
    {331, L"CRoundArea", true, 62},
    {332, L"MText", true, 62},
    {366, L"CRoundArea", true, 62},
    {367, L"CRoundArea", true, 62},
    {333, L"MText", true, 62},
    {334, L"MText", true, 62},
    {335, L"MText", true, 62},
    {336, L"CTextButton", false, 62},
    {337, L"MText", true, 62},
    {338, L"MText", true, 62},
    {339, L"CTextButton", false, 62},
    {340, L"MText", true, 62},
    {341, L"MText", true, 62},
    {342, L"MComboBox", false, 62},
    {343, L"MButton", false, 62},
    {344, L"MButton", false, 62},
    {345, L"MPicture", true, 62},
    {346, L"MText", true, 62},
    {347, L"CSwitchButton", false, 62},
    {348, L"MText", true, 62},
    {349, L"MText", true, 62},
    {350, L"CSwitchButton", false, 62},
    {351, L"MText", true, 62},
    {352, L"MText", true, 62},
    {353, L"CSwitchButton", false, 62},
    {354, L"MText", true, 62},
    {355, L"CIconButton", false, 62},
    {356, L"CIconButton", false, 62},
    {357, L"CIconButton", false, 62},
    {358, L"CIconButton", false, 62},
    {359, L"MText", true, 62},
    {360, L"MComboBox", false, 62},
    {361, L"MText", true, 62},
    {362, L"MComboBox", false, 62},
    {363, L"MText", true, 62},
    {364, L"CCheckButton", false, 62},
    {365, L"CCheckButton", false, 62},
    {368, L"MText", true, 62},
    {369, L"CRadioButton", false, 62},
    {370, L"CRadioButton", false, 62},
    {372, L"CRoundArea", true, 62},
    {371, L"MPicture", true, 62},
    {373, L"MPicture", true, 62},
    {374, L"MText", true, 62},
    {375, L"CTextButton", false, 62},
    {376, L"MText", true, 62},
    {377, L"MText", true, 62},
    {378, L"MText", true, 62},
    {379, L"MText", true, 62},
    {380, L"MText", true, 62},
    {381, L"CTextButton", false, 62},
    {382, L"MText", true, 62},
    {383, L"CTextButton", false, 62},
    {384, L"MText", true, 62},
    {385, L"CTextButton", false, 62},
    {386, L"MText", true, 62},
    {387, L"CTextButton", false, 62},
    {388, L"MText", true, 62},
    {390, L"MText", true, 62},
    {394, L"MText", true, 62},
};

TEST_F(KeyboardDlgInitUITest, ConstructionCreatesEveryControlWithItsClassKindAndContainer)
{
    KeyboardDlg& dlg = Build();
    for (const Expected& expected : kControls) {
        SCOPED_TRACE(expected.id);
        MUI::MControl* control = dlg.GetControl(expected.id);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->GetClassName(), expected.className);
        EXPECT_EQ(control->IsArea(), expected.area);
        MUI::MControl* parent = control->GetParentControl();
        EXPECT_EQ(parent ? parent->GetID() : 0u, expected.container);
    }
    // Frame controls are created in the order of their table (later ones draw on top).
    std::vector<unsigned> frameOrder;
    for (MUI::MControl* control : dlg.GetControls()) {
        if (control->GetParentControl() == nullptr) {
            frameOrder.push_back(control->GetID());
        }
    }
    const std::vector<unsigned> expectedOrder = {30, 31, 34, 33, 32, 39, 35, 36, 37, 42, 43,
                                                 44, 45, 46, 47, 48, 49, 50, 51, 52, 54, 53,
                                                 57, 58, 59, 60, 61, 62, 63, 56, 55, 68};
    EXPECT_EQ(frameOrder, expectedOrder);
    // The pointers the window keeps are the controls of those ids.
    EXPECT_EQ(dlg.ui.closeButton, dlg.GetControl(35));
    EXPECT_EQ(dlg.ui.tabCtrl, dlg.GetControl(55));
    EXPECT_EQ(dlg.ui.homePage, dlg.GetControl(63));
    EXPECT_EQ(dlg.ui.statusTitle, dlg.GetControl(69));
    EXPECT_EQ(dlg.ui.noConnectPictures[2], dlg.GetControl(67));
    EXPECT_EQ(dlg.ui.settings.languageCombo, dlg.GetControl(360));
    EXPECT_EQ(dlg.ui.settings.exitProgram, dlg.GetControl(370));
}

TEST_F(KeyboardDlgInitUITest, ControlsStartWithTheirVisibilityAndEnabledState)
{
    Build();
    struct State {
        unsigned id;
        bool visible;
        bool enabled;
    };
    const State states[] = {
        {31, false, true},  {39, true, false},  {55, false, true},  {57, true, true},
        {58, false, true},  {59, false, true},  {60, false, true},  {61, false, true},
        {62, false, true},  {63, false, true},  {65, true, true},   {66, false, true},
        {67, false, true},  {341, false, true}, {342, false, true}, {361, false, true},
        {362, false, true}, {378, false, true}, {365, true, false}, {364, true, true},
    };
    for (const State& state : states) {
        SCOPED_TRACE(state.id);
        EXPECT_EQ(Control(state.id)->IsVisible(), state.visible);
        EXPECT_EQ(Control(state.id)->IsEnabled(), state.enabled);
    }
    EXPECT_EQ(Control(30)->GetImage(), L"main_bkg.png");
    EXPECT_EQ(Control(35)->GetImage(), L"btn_close.png");
    EXPECT_EQ(Control(35)->GetImageStates(), 4);
    EXPECT_EQ(Control(364)->GetImageStates(), 8);
    EXPECT_EQ(ControlAs<MUI::CRadioButton>(369)->GetGroup(), L"IDC_SET_STC_EXITMODE");
    EXPECT_EQ(ControlAs<MUI::CRadioButton>(370)->GetGroup(), L"IDC_SET_STC_EXITMODE");
}

TEST_F(KeyboardDlgInitUITest, ComboboxesHoldTheirItemsWithTheFirstSelected)
{
    Build();
    struct Items {
        unsigned id;
        std::vector<std::wstring> texts;
        std::vector<int> data;
    };
    const Items lists[] = {
        {39, {L"TOLVENIC-QX71"}, {101}},
        {50, {L"E70", L"E71", L"E72"}, {0, 1, 2}},
        {51, {L"E75", L"E76", L"E77"}, {0, 1, 2}},
        {52, {L"E80", L"E81", L"E82", L"E83"}, {1, 2, 3, 4}},
        {54, {L"E85", L"E86"}, {0, 1}},
        {342, {L"750gs(默认)"}, {1}},
        {360, {L"English"}, {1033}},
        {362, {L"E580"}, {0}},
    };
    for (const Items& list : lists) {
        SCOPED_TRACE(list.id);
        auto* combo = ControlAs<MUI::MComboBox>(list.id);
        ASSERT_NE(combo, nullptr);
        ASSERT_EQ(combo->GetItemCount(), static_cast<int>(list.texts.size()));
        for (int i = 0; i < combo->GetItemCount(); ++i) {
            EXPECT_EQ(combo->GetItemText(i), list.texts[i]);
            EXPECT_EQ(combo->GetItemData(i), list.data[i]);
        }
        EXPECT_EQ(combo->GetCurSel(), 0);
        EXPECT_EQ(combo->GetTitle(), list.texts[0]);
    }
}

TEST_F(KeyboardDlgInitUITest, TabControlHoldsSixPagesInOrderAndShowsTheSelectedContainer)
{
    Build();
    auto* tabs = ControlAs<MUI::MTabCtrl>(55);
    struct Tab {
        int page;
        const wchar_t* caption;
        unsigned container;
    };
    const Tab expected[] = {{1, L"E51", 57}, {7, L"E52", 61}, {2, L"E53", 58},
                            {3, L"E54", 60}, {4, L"E55", 59}, {6, L"E56", 62}};
    ASSERT_EQ(tabs->GetItemCount(), 6);
    EXPECT_EQ(tabs->GetCurSel(), 0);
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(tabs->GetItemID(i), expected[i].page);
        EXPECT_EQ(tabs->GetItemCaption(i), expected[i].caption);
        EXPECT_EQ(tabs->GetItemContainer(i), Control(expected[i].container));
    }
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        tabs->SetCurSel(i);
        for (const Tab& tab : expected) {
            EXPECT_EQ(Control(tab.container)->IsVisible(), tab.container == expected[i].container);
        }
    }
}

TEST_F(KeyboardDlgInitUITest, ExitModeRadioFollowsTheRegistryValue)
{
    struct Case {
        const wchar_t* value;  // none: the value is absent
        bool toTray;
    };
    const Case cases[] = {{nullptr, false}, {L"0", false}, {L"1", true}, {L"2", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value ? c.value : L"absent");
        apptest::FreshDeviceName();
        os::RegCreateKey(DeviceRegistryKey());
        if (c.value) {
            SetRegString(L"exit_mode", c.value);
        }
        Build();
        EXPECT_EQ(ControlAs<MUI::CRadioButton>(369)->GetCheck(), c.toTray);
        EXPECT_EQ(ControlAs<MUI::CRadioButton>(370)->GetCheck(), !c.toTray);
    }
}

TEST_F(KeyboardDlgInitUITest, AutostartBoxesFollowTheAutostartEntry)
{
    struct Case {
        const char* name;
        std::wstring command;  // empty: no entry
        const wchar_t* minimize;
        bool autorun, minimizeChecked, minimizeEnabled;
    };
    // A long program folder still counts as autostart being on.
    const std::wstring longCommand = L"/opt/" + std::wstring(300, L'a') + L"/Tolvenic -autorun";
    const Case cases[] = {
        {"no entry", L"", L"1", false, false, false},
        {"entry, shown", L"/opt/t/Tolvenic -autorun", L"0", true, false, true},
        {"entry, hidden", L"/opt/t/Tolvenic -autorun", L"1", true, true, true},
        {"long entry", longCommand, L"1", true, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::wstring device = apptest::FreshDeviceName();
        os::RegCreateKey(DeviceRegistryKey());
        SetRegString(L"autorun_minimize", c.minimize);
        if (!c.command.empty()) {
            ASSERT_TRUE(os::WriteAutostart(device, c.command));
        }
        Build();
        EXPECT_EQ(ControlAs<MUI::CCheckButton>(364)->GetCheck(), c.autorun);
        EXPECT_EQ(ControlAs<MUI::CCheckButton>(365)->GetCheck(), c.minimizeChecked);
        EXPECT_EQ(Control(365)->IsEnabled(), c.minimizeEnabled);
    }
}

TEST_F(KeyboardDlgInitUITest, LanguageComboShowsEnglishForAnyLanguage)
{
    for (int language : {1033, 2052}) {
        SCOPED_TRACE(language);
        CurrentLanguageId = language;
        Build();
        auto* combo = ControlAs<MUI::MComboBox>(360);
        EXPECT_EQ(combo->GetCurData(), 1033);
        EXPECT_EQ(combo->GetTitle(), L"English");
    }
}

TEST_F(KeyboardDlgInitUITest, ResetUiDefaultsRestoresExitModeAndTheColourEdits)
{
    SetRegString(L"exit_mode", L"1");
    KeyboardDlg& dlg = Build();
    // Without the lighting page's edits only the registry value changes.
    dlg.ResetUiDefaults();
    EXPECT_EQ(os::RegReadString(DeviceRegistryKey(), L"exit_mode"), L"0");

    SetRegString(L"exit_mode", L"1");
    for (unsigned id : {171u, 172u, 173u}) {
        dlg.CreateControl(L"MEdit", id, {}, L"7");
    }
    dlg.ResetUiDefaults();
    EXPECT_EQ(os::RegReadString(DeviceRegistryKey(), L"exit_mode"), L"0");
    EXPECT_EQ(Control(171)->GetTitle(), L"255");
    EXPECT_EQ(Control(172)->GetTitle(), L"0");
    EXPECT_EQ(Control(173)->GetTitle(), L"0");
}

}  // namespace
