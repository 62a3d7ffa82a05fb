// The performance page's control notifications and their handlers. UI thread.
#include <string>

#include "app/CUIMessageBox.h"
#include "app/KeyboardDlg.h"
#include "app/Language.h"
#include "keys/SwitchPerformanceTables.h"
#include "platform/mui/CSwitchButton.h"
#include "platform/mui/KeyStrokeCtrl.h"
#include "platform/mui/KeyboardCtrl.h"
#include "platform/mui/MComboBox.h"
#include "platform/mui/MComboBox3.h"
#include "platform/mui/MSlider.h"
#include "platform/mui/MText.h"
#include "platform/mui/WindowServices.h"
#include "storage/KBDataBase.h"

namespace {

using namespace PerfPageId;

// A second id that marks every key.
constexpr unsigned kSelectAllToo = 281;
constexpr int kProfileActionFirst = 101;
constexpr int kProfileActionLast = 103;
constexpr int kNoKeyText = 1601;
constexpr int kNoKeyCaption = 1600;
constexpr int kNoKeyMessage = 272;
constexpr int kResetActuationValue = 26;
constexpr int kDefaultSwitchType = 3;
constexpr int kBottomRapidTriggerValue = 10;
constexpr const wchar_t* kDefaultDeadZone = L"12";

bool SwitchOn(const MUI::CSwitchButton* button) { return button != nullptr && button->GetCheck(); }

const wchar_t* OnOff(bool on) { return on ? L"1" : L"0"; }

}  // namespace

int KeyboardDlg::OnPerfPageMessage(unsigned id, int code, LPARAM value)
{
    // The gauge and the sliders report every move; the other controls their click.
    switch (id) {
        case kStroke:
            if (code == MUI::kNotifyDragging || code == MUI::kNotifyClick) OnKeyStrokeChanged(code);
            return 1;
        case kCombinedSlider:
        case kPressSlider:
        case kReleaseSlider:
            OnRtSlider(id, code, static_cast<int>(value));
            return 1;
        default:
            break;
    }
    if (code != MUI::kNotifyClick) return 0;
    switch (id) {
        case kKeyboard:
            ShowSelectedKeyPerf();
            return 1;
        case kProfileCombo:
            OnPerfProfileChanged();
            return 1;
        case kProfileMenu:
            ShowPerfProfileMenu();
            return 1;
        case kPresetCombo:
            OnPerfPresetSelected();
            return 1;
        case kSwitchTypeCombo:
            OnSwitchTypeChanged();
            return 1;
        case kDebugSwitch:
            OnDebugModeSwitch();
            return 1;
        case kDeadZoneSwitch:
            OnDeadZoneSwitch();
            return 1;
        case kResetActuation:
            ResetKeyActuation();
            return 1;
        case kRapidTriggerSwitch:
            OnRapidTriggerSwitch();
            return 1;
        case kSeparateSwitch:
            OnSensitivityModeSwitch();
            return 1;
        case kResetCombined:
        case kResetPress:
        case kResetRelease:
            ResetRtSlider(id);
            return 1;
        case kContinuousSwitch:
            OnContinuousRapidTriggerSwitch();
            return 1;
        case kBottomSwitch:
            OnBottomRapidTriggerSwitch();
            return 1;
        case kSelectNone:
        case kInvertSelection:
        case kSelectAll:
        case kSelectAllToo:
            OnPerfSelection(id);
            return 1;
        case kResetSwitchType:
            ResetSwitchType();
            return 1;
        case kResetRapidTrigger:
            ResetRapidTrigger();
            return 1;
        default:
            return 0;
    }
}

bool KeyboardDlg::PerfEditBlocked() const
{
    return perf.calibrating.load() || MUI::FindWindow(L"MWindow", L"MessageBox") != nullptr;
}

bool KeyboardDlg::PerfKeysMarked(bool asMessageBox)
{
    if (perfPage.keyboard != nullptr && perfPage.keyboard->GetCheckItemCount() > 0) return true;
    if (asMessageBox) {
        ShowMessageBox(GetHWND(), GetLanString(kNoKeyText).c_str(),
                       GetLanString(kNoKeyCaption).c_str(), 0);
    } else {
        SetMessage(GetLanString(kNoKeyMessage));
    }
    return false;
}

void KeyboardDlg::OnPerfProfileChanged() { OnProfileComboChanged(kProfileCombo); }

void KeyboardDlg::OnPerfPresetSelected()
{
    if (perfPage.presetCombo == nullptr) return;
    const int choice = perfPage.presetCombo->GetCurData();
    if (choice >= kProfileActionFirst && choice <= kProfileActionLast) {
        OnCustomKeyMenuCommand(choice);
        return;
    }
    ApplyPerfPreset(choice);
}

