#include "platform/mui/WindowCore.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QTimer>
#include <QWindow>
#include <algorithm>

#include "platform/mui/MWindow.h"
#include "platform/mui/UiThread.h"
#include "platform/mui/WindowMessages.h"
#include "platform/mui/WindowRegistry.h"
#include "platform/mui/WindowWidget.h"

namespace MUI {

bool WindowCore::IsChild() const { return (style & WS_CHILD) != 0; }

RECT WindowCore::ScreenRect()
{
    RECT r;
    HWND parentHwnd;
    bool child;
    {
        std::lock_guard lock(mutex);
        r = rect;
        parentHwnd = parent;
        child = IsChild();
    }
    if (child) {
        if (auto parentCore = FindCore(parentHwnd)) {
            const RECT p = parentCore->ScreenRect();
            r = RECT{r.left + p.left, r.top + p.top, r.right + p.left, r.bottom + p.top};
        }
    }
    return r;
}

RECT WindowCore::ClientRect()
{
    std::lock_guard lock(mutex);
    return RECT{0, 0, std::max(0, RectWidth(rect)), std::max(0, RectHeight(rect))};
}

bool WindowCore::Show(int command)
{
    bool wasVisible;
    bool activate = false;
    HWND self;
    {
        std::lock_guard lock(mutex);
        if (!hwnd) return false;
        self = hwnd;
        wasVisible = visible;
        switch (command) {
            case SW_HIDE:
                visible = false;
                break;
            case SW_SHOWMINIMIZED:
            case SW_MINIMIZE:
            case SW_SHOWMINNOACTIVE:
                visible = true;
                minimized = true;
                break;
            case SW_MAXIMIZE:
                if (!maximized) normalRect = rect;
                visible = true;
                minimized = false;
                maximized = true;
                activate = true;
                break;
            case SW_SHOWNORMAL:
                if (maximized) rect = normalRect;
                visible = true;
                minimized = false;
                maximized = false;
                activate = true;
                break;
            case SW_RESTORE:
                if (minimized)
                    minimized = false;
                else if (maximized) {
                    maximized = false;
                    rect = normalRect;
                }
                visible = true;
                activate = true;
                break;
            case SW_SHOWNOACTIVATE:
            case SW_SHOWNA:
                visible = true;
                break;
            default:  // SW_SHOW and anything else
                visible = true;
                activate = true;
                break;
        }
    }
    if (command == SW_HIDE) WindowRegistry::ClearForeground(self);
    if (activate && !IsChild()) WindowRegistry::SetForeground(self);
    PostApply();
    if (activate) {
        PostToUiThread([weak = weak_from_this()] {
            if (auto core = weak.lock()) core->Raise(true);
        });
    }
    return wasVisible;
}

bool WindowCore::Enable(bool enable)
{
    bool wasDisabled;
    {
        std::lock_guard lock(mutex);
        if (!hwnd) return false;
        wasDisabled = !enabled;
        enabled = enable;
    }
    PostApply();
    return wasDisabled;
}

void WindowCore::SetRect(const RECT& r)
{
    {
        std::lock_guard lock(mutex);
        rect = r;
        if (!maximized) normalRect = r;
    }
    PostApply();
}

void WindowCore::SetTopmost(bool on)
{
    {
        std::lock_guard lock(mutex);
        topmost = on;
    }
    PostApply();
}

bool WindowCore::StartTimer(unsigned id, unsigned period)
{
    {
        std::lock_guard lock(mutex);
        if (!hwnd) return false;
        timers[id] = Timer{std::max(1u, period), ++timerGeneration};
    }
    PostToUiThread([weak = weak_from_this(), id] {
        if (auto core = weak.lock()) core->ApplyTimer(id);
    });
    return true;
}

bool WindowCore::StopTimer(unsigned id)
{
    bool existed;
    {
        std::lock_guard lock(mutex);
        existed = timers.erase(id) > 0;
    }
    if (existed) {
        PostToUiThread([weak = weak_from_this(), id] {
            if (auto core = weak.lock()) core->ApplyTimer(id);
        });
    }
    return existed;
}

void WindowCore::ApplyTimer(unsigned id)
{
    unsigned period = 0;
    bool active;
    {
        std::lock_guard lock(mutex);
        auto it = timers.find(id);
        active = it != timers.end();
        if (active) period = it->second.period;
    }
    QPointer<QTimer>& timer = qtTimers[id];
    if (!active || !widget) {
        if (timer) timer->deleteLater();
        qtTimers.erase(id);
        return;
    }
    if (!timer) {
        timer = new QTimer(widget);
        QObject::connect(timer, &QTimer::timeout, widget, [weak = weak_from_this(), id] {
            auto core = weak.lock();
            if (!core) return;
            {
                // A timer killed from another thread must not fire again.
                std::lock_guard lock(core->mutex);
                if (!core->timers.count(id)) return;
            }
            core->Dispatch(WM_TIMER, id, 0);
        });
    }
    timer->start(static_cast<int>(period));
}

void WindowCore::EndModal(int result)
{
    {
        std::lock_guard lock(mutex);
        if (!endPending) {
            endPending = true;
            endResult = result;
        }
        if (!loop) return;  // remembered for the next loop
    }
    PostToUiThread([weak = weak_from_this()] {
        auto core = weak.lock();
        if (!core) return;
        std::lock_guard lock(core->mutex);
        if (core->loop) core->loop->exit(0);
    });
}

void WindowCore::Raise(bool activate)
{
    if (!widget || IsChild()) return;
    // The headless platform has no stacking and warns on every raise.
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) widget->raise();
    if (activate) widget->activateWindow();
}

