#include "platform/audio/PulseLibrary.h"

#include <dlfcn.h>

#include <map>
#include <mutex>

namespace audio {

namespace {

struct Loaded {
    PulseLibrary functions;
    bool ok = false;
    std::string error;
};

// Fills `loaded`; the library stays open even when a function is missing: it is never closed.
void Load(const std::string& name, Loaded& loaded)
{
    void* handle = dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        loaded.error = name + " could not be loaded: " + dlerror();
        return;
    }
#define TV_PULSE_LOOKUP(function)                                                        \
    loaded.functions.function =                                                          \
        reinterpret_cast<decltype(loaded.functions.function)>(dlsym(handle, #function)); \
    if (loaded.functions.function == nullptr) {                                          \
        loaded.error = name + " could not be loaded: " + dlerror();                      \
        return;                                                                          \
    }
    TV_PULSE_FUNCTIONS(TV_PULSE_LOOKUP)
#undef TV_PULSE_LOOKUP
    loaded.ok = true;
}

}  // namespace

const PulseLibrary* LoadPulseLibrary(const std::string& name, std::string& error)
{
    static std::mutex mutex;
    static std::map<std::string, Loaded> libraries;
    std::lock_guard lock(mutex);
    auto [it, added] = libraries.try_emplace(name);
    if (added) {
        Load(name, it->second);
    }
    error = it->second.error;
    return it->second.ok ? &it->second.functions : nullptr;
}

}  // namespace audio
