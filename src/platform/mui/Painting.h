// Drawing helpers shared by the controls (UI thread, inside Paint).
#pragma once

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QString>
#include <string>
#include <string_view>

#include "platform/mui/MControl.h"
#include "platform/mui/WindowTypes.h"

class QPainter;

namespace MUI {

QColor ToQColor(ARGB color);
// For window paint colours given as 0xRRGGBB: an alpha of 0 counts as opaque.
QColor ToOpaqueQColor(ARGB color);
QRect ToQRect(const RECT& rect);
RECT FromQRect(const QRect& rect);
QString ToQString(std::wstring_view text);
std::wstring FromQString(const QString& text);
QFont MakeFont(const FontSpec& fontSpec);

// Draws frame `index` (clamped) of a strip of `states` equal frames laid out left to right,
// stretched over `target`. A null image draws nothing.
void DrawStateImage(QPainter& painter, const QRect& target, const QImage& strip, int states,
                    int index);
// Draws a picture stretched over `target` keeping `corner` pixels of each edge unscaled.
void DrawNineGrid(QPainter& painter, const QRect& target, const QImage& image, int corner);
// Draws the library's own light button face for a button state (0 normal, 1 hover, 2 pressed,
// 3 disabled): white with a thin border, green-edged under the pointer. Returns its fill.
QColor DrawLightFace(QPainter& painter, const QRect& area, int state);
// `text` when it reads well on `background`, else a dark or white ink that does.
ARGB ReadableInk(ARGB text, const QColor& background);

// The font for a caption that must fit a small box (a key cap, a palette tile): `font` when the
// text fits, else the largest smaller size down to `minSize` at which it does (`minSize` when
// none does).
FontSpec FitFont(std::wstring_view text, const FontSpec& font, const QRect& box, bool multiLine,
                 int minSize);

// One line of text is set on the em square of the design font (its ascent is this share of the
// pixel size): centred down its box, or at the box's top or bottom edge, then moved by the least
// that keeps the glyphs inside the box when they fit its height (glyphs taller than the box are
// centred on it). So a size-20 text fits a 20-pixel box whatever its letters.
inline constexpr double kEmAscent = 0.88;
// Where a one-line text starts: its baseline's left end, for the alignments (kAlign*, kVAlign*).
QPointF TextOrigin(const QFontMetricsF& metrics, const QString& text, const QRectF& box, int align,
                   int valign, double pixelSize);
// A text drawn on one line: its line breaks become spaces.
QString OneLine(std::wstring_view text);

// Draws text with kAlign* / kVAlign* values; `style` 4 underlines (links). Multi-line text
// wraps between words and is placed as Qt places it.
void DrawControlText(QPainter& painter, const QRect& target, std::wstring_view text,
                     const FontSpec& font, ARGB color, int align, int valign, bool multiLine,
                     int style = 0);

}  // namespace MUI
