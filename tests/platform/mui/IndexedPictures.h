// Test pictures for the drawing of indexed skin pictures, and how far two drawings lie apart.
#pragma once

#include <QImage>
#include <QList>
#include <QSize>
#include <algorithm>
#include <cstdlib>

namespace muitest {

// An 8-bit indexed picture of `colors` (at most 256) colours in runs and single pixels,
// translucent ones among them.
inline QImage IndexedPicture(QSize size, int colors)
{
    QImage image(size, QImage::Format_Indexed8);
    QList<QRgb> table;
    for (int n = 0; n < colors; ++n)
        table.append(qRgba((n * 37) & 0xFF, (n * 91) & 0xFF, (n * 13) & 0xFF, 255 - (n % 4) * 60));
    image.setColorTable(table);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.scanLine(y)[x] = static_cast<uchar>((x / 5 + y * 3 + (x * y) % 7) % colors);
    return image;
}

// The largest difference of any colour channel between two drawings; 256 when their sizes
// differ.
inline int LargestDifference(const QImage& a, const QImage& b)
{
    if (a.size() != b.size()) return 256;
    int largest = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            largest = std::max({largest, std::abs(qRed(p) - qRed(q)),
                                std::abs(qGreen(p) - qGreen(q)), std::abs(qBlue(p) - qBlue(q))});
        }
    return largest;
}

}  // namespace muitest
