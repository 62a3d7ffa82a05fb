// The worker's step: one queued command, or else the idle work of the connected keyboard.
#include <algorithm>
#include <chrono>
#include <string>

#include "app/CUIMessageBox.h"
#include "app/KeyboardDlg.h"
#include "app/Language.h"
#include "app/RegistrySettings.h"
#include "app/TimerResolution.h"
#include "app/WaitDlg.h"
#include "device/DeviceManager.h"
#include "device/DeviceReport.h"
#include "keys/KeyTableTransfer.h"
#include "lighting/Visualizer.h"
#include "platform/mui/MWindow.h"
#include "platform/mui/UiThread.h"
#include "platform/mui/WindowServices.h"
#include "platform/os/ReleaseFreeMemory.h"
#include "storage/KBDataBase.h"
#include "update/TransferBreaks.h"

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
// The pause between two idle steps when nothing is shown or polled often: few enough wake-ups
// that the program costs nothing at rest, and a failed handle or a profile switched on the
// keyboard is still seen within it.
constexpr int kRestingMs = 1000;
// The notice of keyboard tables that a load could not read whole.
constexpr int kUnreadTablesText = 2402;
constexpr int kUnreadTablesCaption = 1;
}  // namespace

void KeyboardDlg::QueueCommand(int code)
{
    // A handler whose edit was not stored would send the keyboard the old rows; the database
    // notice has told the user.
    if (IsKeyboardWrite(code) && MUI::IsUiThread() && worker.handlerWrites.WriteFailed()) return;
    worker.queue.Push(code);
    // The worker takes it now rather than after the rest of its period.
    Wake();
}

void KeyboardDlg::Run()
{
    ++worker.steps;
    RestAfterStep(0);
    const std::unique_lock<std::mutex> step = worker.hold.EnterStep();
    if (!step.owns_lock()) {
        return;  // the UI thread holds the worker between steps
    }
    // The tables a write taken now writes are known under the queue's lock, so that the exit
    // sees a write either waiting or under way.
    const auto take = [this](int code) {
        worker.runningWrite = UnsentTables::WrittenBy(code);
        return true;
    };
    if (const std::optional<int> code = worker.queue.PopIf(take)) {
        // The exit waits for the keyboard writes only.
        if (worker.exiting.load() && UnsentTables::WrittenBy(*code) == 0) return;
        {
            std::lock_guard lock(popups.mutex);
            popups.registrationsAtStep = popups.registrations;
        }
        RunTransferCommand(*code);
        return;
    }
    RunIdleStep();
}

void KeyboardDlg::RunTransferCommand(int code)
{
    switch (code) {
        case QCMD_CHECK_SOFTWARE:
        case QCMD_CHECK_FIRMWARE:
        case QCMD_INSTALL_SOFTWARE:
        case QCMD_UPGRADE_FIRMWARE:
        case QCMD_UPGRADE_FIRMWARE_ALT:
        case QCMD_RECOVER_FIRMWARE: {
            // A stalled server must not hold up the keyboard's settings for its time-out.
            const TransferBreaks breaks([this] { RunQueuedKeyboardCommands(); });
            RunCommand(code);
            break;
        }
        default:
            RunCommand(code);
            break;
    }
}

void KeyboardDlg::RunQueuedKeyboardCommands()
{
    // Only keyboard commands, and only from the front: every other code keeps its place.
    while (const std::optional<int> code = worker.queue.PopIf(IsDeviceCommand)) {
        {
            std::lock_guard lock(popups.mutex);
            popups.registrationsAtStep = popups.registrations;
        }
        RunCommand(*code);
    }
}

void KeyboardDlg::RunCommand(int code)
{
    const int written = UnsentTables::WrittenBy(code);
    if (IsDeviceCommand(code) &&
        !(connection.deviceFound.load() && connection.deviceOpened.load())) {
        // Dropped: no exchange is attempted, but a wait dialog shown for it must not stay. The
        // keyboard never got the write, so it is owed.
        OweTables(written);
        if (ClosesWaitDialog(code)) {
            CloseStepWaitDlg();
        }
        return;
    }
    const uint64_t failedBefore = DeviceManager::GetInstance().FailedExchanges();
    worker.runningWrite = written;
    RunDeviceCommand(code);
    if (written != 0) SettleTableWrite(written, UnsentTables::WrittenWholeBy(code), failedBefore);
    worker.runningWrite = 0;
}

