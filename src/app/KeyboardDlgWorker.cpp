// The worker's step: one queued command, or else the idle work of the connected keyboard.
#include <algorithm>
#include <string>

#include "app/KeyboardDlg.h"
#include "app/RegistrySettings.h"
#include "app/TimerResolution.h"
#include "app/WaitDlg.h"
#include "device/DeviceManager.h"
#include "device/DeviceReport.h"
#include "lighting/Visualizer.h"
#include "platform/mui/WindowServices.h"
#include "storage/KBDataBase.h"

namespace {

// Pause after a routine that closes the wait dialog.
constexpr int kAfterCloseMs = 100;
// Pause that lets an arriving or leaving keyboard settle before the scan.
constexpr int kSettleMs = 1000;
// The keyboard's restart after a factory reset.
constexpr int kResetRestartMs = 1000;
constexpr int kResetReloadMs = 5000;
// An overlapping foreground window wider or higher than this hides the preview.
constexpr int kCoverWidth = 1000;
constexpr int kCoverHeight = 8000;
}  // namespace

void KeyboardDlg::QueueCommand(int code)
{
    worker.queue.Push(code);
    // The worker takes it now rather than after the rest of its period.
    Wake();
}

void KeyboardDlg::Run()
{
    ++worker.steps;
    const std::unique_lock<std::mutex> step = worker.hold.EnterStep();
    if (!step.owns_lock()) {
        return;  // the UI thread holds the worker between steps
    }
    if (const std::optional<int> code = worker.queue.Pop()) {
        {
            std::lock_guard lock(popups.mutex);
            popups.registrationsAtStep = popups.registrations;
        }
        RunCommand(*code);
        return;
    }
    RunIdleStep();
}

void KeyboardDlg::RunCommand(int code)
{
    if (IsDeviceCommand(code) &&
        !(connection.deviceFound.load() && connection.deviceOpened.load())) {
        // Dropped: no exchange is attempted, but a wait dialog shown for it must not stay.
        if (ClosesWaitDialog(code)) {
            CloseStepWaitDlg();
        }
        return;
    }
    const int changedModel = connection.lastChangeModelId.load();
    switch (code) {
        case QCMD_FIRST_CONNECT:
            FirstConnect();
            break;
        case QCMD_DEVICE_ARRIVED:
            worker.pause(kSettleMs);
            ScanAndConnect(changedModel);
            OnConnectionChanged(0);
            break;
        case QCMD_PROBE_ARRIVAL:
            ProbeArrival();
            break;
        case QCMD_PROBE_BOOT_MODE:
            ProbeBootMode();
            break;
        case QCMD_DEVICE_REMOVED:
            worker.pause(kSettleMs);
            ScanAndConnect(changedModel);
            OnConnectionChanged(2);
            break;
        case QCMD_RECONNECT:
            ScanAndConnect(changedModel);
            OnConnectionChanged(0);
            LoadAllFromDevice();
            break;
        case QCMD_LOAD_FROM_DEVICE:
            LoadAllFromDevice();
            WriteSettingsToDevice();
            ShowLoadedPages();
            break;
        case QCMD_WRITE_MACROS:
            WriteMacrosToDevice();
            EndWaitDlgStep();
            break;
        case QCMD_WRITE_LIGHTING:
            WriteLightingToDevice();
            break;
        case QCMD_WRITE_USER_COLORS:
            WriteUserColorsToDevice();
            break;
        case QCMD_WRITE_KEY_PERF:
            WriteKeyPerfToDevice();
            break;
        case QCMD_WRITE_SETTINGS:
            WriteSettingsToDevice();
            break;
        case QCMD_SET_CALIBRATION:
            SendCalibrationMode();
            break;
        case QCMD_APPLY_PROFILE:
            ApplyProfile();
            EndWaitDlgStep();
            break;
        case QCMD_WRITE_KEYMAP:
            WriteKeyMapToDevice();
            EndWaitDlgStep();
            break;
        case QCMD_WRITE_LAYER_KEYMAP:
            WriteLayerKeyMapToDevice();
            EndWaitDlgStep();
            break;
        case QCMD_CHECK_SOFTWARE:
            CheckSoftwareVersion();
            break;
        case QCMD_CHECK_FIRMWARE:
            CheckFirmwareVersion();
            break;
        case QCMD_INSTALL_SOFTWARE:
            DownloadSoftwareUpdate();
            break;
        case QCMD_UPGRADE_FIRMWARE:
        case QCMD_UPGRADE_FIRMWARE_ALT:
        case QCMD_RECOVER_FIRMWARE:
            RunFirmwareJob(code);
            break;
        case QCMD_FACTORY_RESET:
            FactoryReset();
            EndWaitDlgStep();
            break;
        default:
            // 21 and 22 only take their step; 11, 23 and unknown codes do nothing.
            break;
    }
}

