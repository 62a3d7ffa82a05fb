// The advanced-key page driven the user's way: type buttons, key clicks on the page's view,
// the editor's controls and the list's delete icon, with the worker run by hand against the
// in-process virtual keyboard. Each case ends on the keyboard's advanced tables, key table and
// performance table.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/MainWindowTestSupport.h"
#include "device/AdvancedKeyTables.h"
#include "keys/AdvKeyEditorIds.h"
#include "keys/CustomKeyDKSDlg.h"
#include "keys/CustomKeyDKSTipsDlg.h"
#include "keys/CustomKeyStrokeDlg.h"
#include "platform/mui/CKeyTestCtrl.h"
#include "platform/mui/CRadioButton.h"
#include "platform/mui/CSwitchButton.h"
#include "platform/mui/ControlClick.h"
#include "platform/mui/KeyDKSCtrl.h"
#include "platform/mui/KeyDKSCtrlEx.h"
#include "platform/mui/KeyFuncControl2.h"
#include "platform/mui/KeyHook.h"
#include "platform/mui/KeyMTCtrl.h"
#include "platform/mui/KeyTypeTab.h"
#include "platform/mui/KeyValueList2.h"
#include "platform/mui/KeyboardCtrl.h"
#include "platform/mui/MButton1.h"
#include "platform/mui/MSlider.h"
#include "platform/mui/MTabCtrl.h"
#include "platform/mui/MTabLayout.h"
#include "platform/mui/MText.h"
#include "platform/mui/PaletteDrag.h"
#include "platform/mui/RawInput.h"
#include "platform/mui/TextFit.h"
#include "platform/mui/UiThread.h"
#include "platform/text/Utf8.h"
#include "storage/KBDataBase.h"
#include "storage/RecordList.h"

namespace {

using apptest::MainWindowTest;
using namespace AdvKeyEditorId;
using Bytes = std::vector<uint8_t>;

constexpr int kProfile = 1;
constexpr int kA = 0x04;
constexpr int kC = 0x06;
constexpr int kD = 0x07;
constexpr int kS = 0x16;
constexpr int kF = 0x09;
constexpr int kFn = 0xFF;

class KeyboardDlgAdvKeyPageTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        ConnectWithPerfRows(kProfile, 0);
        // The page is shown, so that its view takes clicks.
        dlg->ui.keysPage->SetVisible(false);
        dlg->ui.advancedKeysPage->SetVisible(true);
        Pump();
    }

    static KBDataBase& db() { return KBDataBase::GetInstance(); }
    MUI::KeyboardCtrl& View() { return *dlg->advKeyPage.keyboard; }
    CustomKeyDKSDlg* Editor() { return dlg->advKeyPage.editor.get(); }

    void Notify(unsigned id, int code = MUI::kNotifyClick, LPARAM value = 0)
    {
        dlg->OnMessage(id, code, value);
    }
    void ClickKey(int code)
    {
        const auto at = MUI::FindControlPoint(
            View(), [&](int x, int y) { return View().GetKeyCodeAt(x, y) == code; });
        ASSERT_TRUE(at.has_value()) << code;
        ASSERT_TRUE(MUI::ClickControl(View(), *at));
        Pump();
    }
    void EditorClick(unsigned id, LPARAM value = 0)
    {
        ASSERT_NE(Editor(), nullptr);
        Editor()->OnMessage(id, MUI::kNotifyClick, value);
        Pump();
    }
    // A new advanced key of the type button on the keys, up to its value page.
    void StartNew(unsigned typeButton, std::initializer_list<int> keys)
    {
        Notify(typeButton);
        ASSERT_NE(Editor(), nullptr);
        for (int key : keys) ClickKey(key);
        EditorClick(kNext);
        ASSERT_FALSE(Editor()->IsNew());
    }
    void Save()
    {
        EditorClick(kSave);
        ASSERT_TRUE(WaitFor([&] { return Editor() == nullptr; }));
    }
    void Send() { ASSERT_TRUE(Drain()); }

    int IndexOf(int code) const { return dlg->keyTables.maps.IndexOf(code); }
    Bytes KeyEntry(int layer, int code) const
    {
        const auto e =
            keyboard->KeyEntry(static_cast<size_t>(layer), static_cast<size_t>(IndexOf(code)));
        return {e.begin(), e.end()};
    }
    std::array<uint8_t, 8> KeyPerf(int code) const
    {
        return keyboard->KeyPerf(static_cast<size_t>(IndexOf(code)));
    }
    static Bytes Slice(const std::vector<uint8_t>& table, size_t at, size_t count)
    {
        return Bytes(table.begin() + static_cast<long>(at),
                     table.begin() + static_cast<long>(at + count));
    }
    KeyMacroRecord Row(int code, int layer = 0)
    {
        KeyMacroRecord row;
        db().GetKeyMacro(kProfile, layer, code, row);
        return row;
    }
    std::vector<MagneticKeyRecord> AdvancedKeys()
    {
        std::vector<MagneticKeyRecord*> stored;
        db().GetMagneticKeys(kProfile, stored);
        return TakeRecords(stored);
    }
};

