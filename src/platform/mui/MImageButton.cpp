#include "platform/mui/MImageButton.h"

#include <QPainter>

#include "platform/mui/ControlFactory.h"
#include "platform/mui/Painting.h"
#include "platform/mui/SkinImages.h"

namespace MUI {

MUI_REGISTER_CONTROL(MImageButton)

void MImageButton::SetHoverColor(ARGB background, ARGB text)
{
    auto lock = Lock();
    hoverBk_ = background;
    hoverText_ = text;
    Invalidate();
}

void MImageButton::SetPressedColor(ARGB background, ARGB text)
{
    auto lock = Lock();
    pressedBk_ = background;
    pressedText_ = text;
    Invalidate();
}

ARGB MImageButton::GetHoverBkColor() const
{
    auto lock = Lock();
    return hoverBk_;
}

ARGB MImageButton::GetPressedBkColor() const
{
    auto lock = Lock();
    return pressedBk_;
}

void MImageButton::Paint(QPainter& painter)
{
    const RECT r = GetRect();
    const QRect area(0, 0, RectWidth(r), RectHeight(r));
    const int state = ButtonState();
    ARGB bk = GetBkColor();
    ARGB text = GetTextColor();
    if (state == 1 && (hoverBk_ >> 24)) {
        bk = hoverBk_;
        text = hoverText_;
    } else if (state == 2 && (pressedBk_ >> 24)) {
        bk = pressedBk_;
        text = pressedText_;
    }
    if (bk >> 24) painter.fillRect(area, ToQColor(bk));
    const int states = GetImageStates();
    DrawStateImage(painter, area, LoadSkinImage(GetImage()), states, states > 1 ? state : 0);
    DrawControlText(painter, area, GetTitle(), GetFont(), text, GetAlignment(), GetVAlignment(),
                    IsMultiLine(), GetStyle());
}

}  // namespace MUI
