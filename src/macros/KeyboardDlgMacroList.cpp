// The macro list: loading it, showing a macro, adding, deleting, copying, pasting and renaming
// macros, and the list's context menu.
#include <string>
#include <vector>

#include "app/CUIMessageBox.h"
#include "app/KeyboardDlg.h"
#include "app/Language.h"
#include "device/KeyMacroType.h"
#include "device/MacroImage.h"
#include "keys/KeyDefaults.h"
#include "macros/MacroNames.h"
#include "macros/ProfileFileLimits.h"
#include "platform/mui/CRadioButton.h"
#include "platform/mui/CRecordList.h"
#include "platform/mui/MComboBox.h"
#include "platform/mui/MEdit.h"
#include "platform/mui/MListBox.h"
#include "storage/KBDataBase.h"
#include "storage/RecordList.h"

namespace {

using namespace MacroPageId;

constexpr int kNewMacroWord = 331;
constexpr int kMacroCaption = 360;
constexpr int kTooManyMacrosText = 2500;
constexpr int kTooManyStepsText = 2501;

// The page's editing controls, disabled while no macro is selected. New macro and import stay
// usable, so that an empty list can be filled again.
constexpr unsigned kEditingControls[] = {
    kInsertPosition, kKeyEventRadio,  kMouseEventRadio,  kTextEventRadio,
    kKeyBox,         kTextBox,        kMouseButtonCombo, kInsertEvent,
    kDeleteMacro,    kCopyMacro,      kExportMacro,      kRenameMacro,
    kPlayCount,      kDelayRecorded,  kDelayNone,        kDelayFixed,
    kFixedDelay,     kStartRecording, kStepUp,           kStepDown,
    kDeleteStep,     kClearSteps,     kStepList,         kSave};

std::wstring Number(int value) { return std::to_wstring(value); }

}  // namespace

void KeyboardDlg::ShowMacroMessage(int textId)
{
    ShowMessageBox(GetHWND(), GetLanString(textId).c_str(), GetLanString(kMacroCaption).c_str(),
                   kMessageBoxOneButton);
}

bool KeyboardDlg::RoomForMacro()
{
    if (macroPage.list != nullptr && macroPage.list->GetItemCount() < kMacroImageMacros)
        return true;
    ShowMacroMessage(kTooManyMacrosText);
    return false;
}

bool KeyboardDlg::RoomForMacroSteps(int steps)
{
    if (KBDataBase::GetInstance().GetMacroStepTotal() + steps <=
        static_cast<int>(kMacroImageMaxSteps)) {
        return true;
    }
    ShowMacroMessage(kTooManyStepsText);
    return false;
}

int KeyboardDlg::SelectedMacroId() const
{
    if (macroPage.list == nullptr) return 0;
    const int index = macroPage.list->GetCurSel();
    if (index < 0) return 0;
    const int id = macroPage.list->GetItemData(index);
    return id > 0 ? id : 0;
}

void KeyboardDlg::EnableMacroControls(bool on)
{
    for (const unsigned id : kEditingControls) {
        if (MUI::MControl* control = GetControl(id)) control->SetEnabled(on);
    }
    // The fixed delay is typed only in its own mode.
    if (on && macroPage.fixedDelay != nullptr && macroPage.delayRadios[2] != nullptr) {
        macroPage.fixedDelay->SetEnabled(macroPage.delayRadios[2]->GetCheck());
    }
}

void KeyboardDlg::LoadMacroList()
{
    MacroPageControls& page = macroPage;
    if (page.list == nullptr || page.steps == nullptr) return;
    page.copiedMacro = 0;
    page.list->DelAllItems();
    page.steps->DelAllItems();
    EnableMacroControls(false);

    KBDataBase& db = KBDataBase::GetInstance();
    std::vector<MacroRecord*> stored;
    if (db.GetMacros(stored) == 0) {
        for (const std::wstring& name : FirstMacroNames()) db.InsertNewMacro(name);
        db.GetMacros(stored);
    }
    const std::vector<MacroRecord> macros = TakeRecords(stored);
    if (macros.empty()) return;
    for (const MacroRecord& macro : macros) page.list->AddItem(macro.name, macro.macro_id);
    page.list->SetCurSel(0);
    ShowMacro(macros.front().macro_id);
    EnableMacroControls(true);
}

