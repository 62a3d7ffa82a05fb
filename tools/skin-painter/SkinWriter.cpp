#include "skin-painter/SkinWriter.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include "skin-painter/GifEncoder.h"
#include "skin-painter/IcoWriter.h"
#include "skin-painter/PaletteImage.h"

namespace skin {

namespace {

bool WritePng(const QString& file, const QImage& image)
{
    if (image.isNull()) return false;
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly)) return false;
    if (!PaletteImage(image).save(&out, "PNG")) {
        out.cancelWriting();
        return false;
    }
    return out.commit();
}

bool WritePicture(const SkinPicture& picture, const QString& file)
{
    if (!QDir().mkpath(QFileInfo(file).absolutePath())) return false;
    if (picture.animation) return WriteGif(file, picture.animation());
    if (!picture.still) return false;
    if (file.endsWith(".ico", Qt::CaseInsensitive)) return WriteIco(file, picture.still());
    return WritePng(file, picture.still());
}

}  // namespace

SkinWriteResult WriteSkin(const SkinCatalog& catalog, const QString& folder)
{
    SkinWriteResult result;
    const QDir root(folder);
    for (const SkinPicture& picture : catalog) {
        if (WritePicture(picture, root.filePath(picture.path)))
            ++result.written;
        else
            result.failed << picture.path;
    }
    return result;
}

}  // namespace skin
