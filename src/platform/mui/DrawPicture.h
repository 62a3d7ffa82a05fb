// Draws a picture through QPainter, indexed ones included. The skin's pictures of few colours
// are held as 8-bit indexed images (a quarter of the memory of 32-bit ones). Drawn stretched,
// Qt would convert such a picture whole, on its thread pool, on every paint; here only the part
// that can show (inside the painter's clip and the exposed area) is expanded, on this thread.
#pragma once

#include <QImage>
#include <QRectF>

class QPainter;

namespace MUI {

// painter.drawImage(target, image, source) for any picture; draws nothing for a null image or
// an empty rectangle.
void DrawPicture(QPainter& painter, const QRectF& target, const QImage& image,
                 const QRectF& source);
// The whole picture over `target`.
void DrawPicture(QPainter& painter, const QRectF& target, const QImage& image);

// The pixels of `part` (inside the picture) of an indexed picture, as premultiplied ARGB.
QImage ExpandIndexed(const QImage& image, const QRect& part);

}  // namespace MUI
