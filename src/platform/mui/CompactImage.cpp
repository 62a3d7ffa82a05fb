#include "platform/mui/CompactImage.h"

#include <QHash>
#include <QList>

namespace MUI {

QImage CompactImage(const QImage& image)
{
    if (image.isNull() || image.format() == QImage::Format_Indexed8) return image;
    // Indexed colours are unpremultiplied ARGB, the format a 32-bit PNG decodes to.
    const QImage source = image.format() == QImage::Format_ARGB32
                              ? image
                              : image.convertToFormat(QImage::Format_ARGB32);
    QImage indexed(source.size(), QImage::Format_Indexed8);
    if (indexed.isNull()) return image;
    QList<QRgb> table;
    QHash<QRgb, uchar> indexOf;
    // Pictures run in long stretches of one colour: the last one found is tried first.
    QRgb last = 0;
    uchar lastIndex = 0;
    bool haveLast = false;
    for (int y = 0; y < source.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        uchar* out = indexed.scanLine(y);
        for (int x = 0; x < source.width(); ++x) {
            const QRgb color = in[x];
            if (!haveLast || color != last) {
                auto found = indexOf.constFind(color);
                if (found == indexOf.constEnd()) {
                    if (table.size() == 256) return image;
                    found = indexOf.insert(color, static_cast<uchar>(table.size()));
                    table.append(color);
                }
                last = color;
                lastIndex = *found;
                haveLast = true;
            }
            out[x] = lastIndex;
        }
    }
    indexed.setColorTable(table);
    return indexed;
}

}  // namespace MUI
