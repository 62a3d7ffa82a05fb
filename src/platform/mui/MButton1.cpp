#include "platform/mui/MButton1.h"

#include <QPainter>

#include "platform/mui/ControlFactory.h"
#include "platform/mui/Painting.h"

namespace MUI {

MUI_REGISTER_CONTROL(MButton1)

void MButton1::Paint(QPainter& painter)
{
    const RECT r = GetRect();
    const QRectF area(0.5, 0.5, RectWidth(r) - 1.0, RectHeight(r) - 1.0);
    const ARGB bk = GetBkColor();
    // Without a colour of its own the face is the light frame of the program's look.
    QColor face = (bk >> 24) ? ToQColor(bk) : QColor(0xF0, 0xF0, 0xF0);
    if (ButtonState() == 1) face = face.lighter(108);
    if (ButtonState() == 2) face = face.darker(112);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QColor(0xD0, 0xD0, 0xD0));
    painter.setBrush(face);
    painter.drawRoundedRect(area, area.height() / 2, area.height() / 2);
    const ARGB text = (bk >> 24) ? GetTextColor() : 0xFF3E3E3E;
    DrawControlText(painter, area.toRect(), GetTitle(), GetFont(), text, kAlignCenter,
                    kVAlignCenter, false, GetStyle());
}

}  // namespace MUI
