// KeyHookManager: the owner of the program's one keyboard hook and of the windows that receive
// each key event as a sent message (wParam: WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN or WM_SYSKEYUP;
// lParam: the KBDLLHOOKSTRUCT, valid during the call). A non-zero answer swallows the key.
//
// One manager is active at a time: the one whose targets get the events. AddTarget makes its
// manager the active one and installs the hook, taking it from a manager that held it before
// (that one stays alive but unhooked). The active reference and the hook always belong to a
// live, installed manager: Unhook and the destructor of the active manager give both up.
//
// A target may delete the manager, or start another one, while it handles its message: the walk
// over the targets then stops.
//
// UI thread only.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/mui/KeyHook.h"
#include "platform/mui/WindowTypes.h"

namespace MUI {

struct HookTarget {
    HWND window = nullptr;
    int enabled = 1;
    UINT message = 0;
};

class KeyHookManager {
public:
    KeyHookManager() = default;
    ~KeyHookManager();
    KeyHookManager(const KeyHookManager&) = delete;
    KeyHookManager& operator=(const KeyHookManager&) = delete;

    // Makes this manager the active one (installing the hook) and adds the target unless an
    // enabled one with the same window and message is listed. Returns 1.
    int AddTarget(HWND window, UINT message);
    // Removes the hook when this manager holds it. Returns 1.
    int Unhook();
    void ClearTargets();

    bool IsInstalled() const { return installed_ != 0; }
    std::vector<HookTarget> GetTargets() const { return targets_; }

    // The manager whose targets receive events now; null when no hook is installed.
    static KeyHookManager* Active();
    // The hook procedure.
    static LRESULT KeyHookProc(int code, WPARAM wParam, LPARAM lParam);
    // Sends the event to the active manager's live, enabled targets in order; 1 at the first
    // non-zero answer, else 0.
    static int DispatchHookEvent(WPARAM wParam, LPARAM lParam);

private:
    std::vector<HookTarget> targets_;
    int installed_ = 0;
};

}  // namespace MUI
