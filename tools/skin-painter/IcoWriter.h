// Writes a one-picture Windows icon file: through Qt's "ico" writer when the installed image
// plug-ins offer one, otherwise as an icon container holding the picture as PNG.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace skin {

// The icon container around a PNG of `image` (at most 256 x 256); empty for a null image.
QByteArray PngIconFile(const QImage& image);
bool WriteIco(const QString& file, const QImage& image);

}  // namespace skin
