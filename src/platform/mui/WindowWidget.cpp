#include "platform/mui/WindowWidget.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include "platform/mui/DialogCore.h"
#include "platform/mui/MWindow.h"
#include "platform/mui/WindowCore.h"
#include "platform/mui/WindowMessages.h"
#include "platform/mui/WindowRegistry.h"

namespace MUI {

namespace {

WPARAM KeyFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers)
{
    WPARAM flags = 0;
    if (buttons & Qt::LeftButton) flags |= MK_LBUTTON;
    if (buttons & Qt::RightButton) flags |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton) flags |= MK_MBUTTON;
    if (modifiers & Qt::ShiftModifier) flags |= MK_SHIFT;
    if (modifiers & Qt::ControlModifier) flags |= MK_CONTROL;
    return flags;
}

LPARAM Position(const QPointF& p)
{
    return MakeLParam(static_cast<int>(p.x()), static_cast<int>(p.y()));
}

}  // namespace

WindowWidget::WindowWidget(std::shared_ptr<WindowCore> core, QWidget* parent, Qt::WindowFlags flags)
    : QWidget(parent, flags), core_(std::move(core))
{
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
}

LRESULT WindowWidget::Send(UINT message, WPARAM wParam, LPARAM lParam)
{
    // Keeps the state alive even when the handler destroys the window.
    std::shared_ptr<WindowCore> core = core_;
    return core->Dispatch(message, wParam, lParam);
}

void WindowWidget::BeginMove()
{
    // Only while the press that asked for the move is still held.
    if (!leftDown_) return;
    moving_ = true;
    moveStartCursor_ = lastPressGlobal_;
    moveStartPos_ = pos();
}

void WindowWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    PaintDialogBackground(core_->window, painter, rect());
}

void WindowWidget::StoreGeometry()
{
    if (applying) return;
    const QRect g = geometry();
    std::lock_guard lock(core_->mutex);
    if (core_->minimized) return;
    core_->rect = RECT{g.x(), g.y(), g.x() + g.width(), g.y() + g.height()};
    if (!core_->maximized) core_->normalRect = core_->rect;
}

void WindowWidget::resizeEvent(QResizeEvent*)
{
    StoreGeometry();
    const SIZE size{width(), height()};
    if (size.cx == core_->lastClientSize.cx && size.cy == core_->lastClientSize.cy) return;
    core_->lastClientSize = size;
    WPARAM type = SIZE_RESTORED;
    {
        std::lock_guard lock(core_->mutex);
        if (core_->maximized) type = SIZE_MAXIMIZED;
        if (core_->minimized) type = SIZE_MINIMIZED;
    }
    Send(WM_SIZE, type, MakeLParam(size.cx, size.cy));
}

void WindowWidget::moveEvent(QMoveEvent*) { StoreGeometry(); }

void WindowWidget::mousePressEvent(QMouseEvent* event)
{
    const WPARAM flags = KeyFlags(event->buttons(), event->modifiers());
    const LPARAM pos = Position(event->position());
    if (event->button() == Qt::LeftButton) {
        leftDown_ = true;
        lastPressGlobal_ = event->globalPosition().toPoint();
        if (IsDialogDraggedByBody(core_->window)) BeginMove();
        Send(WM_LBUTTONDOWN, flags, pos);
    } else if (event->button() == Qt::RightButton) {
        Send(WM_RBUTTONDOWN, flags, pos);
    } else if (event->button() == Qt::MiddleButton) {
        Send(WM_MBUTTONDOWN, flags, pos);
    }
}

void WindowWidget::mouseReleaseEvent(QMouseEvent* event)
{
    const WPARAM flags = KeyFlags(event->buttons(), event->modifiers());
    const LPARAM pos = Position(event->position());
    if (event->button() == Qt::LeftButton) {
        moving_ = false;
        leftDown_ = false;
        Send(WM_LBUTTONUP, flags, pos);
    } else if (event->button() == Qt::RightButton) {
        Send(WM_RBUTTONUP, flags, pos);
    } else if (event->button() == Qt::MiddleButton) {
        Send(WM_MBUTTONUP, flags, pos);
    }
}

void WindowWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    const WPARAM flags = KeyFlags(event->buttons(), event->modifiers());
    const LPARAM pos = Position(event->position());
    if (event->button() == Qt::LeftButton)
        Send(WM_LBUTTONDBLCLK, flags, pos);
    else if (event->button() == Qt::RightButton)
        Send(WM_RBUTTONDBLCLK, flags, pos);
}

void WindowWidget::mouseMoveEvent(QMouseEvent* event)
{
    if (moving_) {
        if (!(event->buttons() & Qt::LeftButton)) {
            moving_ = false;
        } else {
            move(moveStartPos_ + (event->globalPosition().toPoint() - moveStartCursor_));
            return;
        }
    }
    Send(WM_MOUSEMOVE, KeyFlags(event->buttons(), event->modifiers()), Position(event->position()));
}

void WindowWidget::leaveEvent(QEvent*) { Send(WM_MOUSELEAVE, 0, 0); }

void WindowWidget::wheelEvent(QWheelEvent* event)
{
    const int delta = event->angleDelta().y();
    const WPARAM flags = KeyFlags(event->buttons(), event->modifiers()) |
                         (static_cast<WPARAM>(static_cast<std::uint16_t>(delta)) << 16);
    const QPointF global = event->globalPosition();
    Send(WM_MOUSEWHEEL, flags, Position(global));
}

void WindowWidget::keyPressEvent(QKeyEvent* event)
{
    const int vk = QtKeyToVirtualKey(event->key());
    if (vk) Send(WM_KEYDOWN, static_cast<WPARAM>(vk), 0);
}

void WindowWidget::closeEvent(QCloseEvent* event)
{
    // Closing is the window's own decision, reached through WM_CLOSE.
    event->ignore();
    MWindow* window = core_->window;
    if (window && window->OnUserCloseWindow()) Send(WM_CLOSE, 0, 0);
}

void WindowWidget::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange) {
        HWND hwnd;
        {
            std::lock_guard lock(core_->mutex);
            hwnd = core_->hwnd;
        }
        if (isActiveWindow()) {
            WindowRegistry::SetForeground(hwnd);
            Send(WM_NCACTIVATE, 1, 0);
        } else {
            WindowRegistry::ClearForeground(hwnd);
            Send(WM_NCACTIVATE, 0, 0);
        }
    } else if (event->type() == QEvent::WindowStateChange && !applying) {
        std::lock_guard lock(core_->mutex);
        core_->minimized = isMinimized();
        core_->maximized = isMaximized();
    }
    QWidget::changeEvent(event);
}

int QtKeyToVirtualKey(int key)
{
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return 'A' + (key - Qt::Key_A);
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return '0' + (key - Qt::Key_0);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return 0x70 + (key - Qt::Key_F1);
    switch (key) {
        case Qt::Key_Backspace:
            return 0x08;
        case Qt::Key_Tab:
            return 0x09;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return 0x0D;
        case Qt::Key_Shift:
            return 0x10;
        case Qt::Key_Control:
            return 0x11;
        case Qt::Key_Alt:
            return 0x12;
        case Qt::Key_Pause:
            return 0x13;
        case Qt::Key_CapsLock:
            return 0x14;
        case Qt::Key_Escape:
            return 0x1B;
        case Qt::Key_Space:
            return 0x20;
        case Qt::Key_PageUp:
            return 0x21;
        case Qt::Key_PageDown:
            return 0x22;
        case Qt::Key_End:
            return 0x23;
        case Qt::Key_Home:
            return 0x24;
        case Qt::Key_Left:
            return 0x25;
        case Qt::Key_Up:
            return 0x26;
        case Qt::Key_Right:
            return 0x27;
        case Qt::Key_Down:
            return 0x28;
        case Qt::Key_Insert:
            return 0x2D;
        case Qt::Key_Delete:
            return 0x2E;
        default:
            return 0;
    }
}

}  // namespace MUI