void KeyboardDlg::OnKeyStrokeChanged(int code)
{
    PerfPageControls& ui = perfPage;
    if (PerfEditBlocked() || ui.stroke == nullptr || ui.keyboard == nullptr) return;
    if (PerfPageProfile() <= 0 || !PerfKeysMarked(true)) return;
    const int actuation = ui.stroke->GetCurKeyActuation();
    ui.keyboard->SetKeyActuation(actuation);
    SetPerfConfig(L"global_key_actuation", std::to_wstring(actuation));
    int top = 0;
    int bottom = 0;
    ui.stroke->GetDeadzoneValue(top, bottom);
    SetPerfConfig(L"dead_zone_topvalue", std::to_wstring(top));
    SetPerfConfig(L"dead_zone_bottomvalue", std::to_wstring(bottom));
    ui.keyboard->SetDeadZoneValue(top, bottom, SwitchOn(ui.deadZoneSwitch));
    if (code == MUI::kNotifyClick) ApplyRapidTrigger();
}

void KeyboardDlg::OnDebugModeSwitch()
{
    const bool on = SwitchOn(perfPage.debugSwitch);
    SetPerfConfig(L"debug_mode", OnOff(on));
    if (perfPage.stroke != nullptr) perfPage.stroke->ShowRelkeystroke(on);
    perfPage.releaseStrokeShown = on;
    QueueCommand(QCMD_WRITE_SETTINGS);
}

void KeyboardDlg::OnDeadZoneSwitch()
{
    PerfPageControls& ui = perfPage;
    if (PerfEditBlocked() || ui.stroke == nullptr || ui.keyboard == nullptr) return;
    if (PerfPageProfile() <= 0) return;
    const bool on = SwitchOn(ui.deadZoneSwitch);
    if (!PerfKeysMarked(false)) {
        if (ui.deadZoneSwitch != nullptr) ui.deadZoneSwitch->SetCheck(!on);
        return;
    }
    if (on) {
        SetPerfConfig(L"dead_zone", L"1");
        SetPerfConfig(L"dead_zone_topvalue", kDefaultDeadZone);
        SetPerfConfig(L"dead_zone_bottomvalue", kDefaultDeadZone);
        const int type = ui.switchTypeCombo != nullptr ? ui.switchTypeCombo->GetCurData() : 0;
        const int zone = DeadZoneDefault(type);
        ui.stroke->SetDeadzoneValue(zone, zone);
    } else {
        SetPerfConfig(L"dead_zone", L"0");
        ui.stroke->SetDeadzoneValue(0, 0);
    }
    ui.stroke->ShowDeadZone(on);
    // The marked keys take the gauge's dead zones with the switch's state.
    int top = 0;
    int bottom = 0;
    ui.stroke->GetDeadzoneValue(top, bottom);
    ui.keyboard->SetDeadZoneValue(top, bottom, on);
    const int actuation = ui.stroke->GetCurKeyActuation();
    ui.keyboard->SetKeyActuation(actuation);
    SetPerfConfig(L"global_key_actuation", std::to_wstring(actuation));
    ApplyRapidTrigger();
}

void KeyboardDlg::ResetKeyActuation()
{
    PerfPageControls& ui = perfPage;
    if (ui.keyboard == nullptr || ui.stroke == nullptr) return;
    ui.keyboard->ResetAllItemCheck(true);
    ui.stroke->SetCurKeyActuation(kResetActuationValue);
    ui.keyboard->SetKeyActuation(kResetActuationValue);
    ui.keyboard->ResetAllItemCheck(false);
    SetPerfConfig(L"global_key_actuation", std::to_wstring(kResetActuationValue));
    // Saved at once: a profile switch before the next change must not lose it.
    SavePerfSettings();
}

void KeyboardDlg::OnRapidTriggerSwitch()
{
    PerfPageControls& ui = perfPage;
    if (PerfEditBlocked()) return;
    const bool on = SwitchOn(ui.rapidTriggerSwitch);
    if (!PerfKeysMarked(true)) {
        if (ui.rapidTriggerSwitch != nullptr) ui.rapidTriggerSwitch->SetCheck(!on);
        return;
    }
    if (on) {
        SetPerfConfig(L"perf_rapidtrigger_mode", L"1");
        OnSensitivityModeSwitch();
    } else {
        if (ui.continuousSwitch != nullptr) ui.continuousSwitch->SetCheck(false);
        ShowRapidTriggerGroups(false);
        SetPerfConfig(L"perf_rapidtrigger_mode", L"0");
    }
    ApplyRapidTrigger();
}

void KeyboardDlg::OnSensitivityModeSwitch()
{
    if (PerfEditBlocked()) return;
    const bool separate = SwitchOn(perfPage.separateSwitch);
    SetPerfConfig(L"perf_sensitivity_mode", separate ? L"0" : L"1");
    ShowRapidTriggerGroups(true);
}

