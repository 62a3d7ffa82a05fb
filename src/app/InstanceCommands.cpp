#include "app/InstanceCommands.h"

#include <charconv>

#include "app/AppExitMessage.h"
#include "platform/mui/WindowServices.h"

void RaiseWindow(HWND window)
{
    MUI::SetForegroundWindow(window);
    MUI::ShowWindow(window, SW_SHOWNORMAL);
    MUI::UpdateWindow(window);
    MUI::BringWindowToTop(window);
}

void HandleInstanceCommand(HWND mainWindow, const std::string& command)
{
    if (command == "show") {
        RaiseWindow(mainWindow);
        return;
    }
    constexpr std::string_view kExit = "exit ";
    if (command.starts_with(kExit)) {
        long long code = 0;
        const char* first = command.data() + kExit.size();
        const char* last = command.data() + command.size();
        const auto [end, error] = std::from_chars(first, last, code);
        if (error == std::errc() && end == last) {
            MUI::PostMessage(mainWindow, WM_APP_EXIT, 0, static_cast<LPARAM>(code));
        }
    }
}