void KeyboardDlg::EndWaitDlgStep()
{
    CloseStepWaitDlg();
    worker.pause(kAfterCloseMs);
}

void KeyboardDlg::RunIdleStep()
{
    if (!connection.deviceFound.load()) {
        return;
    }
    // The music mode plays on the keys also while the window is hidden.
    if ((page.lightFunc.load() & LIGHT_FUNC_MUSIC) != 0) {
        ApplyMusicFrame();
    }
    if (!IsWindowVisible()) {
        return;
    }
    if (page.currentPage.load() == PAGE_LIGHTING) {
        // The live-colour preview: each raise of the resolution is released in this step.
        TimeBeginPeriod(1);
        // The music mode's keys show its own frames.
        const unsigned ownColors = LIGHT_FUNC_USER_COLORS | LIGHT_FUNC_MUSIC;
        if ((page.lightFunc.load() & ownColors) == 0 && !IsPreviewCovered() && !IsIconic()) {
            ReadKeyColorsFromDevice();
        }
        TimeEndPeriod(1);
        return;
    }
    PollDeviceReport();
}

bool KeyboardDlg::IsPreviewCovered() const
{
    const HWND foreground = MUI::GetForegroundWindow();
    const HWND self = GetHWND();
    if (foreground == nullptr || foreground == self) {
        return false;
    }
    RECT other{};
    if (!MUI::GetWindowRect(foreground, &other)) {
        return false;
    }
    const RECT mine = GetWindowRect();
    const int width = std::min(other.right, mine.right) - std::max(other.left, mine.left);
    const int height = std::min(other.bottom, mine.bottom) - std::max(other.top, mine.top);
    if (width <= 0 || height <= 0) {
        return false;
    }
    return width > kCoverWidth || height > kCoverHeight;
}

void KeyboardDlg::FirstConnect()
{
    if (connection.firstConnectDone) {
        return;
    }
    connection.firstConnectDone = true;
    ScanAndConnect(0);
    OnConnectionChanged(0);
    // With or without a keyboard; the music mode turns the analysis on when selected.
    visualizer->Init();
    visualizer->Start();
    visualizer->SetAnalysis(false);
    ProbeBootMode();
}

void KeyboardDlg::LoadAllFromDevice()
{
    LoadProfiles();
    RefreshKeyAssignView();
    ReadKeyPerfFromDevice(page.currentProfile.load());
    LoadPerfSettings();
    ShowNoConnectProgress(1);
    ReadLightingFromDevice(page.currentProfile.load());
    LoadLightModes();
    LoadSettingsPage();
    LoadMacroList();
    ShowNoConnectProgress(2);
    ShowStoredKeyPreset();
}

void KeyboardDlg::FactoryReset()
{
    DeviceReport report = DeviceReport::Command(CMD_FACTORY_RESET);
    DeviceManager::GetInstance().SendCommand(report);
    worker.pause(kResetRestartMs);
    worker.pause(kResetReloadMs);
    // The reload of LoadAllFromDevice, without the progress pictures and the stored preset.
    LoadProfiles();
    RefreshKeyAssignView();
    ReadKeyPerfFromDevice(page.currentProfile.load());
    LoadPerfSettings();
    ReadLightingFromDevice(page.currentProfile.load());
    LoadLightModes();
    LoadSettingsPage();
    LoadMacroList();
}

void KeyboardDlg::RegisterWaitDlg(std::unique_ptr<WaitDlg> dialog)
{
    std::lock_guard lock(popups.mutex);
    popups.waitDlg = std::move(dialog);
    ++popups.registrations;
}

void KeyboardDlg::CloseStepWaitDlg()
{
    // A key write still running when the user starts a profile switch must not end the
    // switch's dialog: the switch is still queued behind it.
    std::lock_guard lock(popups.mutex);
    if (popups.waitDlg && popups.registrations == popups.registrationsAtStep) {
        popups.waitDlg->DoOK();
    }
}

void KeyboardDlg::QueueWithWaitDlg(int code)
{
    auto dialog = std::make_unique<WaitDlg>();
    WaitDlg* shown = dialog.get();
    RegisterWaitDlg(std::move(dialog));
    QueueCommand(code);
    // Only the next handler on this thread replaces the registered dialog, so it stays alive
    // for the whole modal run.
    shown->ShowWaitDlg(GetHWND());
}

WaitDlg* KeyboardDlg::GetWaitDlg() const
{
    std::lock_guard lock(popups.mutex);
    return popups.waitDlg.get();
}