void KeyboardDlg::ShowMacro(int macroId)
{
    MacroPageControls& page = macroPage;
    if (page.steps == nullptr) return;
    page.steps->DelAllItems();
    page.insertPosition->SetCurSel(0);
    page.keyRadio->SetCheck(true);
    page.keyBox->SetTitle(L"");
    page.keyBox->SetVisible(true);
    page.textBox->SetVisible(false);
    page.mouseCombo->SetVisible(false);
    page.capturedKey = 0;
    page.playCount->SetTitle(L"1");
    page.delayRadios[0]->SetCheck(true);
    page.fixedDelay->SetTitle(Number(kMacroDefaultDelay));
    page.fixedDelay->SetEnabled(false);
    // The copied macro stays remembered: showing the macro to paste next to is the usual way.

    KBDataBase& db = KBDataBase::GetInstance();
    MacroRecord macro;
    if (db.GetMacro(macroId, macro)) {
        page.playCount->SetTitle(Number(macro.play_times));
        if (macro.delay_type >= MACRO_DELAY_RECORDED && macro.delay_type <= MACRO_DELAY_FIXED) {
            page.delayRadios[macro.delay_type - 1]->SetCheck(true);
        }
        if (macro.delay_type == MACRO_DELAY_FIXED) {
            page.fixedDelay->SetEnabled(true);
            page.fixedDelay->SetTitle(Number(macro.delay_time));
        }
    }
    std::vector<MacroStepRecord*> stored;
    db.GetMacroSteps(macroId, stored);
    for (const MacroStepRecord& step : TakeRecords(stored)) {
        page.steps->AddItem(MUI::RecordItem{step.desc, step.type, step.value, step.delay_time});
    }
}

void KeyboardDlg::OnMacroListNotify(int code)
{
    const int id = SelectedMacroId();
    if (id <= 0) return;
    if (code == MUI::kNotifyClick) {
        ShowMacro(id);
    } else if (code == MUI::kNotifyEditEnded) {
        // The name edited in the list is stored, so that it lasts and is what an export writes.
        // Cut to what a profile file holds, so that an export of it can be read back.
        const int row = macroPage.list->GetCurSel();
        const std::wstring edited = macroPage.list->GetItemText(row);
        const std::wstring name = edited.substr(0, ProfileFileLimit::kTextLength);
        if (name != edited) macroPage.list->SetItemText(row, name);
        KBDataBase::GetInstance().RenameMacro(id, name);
    }
}

void KeyboardDlg::NewMacro()
{
    MacroPageControls& page = macroPage;
    if (page.list == nullptr) return;
    if (!RoomForMacro()) return;
    const int count = page.list->GetItemCount();
    const std::wstring name = NewMacroName(GetNameWord(kNewMacroWord), count + 1);
    const int id = KBDataBase::GetInstance().InsertNewMacro(name);
    if (id > 0) {
        page.list->SetCurSel(page.list->AddItem(name, id));
        ShowMacro(id);
        EnableMacroControls(true);
        // The keyboard's macro memory mirrors the list.
        QueueCommand(QCMD_WRITE_MACROS);
    }
    UpdateMacroKeyLabels();
}

