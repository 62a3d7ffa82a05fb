// An in-process HID back end over virtual devices that a test plugs and unplugs; install it
// with hid::SetBackend. Paths look like "virtual/<device>/<generation>/<interface>".
#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

#include "VirtualDevice.h"
#include "platform/hid/HidSeam.h"

namespace vkb {

class VirtualHidBackend : public hid::HidBackend {
public:
    // Adds the device (once) and plugs it in.
    void Plug(const std::shared_ptr<VirtualDevice>& device);
    // Pulls the device out: its interfaces vanish and its open handles fail.
    void Unplug(const std::shared_ptr<VirtualDevice>& device);

    std::vector<hid::HidDeviceInfo> Enumerate(uint16_t vendorId = 0,
                                              uint16_t productId = 0) override;
    std::unique_ptr<hid::HidDevice> Open(const std::string& path) override;
    // True after an Open refused by a device that refuses opens (VirtualDevice::SetRefuseOpen).
    bool LastOpenDenied() const override { return lastDenied_; }
    // Reports every interface that appears or disappears (plug, unplug, restart), checking
    // every 10 ms, with names from hid::MakeInterfaceName.
    std::unique_ptr<hid::DeviceMonitor> MakeMonitor() override;

private:
    std::vector<std::shared_ptr<VirtualDevice>> Devices();

    std::mutex mutex_;
    std::vector<std::shared_ptr<VirtualDevice>> devices_;
    std::atomic<bool> lastDenied_{false};
};

}  // namespace vkb
