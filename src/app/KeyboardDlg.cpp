#include "app/KeyboardDlg.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "app/AppExitMessage.h"
#include "app/DatabaseNotice.h"
#include "app/FirstShownReport.h"
#include "app/Language.h"
#include "app/MainWindowSize.h"
#include "app/StartupReport.h"
#include "app/WaitDlg.h"
#include "device/DeviceManager.h"
#include "device/Pause.h"
#include "lighting/Visualizer.h"
#include "platform/audio/PulseLoopbackCapture.h"
#include "platform/hid/HidSeam.h"
#include "platform/mui/Manager.h"
#include "platform/mui/ScreenMetrics.h"
#include "platform/mui/TerminationSignal.h"
#include "platform/mui/WindowServices.h"
#include "platform/os/ExitProcess.h"
#include "platform/os/TrayIcon.h"
#include "platform/text/Utf8.h"
#include "platform/usb/Ch375Library.h"
#include "storage/KBDataBase.h"
#include "update/UpdateService.h"
#include "update/UpdateTipDlg.h"

namespace {

constexpr unsigned kMainWindowStyle = 0x96000000u;  // popup, visible, clip siblings/children
constexpr unsigned kAnimationPeriodMs = 16;
// How long the orderly stop waits for the worker's current step.
constexpr int kWorkerStopWaitMs = 1000;
// Bound of the sound server's connection and of each request to it.
constexpr int kSoundServerTimeoutMs = 2000;

constexpr uint32_t UsbIdKey(uint32_t vendorId, uint32_t productId)
{
    return productId * 65536u + vendorId;
}

}  // namespace

KeyboardDlg::KeyboardDlg()
{
    const std::pair<uint32_t, const wchar_t*> bootLayouts[] = {
        {0xFF36, L"qx71_max"}, {0xFF23, L"qx71_pro"}, {0xFF72, L"lw9_max"}};
    for (const auto& [productId, layoutKey] : bootLayouts) {
        model.layoutByUsbId[UsbIdKey(0x3B6D, productId)] = {layoutKey, layoutKey};
    }
    const std::wstring skin = GetSkinPath();
    info.homeDisconnectedPicture = skin + L"/keyboard/home_keyboard_disconnected.png";
    info.homeConnectedPicture = skin + L"/keyboard/home_keyboard_connected.png";
    worker.pause = PauseMs;
    worker.exitProcess = [](int code) { os::ExitProcess(code); };
    visualizer = std::make_unique<Visualizer>(std::make_unique<audio::PulseLoopbackCapture>(
        text::WideToUtf8(MUI::Manager::GetDeviceName()), kSoundServerTimeoutMs));
}

KeyboardDlg::~KeyboardDlg()
{
    // The worker uses this object and its controls: it must be gone before they are, also
    // when the orderly stop gave up waiting for it.
    running = 0;
    if (stopEvent) {
        while (!stopEvent->Wait(kWorkerStopWaitMs)) {
        }
    }
    if (deviceNotify.monitor) {
        deviceNotify.monitor->Stop();
    }
    // The upgrade bridge's callback posts to this window.
    usb::Ch375().SetDeviceNotify({});
    visualizer->Stop();
    TellDatabaseWriteFailures(nullptr);
    MDialog::DestroyWindow();
    KBDataBase& database = KBDataBase::GetInstance();
    if (database.IsOpened()) {
        database.Close();
    }
    RemoveTrayIcon();
}

int KeyboardDlg::RunMainWindow(int showCommand)
{
    // On a screen smaller than the window the application draws every window smaller
    // (MUI::Application), so the work area holds the whole design. Should it still not (a
    // second, smaller screen), the window is cut to the work area, so that its tabs and window
    // buttons stay on screen. CenterWindow then places it inside that area.
    RECT rect{0, 0, kMainWindowWidth, kMainWindowHeight};
    if (RECT area{}; MUI::GetWorkArea(area)) {
        rect.right = std::min(rect.right, RectWidth(area));
        rect.bottom = std::min(rect.bottom, RectHeight(area));
    }
    if (Create(nullptr, MUI::Manager::GetDeviceName(), kMainWindowStyle, 0, rect) == nullptr) {
        return -1;
    }
    CenterWindow();
    // Ended by the session or a service manager: the way the exit message ends the program.
    const HWND window = GetHWND();
    MUI::OnTerminationSignal([window] { MUI::PostMessage(window, WM_APP_EXIT, 0, kAppExitCode); });
    info.shownReport = WatchFirstShown(*this);
    return ShowModal(showCommand);
}

int KeyboardDlg::OnInitDialog()
{
    MDialog::OnInitDialog();
    InitTrayIcon();
    ShowHomePanel();
    SetStatusTitle(820);
    SetMTimer(kAnimationPeriodMs);
    DeviceManager::GetInstance().ResumeExchanges();
    TellDatabaseWriteFailures(GetHWND());
    Start();
    QueueCommand(QCMD_FIRST_CONNECT);

    info.softwareUpdateBase = SoftwareUpdateFolder();
    info.firmwareUpdateBase = FirmwareUpdateFolder();
    // The boot-mode probe follows on the worker, after the first connect: opening a device
    // can wait on it, and the window must not.
    return 1;
}

void KeyboardDlg::StopWorker()
{
    if (running.load() == 0 || !stopEvent) {
        return;
    }
    running = 0;
    stopEvent->Wait(kWorkerStopWaitMs);
}

bool KeyboardDlg::DestroyWindow()
{
    StopWorker();
    visualizer->Stop();
    if (deviceNotify.monitor) {
        deviceNotify.monitor->Stop();
    }
    RemoveTrayIcon();
    if (page.currentPage.load() == PAGE_ADVANCED_KEYS) EnterAdvKeyPage(false);
    {
        std::lock_guard lock(model.mutex);
        model.models.clear();
        model.interfaces.clear();
    }
    return MDialog::DestroyWindow();
}

void KeyboardDlg::ReportState() const
{
    if (!StartupReportEnabled()) {
        return;
    }
    const bool tabs = ui.tabCtrl != nullptr && ui.tabCtrl->IsVisible();
    const bool panel = ui.homePage != nullptr && ui.homePage->IsVisible();
    // The panel's picture shown: 0 no keyboard, 1 and 2 the load's progress.
    int picture = -1;
    for (int i = 0; i < 3; ++i) {
        if (ui.noConnectPictures[i] != nullptr && ui.noConnectPictures[i]->IsVisible()) {
            picture = i;
        }
    }
    char line[160];
    std::snprintf(line, sizeof line,
                  "state found=%d opened=%d page=%d tabs=%d panel=%d status=%d picture=%d",
                  connection.deviceFound.load() ? 1 : 0, connection.deviceOpened.load() ? 1 : 0,
                  page.currentPage.load(), tabs ? 1 : 0, panel ? 1 : 0,
                  connection.statusTextId.load(), picture);
    ReportStartupMilestone(line);
}
