#include "platform/mui/KeyHookManager.h"

#include "platform/mui/WindowServices.h"

namespace MUI {
namespace {

struct SharedHook {
    HHOOK handle = nullptr;
    KeyHookManager* active = nullptr;
    // Counts the changes of the active manager, so a walk notices one made by a target.
    uint64_t generation = 0;
};

SharedHook& Shared()
{
    static SharedHook shared;
    return shared;
}

}  // namespace

KeyHookManager::~KeyHookManager() { Unhook(); }

int KeyHookManager::AddTarget(HWND window, UINT message)
{
    SharedHook& shared = Shared();
    if (shared.active != nullptr && shared.active != this) {
        // The hook moves from the other manager to this one.
        shared.active->installed_ = 0;
    }
    if (shared.handle != nullptr) {
        UnhookWindowsHookEx(shared.handle);
        shared.handle = nullptr;
    }
    shared.handle = SetWindowsHookEx(WH_KEYBOARD_LL, &KeyHookManager::KeyHookProc);
    shared.active = this;
    ++shared.generation;
    installed_ = shared.handle != nullptr ? 1 : 0;

    for (const HookTarget& target : targets_) {
        if (target.enabled != 0 && target.window == window && target.message == message) return 1;
    }
    targets_.push_back(HookTarget{window, 1, message});
    return 1;
}

int KeyHookManager::Unhook()
{
    SharedHook& shared = Shared();
    if (shared.active == this) {
        if (shared.handle != nullptr) UnhookWindowsHookEx(shared.handle);
        shared.handle = nullptr;
        shared.active = nullptr;
        ++shared.generation;
    }
    installed_ = 0;
    return 1;
}

void KeyHookManager::ClearTargets() { targets_.clear(); }

KeyHookManager* KeyHookManager::Active() { return Shared().active; }

LRESULT KeyHookManager::KeyHookProc(int code, WPARAM wParam, LPARAM lParam)
{
    // The handle is read before the dispatch: a target may unhook.
    const HHOOK self = Shared().handle;
    if (code == HC_ACTION && Shared().active != nullptr && DispatchHookEvent(wParam, lParam) != 0) {
        return 1;
    }
    return CallNextHookEx(self, code, wParam, lParam);
}

int KeyHookManager::DispatchHookEvent(WPARAM wParam, LPARAM lParam)
{
    SharedHook& shared = Shared();
    if (shared.active == nullptr) return 0;
    const uint64_t generation = shared.generation;
    // A copy: a target may change or free the list while it handles its message.
    const std::vector<HookTarget> targets = shared.active->targets_;
    for (const HookTarget& target : targets) {
        if (target.enabled == 0 || !IsWindow(target.window)) continue;
        if (SendMessage(target.window, target.message, wParam, lParam) != 0) return 1;
        if (shared.generation != generation) return 0;
    }
    return 0;
}

}  // namespace MUI
