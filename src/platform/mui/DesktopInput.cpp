#include "platform/mui/DesktopInput.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>
#include <QWindow>

namespace MUI {

namespace {

QWindow* HandleOf(MWindow& window)
{
    QWidget* widget = window.GetWidget();
    return widget != nullptr && widget->isVisible() ? widget->windowHandle() : nullptr;
}

}  // namespace

bool DeliverDesktopClose(MWindow& window)
{
    QWindow* handle = HandleOf(window);
    if (handle == nullptr) return false;
    QCloseEvent event;
    QCoreApplication::sendEvent(handle, &event);
    return true;
}

bool DeliverDesktopEscape(MWindow& window)
{
    QWindow* handle = HandleOf(window);
    if (handle == nullptr) return false;
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(handle, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(handle, &release);
    return true;
}

}  // namespace MUI
