// The performance page's state between its controls, the profile's rows and configuration,
// and the keyboard: loading a profile into the page, saving the key view into the rows,
// applying rapid trigger, showing one key, presets and the switch precision.
#include <string>
#include <vector>

#include "app/KeyboardDlg.h"
#include "keys/SwitchPerformanceTables.h"
#include "platform/mui/CSwitchButton.h"
#include "platform/mui/KeyStrokeCtrl.h"
#include "platform/mui/KeyboardCtrl.h"
#include "platform/mui/MComboBox.h"
#include "platform/mui/MComboBox3.h"
#include "platform/mui/MSlider.h"
#include "platform/mui/MText.h"
#include "storage/KBDataBase.h"
#include "storage/RecordList.h"

namespace {

using namespace PerfPageId;

std::wstring DistanceText(int position, const MUI::PRECISION& precision)
{
    wchar_t text[32];
    std::swprintf(text, std::size(text), L"%0.2fmm", position * precision.Step() / 100.0);
    return text;
}

int ConfigInt(int profile, const wchar_t* key, int fallback = 0)
{
    std::wstring value;
    if (!KBDataBase::GetInstance().GetConfig(profile, key, value)) return fallback;
    return static_cast<int>(std::wcstol(value.c_str(), nullptr, 10));
}

bool SwitchOn(const MUI::CSwitchButton* button) { return button != nullptr && button->GetCheck(); }

void SetSwitch(MUI::CSwitchButton* button, bool on)
{
    if (button != nullptr) button->SetCheck(on);
}

}  // namespace

void KeyboardDlg::SetPerfConfig(const wchar_t* key, const std::wstring& value)
{
    const int profile = PerfPageProfile();
    if (profile > 0) KBDataBase::GetInstance().SetConfig(profile, key, value);
}

void KeyboardDlg::SetSliderPosition(MUI::MSlider* slider, MUI::MText* label, int position)
{
    if (slider == nullptr) return;
    slider->SetPos(position);
    if (label != nullptr) label->SetTitle(DistanceText(slider->GetPos(), page.precision));
}

void KeyboardDlg::ShowRapidTriggerGroups(bool shown)
{
    for (const unsigned id : kRapidTriggerGroup) SetControlVisible(id, shown);
    if (!shown) {
        for (const unsigned id : kCombinedGroup) SetControlVisible(id, false);
        for (const unsigned id : kSeparateGroup) SetControlVisible(id, false);
        return;
    }
    const bool separate = SwitchOn(perfPage.separateSwitch);
    for (const unsigned id : kCombinedGroup) SetControlVisible(id, !separate);
    for (const unsigned id : kSeparateGroup) SetControlVisible(id, separate);
}

void KeyboardDlg::ApplyRapidTrigger()
{
    PerfPageControls& ui = perfPage;
    if (PerfPageProfile() <= 0 || ui.keyboard == nullptr) return;
    int press = ui.combinedSlider != nullptr ? ui.combinedSlider->GetPos() : 0;
    int release = press;
    if (SwitchOn(ui.separateSwitch)) {
        press = ui.pressSlider != nullptr ? ui.pressSlider->GetPos() : 0;
        release = ui.releaseSlider != nullptr ? ui.releaseSlider->GetPos() : 0;
    }
    const int mode = SwitchOn(ui.continuousSwitch) ? 2 : SwitchOn(ui.rapidTriggerSwitch) ? 1 : 0;
    ui.keyboard->SetKeyRapidTrigger(mode, press, release);
    SavePerfSettings();
}

