// The step editor: the event kinds, inserting an event, moving, deleting and clearing steps,
// saving the steps and the play settings, and the labels of the keys bound to the macro.
#include <string>
#include <vector>

#include "app/KeyboardDlg.h"
#include "app/Language.h"
#include "device/KeyMacroType.h"
#include "keys/KeyPalette.h"
#include "macros/MacroNames.h"
#include "platform/mui/CRadioButton.h"
#include "platform/mui/CRecordList.h"
#include "platform/mui/KeyTypeTab.h"
#include "platform/mui/MButton.h"
#include "platform/mui/MComboBox.h"
#include "platform/mui/MEdit.h"
#include "platform/mui/MListBox.h"
#include "platform/text/DecimalText.h"
#include "storage/KBDataBase.h"
#include "storage/RecordList.h"

namespace {

constexpr int kUnsavedText = 365;

}  // namespace

void KeyboardDlg::OnKeyEventRadio()
{
    MacroPageControls& page = macroPage;
    page.keyBox->SetTitle(L"");
    page.capturedKey = 0;
    page.keyBox->SetVisible(true);
    page.textBox->SetVisible(false);
    page.mouseCombo->SetVisible(false);
}

void KeyboardDlg::OnMouseEventRadio()
{
    MacroPageControls& page = macroPage;
    page.mouseCombo->SetCurSel(0);
    page.mouseCombo->SetVisible(true);
    page.keyBox->SetVisible(false);
    page.textBox->SetVisible(false);
}

void KeyboardDlg::OnEditEventRadio()
{
    MacroPageControls& page = macroPage;
    page.textBox->SetTitle(L"");
    page.textBox->SetVisible(true);
    page.keyBox->SetVisible(false);
    page.mouseCombo->SetVisible(false);
}

void KeyboardDlg::InsertMacroEvent()
{
    MacroPageControls& page = macroPage;
    if (SelectedMacroId() <= 0 || page.steps == nullptr) return;
    const int position = page.insertPosition->GetCurSel();
    const int selected = page.steps->GetCurSel();
    const int count = page.steps->GetItemCount();
    const auto insertPair = [&](bool mouse, const std::wstring& name, int value, int down) {
        const int at = MacroEventInsertIndex(mouse, position, selected, count);
        page.steps->InsertItem(at, MUI::RecordItem{name, down, value, kMacroDefaultDelay});
        page.steps->InsertItem(at + 1, MUI::RecordItem{name, down + 1, value, kMacroDefaultDelay});
    };
    if (page.keyRadio->GetCheck()) {
        // Without a captured key there is nothing to press.
        if (page.capturedKey == 0) return;
        insertPair(false, page.keyBox->GetTitle(), page.capturedKey, MACRO_STEP_KEY_DOWN);
    } else if (page.mouseRadio->GetCheck()) {
        insertPair(true, page.mouseCombo->GetItemText(page.mouseCombo->GetCurSel()),
                   page.mouseCombo->GetCurData(), MACRO_STEP_MOUSE_DOWN);
    } else if (page.textRadio->GetCheck() && page.textBox->GetTitle().empty()) {
        return;
    }
    SaveMacroSteps();
}

void KeyboardDlg::MoveStepUp()
{
    MUI::CRecordList* steps = macroPage.steps;
    const int selected = steps != nullptr ? steps->GetCurSel() : -1;
    if (selected > 0) steps->SwapItem(selected, selected - 1);
    SetMessage(GetLanString(kUnsavedText));
}

void KeyboardDlg::MoveStepDown()
{
    MUI::CRecordList* steps = macroPage.steps;
    const int selected = steps != nullptr ? steps->GetCurSel() : -1;
    if (selected >= 0 && selected + 1 < steps->GetItemCount()) {
        steps->SwapItem(selected, selected + 1);
    }
    SetMessage(GetLanString(kUnsavedText));
}

void KeyboardDlg::DeleteStep()
{
    MUI::CRecordList* steps = macroPage.steps;
    const int selected = steps != nullptr ? steps->GetCurSel() : -1;
    if (selected >= 0) {
        steps->DeleteItem(selected);
        steps->SetCurSel(selected);
    }
    SetMessage(GetLanString(kUnsavedText));
}

