// Pictures of few colours are written as palette PNGs that load back indexed, pixel for pixel.
#include "skin-painter/PaletteImage.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>

namespace skin {
namespace {

// A picture of `colors` distinct colours, translucent ones among them.
QImage Picture(int colors, QImage::Format format)
{
    QImage image(64, 40, QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const int n = (y * image.width() + x) % colors;
            image.setPixel(x, y, qRgba(n & 0xFF, (n * 7) & 0xFF, n >> 8, 255 - (n % 5) * 60));
        }
    return image.convertToFormat(format);
}

QImage ThroughPng(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, "PNG"));
    return QImage::fromData(bytes, "PNG");
}

TEST(PaletteImageTest, FewColoursLoadBackIndexedAndExact)
{
    struct Case {
        int colors;
        QImage::Format format;
        bool indexed;
    };
    const Case cases[] = {
        {1, QImage::Format_ARGB32, true},    {28, QImage::Format_ARGB32, true},
        {256, QImage::Format_ARGB32, true},  {200, QImage::Format_RGB32, true},
        {257, QImage::Format_ARGB32, false}, {2000, QImage::Format_ARGB32, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.colors);
        const QImage picture = Picture(c.colors, c.format);
        const QImage loaded = ThroughPng(PaletteImage(picture));
        // One or two colours may come back as a 1-bit picture.
        EXPECT_EQ(loaded.depth() <= 8, c.indexed);
        EXPECT_EQ(loaded.convertToFormat(QImage::Format_ARGB32),
                  picture.convertToFormat(QImage::Format_ARGB32));
    }
}

}  // namespace
}  // namespace skin
