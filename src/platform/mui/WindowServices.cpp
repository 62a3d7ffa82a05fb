#include "platform/mui/WindowServices.h"

#include <QCursor>
#include <QWidget>

#include "platform/mui/MWindow.h"
#include "platform/mui/UiThread.h"
#include "platform/mui/WindowCore.h"
#include "platform/mui/WindowRegistry.h"
#include "platform/mui/WindowWidget.h"

namespace MUI {

namespace {

// The object behind a live handle, or none.
MWindow* Object(const std::shared_ptr<WindowCore>& core)
{
    std::lock_guard lock(core->mutex);
    return core->hwnd ? core->window : nullptr;
}

}  // namespace

bool PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto core = FindCore(hwnd);
    if (!core) return false;
    PostToUiThread([weak = std::weak_ptr<WindowCore>(core), message, wParam, lParam] {
        if (auto c = weak.lock()) c->Dispatch(message, wParam, lParam);
    });
    return true;
}

LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto core = FindCore(hwnd);
    if (!core) return 0;
    LRESULT result = 0;
    RunOnUiThread([&] { result = core->Dispatch(message, wParam, lParam); });
    return result;
}

HWND FindWindow(std::wstring_view className, std::wstring_view windowName)
{
    return WindowRegistry::FindByName(className, windowName);
}

bool IsWindow(HWND hwnd) { return FindCore(hwnd) != nullptr; }

bool IsWindowVisible(HWND hwnd)
{
    auto core = FindCore(hwnd);
    if (!core) return false;
    std::lock_guard lock(core->mutex);
    return core->visible;
}

bool IsIconic(HWND hwnd)
{
    auto core = FindCore(hwnd);
    if (!core) return false;
    std::lock_guard lock(core->mutex);
    return core->minimized;
}

bool IsWindowEnabled(HWND hwnd)
{
    auto core = FindCore(hwnd);
    if (!core) return false;
    std::lock_guard lock(core->mutex);
    return core->enabled;
}

bool ShowWindow(HWND hwnd, int command)
{
    auto core = FindCore(hwnd);
    return core && core->Show(command);
}

bool EnableWindow(HWND hwnd, bool enable)
{
    auto core = FindCore(hwnd);
    return core && core->Enable(enable);
}

bool DestroyWindow(HWND hwnd)
{
    auto core = FindCore(hwnd);
    if (!core) return false;
    bool done = false;
    RunOnUiThread([&] {
        if (MWindow* window = Object(core)) done = window->DestroyWindow();
    });
    return done;
}

bool UpdateWindow(HWND hwnd)
{
    auto core = FindCore(hwnd);
    if (!core) return false;
    PostToUiThread([weak = std::weak_ptr<WindowCore>(core)] {
        if (auto c = weak.lock())
            if (c->widget) c->widget->update();
    });
    return true;
}

bool BringWindowToTop(HWND hwnd)
{
    auto core = FindCore(hwnd);
    if (!core) return false;
    PostToUiThread([weak = std::weak_ptr<WindowCore>(core)] {
        if (auto c = weak.lock()) c->Raise(false);
    });
    return true;
}

bool SetForegroundWindow(HWND hwnd)
{
    auto core = FindCore(hwnd);
    if (!core) return false;
    WindowRegistry::SetForeground(hwnd);
    PostToUiThread([weak = std::weak_ptr<WindowCore>(core)] {
        if (auto c = weak.lock()) c->Raise(true);
    });
    return true;
}

HWND GetForegroundWindow()
{
    const HWND hwnd = WindowRegistry::Foreground();
    return FindCore(hwnd) ? hwnd : nullptr;
}

bool GetWindowRect(HWND hwnd, RECT* rect)
{
    auto core = FindCore(hwnd);
    if (!core || !rect) return false;
    *rect = core->ScreenRect();
    return true;
}

bool GetClientRect(HWND hwnd, RECT* rect)
{
    auto core = FindCore(hwnd);
    if (!core || !rect) return false;
    *rect = core->ClientRect();
    return true;
}

bool SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags)
{
    auto core = FindCore(hwnd);
    if (!core) return false;
    MWindow* window = Object(core);
    return window && window->SetWindowPos(insertAfter, x, y, cx, cy, flags);
}

bool ClientToScreen(HWND hwnd, POINT* point)
{
    auto core = FindCore(hwnd);
    if (!core || !point) return false;
    const RECT r = core->ScreenRect();
    point->x += r.left;
    point->y += r.top;
    return true;
}

bool ScreenToClient(HWND hwnd, POINT* point)
{
    auto core = FindCore(hwnd);
    if (!core || !point) return false;
    const RECT r = core->ScreenRect();
    point->x -= r.left;
    point->y -= r.top;
    return true;
}

bool GetCursorPos(POINT* point)
{
    if (!point) return false;
    QPoint p;
    RunOnUiThread([&] { p = QCursor::pos(); });
    *point = POINT{p.x(), p.y()};
    return true;
}

bool SetProp(HWND hwnd, std::wstring_view name, LPARAM value)
{
    auto core = FindCore(hwnd);
    if (!core) return false;
    std::lock_guard lock(core->mutex);
    core->props[std::wstring(name)] = value;
    return true;
}

LPARAM GetProp(HWND hwnd, std::wstring_view name)
{
    auto core = FindCore(hwnd);
    if (!core) return 0;
    std::lock_guard lock(core->mutex);
    auto it = core->props.find(name);
    return it == core->props.end() ? 0 : it->second;
}

LPARAM RemoveProp(HWND hwnd, std::wstring_view name)
{
    auto core = FindCore(hwnd);
    if (!core) return 0;
    std::lock_guard lock(core->mutex);
    auto it = core->props.find(name);
    if (it == core->props.end()) return 0;
    const LPARAM value = it->second;
    core->props.erase(it);
    return value;
}

bool SetTimer(HWND hwnd, unsigned id, unsigned elapseMs)
{
    auto core = FindCore(hwnd);
    return core && core->StartTimer(id, elapseMs);
}

bool KillTimer(HWND hwnd, unsigned id)
{
    auto core = FindCore(hwnd);
    return core && core->StopTimer(id);
}

}  // namespace MUI
