// MWindow: the window's shape.
#include <QBitmap>
#include <QPainter>
#include <QPainterPath>
#include <QRegion>
#include <QWidget>

#include "platform/mui/MWindow.h"
#include "platform/mui/Painting.h"

namespace MUI {

bool MWindow::SetWindowRgn(const RECT& rect, int ellipseWidth, int ellipseHeight)
{
    QWidget* widget = GetWidget();
    if (widget == nullptr) return false;
    const QRect box = ToQRect(rect);
    QPainterPath path;
    path.addRoundedRect(QRectF(box), ellipseWidth / 2.0, ellipseHeight / 2.0);
    widget->setMask(QRegion(path.toFillPolygon().toPolygon()));
    return true;
}

}  // namespace MUI
