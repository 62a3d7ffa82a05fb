#include <gtest/gtest.h>

#include "app/AppMessages.h"
#include "app/WaitDlg.h"
#include "app/WorkerCommand.h"
#include "device/KeyMacroType.h"
#include "keys/KeyPageFixture.h"
#include "platform/mui/KeyFuncControl.h"
#include "platform/mui/KeyLayerCtrl.h"
#include "platform/mui/KeyTypeTab.h"
#include "platform/mui/KeyValueList2.h"
#include "platform/mui/MComboBox3.h"
#include "platform/mui/MPicture.h"
#include "storage/MacroStepRecord.h"

namespace {

using namespace keypage_test;

class KeyPageAssignTest : public KeyPageTest {
protected:
    MUI::KeyTypeTab& Tabs() { return Control<MUI::KeyTypeTab>(97); }
    MUI::KeyFuncControl& Functions() { return Control<MUI::KeyFuncControl>(98); }
    MUI::KeyValueList2& Values() { return Control<MUI::KeyValueList2>(99); }

    // Switches the palette to the tab as a click on it does.
    void ShowTab(int tab)
    {
        Tabs().SetCurTab(tab);
        ASSERT_EQ(Notify(97, tab), 1);
    }
    int FunctionIndex(int usage)
    {
        const auto items = Functions().GetItems();
        for (size_t i = 0; i < items.size(); ++i)
            if (items[i].values[1] == usage) return static_cast<int>(i);
        ADD_FAILURE() << "no key function " << usage;
        return -1;
    }
    std::wstring Caption(int code)
    {
        MUI::KeyItem item;
        EXPECT_TRUE(View().GetKeyItem(code, &item));
        return item.caption;
    }
};

TEST_F(KeyPageAssignTest, PaletteTabsSwapTheListsAndRebuildTheTiles)
{
    // The macro tab offers the macros that exist: a deleted one leaves no tile.
    for (const wchar_t* name : {L"M 1", L"M 2", L"M 3"}) db().InsertNewMacro(name);
    ASSERT_TRUE(db().DeleteMacro(1));
    MacroStepRecord step;
    step.macro_id = 2;
    for (int i = 0; i < 3; ++i) db().InsertMacroStep(step);
    Control<MUI::MPicture>(73).SetVisible(true);

    ShowTab(5);
    EXPECT_FALSE(Functions().IsVisible());
    EXPECT_TRUE(Values().IsVisible());
    EXPECT_FALSE(Control<MUI::MPicture>(73).IsVisible());
    EXPECT_FALSE(Control<MUI::MPicture>(84).IsVisible());
    EXPECT_TRUE(Control<MUI::MPicture>(85).IsVisible());
    const auto tiles = Values().GetItems();
    ASSERT_EQ(tiles.size(), 2u);
    EXPECT_EQ(tiles[0].value, 2);
    EXPECT_EQ(tiles[0].caption, L"M2\n(3)");
    EXPECT_EQ(tiles[1].value, 3);
    EXPECT_EQ(tiles[1].caption, L"M3");
    EXPECT_TRUE(tiles[1].tip.empty());
    int value = 0;
    std::wstring caption;
    EXPECT_FALSE(Values().GetSelectKeyValue(value, caption));

    // Tab 0 keeps the last tiles in the hidden list; going back rebuilds them.
    ShowTab(0);
    EXPECT_TRUE(Functions().IsVisible());
    EXPECT_FALSE(Values().IsVisible());
    EXPECT_TRUE(Control<MUI::MPicture>(84).IsVisible());
    EXPECT_EQ(Values().GetItemCount(), 2);
    ShowTab(3);
    ASSERT_EQ(Values().GetItemCount(), 6);
    EXPECT_EQ(Values().GetItems()[4].caption, L"T150");
    EXPECT_TRUE(TakeCommands().empty());
}

TEST_F(KeyPageAssignTest, PickedTileIsStoredShownAndQueued)
{
    KeyMacroRecord before = Row(kKeyA);
    before.macro_value2 = 7;
    before.macro_value3 = 9;
    StoreRow(before);
    View().SetCurrentKeyValue(kKeyA);
    ShowTab(1);
    Values().SetSelectKeyValue(0xE9);
    EXPECT_EQ(Notify(99, 0xE9), 1);

    const KeyMacroRecord row = Row(kKeyA);
    EXPECT_EQ(row.macro_type, KMT_CONSUMER);
    EXPECT_EQ(row.macro_value, 0xE9);
    EXPECT_EQ(row.macro_value2, 0);
    EXPECT_EQ(row.macro_value3, 0);
    EXPECT_EQ(row.macro_desc, L"Vol+");
    EXPECT_EQ(Caption(kKeyA), L"Vol+");
    EXPECT_EQ(TakeCommands(), std::vector<int>{QCMD_WRITE_KEYMAP});
    EXPECT_EQ(Row(kKeyB).macro_type, KMT_KEY);
}

TEST_F(KeyPageAssignTest, PickNeedsASelectedKeyAPositiveProfileAndATile)
{
    ShowTab(4);
    Values().SetSelectKeyValue(0x2E);
    Notify(99);  // no key selected
    View().SetCurrentKeyValue(kKeyA);
    Values().SetSelectKeyValue(-1);
    Notify(99);  // no tile selected
    EXPECT_TRUE(TakeCommands().empty());

    Values().SetSelectKeyValue(0x2E);
    ProfileCombo().AddItem(L"none", 0);
    ProfileCombo().SetCurSel(1);
    Notify(99);  // the combo shows no profile
    EXPECT_TRUE(TakeCommands().empty());
    EXPECT_EQ(Row(kKeyA).macro_type, KMT_KEY);
    ProfileCombo().SetCurSel(0);
    Notify(99);
    EXPECT_EQ(Row(kKeyA).macro_type, KMT_FUNCTION);
    EXPECT_EQ(Row(kKeyA).macro_value, 0x2E);
}

TEST_F(KeyPageAssignTest, KeyFunctionsGiveKeysWithModifierOrDisableThem)
{
    View().SetCurrentKeyValue(kKeyB);
    Functions().SetCurItem(FunctionIndex(kKeyX));
    Functions().SetModifier(0xE1);
    Notify(98);
    KeyMacroRecord row = Row(kKeyB);
    EXPECT_EQ(row.macro_type, KMT_KEY);
    EXPECT_EQ(row.macro_value, kKeyX);
    EXPECT_EQ(row.macro_value2, 0xE1);
    EXPECT_EQ(row.macro_value3, 0);
    EXPECT_EQ(row.macro_desc, L"Shift+X");
    EXPECT_EQ(Caption(kKeyB), L"Shift+X");

    Functions().SetCurItem(FunctionIndex(MUI::KeyFuncControl::kDisableUsage));
    Notify(98);
    row = Row(kKeyB);
    EXPECT_EQ(row.macro_type, KMT_DISABLED);
    EXPECT_EQ(row.macro_value, 1);
    EXPECT_EQ(row.macro_value2, 0);
    EXPECT_EQ(TakeCommands(), (std::vector<int>{QCMD_WRITE_KEYMAP, QCMD_WRITE_KEYMAP}));
}

TEST_F(KeyPageAssignTest, DropAssignsTheKeyUnderThePoint)
{
    KeyMacroRecord before = Row(kKeyB);
    before.macro_value2 = 5;
    StoreRow(before);
    ShowTab(3);
    Values().SetSelectKeyValue(FUNC_FN1);
    Dlg().DropKeyFuncOnKey(DropPointOn(kKeyB));
    const KeyMacroRecord row = Row(kKeyB);
    EXPECT_EQ(row.macro_type, KMT_FUNCTION);
    EXPECT_EQ(row.macro_value, FUNC_FN1);
    EXPECT_EQ(row.macro_value2, 5);  // a drop leaves the other values as stored
    EXPECT_EQ(row.macro_desc, L"FN1");
    EXPECT_EQ(Caption(kKeyB), L"FN1");
    EXPECT_EQ(TakeCommands(), std::vector<int>{QCMD_WRITE_KEYMAP});

    // From tab 0 the current key function is dropped.
    ShowTab(0);
    Functions().SetCurItem(FunctionIndex(0x29));
    Dlg().DropKeyFuncOnKey(DropPointOn(kKeyQ));
    EXPECT_EQ(Row(kKeyQ).macro_value, 0x29);
    EXPECT_EQ(Row(kKeyQ).macro_desc, L"Esc");
    EXPECT_EQ(TakeCommands(), std::vector<int>{QCMD_WRITE_KEYMAP});
}

TEST_F(KeyPageAssignTest, DropOutsideTheKeysOrWithoutAnEntryChangesNothing)
{
    ShowTab(2);
    Values().SetSelectKeyValue(0x68);
    Dlg().DropKeyFuncOnKey(MUI::PackClientPoint(POINT{5, 5}));  // far from the key view
    Values().SetSelectKeyValue(-1);
    Dlg().DropKeyFuncOnKey(DropPointOn(kKeyA));
    ShowTab(0);
    Functions().SetCurItem(-1);
    Dlg().DropKeyFuncOnKey(DropPointOn(kKeyA));
    // A tile whose caption is empty is not dropped either.
    ShowTab(1);
    Values().ClearAllItems();
    Values().AddKeyInfo(0xE9, L"", L"", RECT{10, 150, 65, 205});
    Values().SetSelectKeyValue(0xE9);
    Dlg().DropKeyFuncOnKey(DropPointOn(kKeyA));
    EXPECT_TRUE(TakeCommands().empty());
    EXPECT_EQ(Row(kKeyA).macro_type, KMT_KEY);
    EXPECT_EQ(Row(kKeyA).macro_desc, L"A");
}

TEST_F(KeyPageAssignTest, OnlyTheDropMessageDropsOnTheKeyUnderItsPoint)
{
    // Every other private message of the main window, and a palette drag passing over it, may
    // carry a point on a key: none of them assigns it.
    ShowTab(3);
    Values().SetSelectKeyValue(FUNC_FN1);
    const LPARAM onB = DropPointOn(kKeyB);
    for (const UINT message :
         {WM_HOOK_KEY_EVENT, WM_UPDATE_NOTIFY, WM_CUSTOMKEY_MENU, WM_OPEN_ADVKEY_EDITOR,
          WM_ADVKEY_SAVED, WM_ADVKEY_PROFILE_MENU, WM_MACRO_MENU_COMMAND, WM_PERF_MENU,
          WM_LIGHT_MENU_COMMAND, WM_ADVKEY_CANCELLED, WM_ADVKEY_CLOSED, MUI::kDragMoveMessage}) {
        Dlg().OnWindowMessage(message, 0, onB);
        EXPECT_EQ(Row(kKeyB).macro_type, KMT_KEY) << std::hex << message;
    }
    EXPECT_NE(MUI::kDragMoveMessage, WM_ADVKEY_CLOSED);
    EXPECT_TRUE(TakeCommands().empty());
    Dlg().OnWindowMessage(WM_DROP_KEYFUNC, 0, onB);
    EXPECT_EQ(Row(kKeyB).macro_value, FUNC_FN1);
    EXPECT_EQ(TakeCommands(), std::vector<int>{QCMD_WRITE_KEYMAP});
}

TEST_F(KeyPageAssignTest, LayerSwitchShowsThatLayerAndSendsNothing)
{
    KeyMacroRecord fnRow = Row(kKeyA, 1);
    fnRow.macro_type = KMT_CONSUMER;
    fnRow.macro_value = 0xE2;
    fnRow.macro_desc = L"Mute";
    StoreRow(fnRow);
    // The keyboard's own tables name the base-layer selector in Chinese; the key shows the
    // current language's text for it.
    KeyMacroRecord baseRow = Row(kKeyFn, 1);
    baseRow.macro_type = KMT_FUNCTION;
    baseRow.macro_value = 0xFF;
    baseRow.macro_desc = L"\u6807\u51C6\u5C42";
    StoreRow(baseRow);
    auto& layers = Control<MUI::KeyLayerCtrl>(95);
    layers.SetSelectKeyLayer(1);
    Notify(95, 1);
    EXPECT_EQ(Dlg().page.currentFnLayer.load(), 1);
    EXPECT_EQ(Caption(kKeyA), L"Mute");
    EXPECT_EQ(Caption(kKeyFn), L"T150");
    MUI::KeyItem item;
    ASSERT_TRUE(View().GetKeyItem(kKeyB, &item));
    EXPECT_EQ(item.type, KMT_FUNCTION);
    EXPECT_TRUE(TakeCommands().empty());

    // Assignments now go to layer 1.
    View().SetCurrentKeyValue(kKeyB);
    ShowTab(1);
    Values().SetSelectKeyValue(0xEA);
    Notify(99);
    EXPECT_EQ(Row(kKeyB, 1).macro_value, 0xEA);
    EXPECT_EQ(Row(kKeyB, 0).macro_value, kKeyB);
}

TEST_F(KeyPageAssignTest, PresetChoiceRewritesTheLayerAndIsRemembered)
{
    KeyMacroRecord custom = Row(kKeyQ);
    custom.macro_type = KMT_MOUSE;
    custom.macro_value = 1;
    StoreRow(custom);
    Control<MUI::MComboBox3>(90).SelectData(205);
    Notify(90);
    EXPECT_EQ(Row(kKeyQ).macro_type, KMT_KEY);
    EXPECT_EQ(Row(kKeyQ).macro_value, 0x34);  // Dvorak
    EXPECT_EQ(Caption(kKeyQ), Row(kKeyQ).macro_desc);
    std::wstring stored;
    ASSERT_TRUE(db().GetConfig(0, L"key_profile_preset", stored));
    EXPECT_EQ(stored, L"205");
    EXPECT_EQ(TakeCommands(), (std::vector<int>{QCMD_WRITE_KEYMAP, QCMD_WRITE_SETTINGS}));
}

TEST_F(KeyPageAssignTest, PresetLeavesMacroAndAdvancedKeysAndClearsOtherActionsValues)
{
    const auto set = [this](int code, int type, int value, int value2, int value3) {
        KeyMacroRecord row = Row(code);
        row.macro_type = type;
        row.macro_value = value;
        row.macro_value2 = value2;
        row.macro_value3 = value3;
        row.macro_desc = L"mine";
        StoreRow(row);
    };
    set(kKeyA, KMT_RS, 7, kKeyB << 16 | kKeyA, kKeyB);  // an advanced key's pair
    set(kKeyB, KMT_MACRO, 2, 0, 0);
    set(kKeyQ, KMT_CONSUMER, 0x183, 0x01, 0);  // as read back: the usage's high byte
    set(kKeyX, KMT_KEY, 0x1B, 0xE1, 0);        // Shift+X stays Shift+X
    Control<MUI::MComboBox3>(90).SelectData(205);
    Notify(90);
    EXPECT_EQ(Row(kKeyA).macro_type, KMT_RS);
    EXPECT_EQ(Row(kKeyA).macro_value2, kKeyB << 16 | kKeyA);
    EXPECT_EQ(Row(kKeyB).macro_type, KMT_MACRO);
    EXPECT_EQ(Row(kKeyB).macro_desc, L"mine");
    EXPECT_EQ(Row(kKeyQ).macro_type, KMT_KEY);
    EXPECT_EQ(Row(kKeyQ).macro_value, 0x34);
    EXPECT_EQ(Row(kKeyQ).macro_value2, 0) << "no modifier bits from the consumer usage";
    EXPECT_EQ(Row(kKeyX).macro_value, 0x14);  // Dvorak's X place
    EXPECT_EQ(Row(kKeyX).macro_value2, 0xE1);
}

TEST_F(KeyPageAssignTest, ProfileChoiceActivatesItAndWaitsForTheWorker)
{
    ProfileRecord profile;
    profile.type = 1;
    profile.name = L"Profile 1";
    ASSERT_EQ(db().InsertProfile(profile), 1);
    db().SetActiveProfile(1);
    profile.name = L"Profile 2";
    const int id = db().InsertProfile(profile);
    ASSERT_GT(id, 1);
    for (unsigned other : {107u, 277u}) {
        // The pages built so far have their own combo box; the others get one here.
        auto* combo = Dlg().GetControlAs<MUI::MComboBox>(other);
        if (combo == nullptr) {
            combo = dynamic_cast<MUI::MComboBox*>(
                Dlg().ui.keysPage->CreateControl(L"MComboBox", other));
        }
        combo->AddItem(L"Profile 1", 1);
        combo->AddItem(L"Profile 2", id);
        combo->SetCurSel(0);
    }
    ProfileCombo().AddItem(L"Profile 2", id);
    ProfileCombo().SetCurSel(1);
    bool waited = false;
    WhenModalWindowUp(L"WaitDlg", [&](HWND) {
        waited = true;
        Dlg().GetWaitDlg()->DoOK();
    });
    Notify(87);
    EXPECT_TRUE(waited);
    EXPECT_EQ(Dlg().page.currentProfile.load(), id);
    EXPECT_EQ(db().GetActiveProfile(), id);
    EXPECT_EQ(Control<MUI::MComboBox>(107).GetCurData(), id);
    EXPECT_EQ(Control<MUI::MComboBox>(277).GetCurData(), id);
    EXPECT_EQ(TakeCommands(), std::vector<int>{QCMD_APPLY_PROFILE});

    ProfileCombo().AddItem(L"none", 0);
    ProfileCombo().SetCurSel(2);
    Notify(87);
    EXPECT_TRUE(TakeCommands().empty());
    EXPECT_EQ(db().GetActiveProfile(), id);
}

}  // namespace
