#include "platform/mui/MProgress.h"

#include <algorithm>

#include <QPainter>
#include <QPainterPath>

#include "platform/mui/ControlFactory.h"
#include "platform/mui/Painting.h"

namespace MUI {

void MProgress::SetRange(int minimum, int maximum)
{
    auto lock = Lock();
    min_ = std::min(minimum, maximum);
    max_ = std::max(minimum, maximum);
    pos_ = std::clamp(pos_, min_, max_);
    Invalidate();
}

void MProgress::SetPos(int pos)
{
    auto lock = Lock();
    pos_ = std::clamp(pos, min_, max_);
    Invalidate();
}

int MProgress::GetPos() const
{
    auto lock = Lock();
    return pos_;
}

void MProgress::SetBarColor(ARGB color)
{
    auto lock = Lock();
    bar_ = color;
    Invalidate();
}

ARGB MProgress::GetBarColor() const
{
    auto lock = Lock();
    return bar_;
}

void MProgress::Paint(QPainter& painter)
{
    const RECT r = GetRect();
    const QRectF area(0, 0, RectWidth(r), RectHeight(r));
    const double radius = std::min(area.height() / 2, 6.0);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath back;
    back.addRoundedRect(area, radius, radius);
    painter.fillPath(back, GetBkColor() ? ToQColor(GetBkColor()) : QColor(0xE6, 0xE6, 0xE6));
    const double share = max_ > min_ ? double(pos_ - min_) / (max_ - min_) : 0.0;
    if (share <= 0) return;
    QPainterPath bar;
    bar.addRoundedRect(QRectF(0, 0, area.width() * share, area.height()), radius, radius);
    painter.fillPath(bar, ToQColor(bar_));
}

MUI_REGISTER_CONTROL(MProgress)

}  // namespace MUI