void WindowCore::PostApply()
{
    PostToUiThread([weak = weak_from_this()] {
        if (auto core = weak.lock()) core->ApplyToWidget();
    });
}

void WindowCore::ApplyToWidget()
{
    WindowWidget* w = widget;
    if (!w) return;
    RECT r;
    bool isVisible, isEnabled, isMinimized, isMaximized, isTopmost, child;
    HWND parentHwnd;
    {
        std::lock_guard lock(mutex);
        r = rect;
        isVisible = visible;
        isEnabled = enabled;
        isMinimized = minimized;
        isMaximized = maximized;
        isTopmost = topmost;
        child = IsChild();
        parentHwnd = parent;
    }
    w->applying = true;
    if (!child) {
        const bool hasTop = w->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        if (hasTop != isTopmost) w->setWindowFlag(Qt::WindowStaysOnTopHint, isTopmost);
    }
    if (!isMaximized && !isMinimized)
        w->setGeometry(r.left, r.top, std::max(0, RectWidth(r)), std::max(0, RectHeight(r)));
    w->setEnabled(isEnabled);
    if (isVisible) {
        if (!child && !w->windowHandle()) {
            // Popups stay above the window that owns them.
            w->createWinId();
            if (auto parentCore = FindCore(parentHwnd))
                if (parentCore->widget && w->windowHandle()) {
                    parentCore->widget->createWinId();
                    w->windowHandle()->setTransientParent(parentCore->widget->windowHandle());
                }
        }
        if (child)
            w->show();
        else if (isMinimized)
            w->showMinimized();
        else if (isMaximized)
            w->showMaximized();
        else if (w->isMinimized() || w->isMaximized())
            w->showNormal();
        else
            w->show();
    } else {
        w->hide();
    }
    w->applying = false;
    if (isMaximized && !isMinimized) {
        // The maximised geometry is the screen's; keep it as the window's rectangle.
        const QRect g = w->geometry();
        std::lock_guard lock(mutex);
        rect = RECT{g.x(), g.y(), g.x() + g.width(), g.y() + g.height()};
    }
}

LRESULT WindowCore::Dispatch(UINT message, WPARAM wParam, LPARAM lParam)
{
    MWindow* target;
    {
        std::lock_guard lock(mutex);
        if (!hwnd) return 0;
        target = window;
    }
    if (!target) return 0;
    if (target->PreTranslateMessage(message, wParam, lParam)) return 0;
    return target->OnWindowMessage(message, wParam, lParam);
}

}  // namespace MUI
