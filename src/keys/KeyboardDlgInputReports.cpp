// The reports the keyboard sends by itself, read by the worker's idle poll: a key's live travel
// (or its calibration values) for the performance page, and the layer and profile the user
// switched to on the keyboard. While calibrating, the poll also keeps the keyboard in its
// calibration mode. Worker thread.
#include <span>

#include "app/KeyboardDlg.h"
#include "device/DeviceManager.h"
#include "device/DeviceReport.h"
#include "keys/KeyPageControls.h"
#include "platform/mui/CSwitchButton.h"
#include "platform/mui/KeyLayerCtrl.h"
#include "platform/mui/KeyStrokeCtrl.h"
#include "platform/mui/KeyboardCtrl.h"

void KeyboardDlg::PollDeviceReport(int timeoutMs)
{
    DeviceReport report;
    DeviceManager& device = DeviceManager::GetInstance();
    if (device.GetCurrentHandle() != nullptr && device.ReadInputReport(report, timeoutMs) < 0) {
        RecoverFailedHandle();
        return;
    }
    const std::span<const uint8_t> bytes(report.bytes);
    const int shown = page.currentPage.load();
    if (bytes[0] == kKeyTravelReportKind) {
        if (shown == PAGE_PERFORMANCE) {
            if (const std::optional<KeyTravel> travel = DecodeKeyTravelReport(bytes)) {
                ShowKeyTravel(*travel);
            }
        }
    } else if (bytes[0] == kProfileSwitchReportKind) {
        // Kept until a page lets it act: the performance and lighting pages do not.
        if (const std::optional<ProfileSwitch> change = DecodeProfileSwitchReport(bytes)) {
            calibration.pendingSwitch = *change;
        }
    }
    if (calibration.pendingSwitch && shown != PAGE_PERFORMANCE && shown != PAGE_LIGHTING) {
        const ProfileSwitch change = *calibration.pendingSwitch;
        calibration.pendingSwitch.reset();
        ApplyProfileSwitch(change);
    }
    ResendCalibrationMode();
}

void KeyboardDlg::ShowKeyTravel(const KeyTravel& travel)
{
    PerfPageControls& ui = perfPage;
    if (ui.keyboard == nullptr) return;
    if (perf.calibrating.load()) {
        ui.keyboard->SetKeyCalibration(travel.keyCode, travel.travel, travel.calibration,
                                       travel.joinedDigits, travel.referenceSpan);
        return;
    }
    if (ui.debugSwitch == nullptr || !ui.debugSwitch->GetCheck()) return;
    if (ui.stroke != nullptr) ui.stroke->SetKeyActuation(travel.travel);
    ui.keyboard->SetKeyActuation(travel.keyCode, travel.travel);
}

void KeyboardDlg::ApplyProfileSwitch(const ProfileSwitch& change)
{
    page.currentFnLayer = change.layer;
    for (const unsigned id : {KeyPageId::kLayers, KeyPageId::kAdvancedKeyLayers}) {
        if (auto* layers = GetControlAs<MUI::KeyLayerCtrl>(id)) {
            layers->SetSelectKeyLayer(change.layer);
        }
    }
    // The window keeps its profile: the keyboard's key tables and lighting have no device
    // profile of their own, so they stay those of the profile shown, and only the key
    // performance is read again for a profile the keyboard now plays.
    if (perf.deviceProfile.load() != change.deviceProfile) {
        perf.deviceProfile = change.deviceProfile;
        ReloadDeviceProfile();
        return;
    }
    RefreshKeyAssignView();
}

void KeyboardDlg::ReloadDeviceProfile()
{
    const int profile = page.currentProfile.load();
    if (profile < 1) return;
    DeviceManager& device = DeviceManager::GetInstance();
    device.BeginBatch();
    ReadProfileKeyPerf(profile);
    RefreshKeyAssignView();
    LoadPerfSettings();
    device.EndBatch();
}

void KeyboardDlg::ResendCalibrationMode()
{
    if (page.currentPage.load() != PAGE_PERFORMANCE || !perf.calibrating.load()) {
        calibration.lastResendMs.reset();
        return;
    }
    const int64_t now = calibration.nowMs();
    if (!calibration.lastResendMs) {
        calibration.lastResendMs = now;
        return;
    }
    if (now - *calibration.lastResendMs <= CalibrationState::kResendMs) return;
    calibration.lastResendMs = now;
    SendCalibrationMode();
}
