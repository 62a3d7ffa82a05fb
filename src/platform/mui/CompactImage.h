// Decoded skin pictures take four bytes a pixel, yet the skin's pictures are drawn in few colours
// (flat faces, a few shades of edge). A picture of at most 256 distinct colours is kept as an
// 8-bit indexed image with those colours as its table: a quarter of the memory, drawn and read
// exactly as before.
#pragma once

#include <QImage>

namespace MUI {

// The same picture in the smallest exact form: indexed when it has 256 colours or fewer, the
// image itself otherwise (and a null image stays null).
QImage CompactImage(const QImage& image);

}  // namespace MUI
