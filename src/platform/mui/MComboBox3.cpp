#include "platform/mui/MComboBox3.h"

#include <algorithm>

#include <QPainter>

#include "platform/mui/ControlFactory.h"
#include "platform/mui/Painting.h"
#include "platform/mui/SkinImages.h"

namespace MUI {

void MComboBox3::Paint(QPainter& painter)
{
    const QImage image = LoadSkinImage(GetImage());
    if (image.isNull()) {
        MComboBox::Paint(painter);
        return;
    }
    const RECT r = GetRect();
    const int h = RectHeight(r);
    const int states = std::max(GetImageStates(), 1);
    const int frameWidth = image.width() / states;
    // The icon keeps its proportions at the box's height.
    const int iconWidth = image.height() > 0 ? frameWidth * h / image.height() : h;
    DrawStateImage(painter, QRect(0, 0, iconWidth, h), image, states, ButtonState());
    DrawControlText(painter, QRect(iconWidth + 6, 0, RectWidth(r) - iconWidth - 6, h), GetTitle(),
                    GetFont(), IsEnabled() ? GetTextColor() : 0xFFA0A0A0, kAlignLeft, kVAlignCenter,
                    false, GetStyle());
}

MUI_REGISTER_CONTROL(MComboBox3)

}  // namespace MUI
