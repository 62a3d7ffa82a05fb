#include "platform/mui/MText.h"

#include <QPainter>

#include "platform/mui/ControlFactory.h"
#include "platform/mui/Painting.h"

namespace MUI {

MUI_REGISTER_CONTROL(MText)

void MText::Paint(QPainter& painter)
{
    const RECT r = GetRect();
    const QRect area(0, 0, RectWidth(r), RectHeight(r));
    const ARGB bk = GetBkColor();
    if (bk >> 24) painter.fillRect(area, ToQColor(bk));
    DrawControlText(painter, area, GetTitle(), GetFont(), GetTextColor(), GetAlignment(),
                    GetVAlignment(), IsMultiLine(), GetStyle());
}

}  // namespace MUI
