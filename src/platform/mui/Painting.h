// Drawing helpers shared by the controls (UI thread, inside Paint).
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>
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
// Draws text with kAlign* / kVAlign* values; `style` 4 underlines (links).
void DrawControlText(QPainter& painter, const QRect& target, std::wstring_view text,
                     const FontSpec& font, ARGB color, int align, int valign, bool multiLine,
                     int style = 0);

}  // namespace MUI
