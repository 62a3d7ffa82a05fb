#include "platform/mui/CIconButton.h"

#include <QPainter>

#include "platform/mui/ControlFactory.h"
#include "platform/mui/DrawPicture.h"
#include "platform/mui/Painting.h"
#include "platform/mui/SkinImages.h"

namespace MUI {

MUI_REGISTER_CONTROL(CIconButton)

void CIconButton::SetIcon(std::wstring_view name)
{
    auto lock = Lock();
    icon_ = name;
    Invalidate();
}

std::wstring CIconButton::GetIcon() const
{
    auto lock = Lock();
    return icon_;
}

void CIconButton::Paint(QPainter& painter)
{
    const RECT r = GetRect();
    const QRect area(0, 0, RectWidth(r), RectHeight(r));
    const int state = ButtonState();
    const ARGB bk = GetBkColor();
    const QImage face = LoadSkinImage(GetImage());
    const int states = GetImageStates();
    QColor faceColor(0xF6, 0xF6, 0xF6);
    if (bk >> 24) {
        faceColor = ToQColor(bk);
        painter.fillRect(area, faceColor);
    } else if (face.isNull()) {
        // Without a face picture the button draws the library's own, so it reads as a button.
        faceColor = DrawLightFace(painter, area, state);
    }
    DrawStateImage(painter, area, face, states, states > 1 ? state : 0);
    QRect textArea = area.adjusted(8, 0, -8, 0);
    const QImage icon = LoadSkinImage(icon_);
    if (!icon.isNull()) {
        const int side = std::min({area.height() - 8, icon.width(), icon.height()});
        if (side > 0) {
            DrawPicture(painter, QRect(8, (area.height() - side) / 2, side, side), icon);
            textArea.setLeft(8 + side + 8);
        }
    }
    DrawControlText(painter, textArea, GetTitle(), GetFont(),
                    IsEnabled() ? ReadableInk(GetTextColor(), faceColor) : 0xFFA0A0A0,
                    GetAlignment(), GetVAlignment(), IsMultiLine(), GetStyle());
}

}  // namespace MUI
