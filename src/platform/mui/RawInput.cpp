#include "platform/mui/RawInput.h"

#include <memory>

#include "platform/mui/KeyHook.h"
#include "platform/mui/KeyHookManager.h"
#include "platform/mui/NativeKeyTable.h"
#include "platform/mui/WindowMessages.h"
#include "platform/mui/WindowServices.h"

namespace MUI {

namespace {

constexpr UINT kXButtonDown = 0x020B;
constexpr UINT kXButtonUp = 0x020C;

struct Registration {
    HWND target = nullptr;
    std::unique_ptr<KeyHookManager> keys;
    HHOOK mouse = nullptr;
};

Registration& State()
{
    static Registration registration;
    return registration;
}

LRESULT MouseProc(int code, WPARAM wParam, LPARAM lParam)
{
    const HWND target = State().target;
    if (code == HC_ACTION && target != nullptr) {
        MUI::SendMessage(target, WM_INPUT, wParam, lParam);
    }
    return CallNextHookEx(State().mouse, code, wParam, lParam);
}

// The fixed names of the modifier and lock keys; the generic modifiers become their left keys.
bool FixedKeyName(int& vk, std::wstring& name)
{
    static const struct {
        int vk;
        int shown;
        const wchar_t* name;
    } kNames[] = {{16, 160, L"Shift"},       {17, 162, L"Ctrl"},    {18, 164, L"Alt"},
                  {160, 160, L"Shift"},      {161, 161, L"RShift"}, {162, 162, L"Ctrl"},
                  {163, 163, L"RCtrl"},      {164, 164, L"Alt"},    {165, 165, L"RAlt"},
                  {91, 91, L"Windows"},      {92, 92, L"RWindows"}, {93, 93, L"Application"},
                  {44, 44, L"Print Screen"}, {19, 19, L"Pause"},    {144, 144, L"Num Lock"}};
    for (const auto& entry : kNames) {
        if (entry.vk != vk) continue;
        vk = entry.shown;
        name = entry.name;
        return true;
    }
    return false;
}

bool ParseMouse(UINT message, const MSLLHOOKSTRUCT& info, RawInputEvent& event)
{
    static const struct {
        UINT message;
        int code;
        int released;
        const wchar_t* name;
    } kButtons[] = {{WM_LBUTTONDOWN, 1, 0, L"mouse_left"},  {WM_MBUTTONDOWN, 2, 0, L"mouse_middle"},
                    {WM_RBUTTONDOWN, 3, 0, L"mouse_right"}, {WM_LBUTTONUP, 1, 1, L"mouse_left"},
                    {WM_MBUTTONUP, 2, 1, L"mouse_middle"},  {WM_RBUTTONUP, 3, 1, L"mouse_right"}};
    event.kind = kRawInputMouse;
    for (const auto& button : kButtons) {
        if (button.message != message) continue;
        event.code = button.code;
        event.released = button.released;
        event.name = button.name;
        return true;
    }
    if (message == kXButtonDown || message == kXButtonUp) {
        const bool fifth = (info.mouseData >> 16) == 2;
        event.code = message == kXButtonDown ? 7 : 8;
        event.released = message == kXButtonUp ? 1 : 0;
        event.name = fifth ? L"mouse_button5" : L"mouse_button4";
        return true;
    }
    event.code = 0;
    event.released = 0;
    event.name.clear();
    return true;
}

}  // namespace

bool RegisterRawInput(HWND target)
{
    if (target == nullptr) return false;
    UnregisterRawInput();
    Registration& state = State();
    state.target = target;
    state.keys = std::make_unique<KeyHookManager>();
    state.keys->AddTarget(target, WM_INPUT);
    state.mouse = SetWindowsHookEx(WH_MOUSE_LL, MouseProc);
    return true;
}

bool UnregisterRawInput()
{
    Registration& state = State();
    if (state.target == nullptr) return false;
    state.keys.reset();
    if (state.mouse != nullptr) UnhookWindowsHookEx(state.mouse);
    state.mouse = nullptr;
    state.target = nullptr;
    return true;
}

bool IsRawInputRegistered() { return State().target != nullptr; }

bool ParseRawInput(WPARAM wParam, LPARAM lParam, RawInputEvent& event)
{
    if (lParam == 0) return false;
    const auto message = static_cast<UINT>(wParam);
    switch (message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
        case WM_KEYUP:
        case WM_SYSKEYUP: {
            const auto& key = *reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
            event.kind = kRawInputKeyboard;
            event.released = message == WM_KEYUP || message == WM_SYSKEYUP ? 1 : 0;
            int vk = static_cast<int>(key.vkCode);
            std::wstring name;
            if (!FixedKeyName(vk, name)) {
                name = KeyNameOfScanCode(static_cast<int>(key.scanCode),
                                         (key.flags & LLKHF_EXTENDED) != 0);
            }
            event.code = vk;
            event.name = name;
            return true;
        }
        default:
            if (message >= WM_LBUTTONDOWN && message <= kXButtonUp) {
                return ParseMouse(message, *reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam), event);
            }
            event.kind = kRawInputOther;
            return true;
    }
}

}  // namespace MUI
