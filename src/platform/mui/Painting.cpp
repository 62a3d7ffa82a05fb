#include "platform/mui/Painting.h"

#include "platform/mui/DrawPicture.h"
#include "platform/mui/FontFamilies.h"
#include "platform/mui/TextFit.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cstdlib>

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
    QFont font = DesignFont(fontSpec.size);
    font.setFamilies(FamiliesForFace(fontSpec.face));
    font.setWeight(WeightForFace(fontSpec.face, (fontSpec.style & kFontBold) != 0));
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
    DrawPicture(painter, target, strip, QRect(index * frameWidth, 0, frameWidth, strip.height()));
}

void DrawNineGrid(QPainter& painter, const QRect& target, const QImage& image, int corner)
{
    if (image.isNull() || target.isEmpty()) return;
    const int c = std::clamp(
        corner, 0,
        std::min({image.width() / 2, image.height() / 2, target.width() / 2, target.height() / 2}));
    if (c == 0) {
        DrawPicture(painter, target, image);
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
            if (!src.isEmpty() && !dst.isEmpty()) DrawPicture(painter, dst, image, src);
        }
}

QColor DrawLightFace(QPainter& painter, const QRect& area, int state)
{
    QColor fill(0xFF, 0xFF, 0xFF);
    QColor border(0xD6, 0xD6, 0xD6);
    if (state == 1) border = QColor(0x21, 0xA9, 0x39);
    if (state == 2) {
        fill = QColor(0xE4, 0xF4, 0xE7);
        border = QColor(0x21, 0xA9, 0x39);
    }
    if (state == 3) {
        fill = QColor(0xF2, 0xF2, 0xF2);
        border = QColor(0xE2, 0xE2, 0xE2);
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(border, 1));
    painter.setBrush(fill);
    painter.drawRoundedRect(QRectF(area).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
    painter.restore();
    return fill;
}

ARGB ReadableInk(ARGB text, const QColor& background)
{
    const auto luminance = [](const QColor& c) {
        return (c.red() * 299 + c.green() * 587 + c.blue() * 114) / 1000;
    };
    const int contrast = std::abs(luminance(ToQColor(text)) - luminance(background));
    if (contrast >= 110) return text;
    return luminance(background) > 128 ? 0xFF3E3E3E : 0xFFFFFFFF;
}

FontSpec FitFont(std::wstring_view text, const FontSpec& font, const QRect& box, bool multiLine,
                 int minSize)
{
    DrawnText probe{std::wstring(text), font, box, multiLine, kAlignCenter, kVAlignCenter};
    while (probe.font.size > minSize && !TextFits(probe)) --probe.font.size;
    return probe.font;
}

QPointF TextOrigin(const QFontMetricsF& metrics, const QString& text, const QRectF& box, int align,
                   int valign, double pixelSize)
{
    const double width = metrics.horizontalAdvance(text);
    const double x = align == kAlignCenter  ? box.center().x() - width / 2
                     : align == kAlignRight ? box.right() - width
                                            : box.left();
    const double emAscent = kEmAscent * pixelSize;
    const double emDescent = (1.0 - kEmAscent) * pixelSize;
    double baseline = valign == kVAlignTop      ? box.top() + emAscent
                      : valign == kVAlignBottom ? box.bottom() - emDescent
                                                : box.center().y() + (emAscent - emDescent) / 2;
    const QRectF ink = metrics.tightBoundingRect(text);
    if (ink.height() <= box.height()) {
        if (baseline + ink.bottom() > box.bottom()) baseline = box.bottom() - ink.bottom();
        if (baseline + ink.top() < box.top()) baseline = box.top() - ink.top();
    } else {
        // Taller than the box: what does not fit is shared by both edges.
        baseline = box.center().y() - (ink.top() + ink.bottom()) / 2;
    }
    return QPointF(x, baseline);
}

QString OneLine(std::wstring_view text)
{
    QString line = ToQString(text);
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return line;
}

void DrawControlText(QPainter& painter, const QRect& target, std::wstring_view text,
                     const FontSpec& font, ARGB color, int align, int valign, bool multiLine,
                     int style)
{
    if (text.empty() || target.isEmpty()) return;
    NoteDrawnText(DrawnText{std::wstring(text), font, target, multiLine, align, valign});
    FontSpec fontSpec = font;
    if (style & 4) fontSpec.style |= kFontUnderline;
    const QFont qfont = MakeFont(fontSpec);
    painter.save();
    painter.setFont(qfont);
    painter.setPen(ToQColor(color));
    if (multiLine) {
        int flags = Qt::TextWordWrap;
        flags |= align == kAlignCenter ? Qt::AlignHCenter
                                       : (align == kAlignRight ? Qt::AlignRight : Qt::AlignLeft);
        flags |= valign == kVAlignTop
                     ? Qt::AlignTop
                     : (valign == kVAlignBottom ? Qt::AlignBottom : Qt::AlignVCenter);
        painter.drawText(target, flags, ToQString(text));
    } else {
        const QString line = OneLine(text);
        painter.drawText(TextOrigin(QFontMetricsF(qfont), line, QRectF(target), align, valign,
                                    qfont.pixelSize()),
                         line);
    }
    painter.restore();
}

}  // namespace MUI
