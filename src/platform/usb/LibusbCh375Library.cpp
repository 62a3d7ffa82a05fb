// The CH375 bridge library on libusb. The bridges are the USB devices of the bridge's vendor
// (0x4348) or with its product id (0x55E0), numbered in bus and address order; a name is the
// device's node "/dev/bus/usb/BBB/DDD". Packets travel over the first bulk endpoints of the
// bridge's interface 0. Hot-plug events come from libusb's event handling on a thread of its
// own, which calls the callback outside libusb's own callback.
#include <libusb.h>

#include <array>
#include <atomic>
#include <cstdio>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/usb/Ch375Library.h"

namespace usb {
namespace {

constexpr uint16_t kBridgeVendorId = 0x4348;
constexpr uint16_t kBridgeProductId = 0x55E0;
constexpr int kBridgeInterface = 0;
// The hot-plug thread's longest wait for an event. Its stop interrupts the wait, so this only
// bounds how long a lost wake-up could keep it; a short one would wake the idle program.
constexpr time_t kEventWaitSeconds = 10;

class LibusbCh375Device : public Ch375Device {
public:
    LibusbCh375Device(libusb_device_handle* handle, uint8_t in, uint8_t out)
        : handle_(handle), in_(in), out_(out)
    {
    }
    ~LibusbCh375Device() override
    {
        if (claimed_) {
            libusb_release_interface(handle_, kBridgeInterface);
        }
        libusb_close(handle_);
    }

    bool SetExclusive(bool exclusive) override
    {
        if (exclusive == claimed_) {
            return true;
        }
        if (!exclusive) {
            claimed_ = false;
            return libusb_release_interface(handle_, kBridgeInterface) == 0;
        }
        libusb_set_auto_detach_kernel_driver(handle_, 1);
        claimed_ = libusb_claim_interface(handle_, kBridgeInterface) == 0;
        return claimed_;
    }

    bool SetTimeout(unsigned readMs, unsigned writeMs) override
    {
        readMs_ = readMs;
        writeMs_ = writeMs;
        return true;
    }

    bool WriteData(const uint8_t* data, size_t& length) override
    {
        int sent = 0;
        const int result = libusb_bulk_transfer(handle_, out_, const_cast<uint8_t*>(data),
                                                static_cast<int>(length), &sent, writeMs_);
        const bool all = result == 0 && static_cast<size_t>(sent) == length;
        length = sent > 0 ? static_cast<size_t>(sent) : 0;
        return all;
    }

    bool ReadData(uint8_t* data, size_t& length) override
    {
        int got = 0;
        const int result =
            libusb_bulk_transfer(handle_, in_, data, static_cast<int>(length), &got, readMs_);
        length = got > 0 ? static_cast<size_t>(got) : 0;
        return result == 0 && got > 0;
    }

private:
    libusb_device_handle* handle_;
    uint8_t in_;
    uint8_t out_;
    unsigned readMs_ = 1000;
    unsigned writeMs_ = 1000;
    bool claimed_ = false;
};

bool IsBridge(libusb_device* device)
{
    libusb_device_descriptor descriptor{};
    return libusb_get_device_descriptor(device, &descriptor) == 0 &&
           (descriptor.idVendor == kBridgeVendorId || descriptor.idProduct == kBridgeProductId);
}

std::string NodeName(libusb_device* device)
{
    char name[40];
    std::snprintf(name, sizeof name, "/dev/bus/usb/%03u/%03u", libusb_get_bus_number(device),
                  libusb_get_device_address(device));
    return name;
}

// The first bulk IN and OUT endpoints of the bridge's interface; false without both.
bool FindBulkEndpoints(libusb_device* device, uint8_t& in, uint8_t& out)
{
    libusb_config_descriptor* config = nullptr;
    if (libusb_get_active_config_descriptor(device, &config) != 0) {
        return false;
    }
    in = out = 0;
    if (config->bNumInterfaces > kBridgeInterface &&
        config->interface[kBridgeInterface].num_altsetting > 0) {
        const libusb_interface_descriptor& setting =
            config->interface[kBridgeInterface].altsetting[0];
        for (int i = 0; i < setting.bNumEndpoints; ++i) {
            const libusb_endpoint_descriptor& endpoint = setting.endpoint[i];
            if ((endpoint.bmAttributes & 0x03) != LIBUSB_TRANSFER_TYPE_BULK) {
                continue;
            }
            uint8_t& slot = (endpoint.bEndpointAddress & LIBUSB_ENDPOINT_IN) != 0 ? in : out;
            if (slot == 0) {
                slot = endpoint.bEndpointAddress;
            }
        }
    }
    libusb_free_config_descriptor(config);
    return in != 0 && out != 0;
}

class LibusbCh375Library : public Ch375Library {
public:
    ~LibusbCh375Library() override
    {
        StopNotify();
        std::lock_guard lock(mutex_);
        for (Slot& slot : slots_) {
            CloseSlot(slot);
        }
        if (context_ != nullptr) {
            libusb_exit(context_);
        }
    }

    bool OpenDevice(int index) override
    {
        std::lock_guard lock(mutex_);
        if (index < 0 || index >= kMaxDevices || Context() == nullptr) {
            return false;
        }
        Slot& slot = slots_[static_cast<size_t>(index)];
        CloseSlot(slot);
        libusb_device** list = nullptr;
        const ssize_t count = libusb_get_device_list(context_, &list);
        int seen = 0;
        for (ssize_t i = 0; i < count; ++i) {
            if (!IsBridge(list[i]) || seen++ != index) {
                continue;
            }
            if (libusb_open(list[i], &slot.handle) == 0) {
                slot.device = libusb_ref_device(list[i]);
            } else {
                slot.handle = nullptr;
            }
            break;
        }
        if (count >= 0) {
            libusb_free_device_list(list, 1);
        }
        return slot.handle != nullptr;
    }

