// Commands a later start of the program sends to the running one over the instance socket.
#pragma once

#include <string>

#include "platform/mui/WindowTypes.h"

// "show": the main window is restored and raised. "exit <n>": WM_APP_EXIT with lParam n is
// posted to the main window. Anything else is ignored. UI thread.
void HandleInstanceCommand(HWND mainWindow, const std::string& command);

// Shows the window normally and brings it to the front.
void RaiseWindow(HWND window);
