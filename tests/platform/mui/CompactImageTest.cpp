// Skin pictures of few colours are held indexed, and every pixel and every drawing stays exact.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "platform/mui/CompactImage.h"

namespace {

// A picture of `colors` distinct colours, translucent ones among them, in stretches and
// single pixels alike.
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

// The picture drawn over an opaque background, scaled with smoothing, as the pages draw them.
QImage Drawn(const QImage& picture)
{
    QImage canvas(100, 70, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(QColor(30, 60, 200));
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRect(3, 2, 90, 61), picture);
    painter.drawImage(QRect(0, 0, 20, 20), picture, QRect(10, 5, 20, 20));
    return canvas;
}

TEST(CompactImageTest, FewColoursAreHeldIndexedAndExact)
{
    struct Case {
        int colors;
        QImage::Format format;
        bool indexed;
    };
    const Case cases[] = {
        {1, QImage::Format_ARGB32, true},     {28, QImage::Format_ARGB32, true},
        {256, QImage::Format_ARGB32, true},   {256, QImage::Format_ARGB32_Premultiplied, true},
        {200, QImage::Format_RGB32, true},    {257, QImage::Format_ARGB32, false},
        {2000, QImage::Format_ARGB32, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.colors);
        const QImage picture = Picture(c.colors, c.format);
        const QImage compact = MUI::CompactImage(picture);
        EXPECT_EQ(compact.format() == QImage::Format_Indexed8, c.indexed);
        EXPECT_EQ(compact.size(), picture.size());
        EXPECT_EQ(compact.convertToFormat(QImage::Format_ARGB32),
                  picture.convertToFormat(QImage::Format_ARGB32));
        EXPECT_EQ(Drawn(compact), Drawn(picture));
        if (c.indexed) {
            EXPECT_LE(compact.sizeInBytes() * 3, picture.sizeInBytes());
        }
    }
}

TEST(CompactImageTest, NullAndIndexedPicturesAreKept)
{
    EXPECT_TRUE(MUI::CompactImage(QImage()).isNull());
    const QImage indexed = MUI::CompactImage(Picture(10, QImage::Format_ARGB32));
    EXPECT_EQ(MUI::CompactImage(indexed), indexed);
}

}  // namespace