    uint32_t GetUsbId(int index) override
    {
        std::lock_guard lock(mutex_);
        libusb_device* device = DeviceAt(index);
        libusb_device_descriptor descriptor{};
        if (device == nullptr || libusb_get_device_descriptor(device, &descriptor) != 0) {
            return 0;
        }
        return static_cast<uint32_t>(descriptor.idVendor) |
               static_cast<uint32_t>(descriptor.idProduct) << 16;
    }

    std::string GetDeviceName(int index) override
    {
        std::lock_guard lock(mutex_);
        libusb_device* device = DeviceAt(index);
        return device == nullptr ? std::string() : NodeName(device);
    }

    void CloseDevice(int index) override
    {
        std::lock_guard lock(mutex_);
        if (index >= 0 && index < kMaxDevices) {
            CloseSlot(slots_[static_cast<size_t>(index)]);
        }
    }

    std::unique_ptr<Ch375Device> OpenByName(const std::string& name) override
    {
        std::lock_guard lock(mutex_);
        if (Context() == nullptr || name.empty()) {
            return nullptr;
        }
        libusb_device** list = nullptr;
        const ssize_t count = libusb_get_device_list(context_, &list);
        std::unique_ptr<Ch375Device> opened;
        for (ssize_t i = 0; i < count && !opened; ++i) {
            uint8_t in = 0;
            uint8_t out = 0;
            libusb_device_handle* handle = nullptr;
            if (NodeName(list[i]) != name || !FindBulkEndpoints(list[i], in, out) ||
                libusb_open(list[i], &handle) != 0) {
                continue;
            }
            opened = std::make_unique<LibusbCh375Device>(handle, in, out);
        }
        if (count >= 0) {
            libusb_free_device_list(list, 1);
        }
        return opened;
    }

    bool SetDeviceNotify(Notify notify) override
    {
        StopNotify();
        if (!notify) {
            return true;
        }
        std::lock_guard lock(mutex_);
        if (Context() == nullptr || libusb_has_capability(LIBUSB_CAP_HAS_HOTPLUG) == 0) {
            return false;
        }
        const int events = LIBUSB_HOTPLUG_EVENT_DEVICE_ARRIVED | LIBUSB_HOTPLUG_EVENT_DEVICE_LEFT;
        // Bridges already plugged in are told as arrivals too.
        if (libusb_hotplug_register_callback(
                context_, events, LIBUSB_HOTPLUG_ENUMERATE, kBridgeVendorId,
                LIBUSB_HOTPLUG_MATCH_ANY, LIBUSB_HOTPLUG_MATCH_ANY, &LibusbCh375Library::OnHotplug,
                this, &hotplug_) != 0) {
            return false;
        }
        notify_ = std::move(notify);
        stop_ = false;
        thread_ = std::thread([this] { WatchEvents(); });
        return true;
    }

private:
    struct Slot {
        libusb_device* device = nullptr;
        libusb_device_handle* handle = nullptr;
    };

    libusb_context* Context()
    {
        if (context_ == nullptr && !initFailed_) {
            initFailed_ = libusb_init(&context_) != 0;
            if (initFailed_) {
                context_ = nullptr;
            }
        }
        return context_;
    }

    libusb_device* DeviceAt(int index) const
    {
        if (index < 0 || index >= kMaxDevices) {
            return nullptr;
        }
        return slots_[static_cast<size_t>(index)].device;
    }

    static void CloseSlot(Slot& slot)
    {
        if (slot.handle != nullptr) {
            libusb_close(slot.handle);
        }
        if (slot.device != nullptr) {
            libusb_unref_device(slot.device);
        }
        slot = Slot{};
    }

    static int LIBUSB_CALL OnHotplug(libusb_context*, libusb_device*, libusb_hotplug_event event,
                                     void* self)
    {
        auto* library = static_cast<LibusbCh375Library*>(self);
        std::lock_guard lock(library->eventsMutex_);
        library->events_.push_back(event == LIBUSB_HOTPLUG_EVENT_DEVICE_ARRIVED ? kEventArrived
                                                                                : kEventRemoved);
        return 0;
    }

    void WatchEvents()
    {
        while (!stop_.load()) {
            timeval wait{kEventWaitSeconds, 0};
            libusb_handle_events_timeout_completed(context_, &wait, nullptr);
            std::vector<int> events;
            {
                std::lock_guard lock(eventsMutex_);
                events.swap(events_);
            }
            for (const int event : events) {
                notify_(event);
            }
        }
    }

    void StopNotify()
    {
        if (!thread_.joinable()) {
            return;
        }
        stop_ = true;
        libusb_hotplug_deregister_callback(context_, hotplug_);
        libusb_interrupt_event_handler(context_);
        thread_.join();
        notify_ = nullptr;
    }

    std::mutex mutex_;
    libusb_context* context_ = nullptr;
    bool initFailed_ = false;
    std::array<Slot, kMaxDevices> slots_{};
    Notify notify_;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    libusb_hotplug_callback_handle hotplug_ = 0;
    std::mutex eventsMutex_;
    std::vector<int> events_;
};

}  // namespace

std::unique_ptr<Ch375Library> MakeLibusbCh375Library()
{
    return std::make_unique<LibusbCh375Library>();
}

}  // namespace usb
