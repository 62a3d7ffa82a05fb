#include "skin-painter/Glyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <cmath>
#include <numbers>

#include "skin-painter/PaintKit.h"

namespace skin {

namespace {

using Points = std::initializer_list<QPointF>;

void Line(QPainter& p, Points points) { p.drawPolyline(QPolygonF(QList<QPointF>(points))); }

void Closed(QPainter& p, Points points) { p.drawPolygon(QPolygonF(QList<QPointF>(points))); }

// An arrow from `from` to `to` with a head of `head` units.
void Arrow(QPainter& p, QPointF from, QPointF to, qreal head = 4.5)
{
    p.drawLine(from, to);
    const qreal angle = std::atan2(to.y() - from.y(), to.x() - from.x());
    const qreal spread = std::numbers::pi * 0.8;
    Line(p, {to + QPointF(head * std::cos(angle + spread), head * std::sin(angle + spread)), to,
             to + QPointF(head * std::cos(angle - spread), head * std::sin(angle - spread))});
}

// An arc around (12, 12) of `radius` from `start` sweeping `sweep` degrees (counter-clockwise
// positive, Qt's sense), ending in an arrow head.
void ArcArrow(QPainter& p, qreal radius, qreal start, qreal sweep)
{
    const QRectF circle(12 - radius, 12 - radius, 2 * radius, 2 * radius);
    QPainterPath arc;
    arc.arcMoveTo(circle, start);
    arc.arcTo(circle, start, sweep);
    p.drawPath(arc);
    const qreal end = (start + sweep) * std::numbers::pi / 180;
    const QPointF tip(12 + radius * std::cos(end), 12 - radius * std::sin(end));
    // Tangent of the arc at its end, in the sweep's direction.
    const qreal sign = sweep > 0 ? 1 : -1;
    const QPointF tangent(-std::sin(end) * sign, -std::cos(end) * sign);
    const QPointF normal(tangent.y(), -tangent.x());
    Line(p, {tip - tangent * 3.5 + normal * 3.0, tip, tip - tangent * 3.5 - normal * 3.0});
}

void Speaker(QPainter& p) { Closed(p, {{3, 9}, {7, 9}, {12, 5}, {12, 19}, {7, 15}, {3, 15}}); }

void Filled(QPainter& p, const QColor& color, const std::function<void()>& draw)
{
    p.save();
    p.setBrush(color);
    draw();
    p.restore();
}

void Draw(QPainter& p, Glyph glyph, const QColor& c)
{
    switch (glyph) {
        case Glyph::kClose:
        case Glyph::kCross:
            p.drawLine(QPointF(6, 6), QPointF(18, 18));
            p.drawLine(QPointF(18, 6), QPointF(6, 18));
            break;
        case Glyph::kMaximise:
            p.drawRoundedRect(QRectF(6, 6, 12, 12), 1.5, 1.5);
            break;
        case Glyph::kMinimise:
            p.drawLine(QPointF(6, 12), QPointF(18, 12));
            break;
        case Glyph::kGlobe:
            p.drawEllipse(QRectF(3, 3, 18, 18));
            p.drawEllipse(QRectF(8, 3, 8, 18));
            p.drawLine(QPointF(3, 12), QPointF(21, 12));
            break;
        case Glyph::kDocument:
            Closed(p, {{6, 3}, {14, 3}, {19, 8}, {19, 21}, {6, 21}});
            Line(p, {{14, 3}, {14, 8}, {19, 8}});
            p.drawLine(QPointF(9, 13), QPointF(16, 13));
            p.drawLine(QPointF(9, 17), QPointF(16, 17));
            break;
        case Glyph::kChat:
            p.drawRoundedRect(QRectF(3, 4, 14, 10), 3, 3);
            Line(p, {{6, 14}, {5, 18}, {10, 14}});
            Line(p, {{19, 9}, {21, 9}, {21, 18}, {19, 18}, {19, 21}, {15, 18}, {11, 18}, {11, 16}});
            break;
        case Glyph::kDownload:
            Arrow(p, {12, 3}, {12, 15});
            Line(p, {{4, 15}, {4, 20}, {20, 20}, {20, 15}});
            break;
        case Glyph::kChip:
            p.drawRoundedRect(QRectF(6, 6, 12, 12), 2, 2);
            for (qreal x : {9.0, 12.0, 15.0}) {
                p.drawLine(QPointF(x, 2.5), QPointF(x, 6));
                p.drawLine(QPointF(x, 18), QPointF(x, 21.5));
                p.drawLine(QPointF(2.5, x), QPointF(6, x));
                p.drawLine(QPointF(18, x), QPointF(21.5, x));
            }
            Arrow(p, {12, 15}, {12, 9}, 2.5);
            break;
        case Glyph::kWarning:
            Filled(p, tone::kOrange, [&] { Closed(p, {{12, 3}, {22, 20}, {2, 20}}); });
            p.save();
            p.setPen(QPen(tone::kWhite, 2.2, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(12, 9), QPointF(12, 14));
            p.drawPoint(QPointF(12, 17));
            p.restore();
            break;
        case Glyph::kInfo:
            p.drawEllipse(QRectF(3, 3, 18, 18));
            p.drawLine(QPointF(12, 11), QPointF(12, 17));
            p.drawPoint(QPointF(12, 7.5));
            break;
        case Glyph::kKeycap:
            p.drawRoundedRect(QRectF(3, 4, 18, 16), 3, 3);
            p.drawRoundedRect(QRectF(6, 6, 12, 9), 2, 2);
            break;
        case Glyph::kGauge:
            p.drawArc(QRectF(3, 5, 18, 18), -30 * 16, 240 * 16);
            p.drawLine(QPointF(12, 14), QPointF(16.5, 9.5));
            Filled(p, c, [&] { p.drawEllipse(QPointF(12, 14), 1.2, 1.2); });
            break;
        case Glyph::kLayers:
            Closed(p, {{12, 3}, {21, 8}, {12, 13}, {3, 8}});
            Line(p, {{3, 12.5}, {12, 17.5}, {21, 12.5}});
            Line(p, {{3, 17}, {12, 22}, {21, 17}});
            break;
        case Glyph::kMacro:
            p.drawRoundedRect(QRectF(3, 4, 18, 16), 3, 3);
            Filled(p, c, [&] { Closed(p, {{9, 8.5}, {16, 12}, {9, 15.5}}); });
            break;
        case Glyph::kBulb: {
            QPainterPath bulb;
            bulb.moveTo(9, 16);
            bulb.cubicTo(9, 13.5, 5, 12, 5, 8.5);
            bulb.cubicTo(5, 4.5, 8.5, 2, 12, 2);
            bulb.cubicTo(15.5, 2, 19, 4.5, 19, 8.5);
            bulb.cubicTo(19, 12, 15, 13.5, 15, 16);
            bulb.closeSubpath();
            p.drawPath(bulb);
            p.drawLine(QPointF(9.5, 19), QPointF(14.5, 19));
            p.drawLine(QPointF(10.5, 22), QPointF(13.5, 22));
            break;
        }
        case Glyph::kGear: {
            QPolygonF teeth;
            for (int i = 0; i < 16; ++i) {
                const qreal angle = i * std::numbers::pi / 8 + std::numbers::pi / 16;
                const qreal r = (i % 2 == 0) ? 9.5 : 7.2;
                const qreal a1 = angle - std::numbers::pi / 18, a2 = angle + std::numbers::pi / 18;
                teeth << QPointF(12 + r * std::cos(a1), 12 + r * std::sin(a1))
                      << QPointF(12 + r * std::cos(a2), 12 + r * std::sin(a2));
            }
            p.drawPolygon(teeth);
            p.drawEllipse(QPointF(12, 12), 3, 3);
            break;
        }
        case Glyph::kExport:
            Line(p, {{9, 8}, {5, 8}, {5, 20}, {19, 20}, {19, 8}, {15, 8}});
            Arrow(p, {12, 15}, {12, 2.5});
            break;
        case Glyph::kImport:
            Line(p, {{9, 8}, {5, 8}, {5, 20}, {19, 20}, {19, 8}, {15, 8}});
            Arrow(p, {12, 2.5}, {12, 15});
            break;
        case Glyph::kCopy:
            p.drawRoundedRect(QRectF(8, 8, 12, 13), 2, 2);
            Line(p, {{16, 5}, {16, 3}, {4, 3}, {4, 17}, {6, 17}});
            break;
        case Glyph::kTrash:
            p.drawLine(QPointF(4, 6), QPointF(20, 6));
            Line(p, {{9, 6}, {9, 3}, {15, 3}, {15, 6}});
            Line(p, {{6, 6}, {7, 21}, {17, 21}, {18, 6}});
            p.drawLine(QPointF(10, 10), QPointF(10, 17));
            p.drawLine(QPointF(14, 10), QPointF(14, 17));
            break;
        case Glyph::kMore:
            Filled(p, c, [&] {
                for (qreal x : {5.0, 12.0, 19.0}) p.drawEllipse(QPointF(x, 12), 1.6, 1.6);
            });
            break;
        case Glyph::kPreset:
            p.drawRoundedRect(QRectF(3, 3, 8, 8), 1.5, 1.5);
            p.drawRoundedRect(QRectF(13, 3, 8, 8), 1.5, 1.5);
            p.drawRoundedRect(QRectF(3, 13, 8, 8), 1.5, 1.5);
            p.drawRoundedRect(QRectF(13, 13, 8, 8), 1.5, 1.5);
            break;
        case Glyph::kReset:
            ArcArrow(p, 8, 120, 270);
            break;
        case Glyph::kPlus:
            p.drawLine(QPointF(12, 5), QPointF(12, 19));
            p.drawLine(QPointF(5, 12), QPointF(19, 12));
            break;
        case Glyph::kArrowUp:
            Arrow(p, {12, 20}, {12, 4}, 6);
            break;
        case Glyph::kArrowDown:
            Arrow(p, {12, 4}, {12, 20}, 6);
            break;
        case Glyph::kArrowLeft:
        case Glyph::kBack:
            Arrow(p, {20, 12}, {4, 12}, 6);
            break;
        case Glyph::kArrowRight:
        case Glyph::kForward:
            Arrow(p, {4, 12}, {20, 12}, 6);
            break;
        case Glyph::kClearList:
            p.drawLine(QPointF(3, 6), QPointF(13, 6));
            p.drawLine(QPointF(3, 12), QPointF(11, 12));
            p.drawLine(QPointF(3, 18), QPointF(11, 18));
            p.drawLine(QPointF(15, 13), QPointF(21, 19));
            p.drawLine(QPointF(21, 13), QPointF(15, 19));
            break;
        case Glyph::kRecord:
            Filled(p, tone::kRed, [&] { p.drawEllipse(QPointF(12, 12), 6, 6); });
            break;
        case Glyph::kStopSquare:
            Filled(p, c, [&] { p.drawRoundedRect(QRectF(6.5, 6.5, 11, 11), 1.5, 1.5); });
            break;
        case Glyph::kCheck:
            Line(p, {{5, 12.5}, {10, 17.5}, {19, 7}});
            break;
        case Glyph::kInward:
            p.drawLine(QPointF(12, 5), QPointF(12, 19));
            Arrow(p, {2, 12}, {9, 12}, 3.5);
            Arrow(p, {22, 12}, {15, 12}, 3.5);
            break;
        case Glyph::kOutward:
            p.drawLine(QPointF(12, 5), QPointF(12, 19));
            Arrow(p, {9, 12}, {2, 12}, 3.5);
            Arrow(p, {15, 12}, {22, 12}, 3.5);
            break;
        case Glyph::kClockwise:
            ArcArrow(p, 8, 150, -280);
            break;
        case Glyph::kAnticlockwise:
        case Glyph::kRefresh:
            ArcArrow(p, 8, 30, 280);
            break;
        case Glyph::kSearch:
            p.drawEllipse(QRectF(3, 3, 13, 13));
            p.drawLine(QPointF(14, 14), QPointF(21, 21));
            break;
        case Glyph::kStar: {
            QPolygonF star;
            for (int i = 0; i < 10; ++i) {
                const qreal angle = -std::numbers::pi / 2 + i * std::numbers::pi / 5;
                const qreal r = i % 2 == 0 ? 10 : 4.2;
                star << QPointF(12 + r * std::cos(angle), 12.8 + r * std::sin(angle));
            }
            p.drawPolygon(star);
            break;
        }
        case Glyph::kHome:
            Line(p, {{2.5, 11.5}, {12, 3}, {21.5, 11.5}});
            Line(p, {{5, 9.5}, {5, 21}, {19, 21}, {19, 9.5}});
            Line(p, {{10, 21}, {10, 15}, {14, 15}, {14, 21}});
            break;
        case Glyph::kMonitor:
            p.drawRoundedRect(QRectF(2.5, 4, 19, 13), 2, 2);
            p.drawLine(QPointF(12, 17), QPointF(12, 20.5));
            p.drawLine(QPointF(7.5, 20.5), QPointF(16.5, 20.5));
            break;
        case Glyph::kMail:
            p.drawRoundedRect(QRectF(2.5, 5, 19, 14), 2, 2);
            Line(p, {{3, 6}, {12, 13}, {21, 6}});
            break;
        case Glyph::kCalculator:
            p.drawRoundedRect(QRectF(5, 2.5, 14, 19), 2, 2);
            p.drawRect(QRectF(8, 5.5, 8, 3.5));
            Filled(p, c, [&] {
                for (qreal y : {12.5, 15.5, 18.5})
                    for (qreal x : {9.0, 12.0, 15.0}) p.drawEllipse(QPointF(x, y), 0.6, 0.6);
            });
            break;
        case Glyph::kMusic:
            Line(p, {{9, 18}, {9, 4}, {20, 2.5}, {20, 16}});
            Filled(p, c, [&] {
                p.drawEllipse(QPointF(6.5, 18), 2.6, 2.2);
                p.drawEllipse(QPointF(17.5, 16), 2.6, 2.2);
            });
            break;
        case Glyph::kPlayPause:
            Filled(p, c, [&] { Closed(p, {{3, 5}, {12, 12}, {3, 19}}); });
            p.drawLine(QPointF(16, 5.5), QPointF(16, 18.5));
            p.drawLine(QPointF(20.5, 5.5), QPointF(20.5, 18.5));
            break;
        case Glyph::kPrevious:
            Filled(p, c, [&] { Closed(p, {{19, 5}, {9, 12}, {19, 19}}); });
            p.drawLine(QPointF(6, 5), QPointF(6, 19));
            break;
        case Glyph::kNext:
            Filled(p, c, [&] { Closed(p, {{5, 5}, {15, 12}, {5, 19}}); });
            p.drawLine(QPointF(18, 5), QPointF(18, 19));
            break;
        case Glyph::kMute:
            Speaker(p);
            p.drawLine(QPointF(15.5, 9), QPointF(21.5, 15));
            p.drawLine(QPointF(21.5, 9), QPointF(15.5, 15));
            break;
        case Glyph::kVolumeDown:
            Speaker(p);
            p.drawLine(QPointF(16, 12), QPointF(21, 12));
            break;
        case Glyph::kVolumeUp:
            Speaker(p);
            p.drawLine(QPointF(15, 12), QPointF(21.5, 12));
            p.drawLine(QPointF(18.25, 8.75), QPointF(18.25, 15.25));
            break;
    }
}

}  // namespace

void DrawGlyph(QPainter& painter, const QRectF& box, Glyph glyph, const QColor& color, qreal weight)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(box.topLeft());
    painter.scale(box.width() / 24.0, box.height() / 24.0);
    painter.setPen(QPen(color, weight, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    Draw(painter, glyph, color);
    painter.restore();
}

QImage GlyphImage(QSize size, Glyph glyph, const QColor& color, qreal margin)
{
    return Paint(size, [&](QPainter& painter, const QRectF& box) {
        const qreal side = std::min(box.width(), box.height()) - 2 * margin;
        const QRectF square(box.center().x() - side / 2, box.center().y() - side / 2, side, side);
        DrawGlyph(painter, square, glyph, color);
    });
}

}  // namespace skin