void KeyboardDlg::DeleteSelectedMacro()
{
    MacroPageControls& page = macroPage;
    if (page.list == nullptr) return;
    const int index = page.list->GetCurSel();
    if (index < 0) return;
    const int id = page.list->GetItemData(index);
    if (id <= 0) return;
    KBDataBase& db = KBDataBase::GetInstance();
    std::vector<KeyMacroRecord*> stored;
    db.GetAllKeyMacros(stored);
    const std::vector<KeyMacroRecord> rows = TakeRecords(stored);
    // Keys name a macro by its place in the list: every layer of the keyboard's profile that
    // holds a macro key may point elsewhere once this one is gone.
    const int profile = KeyPageProfile();
    unsigned macroLayers = 0;
    for (const KeyMacroRecord& row : rows) {
        if (row.macro_type == KMT_MACRO && row.profile == profile && row.fn_layer >= 0 &&
            row.fn_layer < 32) {
            macroLayers |= 1u << row.fn_layer;
        }
    }
    // The keys that played it, on every profile and layer, get their default key back; the
    // rows stay, so that later changes of those keys still reach them.
    const bool deleted = db.WriteTogether([&] {
        for (KeyMacroRecord row : rows) {
            if (row.macro_type != KMT_MACRO || row.macro_value != id ||
                row.fn_layer >= kDeviceDefaultLayerOffset) {
                continue;
            }
            SetLayerDefault(db, row);
            if (!db.UpdateKeyMacro(row)) return false;
        }
        return db.DeleteMacro(id);
    });
    if (!deleted) return;
    page.list->DeleteItem(index);
    page.list->SetCurSel(index > 0 ? index - 1 : 0);
    page.steps->DelAllItems();
    if (page.copiedMacro.load() == id) page.copiedMacro = 0;
    if (page.list->GetItemCount() == 0) {
        EnableMacroControls(false);
    } else {
        ShowMacro(SelectedMacroId());
    }
    UpdateMacroKeyLabels();
    // The macro memory loses the macro, and every key layer with a macro key is sent again.
    keyTables.pendingLayers |= macroLayers;
    QueueCommand(QCMD_WRITE_MACROS);
    QueueCommand(QCMD_WRITE_KEYMAP);
}

void KeyboardDlg::CopyMacro()
{
    const int id = SelectedMacroId();
    if (id > 0) macroPage.copiedMacro = id;
}

void KeyboardDlg::PasteMacro()
{
    MacroPageControls& page = macroPage;
    const int source = page.copiedMacro.load();
    if (source < 1 || page.list == nullptr) return;
    if (!RoomForMacro()) return;
    KBDataBase& db = KBDataBase::GetInstance();
    MacroRecord macro;
    if (!db.GetMacro(source, macro)) return;
    std::vector<MacroStepRecord*> stored;
    db.GetMacroSteps(source, stored);
    const std::vector<MacroStepRecord> steps = TakeRecords(stored);
    if (!RoomForMacroSteps(static_cast<int>(steps.size()))) return;
    macro.name = MakeUniqueMacroName(macro.name + L" -");
    const int id = db.InsertMacro(macro);
    if (id <= 0) return;
    page.list->AddItem(macro.name, id);
    for (MacroStepRecord step : steps) {
        step.macro_id = id;
        db.InsertMacroStep(step);
    }
    QueueCommand(QCMD_WRITE_MACROS);
}

std::wstring KeyboardDlg::MakeUniqueMacroName(const std::wstring& base) const
{
    std::vector<std::wstring> names;
    for (int i = 0; macroPage.list != nullptr && i < macroPage.list->GetItemCount(); ++i) {
        names.push_back(macroPage.list->GetItemText(i));
    }
    return ::MakeUniqueMacroName(base, names);
}

void KeyboardDlg::OnMacroMenuCommand(int item)
{
    switch (item) {
        case MACRO_MENU_NEW:
            NewMacro();
            break;
        case MACRO_MENU_DELETE:
            DeleteSelectedMacro();
            break;
        case MACRO_MENU_COPY:
            CopyMacro();
            break;
        case MACRO_MENU_IMPORT:
            ImportMacro();
            break;
        case MACRO_MENU_EXPORT:
            ExportMacro();
            break;
        case MACRO_MENU_RENAME:
            if (macroPage.list != nullptr && SelectedMacroId() > 0) macroPage.list->ShowEdit();
            break;
        case MACRO_MENU_PASTE:
            PasteMacro();
            break;
        default:
            break;
    }
}
