// The tray icon, its menu, and the ways the program ends.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "app/CUIMessageBox.h"
#include "app/KeyboardDlg.h"
#include "app/Language.h"
#include "app/RegistrySettings.h"
#include "device/DeviceManager.h"
#include "platform/mui/Application.h"
#include "platform/mui/Manager.h"
#include "platform/mui/WindowServices.h"
#include "platform/os/TrayIcon.h"

namespace {

constexpr size_t kTrayTipMax = 127;
constexpr int kExitMenuText = 11;
constexpr int kFirmwareCaptionText = 1051;
constexpr int kExitWaitsForFlashText = 1076;
// How long the exit waits for the queued keyboard writes. The worker's stop after it (at most
// 1 s) and the end of a batch left open (one unanswered exchange, under 1 s) follow, so the
// process ends within about 3 s, whether or not the keyboard answers.
constexpr int kExitWritesBoundMs = 1500;

// The input method stays closed and detached on the main window. Qt gives a borderless
// widget without text input no input context, so there is nothing to do.
void DetachInputMethod(HWND) {}

}  // namespace

void KeyboardDlg::InitTrayIcon()
{
    const std::wstring deviceName = MUI::Manager::GetDeviceName();
    // The mark a second start looks for.
    MUI::SetProp(GetHWND(), deviceName, 1);

    tray.window = GetHWND();
    tray.tip = deviceName.substr(0, kTrayTipMax);
    tray.icon = std::make_unique<os::TrayIcon>();
    const HWND window = tray.window;
    tray.icon->SetHandler([window](int mouseMessage) {
        MUI::PostMessage(window, WM_TRAY_NOTIFY, kTrayIconId, mouseMessage);
    });
    tray.icon->Show(GetSkinPath() + L"/Fenquill.ico", tray.tip);
    // The window's own icon, in the sizes the desktop asks for.
    std::vector<std::wstring> icons;
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        icons.push_back(GetSkinPath() + L"/appicon/tolvenic_" + std::to_wstring(size) + L".png");
    }
    MUI::Application::SetWindowIcon(icons);
    DetachInputMethod(GetHWND());
    LoadDeviceModels();
}

bool KeyboardDlg::RemoveTrayIcon()
{
    if (!tray.icon) {
        return true;
    }
    tray.icon->Remove();
    tray.icon.reset();
    return true;
}

LRESULT KeyboardDlg::OnTrayIconMessage(LPARAM mouseMessage)
{
    const HWND window = GetHWND();
    switch (mouseMessage) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            MUI::SetForegroundWindow(window);
            ShowWindow(SW_SHOWNORMAL);
            MUI::UpdateWindow(window);
            MUI::BringWindowToTop(window);
            break;
        case WM_RBUTTONUP:
            MUI::SetForegroundWindow(window);
            if (os::TrayIcon::TrackMenu(
                    {{static_cast<int>(kTrayExitCommand), GetLanString(kExitMenuText)}}) ==
                static_cast<int>(kTrayExitCommand)) {
                SendMessage(WM_COMMAND, kTrayExitCommand, 0);
            }
            break;
        default:
            break;
    }
    return 0;
}

void KeyboardDlg::OnExitMessage(LPARAM)
{
    // Another process asks (a software update's installer, a second start): no box to answer.
    if (ExitWaitsForFlash(false)) {
        return;
    }
    RemoveTrayIcon();
    ExitProcess(0);
}

bool KeyboardDlg::ExitWaitsForFlash(bool tellUser)
{
    if (!info.upgradeRunning.load()) {
        return false;
    }
    info.exitAfterUpgrade = true;
    // The job clears its flag before it looks for a waiting exit: one of the two sees the other.
    if (!info.upgradeRunning.load()) {
        return false;
    }
    std::fprintf(stderr,
                 "The keyboard's firmware is being written: the program ends when the "
                 "upgrade is done\n");
    if (tellUser) {
        ShowMessageBox(GetHWND(), GetLanString(kExitWaitsForFlashText).c_str(),
                       GetLanString(kFirmwareCaptionText).c_str(), kMessageBoxOneButton);
    }
    return true;
}

bool KeyboardDlg::OnUserCloseWindow()
{
    OnCloseCommand();
    return false;
}

void KeyboardDlg::OnCloseCommand()
{
    if (ExitWaitsForFlash(true)) {
        return;
    }
    // Closed to the tray only while there is one to bring the window back from.
    if (GetRegInt(L"exit_mode") == 1 && os::SystemTrayAvailable()) {
        // Keys pressed while the window is away must reach the other programs.
        EndKeyCalibration();
        ShowWindow(SW_HIDE);
        return;
    }
    RemoveTrayIcon();
    ExitProcess(0);
}

void KeyboardDlg::ExitProcess(int code)
{
    // Hidden at once, so the user sees no delay; then the keyboard writes already queued or
    // under way run, for a bounded time, and the keyboard is left in order: the worker's current
    // step unwinds within its exchange under way (bounded by the stop's wait), and a batch it
    // had begun is ended before the process goes. What did not get through is owed to the
    // keyboard at the next start.
    ShowWindow(SW_HIDE);
    FinishQueuedWrites(kExitWritesBoundMs);
    DeviceManager& device = DeviceManager::GetInstance();
    device.StopExchanges();
    StopWorker();
    if (!device.IsBusy()) {
        device.EndOpenBatch();
    }
    worker.unsent.Mark(worker.runningWrite.load());
    while (const std::optional<int> left = worker.queue.Pop()) {
        worker.unsent.Mark(UnsentTables::WrittenBy(*left));
    }
    worker.exitProcess(code);
}