TEST_F(KeyboardDlgAdvKeyPageTest, ModTapAndToggleExplanationsAreReadableAndWhole)
{
    // Mod-tap (124) and toggle (125): every text of the value page is drawn at 12 px or more
    // and fits its box.
    for (const unsigned typeButton : {124u, 125u}) {
        SCOPED_TRACE(typeButton);
        StartNew(typeButton, {kA});
        int texts = 0;
        for (MUI::MControl* control : Editor()->GetControls()) {
            if (!control->IsVisible() || dynamic_cast<MUI::MText*>(control) == nullptr) continue;
            for (const MUI::DrawnText& drawn : MUI::RecordDrawnTexts(*control)) {
                SCOPED_TRACE(text::WideToUtf8(drawn.text));
                EXPECT_GE(drawn.font.size, 12);
                EXPECT_TRUE(MUI::TextFits(drawn));
                ++texts;
            }
        }
        EXPECT_GE(texts, typeButton == 124u ? 6 : 2);
        EditorClick(kCancel);
        ASSERT_TRUE(WaitFor([&] { return Editor() == nullptr; }));
    }
}

TEST_F(KeyboardDlgAdvKeyPageTest, RapidSnapOnTwoKeysBindsBothAndSetsTheirPerformance)
{
    StartNew(126, {kA, kS});
    Save();
    Send();
    const auto keys = AdvancedKeys();
    ASSERT_EQ(keys.size(), 1u);
    EXPECT_EQ(keys[0].key_value, kS << 16 | kA);
    EXPECT_EQ(keys[0].key2_value, 20 * 0x10001);
    // Bound on two keys, listed once.
    const auto listed = dlg->advKeyPage.list->GetItems();
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0].caption, L"A / S");
    EXPECT_EQ(listed[0].value, keys[0].macro_id);
    for (const auto& [key, partner] : {std::pair{kA, kS}, std::pair{kS, kA}}) {
        const KeyMacroRecord row = Row(key);
        EXPECT_EQ(row.macro_type, 17);
        EXPECT_EQ(row.macro_value2, kS << 16 | kA);
        EXPECT_EQ(row.macro_value3, partner);
        const Bytes entry = KeyEntry(0, key);
        ASSERT_EQ(entry.size(), 3u);
        EXPECT_EQ(entry[0], 0x93);
        EXPECT_EQ(entry[2], IndexOf(partner));
        const Bytes slot = Slice(keyboard->Memory().pairTable, entry[1] * kPairSlotBytes, 6);
        EXPECT_EQ(slot, (Bytes{0x10, 0, static_cast<uint8_t>(key), 0x10, 0,
                               static_cast<uint8_t>(partner)}));
        const auto perf = KeyPerf(key);
        EXPECT_EQ(perf[1], 1) << "rapid-snap mode";
        EXPECT_EQ(perf[2], 74) << "actuation 1.50 mm";
        EXPECT_EQ(perf[4], 19) << "press distance 0.40 mm";
        EXPECT_EQ(perf[6], 19) << "release distance 0.40 mm";
    }
}

