// Most skin pictures are drawn in few colours (flat faces, a few shades of edge). Written as
// palette PNGs, they load as 8-bit indexed images: a quarter of the memory of 32-bit ones, with
// every pixel the same.
#pragma once

#include <QImage>

namespace skin {

// The picture as an indexed image whose table holds its colours (unpremultiplied ARGB) when it
// has 256 or fewer, else the picture as 32-bit ARGB.
QImage PaletteImage(const QImage& image);

}  // namespace skin
