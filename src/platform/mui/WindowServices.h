// Window services by handle, callable from any thread: messages, finding windows by class and
// name, window properties, timers, show state, rectangles. A handle that names no live window
// gives false, 0 or an empty result.
#pragma once

#include <string_view>

#include "platform/mui/WindowMessages.h"
#include "platform/mui/WindowTypes.h"

namespace MUI {

// Queues the message; it is handled on the UI thread, in the order posted.
bool PostMessage(HWND hwnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
// Handles the message on the UI thread and returns its result; from another thread the caller
// waits until the UI thread has handled it (0 when the window goes away first).
LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

// The most recently created live window whose class and name match exactly; an empty class
// or name matches any.
HWND FindWindow(std::wstring_view className, std::wstring_view windowName);

bool IsWindow(HWND hwnd);
bool IsWindowVisible(HWND hwnd);
bool IsIconic(HWND hwnd);
bool IsWindowEnabled(HWND hwnd);
bool ShowWindow(HWND hwnd, int command);
bool EnableWindow(HWND hwnd, bool enable);
bool DestroyWindow(HWND hwnd);
bool UpdateWindow(HWND hwnd);
bool BringWindowToTop(HWND hwnd);
bool SetForegroundWindow(HWND hwnd);
// The window that has (or was last given) activation, or none.
HWND GetForegroundWindow();

bool GetWindowRect(HWND hwnd, RECT* rect);
bool GetClientRect(HWND hwnd, RECT* rect);
bool SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
bool ClientToScreen(HWND hwnd, POINT* point);
bool ScreenToClient(HWND hwnd, POINT* point);
bool GetCursorPos(POINT* point);

// Named values attached to a window. GetProp gives 0 for a missing name.
bool SetProp(HWND hwnd, std::wstring_view name, LPARAM value);
LPARAM GetProp(HWND hwnd, std::wstring_view name);
LPARAM RemoveProp(HWND hwnd, std::wstring_view name);

bool SetTimer(HWND hwnd, unsigned id, unsigned elapseMs);
bool KillTimer(HWND hwnd, unsigned id);

}  // namespace MUI
