#include "skin-painter/IcoWriter.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>

namespace skin {
namespace {

QImage Pattern(int side)
{
    QImage image(side, side, QImage::Format_ARGB32);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            image.setPixel(x, y,
                           qRgba(x * 255 / side, y * 255 / side, 90, (x + y) % 2 ? 255 : 128));
    return image;
}

TEST(IcoWriter, PngContainerLoadsBackUnchanged)
{
    for (int side : {16, 64, 256}) {
        const QImage source = Pattern(side);
        const QByteArray file = PngIconFile(source);
        ASSERT_FALSE(file.isEmpty()) << side;
        // Header: reserved 0, type 1 (icon), one picture; the size byte 0 means 256.
        EXPECT_EQ(file.left(6), QByteArray("\0\0\1\0\1\0", 6)) << side;
        EXPECT_EQ(static_cast<unsigned char>(file[6]), side & 0xFF) << side;
        QImage loaded;
        ASSERT_TRUE(loaded.loadFromData(file, "ico")) << side;
        ASSERT_EQ(loaded.size(), source.size()) << side;
        EXPECT_EQ(loaded.convertToFormat(QImage::Format_ARGB32), source) << side;
    }
}

TEST(IcoWriter, RefusesPicturesAnIconCannotHold)
{
    EXPECT_TRUE(PngIconFile(QImage()).isEmpty());
    EXPECT_TRUE(PngIconFile(Pattern(257)).isEmpty());
    QTemporaryDir dir;
    EXPECT_FALSE(WriteIco(dir.filePath("none.ico"), QImage()));
}

TEST(IcoWriter, WrittenFileLoadsAsAnIcon)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("app.ico");
    ASSERT_TRUE(WriteIco(file, Pattern(32)));
    QImage loaded(file);
    ASSERT_FALSE(loaded.isNull());
    EXPECT_EQ(loaded.size(), QSize(32, 32));
    EXPECT_EQ(qRed(loaded.pixel(31, 0)), 31 * 255 / 32);
}

}  // namespace
}  // namespace skin
