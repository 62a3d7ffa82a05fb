#include "platform/mui/ControlClick.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

namespace MUI {

namespace {

// Fine enough for the smallest targets the controls have (a key cap, a layer segment).
constexpr int kScanStep = 2;

void SendMouse(QWidget* widget, QEvent::Type type, QPointF at, Qt::MouseButtons held)
{
    QMouseEvent event(type, at, widget->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

}  // namespace

std::optional<POINT> FindControlPoint(const MControl& control,
                                      const std::function<bool(int x, int y)>& hit)
{
    const RECT rect = control.GetRect();
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    for (int y = kScanStep / 2; y < height; y += kScanStep) {
        for (int x = kScanStep / 2; x < width; x += kScanStep) {
            if (hit(x, y)) return POINT{x, y};
        }
    }
    return std::nullopt;
}

bool ClickControl(MControl& control, POINT at)
{
    QWidget* widget = control.Widget();
    if (widget == nullptr) return false;
    const QPointF point(at.x, at.y);
    SendMouse(widget, QEvent::MouseButtonPress, point, Qt::LeftButton);
    SendMouse(widget, QEvent::MouseButtonRelease, point, Qt::NoButton);
    return true;
}

}  // namespace MUI