TEST_F(KeyboardDlgAdvKeyPageTest, SocdPriorityModeIsMirroredOnKeyB)
{
    StartNew(127, {kA, kD});
    Editor()->GetControlAs<MUI::CRadioButton>(kSocdModeFirst + 1)->SetCheck(true);
    Save();
    Send();
    EXPECT_EQ(KeyPerf(kA)[1], 0x11);
    EXPECT_EQ(KeyPerf(kD)[1], 0x21);
    EXPECT_EQ(KeyEntry(0, kA)[0], 0x94);

    // Reopened from key B, the editor shows the stored pair, not the clicked key.
    ClickKey(kD);
    ASSERT_NE(Editor(), nullptr);
    EXPECT_EQ(Editor()->KeyValue(), static_cast<uint32_t>(kD << 16 | kA));
    EXPECT_TRUE(Editor()->GetControlAs<MUI::CRadioButton>(kSocdModeFirst + 1)->GetCheck());
}

TEST_F(KeyboardDlgAdvKeyPageTest, OneKeySwitchOfOneKeyLeavesTheOtherKeysDefault)
{
    StartNew(128, {kA, kS});
    Editor()->GetControlAs<MUI::CRadioButton>(kOksModeFirst + 1)->SetCheck(true);
    Save();
    Send();
    EXPECT_EQ(Row(kA).macro_type, 19);
    const KeyMacroRecord other = Row(kS);
    EXPECT_EQ(other.macro_type, 0);
    EXPECT_EQ(other.macro_value, kS) << "the key's own code, never -1 or the partner";
    EXPECT_EQ(KeyEntry(0, kA)[0], 0x95);
    EXPECT_EQ(KeyEntry(0, kS), (Bytes{0x10, 0, kS}));
}

TEST_F(KeyboardDlgAdvKeyPageTest, DynamicKeystrokeOnTheFnKeyIsSentAndItsDeletionRestoresFn1)
{
    StartNew(123, {kFn});
    auto* dks = Editor()->GetControlAs<MUI::KeyDKSCtrl>(kDks);
    auto* functions = Editor()->GetControlAs<MUI::KeyFuncControl2>(kKeyFunctions);
    const auto items = functions->GetItems();
    const auto indexOf = [&](int usage) {
        for (size_t i = 0; i < items.size(); ++i)
            if (items[i].values[1] == usage) return static_cast<int>(i);
        return -1;
    };
    // Bindings A, (empty), C and D.
    for (const auto& [row, usage] : {std::pair{0, kA}, std::pair{2, kC}, std::pair{3, kD}}) {
        dks->SetCurItem(row);
        ASSERT_TRUE(functions->SetCurItem(indexOf(usage)));
        EditorClick(kKeyFunctions);
    }
    dks->SetItemState(16, 0x1);
    Save();
    Send();
    const auto keys = AdvancedKeys();
    ASSERT_EQ(keys.size(), 1u);
    EXPECT_EQ(keys[0].key1_name, L"A+C+D");
    std::vector<KeyItemRecord*> stored;
    db().GetKeyItems(keys[0].macro_id, stored);
    const auto itemRows = TakeRecords(stored);
    ASSERT_EQ(itemRows.size(), 4u);
    EXPECT_EQ(itemRows[1].key_value, 0);
    EXPECT_EQ(itemRows[1].key_name, L"");

    const Bytes entry = KeyEntry(0, kFn);
    EXPECT_EQ(entry[0], 0x90);
    const Bytes slot = Slice(keyboard->Memory().dksTable, entry[1] * kDksSlotBytes, 24);
    // Travel points 1.5, 3.5, 3.5 and 1.5 mm, then the four bindings.
    EXPECT_EQ(Slice(slot, 0, 4), (Bytes{15, 35, 35, 15}));
    EXPECT_EQ(Slice(slot, 4, 5), (Bytes{0x10, 0, kA, 1, 0}));
    EXPECT_EQ(Slice(slot, 14, 3), (Bytes{0x10, 0, kC}));

    // The list's delete icon.
    auto* list = dlg->advKeyPage.list;
    ASSERT_EQ(list->GetItemCount(), 1);
    list->SetSelectValue(keys[0].macro_id);
    Notify(AdvKeyPageId::kList, MUI::kNotifyItemDeleted, keys[0].macro_id);
    Send();
    EXPECT_TRUE(AdvancedKeys().empty());
    EXPECT_EQ(list->GetItemCount(), 0);
    EXPECT_EQ(Row(kFn).macro_type, 12);
    EXPECT_EQ(Row(kFn).macro_value, 0x1FF);
    EXPECT_EQ(KeyEntry(0, kFn), (Bytes{0xF0, 0xFF, 0x01}));
}

