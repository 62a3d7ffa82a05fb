#include "platform/hid/HidSeam.h"

#include <atomic>
#include <cstdlib>

namespace hid {

namespace {

std::atomic<HidBackend*> g_installed{nullptr};

const char* VirtualKeyboardDir()
{
    const char* dir = std::getenv(kVirtualKeyboardDirEnv);
    return dir != nullptr && *dir != '\0' ? dir : nullptr;
}

// Made once and never destroyed: device handles may outlive any static destruction order.
HidBackend& DefaultBackend()
{
    static HidBackend* const backend = [] {
        if (const char* dir = VirtualKeyboardDir()) return MakeSocketBackend(dir).release();
        return MakeHidapiBackend().release();
    }();
    return *backend;
}

// Stands in when a test double brings no monitor of its own.
class SilentMonitor final : public DeviceMonitor {
public:
    bool Start(Callback) override { return false; }
    void Stop() override {}
};

}  // namespace

HidBackend& Backend()
{
    if (HidBackend* installed = g_installed.load()) return *installed;
    return DefaultBackend();
}

void SetBackend(HidBackend* backend) { g_installed.store(backend); }

std::unique_ptr<DeviceMonitor> MakeDeviceMonitor()
{
    if (HidBackend* installed = g_installed.load()) {
        std::unique_ptr<DeviceMonitor> own = installed->MakeMonitor();
        if (own) return own;
        return std::make_unique<SilentMonitor>();
    }
    if (const char* dir = VirtualKeyboardDir()) return MakeSocketMonitor(dir);
    return MakeUdevMonitor();
}

}  // namespace hid