void KeyboardDlg::ClearSteps()
{
    if (macroPage.steps != nullptr) macroPage.steps->DelAllItems();
    SetMessage(GetLanString(kUnsavedText));
}

void KeyboardDlg::OnStepListNotify(int code)
{
    if (code == MUI::kNotifyEditEnded) SetMessage(GetLanString(kUnsavedText));
}

void KeyboardDlg::SaveMacroSteps()
{
    MacroPageControls& page = macroPage;
    if (page.stopRecording != nullptr && page.stopRecording->IsVisible()) {
        StopMacroRecording();  // saves by itself
        return;
    }
    const int id = SelectedMacroId();
    if (id <= 0 || page.steps == nullptr) return;
    KBDataBase& db = KBDataBase::GetInstance();
    const std::vector<MUI::RecordItem> items = page.steps->GetAllItems();
    // More than the keyboard's macro memory holds: nothing is stored.
    if (!RoomForMacroSteps(static_cast<int>(items.size()) - db.GetMacroStepCount(id))) return;
    db.DeleteMacroSteps(id);
    std::vector<MacroStepRecord> steps;
    for (size_t i = 0; i < items.size(); ++i) {
        MacroStepRecord step;
        step.macro_id = id;
        step.record_index = static_cast<int>(i);
        step.desc = items[i].name;
        step.type = items[i].type;
        step.value = items[i].value;
        step.delay_time = ClampToRange(items[i].delay, 0, kMacroMaxDelay);
        steps.push_back(std::move(step));
    }
    if (!steps.empty()) db.InsertMacroSteps(std::move(steps));
    ApplyMacroSettings();
    UpdateMacroKeyLabels();
}

void KeyboardDlg::ApplyMacroSettings()
{
    MacroPageControls& page = macroPage;
    const int id = SelectedMacroId();
    if (id <= 0) return;
    const auto heldEdit = [](MUI::MEdit* edit, int low, int high) {
        const int typed = DecimalTextToInt(edit->GetTitle());
        const int value = ClampToRange(typed, low, high);
        if (value != typed) edit->SetTitle(std::to_wstring(value));
        return value;
    };
    const int playTimes = heldEdit(page.playCount, kMacroMinPlayTimes, kMacroMaxPlayTimes);
    int mode = MACRO_DELAY_RECORDED;
    int fixedDelay = kMacroDefaultDelay;
    if (page.delayRadios[1]->GetCheck()) mode = MACRO_DELAY_NONE;
    if (page.delayRadios[2]->GetCheck()) {
        mode = MACRO_DELAY_FIXED;
        // The keyboard keeps each delay in 16 bits.
        fixedDelay = heldEdit(page.fixedDelay, 0, kMacroMaxDelay);
    }
    KBDataBase& db = KBDataBase::GetInstance();
    MacroRecord macro;
    if (!db.GetMacro(id, macro)) return;
    const bool bindingChanged = macro.link_count != playTimes;
    macro.play_times = playTimes;
    macro.link_count = playTimes;
    macro.delay_type = mode;
    macro.delay_time = fixedDelay;
    db.UpdateMacro(macro);
    page.delayMode = mode;
    page.fixedDelayMs = fixedDelay;

    if (keyPage.typeTab != nullptr && keyPage.typeTab->GetCurTab() == PALETTE_MACROS) {
        BuildKeyValuePalette(PALETTE_MACROS);
    }
    QueueWithWaitDlg(QCMD_WRITE_MACROS);
    // The play count travels with the keys bound to the macro.
    if (bindingChanged) QueueCommand(QCMD_WRITE_KEYMAP);
}

void KeyboardDlg::UpdateMacroKeyLabels()
{
    const int id = SelectedMacroId();
    if (id > 0) {
        KBDataBase& db = KBDataBase::GetInstance();
        const std::wstring label = MacroKeyLabel(id, db.GetMacroStepCount(id));
        std::vector<KeyMacroRecord*> stored;
        db.GetAllKeyMacros(stored);
        for (KeyMacroRecord row : TakeRecords(stored)) {
            if (row.macro_type != KMT_MACRO || row.macro_value != id) continue;
            row.macro_desc = label;
            db.UpdateKeyMacro(row);
        }
    }
    RefreshKeyAssignView();
}
