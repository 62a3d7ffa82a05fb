#include "platform/mui/MPicture.h"

#include <QPainter>

#include "platform/mui/ControlFactory.h"
#include "platform/mui/Painting.h"
#include "platform/mui/SkinImages.h"

namespace MUI {

MUI_REGISTER_CONTROL(MPicture)

int MPicture::GetImageWidth() const
{
    const QImage image = LoadSkinImage(GetImage());
    return image.isNull() ? 0 : image.width() / GetImageStates();
}

int MPicture::GetImageHeight() const
{
    const QImage image = LoadSkinImage(GetImage());
    return image.isNull() ? 0 : image.height();
}

void MPicture::Paint(QPainter& painter)
{
    const RECT r = GetRect();
    const QRect area(0, 0, RectWidth(r), RectHeight(r));
    const ARGB bk = GetBkColor();
    if (bk >> 24) painter.fillRect(area, ToQColor(bk));
    DrawStateImage(painter, area, LoadSkinImage(GetImage()), GetImageStates(), 0);
}

}  // namespace MUI
