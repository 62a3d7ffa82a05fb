#include "platform/mui/CCheckButton.h"

#include <QPainter>

#include "platform/mui/ControlFactory.h"
#include "platform/mui/Painting.h"
#include "platform/mui/SkinImages.h"

namespace MUI {

MUI_REGISTER_CONTROL(CCheckButton)

void CCheckButton::SetCheck(bool checked)
{
    auto lock = Lock();
    checked_ = checked;
    Invalidate();
}

bool CCheckButton::GetCheck() const
{
    auto lock = Lock();
    return checked_;
}

void CCheckButton::Toggle() { SetCheck(!GetCheck()); }

void CCheckButton::OnClick(const MouseEvent& event)
{
    Toggle();
    MButton::OnClick(event);
}

void CCheckButton::Paint(QPainter& painter)
{
    const RECT r = GetRect();
    const QRect area(0, 0, RectWidth(r), RectHeight(r));
    const int state = ButtonState();
    const int side = std::min(area.height(), 20);
    const QRect box(0, (area.height() - side) / 2, side, side);
    const QImage image = LoadSkinImage(GetImage());
    const int states = GetImageStates();
    if (!image.isNull()) {
        // Eight frames: the unchecked four, then the checked four.
        const int frame = states >= 8 ? (checked_ ? 4 : 0) + state : (checked_ ? states - 1 : 0);
        DrawStateImage(painter, box, image, states, frame);
    } else {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QColor(0x96, 0x96, 0x96));
        painter.setBrush(checked_ ? QColor(0x21, 0xA9, 0x39) : QColor(Qt::white));
        painter.drawRoundedRect(QRectF(box).adjusted(1.5, 1.5, -1.5, -1.5), 3, 3);
    }
    DrawControlText(painter, area.adjusted(side + 6, 0, 0, 0), GetTitle(), GetFont(),
                    GetTextColor(), kAlignLeft, GetVAlignment(), IsMultiLine(), GetStyle());
}

}  // namespace MUI