TEST_F(KeyboardDlgAdvKeyPageTest, DropsAndExtendedTilesFillTheBindingsTheTablesCanCarry)
{
    StartNew(123, {kC});
    CustomKeyDKSDlg& editor = *Editor();
    auto* dks = editor.GetControlAs<MUI::KeyDKSCtrl>(kDks);
    auto* functions = editor.GetControlAs<MUI::KeyFuncControl2>(kKeyFunctions);
    const auto items = functions->GetItems();
    for (const auto& item : items) EXPECT_NE(item.values[1], 3) << "no Disable key";
    EXPECT_TRUE(functions->GetChips().empty()) << "no modifier chips";
    // A key function dropped on the second binding row.
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i].values[1] == kS) functions->SetCurItem(static_cast<int>(i));
    }
    const RECT grid = dks->GetRect();
    const RECT row = dks->GetCellRect(1);
    editor.OnWindowMessage(
        MUI::kDropMessage, 0,
        MUI::PackClientPoint(POINT{grid.left + row.left + 5, grid.top + row.top + 5}));
    EXPECT_EQ(dks->GetItems()[1], (MUI::KeyCell{L"S", kS, 2}));
    // Only the keys and the extended keys can be bound.
    auto* tabs = editor.GetControlAs<MUI::KeyTypeTab>(kTypeTab);
    for (int tab = 0; tab < 6; ++tab) EXPECT_EQ(tabs->IsTabEnabled(tab), tab == 0 || tab == 2);
    // The tab strip's own click makes the tab current, then notifies.
    tabs->SetCurTab(2);
    EditorClick(kTypeTab, 2);
    auto* tiles = editor.GetControlAs<MUI::KeyValueList2>(kKeyValues);
    ASSERT_TRUE(tiles->IsVisible());
    ASSERT_GT(tiles->GetItemCount(), 0);
    const MUI::KeyValueList2::Tile tile = tiles->GetItems()[0];
    tiles->SetSelectKeyValue(tile.value);
    dks->SetCurItem(2);
    EditorClick(kKeyValues);
    EXPECT_EQ(dks->GetItems()[2], (MUI::KeyCell{tile.caption, tile.value, 2}));
}

TEST_F(KeyboardDlgAdvKeyPageTest, TwoSavesBeforeTheWorkerRunsSendBothTables)
{
    StartNew(124, {kC});
    auto* mt = Editor()->GetControlAs<MUI::KeyMTCtrl>(kMt);
    mt->SetItem(0, L"A", kA, 2);
    mt->SetItem(1, L"D", kD, 2);
    Save();
    StartNew(125, {kF});
    Editor()->GetControlAs<MUI::KeyMTCtrl>(kMt)->SetItem(0, L"S", kS, 2);
    Save();
    Send();
    const Bytes mtEntry = KeyEntry(0, kC);
    EXPECT_EQ(mtEntry[0], 0x92);
    EXPECT_EQ(mtEntry[2], 20) << "hold time 200 ms";
    EXPECT_EQ(Slice(keyboard->Memory().pairTable, mtEntry[1] * kPairSlotBytes, 6),
              (Bytes{0x10, 0, kA, 0x10, 0, kD}));
    const Bytes tglEntry = KeyEntry(0, kF);
    EXPECT_EQ(tglEntry[0], 0x91);
    EXPECT_EQ(Slice(keyboard->Memory().toggleTable, tglEntry[1] * kToggleSlotBytes, 3),
              (Bytes{0x10, 0, kS}));
    EXPECT_EQ(dlg->advKeyPage.list->GetItemCount(), 2);
    EXPECT_EQ(dlg->advKeyPage.listCount->GetTitle(), L"02");
}

