#include "VirtualHidBackend.h"

#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <map>
#include <thread>

namespace vkb {
namespace {

class VirtualHidHandle : public hid::HidDevice {
public:
    VirtualHidHandle(std::shared_ptr<VirtualDevice> device, std::shared_ptr<Port> port,
                     InterfaceSpec iface)
        : device_(std::move(device)), port_(std::move(port)), iface_(std::move(iface))
    {
    }
    ~VirtualHidHandle() override { device_->Close(*port_); }

    int InputReportLength() const override { return iface_.inputReportLength; }
    int OutputReportLength() const override { return iface_.outputReportLength; }
    int Write(const uint8_t* data, size_t length) override
    {
        return device_->Write(*port_, data, length);
    }
    int Read(uint8_t* data, size_t length, int timeoutMs) override
    {
        return device_->Read(*port_, data, length, timeoutMs);
    }

private:
    std::shared_ptr<VirtualDevice> device_;
    std::shared_ptr<Port> port_;
    InterfaceSpec iface_;
};

// Compares what the back end shows every 10 ms with what it showed before.
class VirtualMonitor : public hid::DeviceMonitor {
public:
    explicit VirtualMonitor(VirtualHidBackend& backend) : backend_(backend) {}
    ~VirtualMonitor() override { Stop(); }

    bool Start(Callback callback) override
    {
        if (thread_.joinable() || !callback) return false;
        callback_ = std::move(callback);
        stopping_ = false;
        seen_ = Snapshot();
        thread_ = std::thread([this] { Loop(); });
        return true;
    }

    void Stop() override
    {
        if (!thread_.joinable()) return;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stopping_ = true;
        }
        wake_.notify_all();
        thread_.join();
    }

private:
    std::map<std::string, std::wstring> Snapshot()
    {
        std::map<std::string, std::wstring> names;
        for (const auto& info : backend_.Enumerate()) {
            names[info.path] = hid::MakeInterfaceName(info.vendorId, info.productId,
                                                      info.interfaceNumber, info.path);
        }
        return names;
    }

    void Loop()
    {
        std::unique_lock<std::mutex> lock(mutex_);
        while (!wake_.wait_for(lock, std::chrono::milliseconds(10), [this] { return stopping_; })) {
            lock.unlock();
            auto now = Snapshot();
            for (const auto& [path, name] : seen_) {
                if (!now.count(path)) callback_(false, name);
            }
            for (const auto& [path, name] : now) {
                if (!seen_.count(path)) callback_(true, name);
            }
            seen_ = std::move(now);
            lock.lock();
        }
    }

    VirtualHidBackend& backend_;
    Callback callback_;
    std::map<std::string, std::wstring> seen_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace

void VirtualHidBackend::Plug(const std::shared_ptr<VirtualDevice>& device)
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (std::find(devices_.begin(), devices_.end(), device) == devices_.end()) {
            devices_.push_back(device);
        }
    }
    device->Plug();
}

void VirtualHidBackend::Unplug(const std::shared_ptr<VirtualDevice>& device) { device->Unplug(); }

std::vector<std::shared_ptr<VirtualDevice>> VirtualHidBackend::Devices()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return devices_;
}

std::vector<hid::HidDeviceInfo> VirtualHidBackend::Enumerate(uint16_t vendorId, uint16_t productId)
{
    std::vector<hid::HidDeviceInfo> found;
    const auto devices = Devices();
    for (size_t d = 0; d < devices.size(); ++d) {
        const uint64_t generation = devices[d]->Generation();
        const auto interfaces = devices[d]->Interfaces();
        for (size_t i = 0; i < interfaces.size(); ++i) {
            hid::HidDeviceInfo info = interfaces[i].info;
            if (vendorId != 0 && info.vendorId != vendorId) continue;
            if (productId != 0 && info.productId != productId) continue;
            info.path = "virtual/" + std::to_string(d) + "/" + std::to_string(generation) + "/" +
                        std::to_string(i);
            found.push_back(std::move(info));
        }
    }
    return found;
}

std::unique_ptr<hid::HidDevice> VirtualHidBackend::Open(const std::string& path)
{
    unsigned long d = 0, i = 0;
    unsigned long long generation = 0;
    int consumed = 0;
    if (std::sscanf(path.c_str(), "virtual/%lu/%llu/%lu%n", &d, &generation, &i, &consumed) != 3 ||
        static_cast<size_t>(consumed) != path.size()) {
        return nullptr;
    }
    lastDenied_ = false;
    const auto devices = Devices();
    if (d >= devices.size()) return nullptr;
    auto port = devices[d]->Open(i, generation);
    if (!port) {
        lastDenied_ = devices[d]->RefusesOpen();
        return nullptr;
    }
    const auto interfaces = devices[d]->Interfaces();
    if (i >= interfaces.size()) return nullptr;
    return std::make_unique<VirtualHidHandle>(devices[d], std::move(port), interfaces[i]);
}

std::unique_ptr<hid::DeviceMonitor> VirtualHidBackend::MakeMonitor()
{
    return std::make_unique<VirtualMonitor>(*this);
}

}  // namespace vkb
