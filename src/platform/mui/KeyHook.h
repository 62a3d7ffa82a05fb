// The process-wide low-level hooks: every key and mouse-button event that reaches one of the
// program's windows (while it has the focus) runs through the installed hook procedures first,
// the newest first, each passing it on with CallNextHookEx. A non-zero result swallows the event:
// no control sees it. Key events carry the Windows virtual-key and scan codes of the desktop's
// key (NativeKeyTable); auto-repeated key presses never reach a hook.
//
// On the desktop the hooks sit in an application-wide Qt event filter. The Inject functions run
// the same path for a synthetic event, so tests drive the hooks as a keyboard would.
//
// UI thread only.
#pragma once

#include <cstdint>

#include "platform/mui/WindowTypes.h"

namespace MUI {

inline constexpr int WH_KEYBOARD_LL = 13;
inline constexpr int WH_MOUSE_LL = 14;
inline constexpr int HC_ACTION = 0;

// KBDLLHOOKSTRUCT flags.
inline constexpr uint32_t LLKHF_EXTENDED = 0x01;
inline constexpr uint32_t LLKHF_INJECTED = 0x10;
inline constexpr uint32_t LLKHF_ALTDOWN = 0x20;
inline constexpr uint32_t LLKHF_UP = 0x80;

// What a keyboard hook receives in lParam; valid only during the call.
struct KBDLLHOOKSTRUCT {
    uint32_t vkCode = 0;
    uint32_t scanCode = 0;
    uint32_t flags = 0;
    uint32_t time = 0;
    uintptr_t dwExtraInfo = 0;
};

// What a mouse hook receives in lParam (wParam is WM_LBUTTONDOWN ... WM_MBUTTONUP).
struct MSLLHOOKSTRUCT {
    POINT pt;  // screen coordinates
    uint32_t mouseData = 0;
    uint32_t flags = 0;
    uint32_t time = 0;
    uintptr_t dwExtraInfo = 0;
};

struct HHOOK__;
using HHOOK = HHOOK__*;
using HOOKPROC = LRESULT (*)(int code, WPARAM wParam, LPARAM lParam);

// Installs a hook of kind WH_KEYBOARD_LL or WH_MOUSE_LL; null for another kind.
HHOOK SetWindowsHookEx(int kind, HOOKPROC proc);
bool UnhookWindowsHookEx(HHOOK hook);
// Hands the event to the hook installed before `hook` (0 when there is none).
LRESULT CallNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam);

// A key event as the desktop would deliver it: message WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN or
// WM_SYSKEYUP and the hook record. True when a hook swallowed it.
bool InjectKeyEvent(UINT message, const KBDLLHOOKSTRUCT& key);
// A key of the desktop by its key code (X11 / Wayland numbering, as Qt's nativeScanCode): the
// same translation, auto-repeat dropping and Alt tracking as a real key. True when swallowed.
bool InjectNativeKey(unsigned nativeScanCode, bool released, bool autoRepeat = false);
// A mouse button (WM_LBUTTONDOWN ... WM_MBUTTONUP) at a screen point. True when swallowed.
bool InjectMouseButton(UINT message, POINT screen);

}  // namespace MUI