void KeyboardDlg::SavePerfSettings()
{
    const int profile = PerfPageProfile();
    MUI::KeyboardCtrl* view = perfPage.keyboard;
    if (profile <= 0 || view == nullptr) return;
    KBDataBase& db = KBDataBase::GetInstance();
    view->EnterCriSec();
    std::vector<KeyPerfRecord*> stored;
    db.GetKeyPerfs(profile, stored);
    std::vector<KeyPerfRecord> rows = TakeRecords(stored);
    std::map<int, int> switchTypes;
    for (KeyPerfRecord& row : rows) {
        MUI::KeyPerfInfo info;
        if (view->GetKeyPerfInfo(row.key_code, info)) {
            row.switch_type = info.switchType;
            row.key_mode = info.mode;
            row.key_actuation = info.actuation;
            row.rt_press = info.press;
            row.rt_release = info.release;
            row.press_deadzone = info.pressDeadZone;
            row.release_deadzone = info.releaseDeadZone;
            row.deadzone_state = info.deadZoneState;
        }
        switchTypes[row.key_code] = row.switch_type;
    }
    view->LeaveCriSec();
    {
        std::lock_guard lock(perf.keys.mutex);
        perf.keys.switchTypeByCode = std::move(switchTypes);
    }
    db.UpdateKeyPerfs(std::move(rows));
    QueueCommand(QCMD_WRITE_KEY_PERF);
}

void KeyboardDlg::LoadPerfSettings()
{
    PerfPageControls& ui = perfPage;
    const int profile = PerfPageProfile();
    if (profile <= 0 || ui.keyboard == nullptr || ui.stroke == nullptr) return;
    SetSwitch(ui.separateSwitch, ConfigInt(profile, L"perf_sensitivity_mode") != 1);
    const bool rapidTrigger = ConfigInt(profile, L"perf_rapidtrigger_mode") == 1;
    SetSwitch(ui.rapidTriggerSwitch, rapidTrigger);
    if (rapidTrigger) {
        SetPerfConfig(L"perf_sensitivity_mode", SwitchOn(ui.separateSwitch) ? L"0" : L"1");
    }
    ShowRapidTriggerGroups(rapidTrigger);
    SetSwitch(ui.continuousSwitch, ConfigInt(profile, L"perf_continuerapidtrigger_mode") == 1);
    const bool bottom = ConfigInt(profile, L"perf_bottomrapidtrigger_mode") == 1;
    SetSwitch(ui.bottomSwitch, bottom);
    ui.stroke->SetBottomrapidtriggerMode(bottom ? 1 : 0);

    ui.stroke->SetCurKeyActuation(ConfigInt(profile, L"global_key_actuation"));
    SetSliderPosition(ui.combinedSlider, ui.combinedLabel,
                      ConfigInt(profile, L"global_sensitivity_pos"));
    SetSliderPosition(ui.pressSlider, ui.pressLabel, ConfigInt(profile, L"global_rt1_pos"));
    SetSliderPosition(ui.releaseSlider, ui.releaseLabel, ConfigInt(profile, L"global_rt2_pos"));

    if (ui.switchTypeCombo != nullptr && ui.switchTypeCombo->GetItemCount() > 0) {
        ui.switchTypeCombo->SetCurSel(0);
    }
    const int model = connection.currentModelId.load();
    if (model == 103) {
        ui.stroke->SetSwitchType(0, 340);
    } else if (model >= 101 && model <= 107) {
        ui.stroke->SetSwitchType(0, 400);
    }
    SetSwitch(ui.debugSwitch, true);
    ui.stroke->ShowRelkeystroke(true);
    ui.releaseStrokeShown = true;

    std::vector<KeyPerfRecord*> stored;
    KBDataBase::GetInstance().GetKeyPerfs(profile, stored);
    std::map<int, int> switchTypes;
    for (const KeyPerfRecord& row : TakeRecords(stored)) {
        ui.keyboard->SetKeyPerfInfo(row.key_code, {row.switch_type, row.key_mode, row.key_actuation,
                                                   row.rt_press, row.rt_release, row.press_deadzone,
                                                   row.release_deadzone, row.deadzone_state});
        switchTypes[row.key_code] = row.switch_type;
    }
    {
        std::lock_guard lock(perf.keys.mutex);
        perf.keys.switchTypeByCode = std::move(switchTypes);
    }
    ui.keyboard->UpdateControl();
}