TEST_F(KeyboardDlgAdvKeyPageTest, ModTapWithoutBothBindingsStaysOpenAndSavesNothing)
{
    StartNew(124, {kC});
    Editor()->GetControlAs<MUI::KeyMTCtrl>(kMt)->SetItem(0, L"A", kA, 2);
    EditorClick(kSave);
    EXPECT_NE(Editor(), nullptr);
    EXPECT_TRUE(AdvancedKeys().empty());
    EXPECT_TRUE(TakeQueue().empty());
}

TEST_F(KeyboardDlgAdvKeyPageTest, RapidSnapWithOneKeyIsRefusedWithTheMissingKeysMessage)
{
    std::vector<std::wstring> shown;
    AdvKeyEditorServices services;
    services.text = [](int number) { return std::to_wstring(number); };
    services.messageBox = [&](HWND, const std::wstring& text, const std::wstring& caption) {
        shown.push_back(text + L"/" + caption);
    };
    CustomKeyDKSDlg editor(services);
    editor.SetKeyInfo(kTypeRs, kProfile, 0, 0, 1);
    ASSERT_NE(editor.Create(dlg->GetHWND(), RECT{254, 570, 1600, 970}), nullptr);
    editor.SetTargetKey(kA);
    editor.OnMessage(kNext, MUI::kNotifyClick, 0);
    EXPECT_EQ(shown, std::vector<std::wstring>{L"1099/1100"});
    EXPECT_TRUE(editor.IsNew()) << "the key-selection step stays";
    editor.SetTargetKey(kS << 16 | kA);
    editor.OnMessage(kNext, MUI::kNotifyClick, 0);
    EXPECT_FALSE(editor.IsNew());
    EXPECT_EQ(shown.size(), 1u);
}

TEST_F(KeyboardDlgAdvKeyPageTest, ClosingThePopupsEndsTheEditorAndEnablesTheTypeButtons)
{
    Notify(123);
    ASSERT_NE(Editor(), nullptr);
    EXPECT_FALSE(dlg->advKeyPage.typeButtons[0]->IsEnabled());
    dlg->CloseAllPopups();
    EXPECT_TRUE(WaitFor([&] { return Editor() == nullptr; }));
    EXPECT_TRUE(dlg->advKeyPage.typeButtons[0]->IsEnabled());
    EXPECT_EQ(dlg->advKeyPage.armedType, 0);
}

TEST_F(KeyboardDlgAdvKeyPageTest, HeldPcKeysAreListedOnceWhileThePageIsShown)
{
    const auto tabOf = [&](int page) {
        for (int i = 0; i < 7; ++i)
            if (dlg->ui.tabCtrl->GetItemID(i) == page) return i;
        return -1;
    };
    const auto shown = [&] {
        std::vector<int> codes;
        for (const auto& key : dlg->advKeyPage.keyTest->GetKeys()) codes.push_back(key.second);
        return codes;
    };
    const MUI::KBDLLHOOKSTRUCT keyA{0x41, 0x1E, 0, 0, 0};
    const MUI::KBDLLHOOKSTRUCT shift{0xA0, 0x2A, 0, 0, 0};
    dlg->OnPageChanged(tabOf(PAGE_ADVANCED_KEYS));
    ASSERT_TRUE(MUI::IsRawInputRegistered());
    // Auto-repeat presses the key again and again: it is listed once.
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(MUI::InjectKeyEvent(WM_KEYDOWN, keyA));
    MUI::InjectKeyEvent(WM_KEYDOWN, shift);
    EXPECT_EQ(shown(), (std::vector<int>{kA, 0xE1}));
    MUI::InjectKeyEvent(WM_KEYUP, keyA);
    EXPECT_EQ(shown(), std::vector<int>{0xE1});
    // Leaving the page ends raw input and empties the list.
    dlg->OnPageChanged(tabOf(PAGE_KEYS));
    EXPECT_FALSE(MUI::IsRawInputRegistered());
    EXPECT_TRUE(shown().empty());
    MUI::InjectKeyEvent(WM_KEYDOWN, keyA);
    EXPECT_TRUE(shown().empty());
}

