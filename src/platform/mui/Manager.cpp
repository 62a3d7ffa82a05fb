#include "platform/mui/Manager.h"

#include <mutex>

#include "platform/mui/SkinImages.h"
#include "platform/text/PathText.h"

namespace MUI {

namespace {

struct Settings {
    std::mutex mutex;
    void* instance = nullptr;
    std::wstring deviceName;
    std::wstring theme = L"default";
    std::wstring skinRoot;
};

Settings& Get()
{
    static Settings settings;
    return settings;
}

}  // namespace

void Manager::SetInstance(void* instance)
{
    std::lock_guard lock(Get().mutex);
    Get().instance = instance;
}

void* Manager::GetInstance()
{
    std::lock_guard lock(Get().mutex);
    return Get().instance;
}

void Manager::SetDeviceName(std::wstring_view name)
{
    std::lock_guard lock(Get().mutex);
    Get().deviceName = name;
}

std::wstring Manager::GetDeviceName()
{
    std::lock_guard lock(Get().mutex);
    return Get().deviceName;
}

void Manager::SetTheme(std::wstring_view theme)
{
    std::lock_guard lock(Get().mutex);
    Get().theme = theme;
}

std::wstring Manager::GetTheme()
{
    std::lock_guard lock(Get().mutex);
    return Get().theme;
}

void Manager::SetSkinRoot(std::wstring_view folder)
{
    {
        std::lock_guard lock(Get().mutex);
        Get().skinRoot = folder;
    }
    ClearSkinImageCache();
}

std::wstring Manager::GetSkinRoot()
{
    std::lock_guard lock(Get().mutex);
    return Get().skinRoot;
}

std::wstring Manager::ResolveSkinPath(std::wstring_view name)
{
    if (name.empty()) return {};
    return text::NormalizePath(GetSkinRoot() + L"/" + std::wstring(name));
}

}  // namespace MUI
