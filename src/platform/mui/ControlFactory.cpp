#include "platform/mui/ControlFactory.h"

#include <map>
#include <mutex>

namespace MUI {

namespace {

struct Registry {
    std::mutex mutex;
    std::map<std::wstring, ControlFactory::Creator, std::less<>> creators;
};

// Function-local: registrations run from other files' static initialisers.
Registry& Get()
{
    static Registry registry;
    return registry;
}

}  // namespace

bool ControlFactory::Register(std::wstring_view className, Creator creator)
{
    if (className.empty() || !creator) return false;
    Registry& r = Get();
    std::lock_guard lock(r.mutex);
    r.creators[std::wstring(className)] = std::move(creator);
    return true;
}

std::unique_ptr<MControl> ControlFactory::Create(std::wstring_view className)
{
    Creator creator;
    {
        Registry& r = Get();
        std::lock_guard lock(r.mutex);
        auto it = r.creators.find(className);
        if (it == r.creators.end()) return nullptr;
        creator = it->second;
    }
    return creator();
}

bool ControlFactory::IsRegistered(std::wstring_view className)
{
    Registry& r = Get();
    std::lock_guard lock(r.mutex);
    return r.creators.find(className) != r.creators.end();
}

std::vector<std::wstring> ControlFactory::RegisteredNames()
{
    Registry& r = Get();
    std::lock_guard lock(r.mutex);
    std::vector<std::wstring> names;
    for (const auto& entry : r.creators) names.push_back(entry.first);
    return names;
}

}  // namespace MUI