// Sets an environment variable for the test's lifetime.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) { setenv(name, value, 1); }
    ~ScopedEnv() { unsetenv(name_); }

private:
    const char* name_;
};

TEST_F(KeyboardDlgAdvKeyPageTest, NewSocdEditorStartsWithItsDefaults)
{
    StartNew(127, {kA, kD});
    CustomKeyDKSDlg& editor = *Editor();
    EXPECT_TRUE(editor.GetControlAs<MUI::CRadioButton>(kSocdModeFirst)->GetCheck());
    EXPECT_FALSE(editor.GetControlAs<MUI::CSwitchButton>(kSocdSplit)->GetCheck());
    EXPECT_EQ(editor.GetControlAs<MUI::MSlider>(kSocdDistance)->GetPos(), 20);
    EXPECT_EQ(editor.GetControlAs<MUI::MText>(kSocdDistanceLabel)->GetTitle(), L"0.40mm");
    EXPECT_EQ(editor.GetControlAs<MUI::MSlider>(kSocdActuation)->GetPos(), 75);
    EXPECT_EQ(editor.GetControlAs<MUI::MText>(kSocdActuationLabel)->GetTitle(), L"1.50mm");
    EXPECT_FALSE(editor.GetControl(kSocdPress)->IsVisible());
    EXPECT_NE(editor.GetControl(kSocdPressText), editor.GetControl(kSocdReleaseText))
        << "the two distance texts have their own ids";
}

TEST_F(KeyboardDlgAdvKeyPageTest, SocdSeparateDistancesAreStoredAndShownAgain)
{
    StartNew(127, {kA, kD});
    CustomKeyDKSDlg& editor = *Editor();
    editor.GetControlAs<MUI::CSwitchButton>(kSocdSplit)->SetCheck(true);
    EditorClick(kSocdSplit);
    EXPECT_TRUE(editor.GetControl(kSocdPress)->IsVisible());
    EXPECT_FALSE(editor.GetControl(kSocdDistance)->IsVisible());
    editor.GetControlAs<MUI::MSlider>(kSocdPress)->SetPos(10);
    editor.GetControlAs<MUI::MSlider>(kSocdRelease)->SetPos(30);
    Save();
    Send();
    ASSERT_EQ(AdvancedKeys().size(), 1u);
    EXPECT_EQ(AdvancedKeys()[0].key2_value, 30 << 16 | 10);
    EXPECT_EQ(KeyPerf(kA)[4], 9);
    EXPECT_EQ(KeyPerf(kA)[6], 29);
    // Reopened from the list: the switch is on with both distances.
    dlg->advKeyPage.list->SetSelectValue(AdvancedKeys()[0].macro_id);
    Notify(AdvKeyPageId::kList);
    ASSERT_NE(Editor(), nullptr);
    EXPECT_TRUE(Editor()->GetControlAs<MUI::CSwitchButton>(kSocdSplit)->GetCheck());
    EXPECT_EQ(Editor()->GetControlAs<MUI::MSlider>(kSocdRelease)->GetPos(), 30);
}

