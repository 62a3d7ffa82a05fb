#include "platform/mui/CTextButton.h"

#include <QPainter>

#include "platform/mui/ControlFactory.h"
#include "platform/mui/Painting.h"
#include "platform/mui/SkinImages.h"

namespace MUI {

MUI_REGISTER_CONTROL(CTextButton)

void CTextButton::SetTextColors(ARGB normal, ARGB hover, ARGB pressed, ARGB disabled)
{
    auto lock = Lock();
    stateColors_ = true;
    colors_[0] = normal;
    colors_[1] = hover;
    colors_[2] = pressed;
    colors_[3] = disabled;
    Invalidate();
}

void CTextButton::Paint(QPainter& painter)
{
    const RECT r = GetRect();
    QRect area(0, 0, RectWidth(r), RectHeight(r));
    const int state = ButtonState();
    const ARGB bk = GetBkColor();
    if (bk >> 24) painter.fillRect(area, ToQColor(bk));
    const QImage image = LoadSkinImage(GetImage());
    const std::wstring title = GetTitle();
    if (!image.isNull()) {
        const int states = GetImageStates();
        if (title.empty()) {
            DrawStateImage(painter, area, image, states, states > 1 ? state : 0);
        } else {
            // Picture at the left as an icon, the text beside it.
            const int frameWidth = image.width() / states;
            const int side = std::min(area.height(), frameWidth > 0 ? frameWidth : area.height());
            const QRect icon(0, (area.height() - side) / 2, side, side);
            DrawStateImage(painter, icon, image, states, states > 1 ? state : 0);
            area.setLeft(side + 6);
        }
    }
    const ARGB text = stateColors_ ? colors_[state] : GetTextColor();
    DrawControlText(painter, area, title, GetFont(), text, GetAlignment(), GetVAlignment(),
                    IsMultiLine(), GetStyle());
}

}  // namespace MUI
