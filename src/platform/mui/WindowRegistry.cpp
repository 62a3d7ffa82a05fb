#include "platform/mui/WindowRegistry.h"

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <utility>
#include <vector>

#include "platform/mui/WindowCore.h"

namespace MUI {

namespace {

struct Registry {
    std::mutex mutex;
    std::map<std::uintptr_t, std::shared_ptr<WindowCore>> windows;
    std::uintptr_t next = 0x10000;
    std::atomic<HWND> foreground{nullptr};
};

Registry& Get()
{
    static Registry* registry = new Registry();  // lives to process exit, past every window
    return *registry;
}

}  // namespace

HWND WindowRegistry::Add(const std::shared_ptr<WindowCore>& core)
{
    Registry& r = Get();
    std::lock_guard lock(r.mutex);
    const std::uintptr_t value = r.next;
    r.next += 4;
    r.windows[value] = core;
    return reinterpret_cast<HWND>(value);
}

void WindowRegistry::Remove(HWND hwnd)
{
    Registry& r = Get();
    {
        std::lock_guard lock(r.mutex);
        r.windows.erase(reinterpret_cast<std::uintptr_t>(hwnd));
    }
    ClearForeground(hwnd);
}

std::shared_ptr<WindowCore> WindowRegistry::Find(HWND hwnd)
{
    if (!hwnd) return nullptr;
    Registry& r = Get();
    std::lock_guard lock(r.mutex);
    auto it = r.windows.find(reinterpret_cast<std::uintptr_t>(hwnd));
    return it == r.windows.end() ? nullptr : it->second;
}

HWND WindowRegistry::FindByName(std::wstring_view className, std::wstring_view name)
{
    // Copied first so that no window lock is taken under the registry's.
    std::vector<std::pair<std::uintptr_t, std::shared_ptr<WindowCore>>> windows;
    {
        Registry& r = Get();
        std::lock_guard lock(r.mutex);
        windows.assign(r.windows.rbegin(), r.windows.rend());
    }
    for (const auto& [value, core] : windows) {
        std::lock_guard coreLock(core->mutex);
        if (!className.empty() && core->className != className) continue;
        if (!name.empty() && core->name != name) continue;
        return reinterpret_cast<HWND>(value);
    }
    return nullptr;
}

HWND WindowRegistry::Foreground() { return Get().foreground.load(); }

void WindowRegistry::SetForeground(HWND hwnd) { Get().foreground.store(hwnd); }

void WindowRegistry::ClearForeground(HWND hwnd)
{
    HWND expected = hwnd;
    Get().foreground.compare_exchange_strong(expected, nullptr);
}

std::shared_ptr<WindowCore> FindCore(HWND hwnd) { return WindowRegistry::Find(hwnd); }

}  // namespace MUI
