// Arrival and removal of hidraw nodes from udev. A removed node's sysfs entries are gone by
// the time its event comes, so the ids of every node are remembered when it is first seen
// (at start or on arrival) and used again for its removal.
#include <libudev.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <thread>

#include "platform/hid/HidSeam.h"

namespace hid {

namespace {

struct NodeIds {
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    int interfaceNumber = -1;
};

unsigned long HexAttribute(udev_device* device, const char* name)
{
    const char* value = device != nullptr ? udev_device_get_sysattr_value(device, name) : nullptr;
    return value != nullptr ? std::strtoul(value, nullptr, 16) : 0;
}

NodeIds IdsOf(udev_device* node)
{
    NodeIds ids;
    udev_device* usbDevice =
        udev_device_get_parent_with_subsystem_devtype(node, "usb", "usb_device");
    udev_device* usbInterface =
        udev_device_get_parent_with_subsystem_devtype(node, "usb", "usb_interface");
    if (usbDevice != nullptr) {
        ids.vendorId = static_cast<uint16_t>(HexAttribute(usbDevice, "idVendor"));
        ids.productId = static_cast<uint16_t>(HexAttribute(usbDevice, "idProduct"));
        if (usbInterface != nullptr) {
            ids.interfaceNumber = static_cast<int>(HexAttribute(usbInterface, "bInterfaceNumber"));
        }
        return ids;
    }
    // Not on USB (Bluetooth, uhid): the HID parent names the ids as "bus:vendor:product".
    udev_device* hidParent = udev_device_get_parent_with_subsystem_devtype(node, "hid", nullptr);
    const char* hidId =
        hidParent != nullptr ? udev_device_get_property_value(hidParent, "HID_ID") : nullptr;
    unsigned bus = 0, vendor = 0, product = 0;
    if (hidId != nullptr && std::sscanf(hidId, "%x:%x:%x", &bus, &vendor, &product) == 3) {
        ids.vendorId = static_cast<uint16_t>(vendor);
        ids.productId = static_cast<uint16_t>(product);
    }
    return ids;
}

class UdevMonitor final : public DeviceMonitor {
public:
    ~UdevMonitor() override { Stop(); }

    bool Start(Callback callback) override
    {
        if (thread_.joinable() || !callback) return false;
        udev_ = udev_new();
        if (udev_ != nullptr) monitor_ = udev_monitor_new_from_netlink(udev_, "udev");
        stopEvent_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
        if (monitor_ == nullptr || stopEvent_ < 0 ||
            udev_monitor_filter_add_match_subsystem_devtype(monitor_, "hidraw", nullptr) < 0 ||
            udev_monitor_enable_receiving(monitor_) < 0) {
            Release();
            return false;
        }
        RememberPresentNodes();
        callback_ = std::move(callback);
        thread_ = std::thread([this] { Run(); });
        return true;
    }

    void Stop() override
    {
        if (thread_.joinable()) {
            const uint64_t one = 1;
            [[maybe_unused]] const ssize_t written = write(stopEvent_, &one, sizeof one);
            thread_.join();
        }
        Release();
    }

private:
    void RememberPresentNodes()
    {
        udev_enumerate* enumeration = udev_enumerate_new(udev_);
        if (enumeration == nullptr) return;
        udev_enumerate_add_match_subsystem(enumeration, "hidraw");
        udev_enumerate_scan_devices(enumeration);
        udev_list_entry* entry = nullptr;
        udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(enumeration))
        {
            udev_device* node =
                udev_device_new_from_syspath(udev_, udev_list_entry_get_name(entry));
            if (node == nullptr) continue;
            if (const char* devnode = udev_device_get_devnode(node)) known_[devnode] = IdsOf(node);
            udev_device_unref(node);
        }
        udev_enumerate_unref(enumeration);
    }

    void Run()
    {
        pollfd fds[2] = {{udev_monitor_get_fd(monitor_), POLLIN, 0}, {stopEvent_, POLLIN, 0}};
        for (;;) {
            if (poll(fds, 2, -1) < 0) {
                if (errno == EINTR) continue;
                return;
            }
            if (fds[1].revents != 0) return;
            if ((fds[0].revents & POLLIN) == 0) continue;
            udev_device* node = udev_monitor_receive_device(monitor_);
            if (node == nullptr) continue;
            Deliver(node);
            udev_device_unref(node);
        }
    }

    void Deliver(udev_device* node)
    {
        const char* action = udev_device_get_action(node);
        const char* devnode = udev_device_get_devnode(node);
        if (action == nullptr || devnode == nullptr) return;
        NodeIds ids;
        bool arrived = false;
        if (std::strcmp(action, "add") == 0) {
            ids = IdsOf(node);
            known_[devnode] = ids;
            arrived = true;
        } else if (std::strcmp(action, "remove") == 0) {
            const auto it = known_.find(devnode);
            if (it != known_.end()) {
                ids = it->second;
                known_.erase(it);
            }
        } else {
            return;
        }
        callback_(arrived,
                  MakeInterfaceName(ids.vendorId, ids.productId, ids.interfaceNumber, devnode));
    }

    void Release()
    {
        if (monitor_ != nullptr) udev_monitor_unref(monitor_);
        if (udev_ != nullptr) udev_unref(udev_);
        if (stopEvent_ >= 0) close(stopEvent_);
        monitor_ = nullptr;
        udev_ = nullptr;
        stopEvent_ = -1;
    }

    udev* udev_ = nullptr;
    udev_monitor* monitor_ = nullptr;
    int stopEvent_ = -1;
    std::thread thread_;
    Callback callback_;
    std::map<std::string, NodeIds> known_;  // touched only by Start before the thread and by it
};

}  // namespace

std::unique_ptr<DeviceMonitor> MakeUdevMonitor() { return std::make_unique<UdevMonitor>(); }

}  // namespace hid
