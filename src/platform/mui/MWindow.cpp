#include "platform/mui/MWindow.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

#include "platform/mui/UiThread.h"
#include "platform/mui/WindowCore.h"
#include "platform/mui/WindowRegistry.h"
#include "platform/mui/WindowWidget.h"

namespace MUI {

MWindow::MWindow() : core_(std::make_shared<WindowCore>()) { core_->window = this; }

MWindow::~MWindow()
{
    // Derived parts are gone already: tear the window down without calling overrides.
    MWindow::DestroyWindow();
    std::lock_guard lock(core_->mutex);
    core_->window = nullptr;
}

const wchar_t* MWindow::GetWindowClassName() const { return L"MWindow"; }
const wchar_t* MWindow::GetSuperClassName() const { return nullptr; }

bool MWindow::ShowWindow(int command) { return core_->Show(command); }

LRESULT MWindow::OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    const int x = LowWordSigned(lParam);
    const int y = HighWordSigned(lParam);
    switch (message) {
        case WM_CLOSE: {
            OnClose();
            if (IsModalRunning())
                EndModal(static_cast<int>(wParam));
            else
                DestroyWindow();
            return 0;
        }
        case WM_TIMER:
            OnTimer(static_cast<unsigned>(wParam));
            return 0;
        case WM_SIZE: {
            const int width = static_cast<int>(lParam & 0xFFFF);
            const int height = static_cast<int>((lParam >> 16) & 0xFFFF);
            OnSize(wParam, width, height);
            if (wParam != SIZE_MINIMIZED) UISize(RECT{0, 0, width, height});
            return 0;
        }
        case WM_NCLBUTTONDOWN:
            if (static_cast<int>(wParam) == HTCAPTION) {
                if (WindowWidget* w = core_->widget) w->BeginMove();
            }
            return 0;
        case WM_NCACTIVATE:
            return OnNcActivate(wParam != 0);
        case WM_NCHITTEST:
            return OnNcHitTest(x, y);
        case WM_SYSCOMMAND:
            switch (wParam & 0xFFF0) {
                case SC_MINIMIZE:
                    ShowWindow(SW_MINIMIZE);
                    break;
                case SC_MAXIMIZE:
                    ShowWindow(SW_MAXIMIZE);
                    break;
                case SC_RESTORE:
                    ShowWindow(SW_RESTORE);
                    break;
                case SC_CLOSE:
                    PostMessage(WM_CLOSE);
                    break;
                default:
                    break;
            }
            return 0;
        case WM_MOUSEMOVE:
            return OnMouseMove(wParam, x, y);
        case WM_MOUSELEAVE:
            return OnMouseLeave();
        case WM_MOUSEHOVER:
            return OnMouseHover(wParam, x, y);
        case WM_MOUSEWHEEL:
            return OnMouseWheel(wParam & 0xFFFF, static_cast<std::int16_t>((wParam >> 16) & 0xFFFF),
                                x, y);
        case WM_LBUTTONDOWN:
            return OnLButtonDown(wParam, x, y);
        case WM_LBUTTONUP:
            return OnLButtonUp(wParam, x, y);
        case WM_LBUTTONDBLCLK:
            return OnLButtonDblClk(wParam, x, y);
        case WM_RBUTTONDOWN:
            return OnRButtonDown(wParam, x, y);
        case WM_RBUTTONUP:
            return OnRButtonUp(wParam, x, y);
        case WM_RBUTTONDBLCLK:
            return OnRButtonDblClk(wParam, x, y);
        case WM_KEYDOWN:
            return OnKeyDown(wParam, lParam);
        case WM_PAINT:
            return OnPaint();
        case WM_NCPAINT:
            return OnNcPaint();
        default:
            return 0;
    }
}

