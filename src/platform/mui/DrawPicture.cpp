#include "platform/mui/DrawPicture.h"

#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QRegion>
#include <QTransform>
#include <array>

namespace MUI {

namespace {

// Smooth stretching samples the neighbours of each source pixel: the expanded part reaches this
// far past what shows, so that its edges sample what the whole picture would.
constexpr int kSampleMargin = 2;

// The part of `target` (in the painter's coordinates) that can reach the device: inside its
// bounds, its exposed area and the painter's clip.
QRectF VisiblePart(QPainter& painter, const QRectF& target)
{
    bool invertible = false;
    const QTransform toLogical = painter.deviceTransform().inverted(&invertible);
    if (!invertible) return target;
    QRectF visible = target;
    // A widget's painter draws into its window's backing store: the engine's device is what is
    // drawn on, and the device transform leads there.
    if (const QPaintEngine* engine = painter.paintEngine()) {
        if (const QPaintDevice* device = engine->paintDevice())
            visible &= toLogical.mapRect(QRectF(0, 0, device->width(), device->height()));
        const QRegion exposed = engine->systemClip();
        if (!exposed.isEmpty()) visible &= toLogical.mapRect(QRectF(exposed.boundingRect()));
    }
    if (painter.hasClipping()) visible &= painter.clipBoundingRect();
    return visible;
}

}  // namespace

QImage ExpandIndexed(const QImage& image, const QRect& part)
{
    const QRect area = part & image.rect();
    QImage out(area.size(), QImage::Format_ARGB32_Premultiplied);
    if (out.isNull()) return out;
    std::array<QRgb, 256> colors{};
    const QList<QRgb> table = image.colorTable();
    for (qsizetype i = 0; i < table.size() && i < 256; ++i)
        colors[static_cast<size_t>(i)] = qPremultiply(table[i]);
    for (int y = 0; y < area.height(); ++y) {
        const uchar* in = image.constScanLine(area.top() + y) + area.left();
        auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < area.width(); ++x) row[x] = colors[in[x]];
    }
    return out;
}

void DrawPicture(QPainter& painter, const QRectF& target, const QImage& image, const QRectF& source)
{
    if (image.isNull() || target.isEmpty() || source.isEmpty()) return;
    if (image.format() != QImage::Format_Indexed8) {
        painter.drawImage(target, image, source);
        return;
    }
    const QRectF visible = VisiblePart(painter, target);
    if (visible.isEmpty()) return;
    const double sx = source.width() / target.width();
    const double sy = source.height() / target.height();
    const QRectF needed(source.x() + (visible.x() - target.x()) * sx,
                        source.y() + (visible.y() - target.y()) * sy, visible.width() * sx,
                        visible.height() * sy);
    const QRect part = needed.toAlignedRect().adjusted(-kSampleMargin, -kSampleMargin,
                                                       kSampleMargin, kSampleMargin) &
                       source.toAlignedRect() & image.rect();
    if (part.isEmpty()) return;
    // Where the expanded part lies on the target, at the picture's own scale; the source
    // rectangle's fractions stay on the part's edges, as drawImage would place them.
    const QRectF partSource = QRectF(part) & source;
    const QRectF partTarget(target.x() + (partSource.x() - source.x()) / sx,
                            target.y() + (partSource.y() - source.y()) / sy,
                            partSource.width() / sx, partSource.height() / sy);
    painter.drawImage(partTarget, ExpandIndexed(image, part),
                      partSource.translated(-part.topLeft()));
}

void DrawPicture(QPainter& painter, const QRectF& target, const QImage& image)
{
    DrawPicture(painter, target, image, QRectF(image.rect()));
}

}  // namespace MUI
