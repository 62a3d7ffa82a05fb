#include "platform/mui/Painting.h"

#include <QPainter>
#include <algorithm>

namespace MUI {

QColor ToQColor(ARGB color)
{
    return QColor((color >> 16) & 0xFF, (color >> 8) & 0xFF, color & 0xFF, (color >> 24) & 0xFF);
}

QColor ToOpaqueQColor(ARGB color)
{
    return (color >> 24) == 0 ? ToQColor(color | 0xFF000000u) : ToQColor(color);
}

QRect ToQRect(const RECT& rect)
{
    return QRect(rect.left, rect.top, std::max(0, RectWidth(rect)), std::max(0, RectHeight(rect)));
}

RECT FromQRect(const QRect& rect)
{
    return RECT{rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
}

QString ToQString(std::wstring_view text)
{
    return QString::fromWCharArray(text.data(), static_cast<qsizetype>(text.size()));
}

std::wstring FromQString(const QString& text) { return text.toStdWString(); }

QFont MakeFont(const FontSpec& fontSpec)
{
    QFont font;
    if (!fontSpec.face.empty()) font.setFamily(ToQString(fontSpec.face));
    font.setPixelSize(std::max(1, fontSpec.size));
    font.setBold((fontSpec.style & kFontBold) != 0);
    font.setItalic((fontSpec.style & kFontItalic) != 0);
    font.setUnderline((fontSpec.style & kFontUnderline) != 0);
    return font;
}

void DrawStateImage(QPainter& painter, const QRect& target, const QImage& strip, int states,
                    int index)
{
    if (strip.isNull() || target.isEmpty()) return;
    states = std::max(1, states);
    const int frameWidth = strip.width() / states;
    if (frameWidth <= 0) return;
    index = std::clamp(index, 0, states - 1);
    painter.drawImage(target, strip, QRect(index * frameWidth, 0, frameWidth, strip.height()));
}

void DrawNineGrid(QPainter& painter, const QRect& target, const QImage& image, int corner)
{
    if (image.isNull() || target.isEmpty()) return;
    const int c = std::clamp(
        corner, 0,
        std::min({image.width() / 2, image.height() / 2, target.width() / 2, target.height() / 2}));
    if (c == 0) {
        painter.drawImage(target, image);
        return;
    }
    const int sw = image.width(), sh = image.height();
    const int xs[4] = {0, c, sw - c, sw};
    const int ys[4] = {0, c, sh - c, sh};
    const int xt[4] = {target.left(), target.left() + c, target.left() + target.width() - c,
                       target.left() + target.width()};
    const int yt[4] = {target.top(), target.top() + c, target.top() + target.height() - c,
                       target.top() + target.height()};
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col) {
            const QRect src(xs[col], ys[row], xs[col + 1] - xs[col], ys[row + 1] - ys[row]);
            const QRect dst(xt[col], yt[row], xt[col + 1] - xt[col], yt[row + 1] - yt[row]);
            if (!src.isEmpty() && !dst.isEmpty()) painter.drawImage(dst, image, src);
        }
}

void DrawControlText(QPainter& painter, const QRect& target, std::wstring_view text,
                     const FontSpec& font, ARGB color, int align, int valign, bool multiLine,
                     int style)
{
    if (text.empty() || target.isEmpty()) return;
    FontSpec fontSpec = font;
    if (style & 4) fontSpec.style |= kFontUnderline;
    int flags = 0;
    flags |= align == kAlignCenter ? Qt::AlignHCenter
                                   : (align == kAlignRight ? Qt::AlignRight : Qt::AlignLeft);
    flags |= valign == kVAlignTop ? Qt::AlignTop
                                  : (valign == kVAlignBottom ? Qt::AlignBottom : Qt::AlignVCenter);
    flags |= multiLine ? Qt::TextWordWrap : Qt::TextSingleLine;
    painter.save();
    painter.setFont(MakeFont(fontSpec));
    painter.setPen(ToQColor(color));
    painter.drawText(target, flags, ToQString(text));
    painter.restore();
}

}  // namespace MUI
