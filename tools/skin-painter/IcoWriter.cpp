#include "skin-painter/IcoWriter.h"

#include <QBuffer>
#include <QImageWriter>
#include <QSaveFile>

namespace skin {

namespace {

void PutWord(QByteArray& out, int value)
{
    out.append(static_cast<char>(value & 0xFF));
    out.append(static_cast<char>((value >> 8) & 0xFF));
}

void PutLong(QByteArray& out, qint64 value)
{
    PutWord(out, static_cast<int>(value & 0xFFFF));
    PutWord(out, static_cast<int>((value >> 16) & 0xFFFF));
}

bool QtWritesIco() { return QImageWriter::supportedImageFormats().contains("ico"); }

}  // namespace

QByteArray PngIconFile(const QImage& image)
{
    if (image.isNull() || image.width() > 256 || image.height() > 256) return {};
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.convertToFormat(QImage::Format_ARGB32).save(&buffer, "PNG")) return {};

    QByteArray file;
    PutWord(file, 0);  // reserved
    PutWord(file, 1);  // an icon
    PutWord(file, 1);  // one picture
    // 0 stands for 256 in the one-byte sizes.
    file.append(static_cast<char>(image.width() & 0xFF));
    file.append(static_cast<char>(image.height() & 0xFF));
    file.append('\0');  // no palette
    file.append('\0');  // reserved
    PutWord(file, 1);   // colour planes
    PutWord(file, 32);  // bits per pixel
    PutLong(file, png.size());
    PutLong(file, 6 + 16);  // the picture follows the header and its one entry
    file.append(png);
    return file;
}

bool WriteIco(const QString& file, const QImage& image)
{
    if (image.isNull()) return false;
    if (QtWritesIco()) {
        QImageWriter writer(file, "ico");
        if (writer.write(image.convertToFormat(QImage::Format_ARGB32))) return true;
    }
    const QByteArray data = PngIconFile(image);
    if (data.isEmpty()) return false;
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(data) != data.size()) return false;
    return out.commit();
}

}  // namespace skin