bool MWindow::PreTranslateMessage(UINT, WPARAM, LPARAM) { return false; }
int MWindow::OnInitDialog() { return 1; }
int MWindow::OnDestroyMessage() { return 0; }
POINT MWindow::GetAirBladderPoint() { return POINT{}; }
void MWindow::OnMinimize() { ShowWindow(SW_MINIMIZE); }
void MWindow::OnMaximize() { ShowWindow(IsZoomed() ? SW_RESTORE : SW_MAXIMIZE); }
void MWindow::InitUI(const RECT&) {}
void MWindow::UISize(const RECT&) {}
int MWindow::OnMessage(unsigned, int, LPARAM) { return 0; }
bool MWindow::OnUserCloseWindow() { return true; }
int MWindow::OnCreate() { return 0; }
void MWindow::OnSize(WPARAM, int, int) {}
int MWindow::OnMouseMove(WPARAM, int, int) { return 0; }
int MWindow::OnMouseLeave() { return 0; }
int MWindow::OnMouseHover(WPARAM, int, int) { return 0; }
int MWindow::OnMouseWheel(WPARAM, int, int, int) { return 0; }
int MWindow::OnLButtonDown(WPARAM, int, int) { return 0; }
int MWindow::OnLButtonUp(WPARAM, int, int) { return 0; }
int MWindow::OnLButtonDblClk(WPARAM, int, int) { return 0; }
int MWindow::OnRButtonDown(WPARAM, int, int) { return 0; }
int MWindow::OnRButtonUp(WPARAM, int, int) { return 0; }
int MWindow::OnRButtonDblClk(WPARAM, int, int) { return 0; }
int MWindow::OnKeyDown(WPARAM, LPARAM) { return 0; }
LRESULT MWindow::OnNcHitTest(int, int) { return HTCLIENT; }
int MWindow::OnGetMinMaxInfo(void*) { return 0; }
int MWindow::OnNcCalcSize(WPARAM, LPARAM) { return 0; }
LRESULT MWindow::OnNcActivate(bool) { return 1; }
int MWindow::OnWindowPosChanging(void*) { return 0; }
int MWindow::OnWindowPosChanged(void*) { return 0; }
int MWindow::OnPaint() { return 0; }
void MWindow::OnTimer(unsigned) {}
int MWindow::OnNcPaint() { return 0; }
void MWindow::OnClose() {}
int MWindow::OnDestroy() { return 0; }
void MWindow::PostNcDestroy() {}

bool MWindow::DestroyWindow()
{
    // Nothing to hand to the UI thread when no window exists (handles are made only there).
    if (!GetHWND()) return false;
    if (!IsUiThread()) {
        bool done = false;
        RunOnUiThread([&] { done = MWindow::DestroyWindow(); });
        return done;
    }
    HWND hwnd;
    {
        std::lock_guard lock(core_->mutex);
        hwnd = core_->hwnd;
    }
    if (!hwnd) return false;
    if (core_->window == this) {
        OnDestroyMessage();
        OnDestroy();
    }
    WindowWidget* widget = core_->widget;
    {
        std::lock_guard lock(core_->mutex);
        core_->hwnd = nullptr;
        core_->timers.clear();
        core_->visible = false;
        if (core_->loop) {
            if (!core_->endPending) {
                core_->endPending = true;
                core_->endResult = 0;
            }
            core_->loop->exit(0);
        }
    }
    WindowRegistry::Remove(hwnd);
    for (auto& entry : core_->qtTimers)
        if (entry.second) entry.second->stop();
    core_->qtTimers.clear();
    core_->widget = nullptr;
    if (widget) {
        widget->hide();
        // Later: the widget may be inside one of its own event handlers right now.
        widget->deleteLater();
    }
    if (core_->window == this) PostNcDestroy();
    return true;
}

