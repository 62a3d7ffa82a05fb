#include "platform/mui/MButton.h"

#include <QPainter>

#include "platform/mui/ControlFactory.h"
#include "platform/mui/Painting.h"
#include "platform/mui/SkinImages.h"

namespace MUI {

MUI_REGISTER_CONTROL(MButton)

MButton::MButton()
{
    SetAlignment(kAlignCenter);
    SetTextColor(0xFFFFFFFF);
}

void MButton::Paint(QPainter& painter)
{
    const RECT r = GetRect();
    const QRect area(0, 0, RectWidth(r), RectHeight(r));
    const ARGB bk = GetBkColor();
    if (bk >> 24) {
        QColor face = ToQColor(bk);
        if (ButtonState() == 1) face = face.lighter(110);
        if (ButtonState() == 2) face = face.darker(115);
        if (ButtonState() == 3) face.setAlpha(face.alpha() / 2);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(face);
        painter.drawRoundedRect(area, 4, 4);
    }
    const int states = GetImageStates();
    DrawStateImage(painter, area, LoadSkinImage(GetImage()), states,
                   states > 1 ? ButtonState() : 0);
    DrawControlText(painter, area, GetTitle(), GetFont(), GetTextColor(), GetAlignment(),
                    GetVAlignment(), IsMultiLine(), GetStyle());
}

}  // namespace MUI
