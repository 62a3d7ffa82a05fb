// The program's mark and its word "Tolvenic", shared by the logos and the tray icon.
#pragma once

#include <QRectF>

class QPainter;

namespace skin {

// The sizes of the program's icon, "appicon/tolvenic_<size>.png".
inline constexpr int kAppIconSizes[] = {16, 24, 32, 48, 64, 128, 256};

// A round badge with a stylised T, filling the square of `box` centred in it.
void DrawEmblem(QPainter& painter, const QRectF& box);
// The word, fitted into `box` and aligned by `align` (Qt::Alignment flags).
void DrawWordmark(QPainter& painter, const QRectF& box, int align);

}  // namespace skin
