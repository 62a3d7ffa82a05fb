// Draws every picture of a catalogue into a skin folder, making its sub-folders.
#pragma once

#include <QString>
#include <QStringList>

#include "skin-painter/SkinCatalog.h"

namespace skin {

struct SkinWriteResult {
    int written = 0;
    QStringList failed;  // paths that could not be drawn or saved
};

SkinWriteResult WriteSkin(const SkinCatalog& catalog, const QString& folder);

}  // namespace skin
