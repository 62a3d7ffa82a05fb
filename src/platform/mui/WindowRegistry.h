// The live windows of the process by handle, for lookups from any thread, and the foreground
// window.
#pragma once

#include <memory>
#include <string_view>

#include "platform/mui/WindowTypes.h"

namespace MUI {

struct WindowCore;

class WindowRegistry {
public:
    // Gives the window a new handle (never reused within the process).
    static HWND Add(const std::shared_ptr<WindowCore>& core);
    static void Remove(HWND hwnd);
    static std::shared_ptr<WindowCore> Find(HWND hwnd);
    // Newest first; empty class or name matches any.
    static HWND FindByName(std::wstring_view className, std::wstring_view name);

    static HWND Foreground();
    static void SetForeground(HWND hwnd);
    // Clears the foreground window when it is `hwnd`.
    static void ClearForeground(HWND hwnd);
};

}  // namespace MUI