void KeyboardDlg::RunDeviceCommand(int code)
{
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
            if (TellKeyboardSilent()) {
                ReportState();
                break;
            }
            // The pages first, so the window is usable at once; they fill in as the load
            // reads the database and the keyboard, and the settings are written last.
            ShowLoadedPages();
            LoadAllFromDevice();
            {
                const uint64_t failedBefore = DeviceManager::GetInstance().FailedExchanges();
                WriteSettingsToDevice();
                SettleTableWrite(UnsentTables::kSettings, UnsentTables::kSettings, failedBefore);
            }
            // The load's passing buffers (replies, queries, parsed files) go back to the system.
            os::ReleaseFreeMemory();
            // The state the tests wait for: pages shown and filled.
            ReportState();
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
        case QCMD_RELOAD_AFTER_RESET:
            ReloadAfterReset();
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
    if (worker.exiting.load()) return;
    if (!connection.deviceFound.load()) {
        // Nothing to poll: an arrival, like any other work, comes through the queue.
        RetryRefusedKeyboard();
        RestAfterStep(kRestingMs);
        return;
    }
    // What the keyboard is owed goes first, as soon as it answers again.
    if (RetryUnsentTables()) return;
    // The music mode plays on the keys also while the window is hidden.
    const bool music = (page.lightFunc.load() & LIGHT_FUNC_MUSIC) != 0;
    if (music) {
        ApplyMusicFrame();
    }
    if (!IsWindowVisible() || IsIconic()) {
        if (!music) {
            // Nothing is shown: a slow poll still takes what the keyboard reports (a profile
            // switched on it) and notices a handle that failed.
            PollDeviceReport();
            RestAfterStep(kRestingMs);
        } else {
            // A handle that failed meanwhile is noticed as on the pages.
            PollDeviceReport(0);
        }
        return;
    }
    if (page.currentPage.load() == PAGE_LIGHTING) {
        // The live-colour preview: each raise of the resolution is released in this step.
        TimeBeginPeriod(1);
        // The music mode's keys show its own frames.
        const unsigned ownColors = LIGHT_FUNC_USER_COLORS | LIGHT_FUNC_MUSIC;
        const bool preview = (page.lightFunc.load() & ownColors) == 0 && !IsPreviewCovered();
        if (preview) {
            ReadKeyColorsFromDevice();
        }
        TimeEndPeriod(1);
        // The preview's exchanges do not tell a failed handle from a late answer: the poll
        // does, without waiting.
        PollDeviceReport(0);
        if (!music) {
            // The next read is due a preview interval after the last one.
            const auto due = lightPage.lastPreview + LightPageControls::kPreviewInterval;
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(
                due - std::chrono::steady_clock::now());
            RestAfterStep(preview ? static_cast<int>(std::max<int64_t>(left.count(), 0))
                                  : static_cast<int>(LightPageControls::kPreviewInterval.count()));
        }
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
    // What an earlier run could not send is still owed.
    worker.unsent.Load();
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
    // The tables the keyboard is owed are written before anything is read over them (the
    // key tables were left unread for this).
    SendUnsentTables();
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
    TellUnreadTables();
}

void KeyboardDlg::TellUnreadTables()
{
    bool perfUnread = false;
    {
        std::lock_guard lock(perf.keys.mutex);
        perfUnread = perf.keys.unread;
    }
    const uint32_t unreadLayers = keyTables.unreadLayers.load();
    const bool colorsUnread = lightPage.userColorsUnread.load();
    const uint32_t allLayers = (1u << kReadKeyLayers) - 1;
    // A keyboard that answered nothing at all is not there to be told about (it shows as
    // such once its removal is seen); one that lost a few answers is.
    const bool anyRead = (unreadLayers & allLayers) != allLayers || !perfUnread || !colorsUnread;
    if (!anyRead || (unreadLayers == 0 && !perfUnread && !colorsUnread)) return;
    PostNotice(kUnreadTablesText, kUnreadTablesCaption);
}

void KeyboardDlg::PostNotice(int textId, int captionId) const
{
    const HWND window = GetHWND();
    MUI::PostToUiThread([window, textId, captionId] {
        // The window may be gone by the time the UI thread gets here.
        if (MUI::MWindow::FromHandle(window) == nullptr) return;
        ShowMessageBox(window, GetLanString(textId).c_str(), GetLanString(captionId).c_str(),
                       kMessageBoxOneButton);
    });
}

void KeyboardDlg::FactoryReset()
{
    DeviceReport report = DeviceReport::Command(CMD_FACTORY_RESET);
    if (DeviceManager::GetInstance().SendCommand(report)) {
        // The keyboard starts over from its own defaults: nothing is owed to it any more.
        worker.unsent.Clear(UnsentTables::kAll);
        worker.pause(kResetRestartMs);
        worker.factoryResetDone = true;
        return;
    }
    // Unanswered, the reset may still have been carried out: the keyboard is given the
    // database's tables again, so that both hold the same whatever it did.
    const uint64_t failedBefore = DeviceManager::GetInstance().FailedExchanges();
    ApplyProfile();
    SettleTableWrite(UnsentTables::kAll, UnsentTables::kAll, failedBefore);
}

void KeyboardDlg::ReloadAfterReset()
{
    worker.pause(kResetReloadMs);
    // The reload of LoadAllFromDevice, without the progress pictures and the stored preset.
    LoadProfiles();
    RefreshKeyAssignView();
    ReadKeyPerfFromDevice(page.currentProfile.load());
    LoadPerfSettings();
    ReadLightingFromDevice(page.currentProfile.load());
    LoadLightModes();
    LoadSettingsPage();
    // The reset left the keyboard its factory settings block: it is given the page's again.
    WriteSettingsToDevice();
    LoadMacroList();
    TellUnreadTables();
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
    // Nothing would be queued, so nothing would end the dialog.
    if (IsKeyboardWrite(code) && worker.handlerWrites.WriteFailed()) return;
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