HWND MWindow::Create(HWND parent, std::wstring_view title, unsigned style, unsigned exStyle,
                     const RECT& rect)
{
    EnsureApplication();
    if (!IsUiThread()) {
        HWND created = nullptr;
        const std::wstring name(title);
        RunOnUiThread([&] { created = Create(parent, name, style, exStyle, rect); });
        return created;
    }
    {
        std::lock_guard lock(core_->mutex);
        if (core_->hwnd) return nullptr;
        core_->parent = parent;
        core_->className = GetWindowClassName();
        core_->name = std::wstring(title);
        core_->style = style;
        core_->exStyle = exStyle;
        core_->rect = rect;
        core_->normalRect = rect;
        core_->visible = false;
        core_->enabled = (style & WS_DISABLED) == 0;
        core_->minimized = false;
        core_->maximized = false;
        core_->topmost = (exStyle & WS_EX_TOPMOST) != 0;
        core_->lastClientSize = SIZE{RectWidth(rect), RectHeight(rect)};
    }
    const HWND hwnd = WindowRegistry::Add(core_);
    QWidget* parentWidget = nullptr;
    if (auto parentCore = FindCore(parent)) parentWidget = parentCore->widget;
    const bool child = (style & WS_CHILD) != 0 && parentWidget;
    Qt::WindowFlags flags;
    if (!child) {
        flags = Qt::FramelessWindowHint | ((exStyle & WS_EX_TOOLWINDOW) ? Qt::Tool : Qt::Window);
        if (exStyle & WS_EX_TOPMOST) flags |= Qt::WindowStaysOnTopHint;
    }
    auto* widget = new WindowWidget(core_, child ? parentWidget : nullptr, flags);
    widget->setWindowTitle(QString::fromStdWString(std::wstring(title)));
    widget->applying = true;
    widget->setGeometry(rect.left, rect.top, std::max(0, RectWidth(rect)),
                        std::max(0, RectHeight(rect)));
    widget->applying = false;
    {
        std::lock_guard lock(core_->mutex);
        core_->hwnd = hwnd;
        if (!child) core_->style &= ~WS_CHILD;
    }
    core_->widget = widget;

    OnCreate();
    InitUI(GetClientRect());
    OnInitDialog();
    // Timers set while the window was being built start now that it has a widget.
    std::vector<unsigned> ids;
    {
        std::lock_guard lock(core_->mutex);
        for (const auto& entry : core_->timers) ids.push_back(entry.first);
    }
    for (unsigned id : ids) core_->ApplyTimer(id);
    return hwnd;
}

HWND MWindow::GetHWND() const
{
    std::lock_guard lock(core_->mutex);
    return core_->hwnd;
}

HWND MWindow::GetParentHwnd() const
{
    std::lock_guard lock(core_->mutex);
    return core_->parent;
}

std::wstring MWindow::GetWindowName() const
{
    std::lock_guard lock(core_->mutex);
    return core_->name;
}

unsigned MWindow::GetStyle() const
{
    std::lock_guard lock(core_->mutex);
    return core_->style;
}

unsigned MWindow::GetExStyle() const
{
    std::lock_guard lock(core_->mutex);
    return core_->exStyle;
}

void MWindow::CenterWindow(HWND reference)
{
    if (!IsUiThread()) {
        RunOnUiThread([&] { CenterWindow(reference); });
        return;
    }
    RECT own;
    HWND parent;
    bool child;
    {
        std::lock_guard lock(core_->mutex);
        if (!core_->hwnd) return;
        own = core_->rect;
        parent = core_->parent;
        child = core_->IsChild();
    }
    RECT area;
    auto refCore = FindCore(reference ? reference : parent);
    if (child && refCore) {
        area = refCore->ClientRect();
    } else if (refCore) {
        area = refCore->ScreenRect();
    } else {
        QScreen* screen = QGuiApplication::primaryScreen();
        const QRect g = screen ? screen->availableGeometry() : QRect(0, 0, 1920, 1080);
        area = RECT{g.x(), g.y(), g.x() + g.width(), g.y() + g.height()};
    }
    const int w = RectWidth(own), h = RectHeight(own);
    const int left = area.left + (RectWidth(area) - w) / 2;
    const int top = area.top + (RectHeight(area) - h) / 2;
    core_->SetRect(RECT{left, top, left + w, top + h});
}

int MWindow::ShowModal(int command)
{
    if (!IsUiThread()) {
        int result = -1;
        RunOnUiThread([&] { result = ShowModal(command); });
        return result;
    }
    HWND parent;
    {
        std::lock_guard lock(core_->mutex);
        if (!core_->hwnd) return -1;
        parent = core_->parent;
    }
    // Like a Windows dialog: the owner takes no input while the dialog runs.
    std::shared_ptr<WindowCore> owner = core_->IsChild() ? nullptr : FindCore(parent);
    const bool disabledOwner = owner && owner->Enable(false) == false;

    std::shared_ptr<WindowCore> core = core_;  // the object may be deleted by a handler
    ShowWindow(command);
    bool run;
    {
        std::lock_guard lock(core->mutex);
        run = !core->endPending && core->hwnd;
    }
    if (run) {
        QEventLoop loop;
        {
            std::lock_guard lock(core->mutex);
            core->loop = &loop;
            run = !core->endPending && core->hwnd;
        }
        if (run) loop.exec();
        std::lock_guard lock(core->mutex);
        core->loop = nullptr;
    }
    int result;
    bool alive;
    {
        std::lock_guard lock(core->mutex);
        result = core->endResult;
        core->endPending = false;
        core->endResult = 0;
        alive = core->hwnd != nullptr && core->window == this;
    }
    if (disabledOwner) owner->Enable(true);
    if (alive) DestroyWindow();
    return result;
}

