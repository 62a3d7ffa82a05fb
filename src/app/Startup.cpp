#include "app/Startup.h"

#include <cstdio>

#include "app/AppConfig.h"
#include "app/Environment.h"
#include "app/InstanceCommands.h"
#include "app/KeyboardDlg.h"
#include "app/Language.h"
#include "app/MonitorScale.h"
#include "app/PlatformRuntimes.h"
#include "app/RegistrySettings.h"
#include "app/StartupReport.h"
#include "app/TestEntry.h"
#include "platform/hid/HidSeam.h"
#include "platform/mui/Application.h"
#include "platform/mui/Manager.h"
#include "platform/mui/ScreenMetrics.h"
#include "platform/mui/WindowMessages.h"
#include "platform/os/Autostart.h"
#include "platform/os/SingleInstance.h"
#include "platform/os/SystemMessageBox.h"
#include "platform/os/TrayIcon.h"
#include "platform/os/XdgPaths.h"
#include "platform/text/Utf8.h"
#include "update/SelfInstall.h"

void ApplyScreenDpiRule()
{
    int width = 0;
    int height = 0;
    if (!MUI::GetPrimaryScreenPixels(width, height)) {
        return;
    }
    if (IsDpiAwareScreen(width, height, GetMonitorScale())) {
        SetProcessDpiAware();
    }
}

void PrepareDataFolder()
{
    // The settings database and the update's downloads are the user's alone.
    const std::wstring data = GetDataFolder();
    CreatePrivateFolder(data);
    CreatePrivateFolder(data + L"db");
    DeleteFolder(data + L"edit");
    CreatePrivateFolder(data + L"edit");
}

namespace {

// False, after telling the user why, when the per-user folders would be shared with others.
bool UserFoldersUsable()
{
    std::string notice;
    const std::string problem = os::UserFolderProblem(&notice);
    if (problem.empty()) {
        if (!notice.empty()) std::fprintf(stderr, "%s\n", notice.c_str());
        return true;
    }
    const std::string text = problem + ". " + text::WideToUtf8(MUI::Manager::GetDeviceName()) +
                             " does not start: it would share its files with other users.";
    std::fprintf(stderr, "%s\n", text.c_str());
    os::SystemMessageBox(text::Utf8ToWide(text), MUI::Manager::GetDeviceName(),
                         os::kMbOk | os::kMbIconError);
    return false;
}

}  // namespace

int ChooseShowMode(bool autorun)
{
    if (!autorun) {
        return SW_SHOW;
    }
    if (!os::ReadAutostart(MUI::Manager::GetDeviceName()).has_value()) {
        return SW_SHOW;
    }
    // Hidden only into a tray that is there to bring the window back.
    return GetRegInt(L"autorun_minimize") == 1 && os::SystemTrayAvailable() ? SW_HIDE : SW_SHOW;
}

int RunStartup(bool autorun)
{
    ApplyScreenDpiRule();
    LoadAppConfig();
    const std::wstring deviceName = MUI::Manager::GetDeviceName();
    if (!UserFoldersUsable()) {
        return 1;
    }

    os::SingleInstance instance(deviceName);
    if (!instance.Acquire()) {
        if (!instance.LockError().empty()) {
            // Without its lock nothing keeps a second instance out: better none than two.
            std::fprintf(stderr, "%s; not starting\n", instance.LockError().c_str());
            return 1;
        }
        os::SendInstanceCommand(deviceName, "show");
        return 0;
    }
    hid::Backend();  // the HID library's start-up, before any thread of ours uses it
    EnableDebugPrivilege();
    StartGraphicsRuntime();
    InitLanguage();
    MUI::Manager::SetInstance(MUI::Application::Instance());
    MUI::Manager::SetSkinRoot(GetSkinPath());
    PrepareDataFolder();
    InitializeComponentRuntime();
    const int showMode = ChooseShowMode(autorun);
    {
        KeyboardDlg window;
        const bool scripted = TestEntryEnabled();
        if (instance.Listen([&window, scripted](const std::string& command) {
                HandleInstanceCommand(window.GetHWND(), command);
                if (scripted) HandleTestCommand(window, command);
            })) {
            ReportStartupMilestone("listening");
        }
        window.RunMainWindow(showMode);
    }
    // A software update ended the window: its installer replaces the program now.
    RunPendingInstaller();
    UninitializeComponentRuntime();
    StopGraphicsRuntime();
    return 1;
}
