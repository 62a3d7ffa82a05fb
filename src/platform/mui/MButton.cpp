#include "platform/mui/MButton.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

#include "platform/mui/ControlFactory.h"
#include "platform/mui/Painting.h"
#include "platform/mui/SkinImages.h"

namespace MUI {

namespace {

constexpr int kPadding = 4;  // between the face's edge, the icon and the title

// A frame no wider than this many times its height is an icon, not a face.
constexpr double kIconAspect = 1.5;

bool IsIcon(const QImage& strip, int states)
{
    if (strip.isNull() || strip.height() <= 0) return false;
    return strip.width() / std::max(1, states) <= strip.height() * kIconAspect;
}

}  // namespace

MUI_REGISTER_CONTROL(MButton)

MButton::MButton()
{
    SetAlignment(kAlignCenter);
    SetTextColor(0xFFFFFFFF);
    SetTextSize(12);
}

void MButton::Paint(QPainter& painter)
{
    const RECT r = GetRect();
    const QRect area(0, 0, RectWidth(r), RectHeight(r));
    const QImage image = LoadSkinImage(GetImage());
    const int states = GetImageStates();
    const int state = ButtonState();
    const bool icon = IsIcon(image, states);
    painter.setRenderHint(QPainter::Antialiasing);

    QColor face;
    const ARGB bk = GetBkColor();
    if (bk >> 24) {
        face = ToQColor(bk);
        if (state == 1) face = face.lighter(110);
        if (state == 2) face = face.darker(115);
        if (state == 3) face.setAlpha(face.alpha() / 2);
        painter.setPen(Qt::NoPen);
        painter.setBrush(face);
        painter.drawRoundedRect(area, 4, 4);
    } else if (icon && GetTitle().empty()) {
        // A button that is only its icon: the icon fills it, and a face shows only under the
        // pointer, so that at rest it does not read as an empty check box.
        if (state == 1 || state == 2) DrawLightFace(painter, area, state);
        const int side = std::max(0, std::min(area.width(), area.height()) - 2);
        const QRect iconBox((area.width() - side) / 2, (area.height() - side) / 2, side, side);
        DrawStateImage(painter, iconBox, image, states, states > 1 ? state : 0);
        return;
    } else if (image.isNull() || icon) {
        face = DrawLightFace(painter, area, state);
    } else {
        const int frame = states > 1 ? state : 0;
        DrawStateImage(painter, area, image, states, frame);
        // The title is inked for the face picture's own colour, taken in the frame's middle.
        const int frameWidth = image.width() / std::max(1, states);
        face = image.pixelColor(frameWidth * frame + frameWidth / 2, image.height() / 2);
        if (face.alpha() < 128) face = QColor(0xF6, 0xF6, 0xF6);
    }
    const ARGB ink = IsEnabled() ? ReadableInk(GetTextColor(), face) : 0xFFA0A0A0;
    const std::wstring title = GetTitle();
    if (!icon) {
        DrawControlText(painter, area.adjusted(kPadding, 0, -kPadding, 0), title, GetFont(), ink,
                        GetAlignment(), GetVAlignment(), IsMultiLine(), GetStyle());
        return;
    }
    // The icon and the title side by side, centred as a group while they fit.
    const int side = std::min(area.height() - 2 * kPadding, 16);
    const int textWidth =
        title.empty() ? 0 : QFontMetrics(MakeFont(GetFont())).horizontalAdvance(ToQString(title));
    const int group = side + (title.empty() ? 0 : kPadding + textWidth);
    const int left = std::max(kPadding, (area.width() - group) / 2);
    const QRect iconBox(left, (area.height() - side) / 2, side, side);
    DrawStateImage(painter, iconBox, image, states, states > 1 ? state : 0);
    const int textLeft = iconBox.right() + 1 + kPadding;
    DrawControlText(painter, QRect(textLeft, 0, area.width() - kPadding - textLeft, area.height()),
                    title, GetFont(), ink, kAlignLeft, GetVAlignment(), false, GetStyle());
}

}  // namespace MUI