void MWindow::EndModal(int result) { core_->EndModal(result); }

bool MWindow::IsModalRunning() const
{
    std::lock_guard lock(core_->mutex);
    return core_->loop != nullptr;
}

bool MWindow::EnableWindow(bool enable) { return core_->Enable(enable); }

bool MWindow::IsWindowEnabled() const
{
    std::lock_guard lock(core_->mutex);
    return core_->hwnd && core_->enabled;
}

bool MWindow::IsWindowVisible() const
{
    std::lock_guard lock(core_->mutex);
    return core_->hwnd && core_->visible;
}

bool MWindow::IsIconic() const
{
    std::lock_guard lock(core_->mutex);
    return core_->hwnd && core_->minimized;
}

bool MWindow::IsZoomed() const
{
    std::lock_guard lock(core_->mutex);
    return core_->hwnd && core_->maximized;
}

bool MWindow::SetTimer(unsigned id, unsigned elapseMs) { return core_->StartTimer(id, elapseMs); }
bool MWindow::KillTimer(unsigned id) { return core_->StopTimer(id); }

bool MWindow::PostMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    {
        std::lock_guard lock(core_->mutex);
        if (!core_->hwnd) return false;
    }
    PostToUiThread([weak = std::weak_ptr<WindowCore>(core_), message, wParam, lParam] {
        if (auto core = weak.lock()) core->Dispatch(message, wParam, lParam);
    });
    return true;
}

LRESULT MWindow::SendMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    std::shared_ptr<WindowCore> core = core_;
    LRESULT result = 0;
    RunOnUiThread([&] { result = core->Dispatch(message, wParam, lParam); });
    return result;
}

RECT MWindow::GetWindowRect() const { return core_->ScreenRect(); }
RECT MWindow::GetClientRect() const { return core_->ClientRect(); }

bool MWindow::SetWindowPos(HWND insertAfter, int x, int y, int cx, int cy, UINT flags)
{
    RECT r;
    {
        std::lock_guard lock(core_->mutex);
        if (!core_->hwnd) return false;
        r = core_->rect;
    }
    if (!(flags & SWP_NOMOVE)) r = RECT{x, y, x + RectWidth(r), y + RectHeight(r)};
    if (!(flags & SWP_NOSIZE)) r = RECT{r.left, r.top, r.left + cx, r.top + cy};
    if ((flags & (SWP_NOMOVE | SWP_NOSIZE)) != (SWP_NOMOVE | SWP_NOSIZE)) core_->SetRect(r);
    if (!(flags & SWP_NOZORDER)) {
        if (insertAfter == HWND_TOPMOST)
            core_->SetTopmost(true);
        else if (insertAfter == HWND_NOTOPMOST)
            core_->SetTopmost(false);
        else if (insertAfter == HWND_TOP)
            PostToUiThread([weak = std::weak_ptr<WindowCore>(core_)] {
                if (auto core = weak.lock()) core->Raise(false);
            });
    }
    if (flags & SWP_SHOWWINDOW) core_->Show((flags & SWP_NOACTIVATE) ? SW_SHOWNA : SW_SHOW);
    if (flags & SWP_HIDEWINDOW) core_->Show(SW_HIDE);
    return true;
}

bool MWindow::MoveWindow(const RECT& rect)
{
    {
        std::lock_guard lock(core_->mutex);
        if (!core_->hwnd) return false;
    }
    core_->SetRect(rect);
    return true;
}

std::recursive_mutex& MWindow::Mutex() const { return core_->mutex; }

QWidget* MWindow::GetWidget() const { return core_->widget; }

MWindow* MWindow::FromHandle(HWND hwnd)
{
    auto core = FindCore(hwnd);
    if (!core) return nullptr;
    std::lock_guard lock(core->mutex);
    return core->window;
}

}  // namespace MUI
