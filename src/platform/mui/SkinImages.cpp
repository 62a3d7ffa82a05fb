#include "platform/mui/SkinImages.h"

#include <QFileInfo>
#include <list>
#include <mutex>
#include <string>
#include <unordered_map>

#include "platform/mui/Manager.h"
#include "platform/mui/Painting.h"

namespace MUI {

namespace {

// Decoded pictures are large (a window background is 6 MB): the cache keeps the most recently
// drawn ones up to this many bytes, enough for every picture one page draws, and lets the
// others go (a page left for another, the no-keyboard panel once a keyboard is there). A
// picture that no longer fits is decoded again when it is drawn next.
constexpr qsizetype kCacheBytes = 16 * 1024 * 1024;

struct Cache {
    std::mutex mutex;
    // Most recently used first.
    std::list<std::pair<std::wstring, QImage>> images;
    std::unordered_map<std::wstring, std::list<std::pair<std::wstring, QImage>>::iterator> byPath;
    qsizetype bytes = 0;
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
        auto it = cache.byPath.find(path);
        if (it != cache.byPath.end()) {
            cache.images.splice(cache.images.begin(), cache.images, it->second);
            return it->second->second;
        }
    }
    QImage image;
    const QString file = ToQString(path);
    if (QFileInfo(file).isFile()) image.load(file);
    std::lock_guard lock(cache.mutex);
    if (cache.byPath.count(path) != 0) return image;  // another thread loaded it meanwhile
    cache.images.emplace_front(path, image);
    cache.byPath.emplace(path, cache.images.begin());
    cache.bytes += image.sizeInBytes();
    // The newest picture stays, however large.
    while (cache.bytes > kCacheBytes && cache.images.size() > 1) {
        cache.bytes -= cache.images.back().second.sizeInBytes();
        cache.byPath.erase(cache.images.back().first);
        cache.images.pop_back();
    }
    return image;
}

void ClearSkinImageCache()
{
    Cache& cache = Get();
    std::lock_guard lock(cache.mutex);
    cache.images.clear();
    cache.byPath.clear();
    cache.bytes = 0;
}

}  // namespace MUI
