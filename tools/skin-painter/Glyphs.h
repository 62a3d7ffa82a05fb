// Line icons drawn on a 24 x 24 grid and scaled to any box: the symbols of window buttons,
// page tabs, list tools, lighting directions and the media keys.
#pragma once

#include <QColor>
#include <QImage>
#include <QRectF>
#include <QSize>

class QPainter;

namespace skin {

enum class Glyph {
    kClose,
    kMaximise,
    kMinimise,
    kGlobe,
    kDocument,
    kChat,
    kDownload,
    kChip,
    kWarning,
    kInfo,
    kKeycap,
    kGauge,
    kLayers,
    kMacro,
    kBulb,
    kGear,
    kExport,
    kImport,
    kCopy,
    kTrash,
    kMore,
    kPreset,
    kReset,
    kPlus,
    kArrowUp,
    kArrowDown,
    kArrowLeft,
    kArrowRight,
    kClearList,
    kRecord,
    kStopSquare,
    kCheck,
    kInward,
    kOutward,
    kClockwise,
    kAnticlockwise,
    kBack,
    kForward,
    kRefresh,
    kCross,
    kSearch,
    kStar,
    kHome,
    kMonitor,
    kMail,
    kCalculator,
    kMusic,
    kPlayPause,
    kPrevious,
    kNext,
    kMute,
    kVolumeDown,
    kVolumeUp,
};

// Draws `glyph` in `box` with lines of `weight` grid units.
void DrawGlyph(QPainter& painter, const QRectF& box, Glyph glyph, const QColor& color,
               qreal weight = 1.8);
// A transparent picture of `size` holding the glyph inset by `margin` pixels.
QImage GlyphImage(QSize size, Glyph glyph, const QColor& color, qreal margin = 0);

}  // namespace skin
