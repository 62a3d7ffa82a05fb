#include "platform/mui/MLevelCtrl.h"

#include <algorithm>

#include <QPainter>
#include <QPainterPath>

#include "platform/mui/ControlFactory.h"
#include "platform/mui/Painting.h"

namespace MUI {

MLevelCtrl::MLevelCtrl() { SetRange(0, 4); }

int MLevelCtrl::PosFromX(int x) const
{
    const int w = RectWidth(GetRect());
    const int blocks = max_ - min_ + 1;
    if (w <= 0) return min_;
    return std::clamp(min_ + x * blocks / w, min_, max_);
}

void MLevelCtrl::Paint(QPainter& painter)
{
    const RECT r = GetRect();
    const int w = RectWidth(r);
    const int h = RectHeight(r);
    const int blocks = max_ - min_ + 1;
    const int gap = 4;
    const double blockWidth = (w - gap * (blocks - 1)) / static_cast<double>(blocks);
    const double blockHeight = std::min(h, 10);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < blocks; ++i) {
        QPainterPath block;
        block.addRoundedRect(
            QRectF(i * (blockWidth + gap), (h - blockHeight) / 2, blockWidth, blockHeight), 2, 2);
        const bool filled = min_ + i <= pos_;
        QColor colour = filled ? ToQColor(bar_) : ToQColor(track_);
        if (filled && !IsEnabled()) colour = QColor(0xB0, 0xB0, 0xB0);
        painter.fillPath(block, colour);
    }
}

MUI_REGISTER_CONTROL(MLevelCtrl)

}  // namespace MUI
