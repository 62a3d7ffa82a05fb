// Raw input: the keyboard and mouse-button events of the program's windows handed to one
// target window as WM_INPUT while it is registered, whichever control has the focus. wParam is
// the event's message (WM_KEYDOWN ... WM_SYSKEYUP, or a mouse-button message) and lParam its
// hook record, valid during the call; the target's answer is ignored, so no event is swallowed.
// The keys come through the program's key hook (a KeyHookManager of its own, so it gives way
// while another manager, the macro recorder's, holds the hook); the buttons through a mouse
// hook. Only events that reach the program's own windows are seen: there is no capture of
// other programs' input.
//
// UI thread only.
#pragma once

#include <cstdint>
#include <string>

#include "platform/mui/WindowTypes.h"

namespace MUI {

inline constexpr int kRawInputMouse = 1;
inline constexpr int kRawInputKeyboard = 2;
inline constexpr int kRawInputOther = 3;

struct RawInputEvent {
    int32_t kind = 0;      // kRawInput*
    int32_t released = 0;  // 0 down, 1 up
    int32_t code = 0;      // virtual key, or mouse button 1 left, 2 middle, 3 right, 7/8 4 and 5
    std::wstring name;
};

// Registers the target for keyboard and mouse events (a previous registration is replaced).
// False for no target.
bool RegisterRawInput(HWND target);
// Ends the registration; true when there was one.
bool UnregisterRawInput();
bool IsRawInputRegistered();
// Fills event from a WM_INPUT's wParam and lParam; false (event untouched) for none.
bool ParseRawInput(WPARAM wParam, LPARAM lParam, RawInputEvent& event);

}  // namespace MUI
