#include "platform/mui/CIconButton.h"

#include <QPainter>

#include "platform/mui/ControlFactory.h"
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
    if (bk >> 24) painter.fillRect(area, ToQColor(bk));
    const int states = GetImageStates();
    DrawStateImage(painter, area, LoadSkinImage(GetImage()), states, states > 1 ? state : 0);
    QRect textArea = area.adjusted(8, 0, -8, 0);
    const QImage icon = LoadSkinImage(icon_);
    if (!icon.isNull()) {
        const int side = std::min({area.height() - 8, icon.width(), icon.height()});
        if (side > 0) {
            painter.drawImage(QRect(8, (area.height() - side) / 2, side, side), icon);
            textArea.setLeft(8 + side + 8);
        }
    }
    DrawControlText(painter, textArea, GetTitle(), GetFont(), GetTextColor(), GetAlignment(),
                    GetVAlignment(), IsMultiLine(), GetStyle());
}

}  // namespace MUI
