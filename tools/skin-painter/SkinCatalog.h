// The list of every picture of the skin: its path below the skin folder and how it is drawn.
// Each picture family adds its own entries.
#pragma once

#include <QImage>
#include <QString>
#include <functional>
#include <vector>

#include "skin-painter/GifEncoder.h"

namespace skin {

struct SkinPicture {
    QString path;                                      // "/"-separated, below the skin folder
    std::function<QImage()> still;                     // ".png" and ".ico" pictures
    std::function<std::vector<GifFrame>()> animation;  // ".gif" pictures
};

using SkinCatalog = std::vector<SkinPicture>;

void AddStill(SkinCatalog& catalog, const QString& path, std::function<QImage()> draw);
void AddAnimation(SkinCatalog& catalog, const QString& path,
                  std::function<std::vector<GifFrame>()> frames);

// The families, one file each.
void AddFramePictures(SkinCatalog& catalog);       // window buttons, dialogs, logos, tray icon
void AddButtonPictures(SkinCatalog& catalog);      // faces, fields, switches, check marks
void AddIconPictures(SkinCatalog& catalog);        // line icons of tabs, tools and media keys
void AddKeyboardPictures(SkinCatalog& catalog);    // keyboard drawings and key overlays
void AddBackgroundPictures(SkinCatalog& catalog);  // window and panel backgrounds, palette
void AddAnimatedPictures(SkinCatalog& catalog);    // the spinner and the travelling switch

// Every picture of every family.
SkinCatalog BuildSkinCatalog();

}  // namespace skin
