#include <gtest/gtest.h>

#include "app/CUIMessageBox.h"
#include "app/WorkerCommand.h"
#include "device/KeyMacroType.h"
#include "device/KeyNameTable.h"
#include "keys/KeyPageFixture.h"
#include "platform/mui/KeyLayerCtrl.h"
#include "platform/mui/KeyTypeTab.h"
#include "platform/mui/MComboBox3.h"
#include "storage/StorageFixture.h"

namespace {

using namespace keypage_test;

class KeyPageResetTest : public KeyPageTest {
protected:
    void Customise(int keyCode, int layer = 0)
    {
        KeyMacroRecord row = Row(keyCode, layer);
        row.macro_type = KMT_MACRO;
        row.macro_value = 3;
        row.macro_value2 = 1;
        row.macro_desc = L"M3";
        StoreRow(row);
    }
    void Pair(int type, int key1, int key2)
    {
        for (int key : {key1, key2}) {
            KeyMacroRecord row = Row(key);
            row.macro_type = type;
            row.macro_value = 11;
            row.macro_value2 = (key2 << 16) | key1;
            row.macro_desc = L"pair";
            StoreRow(row);
        }
    }
    void ExpectBaseDefault(int keyCode)
    {
        const KeyMacroRecord row = Row(keyCode);
        EXPECT_EQ(row.macro_type, KMT_KEY) << keyCode;
        EXPECT_EQ(row.macro_value, keyCode);
        EXPECT_EQ(row.macro_value2, 0);
        EXPECT_EQ(row.macro_desc, KeyNameTable::GetInstance().KeyUsageToName(keyCode));
    }
    void SelectLayer(int layer)
    {
        Control<MUI::KeyLayerCtrl>(95).SetSelectKeyLayer(layer);
        Notify(95, layer);
    }
    // Answers the next confirmation with its first (1) or second (2) button; its text and
    // caption go to confirmation_.
    void AnswerConfirmation(int answer)
    {
        WhenModalWindowUp(L"MessageBox", [this, answer](HWND hwnd) {
            auto* box = dynamic_cast<CUIMessageBox*>(MUI::MWindow::FromHandle(hwnd));
            confirmation_ = {box->Message(), box->Caption()};
            box->OnMessage(answer == 1 ? kMessageBoxFirstButtonId : kMessageBoxSecondButtonId, 2,
                           0);
        });
    }
    std::pair<std::wstring, std::wstring> confirmation_;
};

TEST_F(KeyPageResetTest, SelectedKeyGoesBackToItsOwnCode)
{
    Customise(kKeyA);
    Customise(kKeyB);
    View().SetCurrentKeyValue(kKeyA);
    Notify(91);
    ExpectBaseDefault(kKeyA);
    EXPECT_EQ(Row(kKeyB).macro_type, KMT_MACRO);
    EXPECT_EQ(TakeCommands(), std::vector<int>{QCMD_WRITE_KEYMAP});

    View().SetCurrentKeyValue(-1);
    Notify(91);
    EXPECT_TRUE(TakeCommands().empty());
}

TEST_F(KeyPageResetTest, FnKeyGoesBackToFn1)
{
    Customise(kKeyFn);
    Dlg().ResetKeyToDefault(kKeyFn);
    const KeyMacroRecord row = Row(kKeyFn);
    EXPECT_EQ(row.macro_type, KMT_FUNCTION);
    EXPECT_EQ(row.macro_value, FUNC_FN1);
    EXPECT_EQ(row.macro_desc, KeyNameTable::GetInstance().KeyUsageToName(kKeyFn));
}

TEST_F(KeyPageResetTest, EitherHalfOfAPairResetsBothOnTheBaseLayer)
{
    for (int type : {KMT_RS, KMT_SOCD, KMT_OKS}) {
        for (int reset : {kKeyA, kKeyB}) {
            Pair(type, kKeyA, kKeyB);
            Customise(kKeyQ);
            Dlg().ResetKeyToDefault(reset);
            ExpectBaseDefault(kKeyA);
            ExpectBaseDefault(kKeyB);
            EXPECT_EQ(Row(kKeyQ).macro_type, KMT_MACRO) << type;
        }
    }
    // An advanced key of one key has no partner: B's own DKS stays.
    Pair(KMT_DKS, kKeyA, kKeyA);
    KeyMacroRecord other = Row(kKeyB);
    other.macro_type = KMT_DKS;
    other.macro_value = 12;
    StoreRow(other);
    Dlg().ResetKeyToDefault(kKeyA);
    ExpectBaseDefault(kKeyA);
    EXPECT_EQ(Row(kKeyB).macro_type, KMT_DKS);
}

TEST_F(KeyPageResetTest, FnLayerKeysTakeTheKeyboardDefaults)
{
    // Profile 1 holds the keyboard's own layer 3 at fn_layer 103, for key A only.
    KeyMacroRecord device;
    device.profile = 1;
    device.fn_layer = 103;
    device.key_code = kKeyA;
    device.macro_type = KMT_CONSUMER;
    device.macro_value = 0xE9;
    device.macro_desc = L"Vol+";
    KeyMacroRecord firstLayer = device;  // the keyboard's defaults have been read
    firstLayer.fn_layer = 101;
    db().InsertKeyMacros({device, firstLayer});
    SelectLayer(3);
    Customise(kKeyA, 3);
    Customise(kKeyB, 3);
    Pair(KMT_RS, kKeyA, kKeyQ);  // on the base layer only

    Dlg().ResetKeyToDefault(kKeyA);
    KeyMacroRecord row = Row(kKeyA, 3);
    EXPECT_EQ(row.macro_type, KMT_CONSUMER);
    EXPECT_EQ(row.macro_value, 0xE9);
    EXPECT_EQ(row.macro_desc, L"Vol+");
    EXPECT_EQ(row.fn_layer, 3);
    // The keyboard holds nothing for B on layer 3: B gets no action, its empty entry.
    Dlg().ResetKeyToDefault(kKeyB);
    EXPECT_EQ(Row(kKeyB, 3).macro_type, KMT_NONE);
    EXPECT_EQ(Row(kKeyB, 3).macro_value, 0);
    EXPECT_EQ(Row(kKeyB, 3).macro_desc, L"");
    EXPECT_EQ(Row(kKeyA, 0).macro_type, KMT_RS);
    EXPECT_EQ(TakeCommands(), (std::vector<int>{QCMD_WRITE_KEYMAP, QCMD_WRITE_KEYMAP}));
}

TEST_F(KeyPageResetTest, StoredPresetIsLaidOverTheResetKeyOnly)
{
    db().SetConfig(0, L"key_profile_preset", L"205");
    Customise(kKeyQ);
    Customise(kKeyB);
    View().SetCurrentKeyValue(kKeyQ);
    Notify(91);
    EXPECT_EQ(Row(kKeyQ).macro_type, KMT_KEY);
    EXPECT_EQ(Row(kKeyQ).macro_value, 0x34);  // Q's place in Dvorak
    EXPECT_EQ(Row(kKeyB).macro_type, KMT_MACRO);
    EXPECT_EQ(Control<MUI::MComboBox3>(90).GetCurData(), 205);
}

TEST_F(KeyPageResetTest, OnAnFnLayerTheStoredPresetLeavesTheKeyboardsDefaults)
{
    db().SetConfig(0, L"key_profile_preset", L"205");
    KeyMacroRecord device;
    device.profile = 1;
    device.fn_layer = 102;
    device.macro_type = KMT_CONSUMER;
    device.macro_desc = L"Vol+";
    for (int key : {kKeyA, kKeyQ}) {
        device.key_code = key;
        device.macro_value = key == kKeyA ? 0xE9 : 0xEA;
        db().InsertKeyMacros({device});
    }
    SelectLayer(2);
    Customise(kKeyA, 2);
    Customise(kKeyQ, 2);
    View().SetCurrentKeyValue(kKeyQ);
    Notify(91);
    EXPECT_EQ(Row(kKeyQ, 2).macro_type, KMT_CONSUMER);
    EXPECT_EQ(Row(kKeyQ, 2).macro_value, 0xEA);
    EXPECT_EQ(Row(kKeyA, 2).macro_type, KMT_MACRO);
    AnswerConfirmation(1);
    Notify(92);
    EXPECT_EQ(Row(kKeyA, 2).macro_type, KMT_CONSUMER);
    EXPECT_EQ(Row(kKeyA, 2).macro_value, 0xE9);
    EXPECT_EQ(Row(kKeyQ, 2).macro_value, 0xEA);
    EXPECT_EQ(Row(kKeyB, 2).macro_type, KMT_FUNCTION) << "a key without a default stays";
    EXPECT_EQ(Control<MUI::MComboBox3>(90).GetCurData(), 205);
    EXPECT_EQ(TakeCommands(), (std::vector<int>{QCMD_WRITE_KEYMAP, QCMD_WRITE_KEYMAP}));
}

TEST_F(KeyPageResetTest, ResetAllAsksFirstAndKeepsEverythingOnNo)
{
    Customise(kKeyA);
    AnswerConfirmation(2);
    Notify(92);
    EXPECT_EQ(confirmation_.first, L"T235");
    EXPECT_EQ(confirmation_.second, L"T236");
    EXPECT_EQ(Row(kKeyA).macro_type, KMT_MACRO);
    EXPECT_TRUE(TakeCommands().empty());
}

TEST_F(KeyPageResetTest, ResetAllResetsTheLayerWithPartnersThenThePreset)
{
    Customise(kKeyA);
    Pair(KMT_SOCD, kKeyB, kKeyX);
    Customise(kKeyFn);
    AnswerConfirmation(1);
    Notify(92);
    for (int key : {kKeyA, kKeyB, kKeyQ, kKeyX}) ExpectBaseDefault(key);
    EXPECT_EQ(Row(kKeyFn).macro_value, FUNC_FN1);
    EXPECT_EQ(TakeCommands(), std::vector<int>{QCMD_WRITE_KEYMAP});

    db().SetConfig(0, L"key_profile_preset", L"206");
    Customise(kKeyA);
    AnswerConfirmation(1);
    Notify(92);
    EXPECT_EQ(Row(kKeyA).macro_value, kKeyA);
    EXPECT_EQ(Row(kKeyQ).macro_value, 0x14);  // Colemak keeps Q
    EXPECT_EQ(Row(kKeyB).macro_value, kKeyB);
    EXPECT_EQ(Control<MUI::MComboBox3>(90).GetCurData(), 206);
    EXPECT_EQ(TakeCommands(), (std::vector<int>{QCMD_WRITE_KEYMAP, QCMD_WRITE_KEYMAP}));
}

TEST_F(KeyPageResetTest, LayerResetFailingPartWayKeepsTheLayerAndWritesNothing)
{
    // Fn, the layer's last row, cannot be written: A's reset before it is undone as well, and
    // nothing goes to the keyboard.
    Customise(kKeyA);
    Customise(kKeyFn);
    storage_test::Exec(db().GetDbPath(),
                       "CREATE TRIGGER fail BEFORE UPDATE ON t_key_macro_data WHEN "
                       "NEW.key_code = 255 BEGIN SELECT RAISE(ABORT, 'no'); END");
    Dlg().ResetLayerToDefault();
    EXPECT_EQ(Row(kKeyA).macro_type, KMT_MACRO);
    EXPECT_EQ(Row(kKeyFn).macro_type, KMT_MACRO);
    EXPECT_TRUE(TakeCommands().empty());
}

TEST_F(KeyPageResetTest, DefaultRowsAreMadeOnlyForAProfileWithoutRows)
{
    EXPECT_EQ(db().GetKeyMacroCount(1), 5 * 9);
    Customise(kKeyA);
    Dlg().CreateDefaultKeyRows(1);
    EXPECT_EQ(db().GetKeyMacroCount(1), 5 * 9);
    EXPECT_EQ(Row(kKeyA).macro_type, KMT_MACRO);
}

using KeyPageLookTest = KeyPageTest;

TEST_F(KeyPageLookTest, ControlsSitInTheirRectanglesWithTheirTexts)
{
    const struct {
        unsigned id;
        RECT rect;
    } rows[] = {
        {84, {340, 550, 1410, 880}},  {95, {1154, 120, 1514, 140}}, {97, {33, 285, 203, 885}},
        {98, {390, 480, 1550, 860}},  {99, {390, 480, 1550, 860}},  {90, {900, 920, 1030, 943}},
        {91, {1058, 920, 1123, 943}}, {93, {1328, 920, 1393, 943}}, {70, {370, 610, 472, 765}},
        {77, {1245, 610, 1347, 765}}, {82, {230, 200, 1500, 540}}};
    for (const auto& row : rows)
        EXPECT_EQ(Control<MUI::MControl>(row.id).GetRect(), row.rect) << row.id;

    EXPECT_EQ(Control<MUI::MControl>(91).GetTitle(), L"T95");
    EXPECT_EQ(Control<MUI::MControl>(91).GetTooltip(), L"T99");
    EXPECT_EQ(Control<MUI::MControl>(90).GetTooltip(), L"T102");
    EXPECT_EQ(Control<MUI::KeyLayerCtrl>(95).GetItemText(1), L"T109");
    EXPECT_EQ(Control<MUI::KeyTypeTab>(97).GetTabTitle(5), L"T125");
    EXPECT_EQ(Control<MUI::MComboBox3>(90).GetItemText(4), L"T229");
    EXPECT_EQ(Control<MUI::MComboBox3>(90).GetItemCount(), 5);

    // Re-applied texts give the preset chooser its own tooltip and relabel default profiles.
    ProfileCombo().AddItem(L"配置方案2", 2);
    ProfileCombo().AddItem(L"Mine", 3);
    auto* other = Dlg().GetControlAs<MUI::MComboBox>(220);  // the macro page's
    ASSERT_NE(other, nullptr);
    other->DelAllItems();
    for (const wchar_t* name : {L"Profile 1", L"配置方案2", L"Mine"}) other->AddItem(name, 0);
    Dlg().ApplyKeyPageTexts();
    Dlg().RelabelProfileNames();  // the profile list's part of a language change
    EXPECT_EQ(other->GetItemText(1), L"T1012");
    EXPECT_EQ(other->GetItemText(2), L"Mine");
    EXPECT_EQ(Control<MUI::MControl>(90).GetTooltip(), L"T103");
    EXPECT_EQ(ProfileCombo().GetItemText(0), L"T101 1");
    EXPECT_EQ(ProfileCombo().GetItemText(1), L"T1012");
    EXPECT_EQ(ProfileCombo().GetItemText(2), L"Mine");
}

}  // namespace
