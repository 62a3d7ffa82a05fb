#include "skin-painter/PaletteImage.h"

#include <QHash>
#include <QList>

namespace skin {

QImage PaletteImage(const QImage& image)
{
    if (image.isNull() || image.format() == QImage::Format_Indexed8) return image;
    const QImage source = image.convertToFormat(QImage::Format_ARGB32);
    QImage indexed(source.size(), QImage::Format_Indexed8);
    if (indexed.isNull()) return source;
    QList<QRgb> table;
    QHash<QRgb, uchar> indexOf;
    for (int y = 0; y < source.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        uchar* out = indexed.scanLine(y);
        for (int x = 0; x < source.width(); ++x) {
            auto found = indexOf.constFind(in[x]);
            if (found == indexOf.constEnd()) {
                if (table.size() == 256) return source;
                found = indexOf.insert(in[x], static_cast<uchar>(table.size()));
                table.append(in[x]);
            }
            out[x] = *found;
        }
    }
    indexed.setColorTable(table);
    return indexed;
}

}  // namespace skin
