#include "platform/mui/TextFit.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <cmath>

#include "platform/mui/Painting.h"

namespace MUI {

namespace {

thread_local std::vector<DrawnText>* recording = nullptr;

// Glyphs may touch the box's edge by this much (anti-aliasing, rounding of scaled views).
constexpr double kTolerance = 1.0;

int QtFlags(const DrawnText& text)
{
    int flags = text.align == kAlignCenter  ? Qt::AlignHCenter
                : text.align == kAlignRight ? Qt::AlignRight
                                            : Qt::AlignLeft;
    flags |= text.valign == kVAlignTop      ? Qt::AlignTop
             : text.valign == kVAlignBottom ? Qt::AlignBottom
                                            : Qt::AlignVCenter;
    return flags | (text.multiLine ? Qt::TextWordWrap : Qt::TextSingleLine);
}

}  // namespace

void NoteDrawnText(const DrawnText& text)
{
    if (recording) recording->push_back(text);
}

std::vector<DrawnText> RecordDrawnTexts(MControl& control)
{
    std::vector<DrawnText> texts;
    const RECT r = control.GetRect();
    if (RectWidth(r) <= 0 || RectHeight(r) <= 0) return texts;
    QImage canvas(RectWidth(r), RectHeight(r), QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    QPainter painter(&canvas);
    std::vector<DrawnText>* previous = recording;
    recording = &texts;
    control.PaintInto(painter);
    recording = previous;
    return texts;
}

bool TextFits(const DrawnText& text)
{
    if (text.text.empty()) return true;
    const QFont font = MakeFont(text.font);
    const QFontMetricsF metrics(font);
    const QRectF box(text.box);
    if (text.multiLine) {
        const QRectF needed = metrics.boundingRect(box, QtFlags(text), ToQString(text.text));
        return needed.width() <= box.width() + kTolerance &&
               needed.height() <= box.height() + kTolerance;
    }
    // One line: as wide as its advance, and its glyphs (not the font's line spacing) inside the
    // box's height where DrawControlText sets them.
    const QString line = OneLine(text.text);
    if (metrics.horizontalAdvance(line) > box.width() + kTolerance) return false;
    const QPointF origin =
        TextOrigin(metrics, line, box, text.align, text.valign, font.pixelSize());
    const QRectF ink = metrics.tightBoundingRect(line).translated(origin);
    return ink.top() >= box.top() - kTolerance && ink.bottom() <= box.bottom() + kTolerance;
}

QSizeF NeededSize(const DrawnText& text)
{
    const QFontMetricsF metrics(MakeFont(text.font));
    if (text.multiLine)
        return metrics.boundingRect(QRectF(text.box), QtFlags(text), ToQString(text.text)).size();
    const QString line = OneLine(text.text);
    return QSizeF(metrics.horizontalAdvance(line), metrics.tightBoundingRect(line).height());
}

}  // namespace MUI