void KeyboardDlg::ShowSelectedKeyPerf()
{
    PerfPageControls& ui = perfPage;
    if (ui.keyboard == nullptr || ui.stroke == nullptr) return;
    const int code = ui.keyboard->GetSelectKey();
    if (code < 1) return;
    MUI::KeyPerfInfo info;
    if (!ui.keyboard->GetKeyPerfInfo(code, info)) return;
    ui.stroke->SetCurKeyActuation(info.actuation);
    if (ui.switchTypeCombo != nullptr) ui.switchTypeCombo->SelectData(info.switchType);
    ui.stroke->SetSwitchType(info.switchType, SwitchTravel(info.switchType));
    if (info.mode != 0) {
        SetSliderPosition(ui.combinedSlider, ui.combinedLabel, info.press);
        SetSliderPosition(ui.pressSlider, ui.pressLabel, info.press);
        SetSliderPosition(ui.releaseSlider, ui.releaseLabel, info.release);
        SetSwitch(ui.rapidTriggerSwitch, true);
        SetSwitch(ui.separateSwitch, info.press != info.release);
        ShowRapidTriggerGroups(true);
    } else {
        SetSwitch(ui.rapidTriggerSwitch, false);
        ShowRapidTriggerGroups(false);
    }
    const bool deadZones = info.pressDeadZone != 0 || info.releaseDeadZone != 0;
    SetSwitch(ui.deadZoneSwitch, deadZones);
    ui.stroke->SetDeadzoneValue(deadZones ? info.pressDeadZone : 0,
                                deadZones ? info.releaseDeadZone : 0);
}

void KeyboardDlg::ApplyPerfPreset(int presetId)
{
    PerfPageControls& ui = perfPage;
    PerfPresetValues values{};
    if (PerfPageProfile() <= 0 || ui.keyboard == nullptr || !PerfPresetOf(presetId, values)) return;
    SetSwitch(ui.continuousSwitch, false);
    SetSwitch(ui.bottomSwitch, false);
    SetPerfConfig(L"perf_continuerapidtrigger_mode", L"0");
    SetPerfConfig(L"perf_bottomrapidtrigger_mode", L"0");
    ui.keyboard->SetKeyPerfInfo(values.mode, values.actuation, values.press, values.release, 0, 0,
                                0);
    if (ui.stroke != nullptr) ui.stroke->SetCurKeyActuation(values.actuation);
    SetSwitch(ui.rapidTriggerSwitch, values.mode != 0);
    SetPerfConfig(L"perf_rapidtrigger_mode", values.mode != 0 ? L"1" : L"0");
    SetPerfConfig(L"global_key_actuation", std::to_wstring(values.actuation));
    SetPerfConfig(L"global_rt1_pos", std::to_wstring(values.press));
    SetPerfConfig(L"global_rt2_pos", std::to_wstring(values.release));
    // The bottom rapid trigger travels in the settings block, not in the key performance.
    QueueCommand(QCMD_WRITE_SETTINGS);
    SavePerfSettings();
    LoadPerfSettings();
}

void KeyboardDlg::SetSwitchPrecision(int modelId)
{
    const MUI::PRECISION old = page.precision;
    const MUI::PRECISION now = SwitchPrecisionOf(modelId);
    const std::pair<MUI::MSlider*, MUI::MText*> sliders[] = {
        {perfPage.combinedSlider, perfPage.combinedLabel},
        {perfPage.pressSlider, perfPage.pressLabel},
        {perfPage.releaseSlider, perfPage.releaseLabel}};
    page.precision = now;
    for (const auto& [slider, label] : sliders) {
        if (slider == nullptr) continue;
        const int position = RescalePosition(slider->GetPos(), old.Step(), now.Step());
        slider->SetRange(now.Minimum(), now.Maximum());
        slider->SetPrecision(now);
        SetSliderPosition(slider, label, position);
    }
    if (perfPage.keyboard != nullptr) perfPage.keyboard->SetPrecision(now);
    if (perfPage.stroke != nullptr) perfPage.stroke->SetPrecision(now);
}
