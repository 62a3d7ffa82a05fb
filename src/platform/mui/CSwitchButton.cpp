#include "platform/mui/CSwitchButton.h"

#include <QPainter>

#include "platform/mui/ControlFactory.h"
#include "platform/mui/Painting.h"
#include "platform/mui/SkinImages.h"

namespace MUI {

MUI_REGISTER_CONTROL(CSwitchButton)

void CSwitchButton::SetSwitchImages(std::wstring_view on, std::wstring_view off, int states)
{
    auto lock = Lock();
    on_ = on;
    off_ = off;
    states_ = states < 1 ? 1 : states;
    Invalidate();
}

void CSwitchButton::Paint(QPainter& painter)
{
    const RECT r = GetRect();
    const QRect area(0, 0, RectWidth(r), RectHeight(r));
    const bool on = GetCheck();
    const QImage image = LoadSkinImage(on ? on_ : off_);
    if (!image.isNull()) {
        DrawStateImage(painter, area, image, states_, states_ > 1 ? ButtonState() : 0);
    } else {
        // Drawn switch: a pill with a knob at the side of the state.
        const QRectF track = QRectF(area).adjusted(1, 1, -1, -1);
        const qreal d = track.height();
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(on ? QColor(0x21, 0xA9, 0x39) : QColor(0xC8, 0xC8, 0xC8));
        painter.drawRoundedRect(track, d / 2, d / 2);
        painter.setBrush(Qt::white);
        const qreal x = on ? track.right() - d + 2 : track.left() + 2;
        painter.drawEllipse(QRectF(x, track.top() + 2, d - 4, d - 4));
    }
    DrawControlText(painter, area, GetTitle(), GetFont(), GetTextColor(), GetAlignment(),
                    GetVAlignment(), IsMultiLine(), GetStyle());
}

}  // namespace MUI