void KeyboardDlg::OnRtSlider(unsigned id, int code, int position)
{
    PerfPageControls& ui = perfPage;
    if (PerfEditBlocked()) return;
    struct SliderRole {
        MUI::MSlider* slider;
        MUI::MText* label;
        const wchar_t* key;
    };
    const SliderRole role =
        id == kCombinedSlider
            ? SliderRole{ui.combinedSlider, ui.combinedLabel, L"global_sensitivity_pos"}
        : id == kPressSlider ? SliderRole{ui.pressSlider, ui.pressLabel, L"global_rt1_pos"}
                             : SliderRole{ui.releaseSlider, ui.releaseLabel, L"global_rt2_pos"};
    if (role.slider == nullptr) return;
    const int raised = std::max(position, page.precision.Minimum());
    if (code == MUI::kNotifyDragging) {
        SetSliderPosition(role.slider, role.label, raised);
        return;
    }
    if (code != MUI::kNotifyClick) return;
    if (!PerfKeysMarked(false)) return;
    SetSliderPosition(role.slider, role.label, raised);
    SetPerfConfig(role.key, std::to_wstring(role.slider->GetPos()));
    ApplyRapidTrigger();
}

void KeyboardDlg::ResetRtSlider(unsigned resetId)
{
    const unsigned slider = resetId == kResetCombined ? kCombinedSlider
                            : resetId == kResetPress  ? kPressSlider
                                                      : kReleaseSlider;
    OnRtSlider(slider, MUI::kNotifyClick, page.precision.Minimum());
}

void KeyboardDlg::OnContinuousRapidTriggerSwitch()
{
    SetPerfConfig(L"perf_continuerapidtrigger_mode", OnOff(SwitchOn(perfPage.continuousSwitch)));
    ApplyRapidTrigger();
}

void KeyboardDlg::OnBottomRapidTriggerSwitch()
{
    PerfPageControls& ui = perfPage;
    if (ui.keyboard == nullptr || ui.stroke == nullptr) return;
    const bool on = SwitchOn(ui.bottomSwitch);
    SetPerfConfig(L"perf_bottomrapidtrigger_mode", OnOff(on));
    ui.stroke->SetBottomrapidtriggerMode(on ? 1 : 0);
    if (on) {
        ui.keyboard->SetBottomrapidtrigger(1, kBottomRapidTriggerValue);
        ui.keyboard->SetKeyActuation(ui.stroke->GetCurKeyActuation());
    } else {
        ui.keyboard->SetBottomrapidtrigger(0, 0);
    }
    // The flag travels in the settings block.
    QueueCommand(QCMD_WRITE_SETTINGS);
    SavePerfSettings();
}

void KeyboardDlg::OnPerfSelection(unsigned id)
{
    MUI::KeyboardCtrl* view = perfPage.keyboard;
    if (view == nullptr) return;
    if (id == kInvertSelection) {
        view->InvertSelectItem();
    } else {
        view->ResetAllItemCheck(id != kSelectNone);
    }
    ShowSelectedKeyPerf();
}

void KeyboardDlg::OnSwitchTypeChanged()
{
    PerfPageControls& ui = perfPage;
    if (ui.switchTypeCombo == nullptr || ui.keyboard == nullptr || ui.stroke == nullptr) return;
    if (PerfPageProfile() <= 0) return;
    const int type = ui.switchTypeCombo->GetCurData();
    ui.stroke->SetSwitchType(type, SwitchTravel(type));
    ui.keyboard->SetKeySwitchType(type);
    SetPerfConfig(L"switch_type", std::to_wstring(type));
    if (SwitchOn(ui.deadZoneSwitch)) {
        OnDeadZoneSwitch();
        return;  // which applies rapid trigger itself
    }
    ApplyRapidTrigger();
}

void KeyboardDlg::ResetSwitchType()
{
    if (perfPage.keyboard == nullptr || perfPage.stroke == nullptr) return;
    perfPage.keyboard->SetKeyPerfSwitchType(kDefaultSwitchType);
    perfPage.stroke->SetSwitchType(kDefaultSwitchType, SwitchTravel(kDefaultSwitchType));
    SavePerfSettings();
}

void KeyboardDlg::ResetRapidTrigger()
{
    PerfPageControls& ui = perfPage;
    if (ui.keyboard == nullptr || ui.stroke == nullptr) return;
    const PerfPresetValues standard{1, 75, 5, 5};
    ui.keyboard->ResetAllItemCheck(true);
    ui.keyboard->SetKeyPerfInfo(standard.mode, standard.actuation, standard.press,
                                standard.release);
    ui.stroke->SetCurKeyActuation(standard.actuation);
    SetPerfConfig(L"perf_rapidtrigger_mode", L"1");
    if (ui.rapidTriggerSwitch != nullptr) ui.rapidTriggerSwitch->SetCheck(true);
    if (ui.separateSwitch != nullptr) ui.separateSwitch->SetCheck(false);
    ShowSelectedKeyPerf();
    ui.keyboard->ResetAllItemCheck(false);
    SavePerfSettings();
}
