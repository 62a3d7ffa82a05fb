// An indexed picture draws as its 32-bit twin does: at its own size, stretched, one frame of a
// strip, under a clip, an exposed area or a moved painter.
#include "platform/mui/DrawPicture.h"

#include <gtest/gtest.h>

#include <QPaintEngine>
#include <QPainter>
#include <QRegion>
#include <functional>

#include "IndexedPictures.h"

namespace {

// A picture of 200 colours, as the tests below draw it.
QImage Indexed() { return muitest::IndexedPicture({300, 180}, 200); }

struct Case {
    const char* name;
    QRectF target;
    QRectF source;
    std::function<void(QPainter&)> setUp;
    QRegion exposed = {};  // the device's exposed area, as a window's paint event sets it
};

QImage Drawn(const QImage& picture, const Case& c, bool throughHelper)
{
    QImage canvas(420, 260, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(QColor(30, 60, 200));
    if (!c.exposed.isEmpty()) canvas.paintEngine()->setSystemClip(c.exposed);
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (c.setUp) c.setUp(painter);
    if (throughHelper)
        MUI::DrawPicture(painter, c.target, picture, c.source);
    else
        painter.drawImage(c.target, picture, c.source);
    painter.end();
    return canvas;
}

TEST(DrawPictureTest, IndexedPicturesDrawAsTheirArgbTwin)
{
    const QImage indexed = Indexed();
    const QImage argb = indexed.convertToFormat(QImage::Format_ARGB32);
    const QRectF whole(indexed.rect());
    const Case cases[] = {
        {"own size", QRectF(10, 20, 300, 180), whole, {}},
        {"stretched", QRectF(5, 3, 410, 251), whole, {}},
        {"shrunk", QRectF(40, 30, 171, 97), whole, {}},
        {"one frame of a strip", QRectF(0, 0, 160, 120), QRectF(100, 0, 100, 180), {}},
        {"fractional edges", QRectF(3.5, 7.25, 333.3, 200.6), QRectF(0.5, 1.5, 250, 170), {}},
        {"clipped", QRectF(5, 3, 410, 251), whole,
         [](QPainter& p) { p.setClipRect(QRect(120, 90, 57, 41)); }},
        {"moved and scaled painter", QRectF(0, 0, 300, 180), whole,
         [](QPainter& p) {
             p.translate(30, 15);
             p.scale(1.25, 1.1);
             p.setClipRect(QRect(50, 40, 100, 60));
         }},
        {"exposed area",
         QRectF(5, 3, 410, 251),
         whole,
         {},
         QRegion(200, 100, 80, 60) + QRegion(10, 10, 30, 30)},
        {"off the device", QRectF(-200, -100, 300, 180), whole, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_LE(muitest::LargestDifference(Drawn(indexed, c, true), Drawn(argb, c, false)), 1);
    }
}

TEST(DrawPictureTest, ExpandingGivesThePremultipliedColoursOfThePart)
{
    const QImage indexed = Indexed();
    const QRect part(290, 170, 20, 20);  // reaches past the picture's corner
    const QImage expanded = MUI::ExpandIndexed(indexed, part);
    ASSERT_EQ(expanded.size(), QSize(10, 10));
    EXPECT_EQ(expanded,
              indexed.copy(290, 170, 10, 10).convertToFormat(QImage::Format_ARGB32_Premultiplied));
}

TEST(DrawPictureTest, NothingIsDrawnOfANullPictureOrAnEmptyRectangle)
{
    QImage canvas(20, 20, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::white);
    const QImage before = canvas;
    QPainter painter(&canvas);
    MUI::DrawPicture(painter, QRectF(0, 0, 20, 20), QImage());
    MUI::DrawPicture(painter, QRectF(0, 0, 0, 20), Indexed());
    MUI::DrawPicture(painter, QRectF(0, 0, 20, 20), Indexed(), QRectF());
    painter.end();
    EXPECT_EQ(canvas, before);
}

}  // namespace
