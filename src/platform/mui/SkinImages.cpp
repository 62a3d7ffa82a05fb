#include "platform/mui/SkinImages.h"

#include <QFileInfo>
#include <map>
#include <mutex>
#include <string>

#include "platform/mui/Manager.h"
#include "platform/mui/Painting.h"

namespace MUI {

namespace {

struct Cache {
    std::mutex mutex;
    std::map<std::wstring, QImage> images;
};

Cache& Get()
{
    static Cache cache;
    return cache;
}

}  // namespace

QImage LoadSkinImage(std::wstring_view name)
{
    const std::wstring path = Manager::ResolveSkinPath(name);
    if (path.empty()) return QImage();
    Cache& cache = Get();
    {
        std::lock_guard lock(cache.mutex);
        auto it = cache.images.find(path);
        if (it != cache.images.end()) return it->second;
    }
    QImage image;
    const QString file = ToQString(path);
    if (QFileInfo(file).isFile()) image.load(file);
    std::lock_guard lock(cache.mutex);
    cache.images.emplace(path, image);
    return image;
}

void ClearSkinImageCache()
{
    std::lock_guard lock(Get().mutex);
    Get().images.clear();
}

}  // namespace MUI
