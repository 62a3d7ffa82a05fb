#include "platform/mui/MComboBox2.h"

#include <QPainter>
#include <algorithm>

#include "platform/mui/ControlFactory.h"
#include "platform/mui/Painting.h"
#include "platform/mui/SkinImages.h"

namespace MUI {

namespace {

// Room the field's arrow takes at its right end, and the text's distance from the left end.
constexpr int kArrowRoom = 17;
constexpr int kTextIndent = 7;

}  // namespace

MUI_REGISTER_CONTROL(MComboBox2)

QRect MComboBox2::Field() const
{
    const RECT r = GetRect();
    const int width = RectWidth(r);
    const int inset = std::min(kFieldInset, width / 4);
    return QRect(inset, 0, std::max(0, width - 2 * inset), std::min(RectHeight(r), kFieldHeight));
}

void MComboBox2::Paint(QPainter& painter)
{
    const QRect field = Field();
    painter.setRenderHint(QPainter::Antialiasing);
    const QImage image = LoadSkinImage(GetImage());
    if (!image.isNull() && GetImageStates() > 1) {
        DrawStateImage(painter, field, image, GetImageStates(), ButtonState());
    } else if (!image.isNull()) {
        // The rounded ends and the arrow keep their shape at any width.
        DrawNineGrid(painter, field, image, field.height() / 2);
    } else {
        const QPointF c(field.right() - kArrowRoom / 2.0, field.center().y() + 1);
        painter.setPen(QPen(ToQColor(GetTextColor()), 1.5));
        painter.drawPolyline(QPolygonF{c + QPointF(-4, -2), c + QPointF(0, 2), c + QPointF(4, -2)});
    }
    DrawControlText(painter, field.adjusted(kTextIndent, 0, -kArrowRoom, 0), GetTitle(), GetFont(),
                    IsEnabled() ? GetTextColor() : 0xFFA0A0A0, GetAlignment(), kVAlignCenter, false,
                    GetStyle());
}

}  // namespace MUI
