#include "skin-painter/Emblem.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>

#include "skin-painter/PaintKit.h"

namespace skin {

void DrawEmblem(QPainter& painter, const QRectF& box)
{
    const qreal side = std::min(box.width(), box.height());
    const QRectF disc(box.center().x() - side / 2, box.center().y() - side / 2, side, side);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QRadialGradient glow(disc.center() - QPointF(side * 0.2, side * 0.25), side * 0.8);
    glow.setColorAt(0, tone::kWarm.lighter(118));
    glow.setColorAt(1, tone::kWarm.darker(125));
    painter.setPen(Qt::NoPen);
    painter.setBrush(glow);
    painter.drawEllipse(disc.adjusted(side * 0.02, side * 0.02, -side * 0.02, -side * 0.02));
    // The T: a bar and a stem, like a keycap seen from the front.
    const qreal u = side / 24.0;
    const QPointF o = disc.topLeft();
    QPainterPath letter;
    letter.addRoundedRect(QRectF(o + QPointF(6 * u, 6.5 * u), QSizeF(12 * u, 3.4 * u)), u, u);
    letter.addRoundedRect(QRectF(o + QPointF(10.3 * u, 8 * u), QSizeF(3.4 * u, 10 * u)), u, u);
    painter.setBrush(tone::kWhite);
    painter.drawPath(letter.simplified());
    painter.setBrush(tone::kAccent);
    painter.drawEllipse(o + QPointF(17.2 * u, 16.6 * u), 1.7 * u, 1.7 * u);
    painter.restore();
}

void DrawWordmark(QPainter& painter, const QRectF& box, int align)
{
    painter.save();
    QFont font("DejaVu Sans");
    font.setBold(true);
    font.setLetterSpacing(QFont::PercentageSpacing, 104);
    // The largest size that fits the box.
    qreal size = box.height() * 0.8;
    for (; size > 6; size -= 0.5) {
        font.setPixelSize(static_cast<int>(size));
        if (QFontMetricsF(font).horizontalAdvance("Tolvenic") <= box.width()) break;
    }
    font.setPixelSize(static_cast<int>(size));
    painter.setFont(font);
    painter.setPen(tone::kHeader);
    painter.drawText(box, align | Qt::AlignVCenter, "Tolvenic");
    painter.restore();
}

}  // namespace skin
