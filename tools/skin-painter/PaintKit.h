// Shared drawing helpers of the skin painter: the colours of the look, canvases, state strips,
// rounded panels and soft shadows.
#pragma once

#include <QBrush>
#include <QColor>
#include <QImage>
#include <QPen>
#include <QRectF>
#include <QSize>
#include <functional>

class QPainter;

namespace skin {

// The colours of the program's light look.
namespace tone {
inline const QColor kText{0x3E, 0x3E, 0x3E};
inline const QColor kSecondary{0x73, 0x73, 0x73};
inline const QColor kMid{0x96, 0x96, 0x96};
inline const QColor kBorder{0xD6, 0xD6, 0xD6};
inline const QColor kLine{0xEB, 0xEB, 0xEB};
inline const QColor kPanel{0xF7, 0xF7, 0xF7};
inline const QColor kWhite{0xFF, 0xFF, 0xFF};
inline const QColor kDark{0x33, 0x33, 0x33};
inline const QColor kHeader{0x3F, 0x44, 0x40};
inline const QColor kAccent{0x21, 0xA9, 0x39};
inline const QColor kWarm{0xA5, 0x8C, 0x76};
inline const QColor kBlue{0x2F, 0x7D, 0xE1};
inline const QColor kRed{0xE2, 0x4C, 0x4C};
inline const QColor kOrange{0xF0, 0x9A, 0x1A};
inline const QColor kDisabled{0xB4, 0xB4, 0xB4};
}  // namespace tone

// The four looks of a button strip, left to right.
enum ButtonState { kNormal = 0, kHover = 1, kPressed = 2, kDisabled = 3 };

// Draws one frame of a strip into `box`; `state` is the frame's index in the strip.
using FramePainter = std::function<void(QPainter& painter, const QRectF& box, int state)>;

// A transparent (or filled) 32-bit canvas.
QImage NewCanvas(QSize size, const QColor& fill = Qt::transparent);
// A picture drawn by `paint` over its whole area, antialiased.
QImage Paint(QSize size, const std::function<void(QPainter&, const QRectF&)>& paint);
// `states` frames of `frame` size laid out left to right, each drawn by `paint`.
QImage StateStrip(QSize frame, int states, const FramePainter& paint);

QLinearGradient VerticalGradient(const QRectF& box, const QColor& top, const QColor& bottom);
void FillRounded(QPainter& painter, const QRectF& box, qreal radius, const QBrush& brush,
                 const QPen& pen = Qt::NoPen);
// A blurred-looking shadow under `box`, made of a few widening translucent outlines.
void DrawSoftShadow(QPainter& painter, const QRectF& box, qreal radius, int spread);
// The same colour with another opacity (0..1).
QColor Faded(const QColor& color, qreal opacity);
// Blend of two colours; 0 gives `a`, 1 gives `b`.
QColor Mix(const QColor& a, const QColor& b, qreal t);

}  // namespace skin
