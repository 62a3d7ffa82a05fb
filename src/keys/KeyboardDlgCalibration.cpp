// The switch calibration of the performance page: the keyboard is told to calibrate while the
// page is locked, every key press is swallowed, and the key view shows each key's calibration
// values from the keyboard's travel reports. UI thread, except where an end is only asked for.
#include "app/KeyboardDlg.h"
#include "app/Language.h"
#include "platform/mui/CSwitchButton.h"
#include "platform/mui/KeyStrokeCtrl.h"
#include "platform/mui/KeyboardCtrl.h"
#include "platform/mui/UiThread.h"

namespace {

constexpr int kStartTitle = 270;
constexpr int kFinishTitle = 271;
constexpr MUI::ARGB kCalibratingColor = 0xFF1EFFFF;

}  // namespace

void KeyboardDlg::ToggleKeyCalibration()
{
    PerfPageControls& ui = perfPage;
    MUI::MControl* button = GetControl(PerfPageId::kCalibration);
    const bool start = !perf.calibrating.load();
    if (start) {
        if (button != nullptr) {
            button->SetTitle(GetLanString(kFinishTitle));
            calibration.buttonColor = button->GetBkColor();
        }
        perf.calibrating = true;
        if (ui.keyboard != nullptr) {
            ui.keyboard->SetKeyboardCtrlMode(MUI::KeyboardCtrl::kModeCalibration);
            ui.keyboard->ResetKeyCalibration();
        }
        if (button != nullptr) button->SetBkColor(kCalibratingColor);
        // No key reaches a program while the user presses every key down.
        calibration.hook = std::make_unique<MUI::KeyHookManager>();
        calibration.hook->AddTarget(GetHWND(), WM_CALIBRATION_KEY);
        EnablePerfControls(false);
        if (ui.debugSwitch != nullptr) ui.debugSwitch->SetCheck(true);
        if (ui.stroke != nullptr) ui.stroke->ShowRelkeystroke(true);
    } else {
        if (button != nullptr) button->SetTitle(GetLanString(kStartTitle));
        perf.calibrating = false;
        if (ui.keyboard != nullptr) {
            ui.keyboard->SetKeyboardCtrlMode(MUI::KeyboardCtrl::kModePerformance);
        }
        if (button != nullptr) button->SetBkColor(calibration.buttonColor);
        if (calibration.hook) calibration.hook->Unhook();
        calibration.hook.reset();
        EnablePerfControls(true);
        if (ui.debugSwitch != nullptr) ui.debugSwitch->SetCheck(ui.releaseStrokeShown);
        if (ui.stroke != nullptr) ui.stroke->ShowRelkeystroke(ui.releaseStrokeShown);
    }
    if (ui.keyboard != nullptr) ui.keyboard->UpdateControl();
    QueueCommand(QCMD_SET_CALIBRATION);
    // The keyboard is given time to leave calibration before the next command.
    if (!start) SetTimer(CalibrationTimer::kAfterOff, CalibrationTimer::kAfterOffMs);
}

void KeyboardDlg::EndKeyCalibration()
{
    if (!perf.calibrating.load()) return;
    if (!MUI::IsUiThread()) {
        // The hook and the page belong to the UI thread; waiting for it here could deadlock
        // with a UI thread that waits for this one.
        SetTimer(CalibrationTimer::kEndRequested, 1);
        return;
    }
    ToggleKeyCalibration();
}

bool KeyboardDlg::OnCalibrationTimer(unsigned id)
{
    if (id == CalibrationTimer::kEndRequested) {
        KillTimer(id);
        EndKeyCalibration();
        return true;
    }
    if (id == CalibrationTimer::kAfterOff) {
        KillTimer(id);
        QueueCommand(QCMD_AFTER_CALIBRATION);
        return true;
    }
    return false;
}

void KeyboardDlg::EnablePerfControls(bool enabled)
{
    for (unsigned id = PerfPageId::kFirst; id <= PerfPageId::kLast; ++id) {
        // The calibration button stays: it ends the calibration.
        if (id == PerfPageId::kCalibration) continue;
        if (MUI::MControl* control = GetControl(id)) control->SetEnabled(enabled);
    }
}
