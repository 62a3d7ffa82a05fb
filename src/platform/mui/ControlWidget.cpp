#include "platform/mui/ControlWidget.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include "platform/mui/WindowMessages.h"
#include "platform/mui/WindowWidget.h"

namespace MUI {

namespace {

MControl* Current(ControlLink& link)
{
    ControlLink::Guard guard(link);
    return guard.get();
}

}  // namespace

ControlWidget::ControlWidget(std::shared_ptr<ControlLink> link, QWidget* parent)
    : QWidget(parent), link_(std::move(link))
{
    setMouseTracking(true);
}

MouseEvent ControlWidget::MakeMouseEvent(const QWidget* widget, const QPointF& local,
                                         Qt::MouseButton button, Qt::MouseButtons buttons,
                                         Qt::KeyboardModifiers modifiers, int wheelDelta)
{
    MouseEvent e;
    e.x = static_cast<int>(local.x());
    e.y = static_cast<int>(local.y());
    const QWidget* window = widget;
    while (window && !dynamic_cast<const WindowWidget*>(window)) window = window->parentWidget();
    const QPoint p(e.x, e.y);
    const QPoint client = window ? widget->mapTo(window, p) : p;
    const QPoint screen = widget->mapToGlobal(p);
    e.client = POINT{client.x(), client.y()};
    e.screen = POINT{screen.x(), screen.y()};
    switch (button) {
        case Qt::LeftButton:
            e.button = MouseEvent::kLeft;
            break;
        case Qt::RightButton:
            e.button = MouseEvent::kRight;
            break;
        case Qt::MiddleButton:
            e.button = MouseEvent::kMiddle;
            break;
        default:
            e.button = MouseEvent::kNone;
            break;
    }
    if (buttons & Qt::LeftButton) e.keys |= MK_LBUTTON;
    if (buttons & Qt::RightButton) e.keys |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton) e.keys |= MK_MBUTTON;
    if (modifiers & Qt::ShiftModifier) e.keys |= MK_SHIFT;
    if (modifiers & Qt::ControlModifier) e.keys |= MK_CONTROL;
    e.wheelDelta = wheelDelta;
    return e;
}

void ControlWidget::paintEvent(QPaintEvent*)
{
    ControlLink::Guard control(*link_);
    if (!control) return;
    auto lock = control->Lock();
    QPainter painter(this);
    control->Paint(painter);
}

void ControlWidget::mousePressEvent(QMouseEvent* event)
{
    MControl* control = Current(*link_);
    if (!control) return;
    if (event->button() == Qt::LeftButton) {
        control->pressed_.store(true);
        control->Invalidate();
    }
    control->OnMouseDown(MakeMouseEvent(this, event->position(), event->button(), event->buttons(),
                                        event->modifiers()));
}

void ControlWidget::mouseReleaseEvent(QMouseEvent* event)
{
    MControl* control = Current(*link_);
    if (!control) return;
    const MouseEvent e = MakeMouseEvent(this, event->position(), event->button(), event->buttons(),
                                        event->modifiers());
    bool wasPressed = false;
    if (event->button() == Qt::LeftButton) {
        wasPressed = control->pressed_.exchange(false);
        control->Invalidate();
    }
    control->OnMouseUp(e);
    // The handler may have destroyed the window and the control with it.
    control = Current(*link_);
    if (control && wasPressed && rect().contains(event->position().toPoint()) &&
        control->IsEnabled())
        control->OnClick(e);
}

void ControlWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    MControl* control = Current(*link_);
    if (!control) return;
    control->OnMouseDoubleClick(MakeMouseEvent(this, event->position(), event->button(),
                                               event->buttons(), event->modifiers()));
}

void ControlWidget::mouseMoveEvent(QMouseEvent* event)
{
    MControl* control = Current(*link_);
    if (!control) return;
    control->OnMouseMove(MakeMouseEvent(this, event->position(), Qt::NoButton, event->buttons(),
                                        event->modifiers()));
}

void ControlWidget::enterEvent(QEnterEvent*)
{
    MControl* control = Current(*link_);
    if (!control) return;
    control->hovered_.store(true);
    control->Invalidate();
    control->OnMouseEnter();
}

void ControlWidget::leaveEvent(QEvent*)
{
    MControl* control = Current(*link_);
    if (!control) return;
    control->hovered_.store(false);
    control->Invalidate();
    control->OnMouseLeave();
}

void ControlWidget::wheelEvent(QWheelEvent* event)
{
    MControl* control = Current(*link_);
    if (!control) return;
    control->OnMouseWheel(MakeMouseEvent(this, event->position(), Qt::NoButton, event->buttons(),
                                         event->modifiers(), event->angleDelta().y()));
}

}  // namespace MUI
