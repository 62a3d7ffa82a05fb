#include "platform/mui/CColorButton.h"

#include <algorithm>

#include <QPainter>
#include <QPainterPath>

#include "platform/mui/ControlFactory.h"

namespace MUI {

void CColorButton::SetColor(COLORREF color)
{
    auto lock = Lock();
    color_ = color & 0xFFFFFF;
    Invalidate();
}

COLORREF CColorButton::GetColor() const
{
    auto lock = Lock();
    return color_;
}

void CColorButton::Paint(QPainter& painter)
{
    const RECT r = GetRect();
    const QRectF area(0, 0, RectWidth(r), RectHeight(r));
    const double side = std::min(area.width(), area.height());
    const QRectF swatch(area.center().x() - side / 2, area.center().y() - side / 2, side, side);
    painter.setRenderHint(QPainter::Antialiasing);
    const bool ringed = GetCheck() || IsHovered();
    QPainterPath fill;
    fill.addRoundedRect(ringed ? swatch.adjusted(3, 3, -3, -3) : swatch.adjusted(1, 1, -1, -1), 4,
                        4);
    painter.fillPath(fill, ColorRefToQColor(color_));
    // A hairline keeps white swatches visible on the white page.
    painter.setPen(QPen(QColor(0, 0, 0, 40), 1));
    painter.drawPath(fill);
    if (ringed) {
        painter.setPen(QPen(GetCheck() ? QColor(0x3E, 0x3E, 0x3E) : QColor(0xA0, 0xA0, 0xA0), 1.5));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(swatch.adjusted(0.75, 0.75, -0.75, -0.75), 5, 5);
    }
}

MUI_REGISTER_CONTROL(CColorButton)

}  // namespace MUI
