#include "skin-painter/SkinCatalog.h"

#include <utility>

namespace skin {

void AddStill(SkinCatalog& catalog, const QString& path, std::function<QImage()> draw)
{
    catalog.push_back({path, std::move(draw), {}});
}

void AddAnimation(SkinCatalog& catalog, const QString& path,
                  std::function<std::vector<GifFrame>()> frames)
{
    catalog.push_back({path, {}, std::move(frames)});
}

SkinCatalog BuildSkinCatalog()
{
    SkinCatalog catalog;
    AddFramePictures(catalog);
    AddButtonPictures(catalog);
    AddIconPictures(catalog);
    AddKeyboardPictures(catalog);
    AddBackgroundPictures(catalog);
    AddAnimatedPictures(catalog);
    return catalog;
}

}  // namespace skin
