#include "platform/mui/CRoundArea.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

#include "platform/mui/ControlFactory.h"
#include "platform/mui/Painting.h"

namespace MUI {

MUI_REGISTER_CONTROL(CRoundArea)

void CRoundArea::SetColor(ARGB color) { SetBkColor(color); }
ARGB CRoundArea::GetColor() const { return GetBkColor(); }

void CRoundArea::SetRoundRadius(int radius)
{
    auto lock = Lock();
    radius_ = std::max(0, radius);
    Invalidate();
}

int CRoundArea::GetRoundRadius() const
{
    auto lock = Lock();
    return radius_;
}

void CRoundArea::SetRoundMode(int mode)
{
    auto lock = Lock();
    mode_ = mode;
    Invalidate();
}

int CRoundArea::GetRoundMode() const
{
    auto lock = Lock();
    return mode_;
}

void CRoundArea::Paint(QPainter& painter)
{
    const ARGB color = GetBkColor();
    if (!(color >> 24)) return;
    const RECT r = GetRect();
    const QRectF area(0, 0, RectWidth(r), RectHeight(r));
    const qreal radius = std::min<qreal>(radius_, std::min(area.width(), area.height()) / 2);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ToQColor(color));
    if (radius <= 0) {
        painter.drawRect(area);
        return;
    }
    QPainterPath path;
    path.addRoundedRect(area, radius, radius);
    // Square off the corners that the mode leaves sharp.
    if (mode_ == kRoundTop)
        path.addRect(QRectF(0, area.height() / 2, area.width(), area.height() / 2));
    else if (mode_ == kRoundBottom)
        path.addRect(QRectF(0, 0, area.width(), area.height() / 2));
    path.setFillRule(Qt::WindingFill);
    painter.drawPath(path.simplified());
}

}  // namespace MUI
