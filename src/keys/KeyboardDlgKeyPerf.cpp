// The main window's performance and settings-block exchanges: they pick the profile the
// performance page shows and the calibration state, and hand over to the transfers.
#include <string>

#include "app/KeyboardDlg.h"
#include "device/DeviceManager.h"
#include "device/KeyPerfTransfer.h"
#include "device/SettingsTransfer.h"
#include "storage/KBDataBase.h"

namespace {

constexpr unsigned kPerfProfileCombo = 277;

}  // namespace

int KeyboardDlg::PerfPageProfile() const { return ProfileShownIn(kPerfProfileCombo); }

bool KeyboardDlg::KeyPerfOwed()
{
    if (!worker.unsent.Owes(UnsentTables::kPerformance)) return false;
    // The rows are what the keyboard is to get: they are written, not read over.
    std::lock_guard lock(perf.keys.mutex);
    perf.keys.unread = false;
    return true;
}

void KeyboardDlg::ReadKeyPerfFromDevice(int profile)
{
    if (KeyPerfOwed()) return;
    KeyPerfTransfer(DeviceManager::GetInstance(), KBDataBase::GetInstance(), keyTables.maps,
                    perf.keys)
        .ReadFromDevice(profile);
}

void KeyboardDlg::ReadProfileKeyPerf(int profile)
{
    if (KeyPerfOwed()) return;
    KeyPerfTransfer(DeviceManager::GetInstance(), KBDataBase::GetInstance(), keyTables.maps,
                    perf.keys)
        .ReadDeviceProfile(profile, perf.deviceProfile.load());
}

void KeyboardDlg::WriteKeyPerfToDevice()
{
    KeyPerfTransfer(DeviceManager::GetInstance(), KBDataBase::GetInstance(), keyTables.maps,
                    perf.keys)
        .WriteToDevice(PerfPageProfile());
}

void KeyboardDlg::WriteSettingsToDevice()
{
    KBDataBase& db = KBDataBase::GetInstance();
    const int profile = PerfPageProfile();
    // Bit 3 of the switch byte: calibration, else the release-stroke display of the page.
    bool calibrationBit = perf.calibrating.load();
    if (!calibrationBit && page.currentPage.load() == PAGE_PERFORMANCE) {
        std::wstring debugMode;
        calibrationBit = db.GetConfig(profile, L"debug_mode", debugMode) && debugMode == L"1";
    }
    SettingsTransfer(DeviceManager::GetInstance(), db, worker.pause)
        .WriteSwitchSettings(profile, calibrationBit);
}

void KeyboardDlg::SendCalibrationMode()
{
    DeviceManager::GetInstance().SendSimpleCommand(perf.calibrating.load() ? CMD_CALIBRATION_ON
                                                                           : CMD_CALIBRATION_OFF);
}