TEST_F(KeyboardDlgAdvKeyPageTest, EditingAModTapKeyFromTheListSendsTheNewHoldTime)
{
    StartNew(124, {kC});
    auto* mt = Editor()->GetControlAs<MUI::KeyMTCtrl>(kMt);
    mt->SetItem(0, L"A", kA, 2);
    mt->SetItem(1, L"D", kD, 2);
    Save();
    Send();
    const int id = AdvancedKeys().at(0).macro_id;
    dlg->advKeyPage.list->SetSelectValue(id);
    Notify(AdvKeyPageId::kList);
    ASSERT_NE(Editor(), nullptr);
    EXPECT_FALSE(Editor()->IsNew());
    EXPECT_EQ(Editor()->GetControlAs<MUI::KeyMTCtrl>(kMt)->GetItems()[1].caption, L"D");
    Editor()->GetControlAs<MUI::MSlider>(kHoldSlider)->SetPos(50);
    EditorClick(kHoldSlider);
    EXPECT_EQ(Editor()->GetControlAs<MUI::MText>(kHoldLabel)->GetTitle(), L"500ms");
    Save();
    Send();
    EXPECT_EQ(AdvancedKeys().size(), 1u) << "the same key, updated";
    EXPECT_EQ(AdvancedKeys()[0].reserved, 500);
    EXPECT_EQ(KeyEntry(0, kC)[2], 50);
}

TEST_F(KeyboardDlgAdvKeyPageTest, DeletingAPairRestoresBothKeysAndTheirPerformance)
{
    StartNew(126, {kA, kS});
    Save();
    Send();
    ASSERT_EQ(KeyPerf(kA)[1], 1);
    // The profile's plain keys: rapid trigger off, actuation 1.80 mm.
    db().SetConfig(kProfile, L"perf_rapidtrigger_mode", L"0");
    db().SetConfig(kProfile, L"global_key_actuation", L"90");
    const int id = AdvancedKeys().at(0).macro_id;
    dlg->advKeyPage.list->SetSelectValue(id);
    Notify(AdvKeyPageId::kList, MUI::kNotifyItemDeleted, id);
    Send();
    for (int key : {kA, kS}) {
        EXPECT_EQ(KeyPerf(key)[2], 89);
        EXPECT_EQ(Row(key).macro_type, 2);
        EXPECT_EQ(Row(key).macro_value, key);
        EXPECT_EQ(KeyEntry(0, key), (Bytes{0x10, 0, static_cast<uint8_t>(key)}));
        EXPECT_EQ(KeyPerf(key)[1], 0);
    }
}

TEST_F(KeyboardDlgAdvKeyPageTest, ResetLayerOnlyOnYes)
{
    StartNew(125, {kF});
    Editor()->GetControlAs<MUI::KeyMTCtrl>(kMt)->SetItem(0, L"S", kS, 2);
    Save();
    Send();
    for (const auto& [answer, type] : {std::pair{"2", 16}, std::pair{"0", 16}, std::pair{"1", 2}}) {
        const ScopedEnv env("TOLVENIC_TEST_MESSAGE_ANSWER", answer);
        Notify(AdvKeyPageId::kResetLayer);
        Send();
        EXPECT_EQ(Row(kF).macro_type, type) << "answer " << answer;
    }
    EXPECT_EQ(KeyEntry(0, kF), (Bytes{0x10, 0, kF}));
}

TEST_F(KeyboardDlgAdvKeyPageTest, AFailedSaveIsReportedAndKeepsTheEditorOpen)
{
    const ScopedEnv env("TOLVENIC_TEST_MESSAGE_ANSWER", "1");
    StartNew(126, {kA, kS});
    const std::filesystem::path file = db().GetDbPath();
    const std::wstring folder = file.parent_path().parent_path().wstring() + L"/";
    std::wstring name = file.filename().wstring();
    name = name.substr(0, name.size() - std::wstring(L"_datav4.db").size());
    db().Close();
    EditorClick(kSave);
    EXPECT_NE(Editor(), nullptr) << "still open";
    EXPECT_EQ(Editor()->MacroId(), 0);
    EXPECT_TRUE(TakeQueue().empty());
    ASSERT_TRUE(db().Open(folder, name));
    EXPECT_TRUE(AdvancedKeys().empty());
}

