#include "skin-painter/GifEncoder.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImageReader>
#include <QMovie>
#include <QTemporaryDir>
#include <cstdlib>

namespace skin {
namespace {

QImage Filled(QSize size, QRgb color)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(color);
    return image;
}

// Every pixel its own hash of the position and `seed`, from `colors` distinct colours.
QImage Noise(QSize size, int colors, unsigned seed)
{
    QImage image(size, QImage::Format_ARGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) {
            const unsigned h = (x * 73856093u) ^ (y * 19349663u) ^ (seed * 83492791u);
            const int c = static_cast<int>(h % static_cast<unsigned>(colors));
            image.setPixel(x, y, qRgb(c * 37 % 256, c * 91 % 256, c * 13 % 256));
        }
    return image;
}

std::vector<QImage> Decode(const QByteArray& data, std::vector<int>* delays = nullptr,
                           int* loops = nullptr)
{
    QByteArray copy = data;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "gif");
    std::vector<QImage> frames;
    QImage frame;
    while (reader.read(&frame)) {
        frames.push_back(frame.convertToFormat(QImage::Format_ARGB32));
        if (delays) delays->push_back(reader.nextImageDelay());
    }
    if (loops) *loops = reader.loopCount();
    return frames;
}

int LargestChannelError(const QImage& a, const QImage& b)
{
    int worst = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                              std::abs(qBlue(p) - qBlue(q))});
        }
    return worst;
}

TEST(GifEncoder, FramesDelaysAndLoopReadBackExactly)
{
    const std::vector<GifFrame> frames = {
        {Filled({7, 5}, qRgb(255, 0, 0)), 5},
        {Noise({7, 5}, 3, 1), 12},
        {Filled({7, 5}, qRgb(0, 0, 255)), 30},
    };
    std::vector<int> delays;
    int loops = 0;
    const std::vector<QImage> decoded = Decode(EncodeGif(frames, 3), &delays, &loops);
    ASSERT_EQ(decoded.size(), 3u);
    for (size_t i = 0; i < frames.size(); ++i) {
        EXPECT_EQ(LargestChannelError(decoded[i], frames[i].image), 0) << "frame " << i;
        EXPECT_EQ(delays[i], frames[i].delayCs * 10) << "frame " << i;
    }
    EXPECT_EQ(loops, 3);
}

TEST(GifEncoder, ZeroLoopsRepeatsForEver)
{
    int loops = 0;
    Decode(EncodeGif({{Filled({2, 2}, qRgb(1, 2, 3)), 10}}, 0), nullptr, &loops);
    EXPECT_EQ(loops, -1);
}

// Large frames fill the code table many times over and widen the codes up to 12 bits.
TEST(GifEncoder, LargeFramesWithAFullPaletteSurviveTableResets)
{
    const std::vector<GifFrame> frames = {{Noise({301, 257}, 256, 7), 4},
                                          {Noise({301, 257}, 256, 8), 4}};
    const std::vector<QImage> decoded = Decode(EncodeGif(frames));
    ASSERT_EQ(decoded.size(), 2u);
    EXPECT_EQ(LargestChannelError(decoded[0], frames[0].image), 0);
    EXPECT_EQ(LargestChannelError(decoded[1], frames[1].image), 0);
}

TEST(GifEncoder, SmallPalettesOfOneAndTwoColours)
{
    for (int colors : {1, 2}) {
        const QImage image = Noise({16, 3}, colors, 2);
        const std::vector<QImage> decoded = Decode(EncodeGif({{image, 1}}));
        ASSERT_EQ(decoded.size(), 1u) << colors;
        EXPECT_EQ(LargestChannelError(decoded[0], image), 0) << colors;
    }
}

TEST(GifEncoder, ManyColoursAreReducedToNearOnes)
{
    QImage ramp(256, 64, QImage::Format_ARGB32);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 256; ++x) ramp.setPixel(x, y, qRgb(x, y * 4, 255 - x));
    const std::vector<QImage> decoded = Decode(EncodeGif({{ramp, 1}}));
    ASSERT_EQ(decoded.size(), 1u);
    EXPECT_LE(LargestChannelError(decoded[0], ramp), 24);
}

TEST(GifEncoder, RefusesFramesItCannotWrite)
{
    EXPECT_TRUE(EncodeGif({}).isEmpty());
    EXPECT_TRUE(EncodeGif({{QImage(), 1}}).isEmpty());
    EXPECT_TRUE(
        EncodeGif({{Filled({4, 4}, 0xFF000000), 1}, {Filled({4, 5}, 0xFF000000), 1}}).isEmpty());
    QTemporaryDir dir;
    EXPECT_FALSE(WriteGif(dir.filePath("none.gif"), {}));
    EXPECT_FALSE(QFile::exists(dir.filePath("none.gif")));
}

TEST(GifEncoder, QMovieCountsTheWrittenFrames)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("three.gif");
    std::vector<GifFrame> frames;
    for (unsigned i = 0; i < 5; ++i) frames.push_back({Noise({20, 10}, 9, i), 6});
    ASSERT_TRUE(WriteGif(file, frames));
    QMovie movie(file);
    ASSERT_TRUE(movie.isValid());
    EXPECT_EQ(movie.frameCount(), 5);
}

}  // namespace
}  // namespace skin
