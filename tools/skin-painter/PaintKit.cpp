#include "skin-painter/PaintKit.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace skin {

QImage NewCanvas(QSize size, const QColor& fill)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(fill);
    return image;
}

QImage Paint(QSize size, const std::function<void(QPainter&, const QRectF&)>& paint)
{
    QImage image = NewCanvas(size);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    paint(painter, QRectF(0, 0, size.width(), size.height()));
    return image;
}

QImage StateStrip(QSize frame, int states, const FramePainter& paint)
{
    states = std::max(1, states);
    return Paint(QSize(frame.width() * states, frame.height()),
                 [&](QPainter& painter, const QRectF&) {
                     for (int i = 0; i < states; ++i) {
                         const QRectF box(i * frame.width(), 0, frame.width(), frame.height());
                         painter.save();
                         painter.setClipRect(box);
                         paint(painter, box, i);
                         painter.restore();
                     }
                 });
}

QLinearGradient VerticalGradient(const QRectF& box, const QColor& top, const QColor& bottom)
{
    QLinearGradient gradient(box.topLeft(), box.bottomLeft());
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    return gradient;
}

void FillRounded(QPainter& painter, const QRectF& box, qreal radius, const QBrush& brush,
                 const QPen& pen)
{
    painter.save();
    painter.setPen(pen);
    painter.setBrush(brush);
    const qreal inset = pen.style() == Qt::NoPen ? 0 : pen.widthF() / 2;
    painter.drawRoundedRect(box.adjusted(inset, inset, -inset, -inset), radius, radius);
    painter.restore();
}

void DrawSoftShadow(QPainter& painter, const QRectF& box, qreal radius, int spread)
{
    painter.save();
    painter.setBrush(Qt::NoBrush);
    for (int i = spread; i >= 1; --i) {
        const qreal opacity = 0.05 * (spread - i + 1) / spread;
        painter.setPen(QPen(QColor(0, 0, 0, static_cast<int>(255 * opacity)), 1.0));
        const QRectF ring = box.adjusted(-i, -i + 1, i, i + 1);
        painter.drawRoundedRect(ring, radius + i, radius + i);
    }
    painter.restore();
}

QColor Faded(const QColor& color, qreal opacity)
{
    QColor faded = color;
    faded.setAlphaF(static_cast<float>(std::clamp(opacity, 0.0, 1.0)));
    return faded;
}

QColor Mix(const QColor& a, const QColor& b, qreal t)
{
    t = std::clamp(t, 0.0, 1.0);
    auto channel = [t](int x, int y) { return static_cast<int>(x + (y - x) * t + 0.5); };
    return QColor(channel(a.red(), b.red()), channel(a.green(), b.green()),
                  channel(a.blue(), b.blue()), channel(a.alpha(), b.alpha()));
}

}  // namespace skin