TEST(AdvKeyPopups, TipsOfTheOneKeyTypesOnlyAndTheStrokePickersChoice)
{
    MUI::EnsureApplication();
    const auto text = [](int number) { return std::to_wstring(number); };
    EXPECT_EQ(CustomKeyDKSTipsDlg(kTypeDks, text).Title(), L"720");
    EXPECT_EQ(CustomKeyDKSTipsDlg(kTypeMt, text).Body(), L"726 \n\n 727\n\n 728");
    for (int type : {kTypeRs, kTypeSocd, kTypeOks}) {
        EXPECT_EQ(CustomKeyDKSTipsDlg(type, text).Title(), L"");
        EXPECT_EQ(CustomKeyDKSTipsDlg(type, text).Body(), L"");
    }
    // The default button gives 3.6 mm and apply closes with OK.
    CustomKeyStrokeDlg picker(15, text);
    ASSERT_NE(picker.CreatePopup(nullptr, RECT{100, 100, 460, 400}), nullptr);
    MUI::PostToUiThread([&] {
        picker.OnMessage(kStrokeDefault, MUI::kNotifyClick, 0);
        picker.OnMessage(kStrokeApply, MUI::kNotifyClick, 0);
    });
    EXPECT_EQ(picker.ShowModal(), 1);
    EXPECT_EQ(picker.Value(), 36);
    MUI::KeyDKSCtrl cells;
    cells.SetItemValue(MUI::KeyDKSCtrl::kFirstPoint, picker.Value());
    MUI::KeyCell point;
    ASSERT_TRUE(cells.GetItem(MUI::KeyDKSCtrl::kFirstPoint, point));
    EXPECT_EQ(point.caption, L"3.6mm");
    // A click outside closes it without a choice, at once.
    CustomKeyStrokeDlg outside(15, text);
    ASSERT_NE(outside.CreatePopup(nullptr, RECT{100, 100, 460, 400}), nullptr);
    MUI::PostToUiThread([&] { outside.OnNcActivate(false); });
    EXPECT_EQ(outside.ShowModal(), 2);
    EXPECT_EQ(outside.Value(), 15);
}

TEST(RawInputParse, KeysAndButtonsAsTheirEvents)
{
    const struct {
        UINT message;
        uint32_t vk, scan;
        int kind, released, code;
        const wchar_t* name;
    } cases[] = {
        {WM_KEYDOWN, 0x10, 0x2A, MUI::kRawInputKeyboard, 0, 160, L"Shift"},
        {WM_SYSKEYUP, 0x12, 0x38, MUI::kRawInputKeyboard, 1, 164, L"Alt"},
        {WM_KEYUP, 0x5C, 0x5C, MUI::kRawInputKeyboard, 1, 92, L"RWindows"},
        {WM_KEYDOWN, 0x90, 0x45, MUI::kRawInputKeyboard, 0, 144, L"Num Lock"},
    };
    for (const auto& c : cases) {
        const MUI::KBDLLHOOKSTRUCT key{c.vk, c.scan, 0, 0, 0};
        MUI::RawInputEvent event;
        ASSERT_TRUE(MUI::ParseRawInput(c.message, reinterpret_cast<LPARAM>(&key), event));
        EXPECT_EQ(event.kind, c.kind);
        EXPECT_EQ(event.released, c.released);
        EXPECT_EQ(event.code, c.code);
        EXPECT_EQ(event.name, c.name);
    }
    MUI::MSLLHOOKSTRUCT button{};
    MUI::RawInputEvent event;
    ASSERT_TRUE(MUI::ParseRawInput(WM_RBUTTONUP, reinterpret_cast<LPARAM>(&button), event));
    EXPECT_EQ(event.kind, MUI::kRawInputMouse);
    EXPECT_EQ(event.code, 3);
    EXPECT_EQ(event.released, 1);
    EXPECT_EQ(event.name, L"mouse_right");
    button.mouseData = 2 << 16;
    ASSERT_TRUE(MUI::ParseRawInput(0x020B, reinterpret_cast<LPARAM>(&button), event));
    EXPECT_EQ(event.code, 7);
    EXPECT_EQ(event.name, L"mouse_button5");
}

}  // namespace
