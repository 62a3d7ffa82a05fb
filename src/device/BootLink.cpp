// Opening the keyboard's boot loader and the CH375 bridge, and the upgrade link's exchange.
#include "device/DeviceManager.h"
#include "device/Pause.h"
#include "platform/hid/ReportDelivery.h"

namespace {

constexpr uint16_t kBootVendorId = 0x3B6D;
// The boot loaders of the three keyboard types, then the one of the model with fixed ids.
constexpr uint16_t kBootProductIds[] = {0xFF36, 0xFF23, 0xFF72, 0xAF3E};
constexpr uint16_t kBootUsagePage = 0xFF00;
constexpr uint16_t kBootUsage = 1;
constexpr uint16_t kBridgeVendorId = 0x4348;
constexpr uint16_t kBridgeProductId = 0x55E0;
constexpr int kIspRewritePauseMs = 2;
constexpr int kIspReadTimeoutMs = 100;
// A boot loader busy with a chunk may answer after the read's time-out: the answer is read
// again, this many times in all, before the report counts as unanswered.
constexpr int kIspAnswerReads = 10;

}  // namespace

std::unique_ptr<hid::HidDevice> DeviceManager::OpenBootDevice(uint16_t& vendorId,
                                                              uint16_t& productId)
{
    hid::HidBackend& backend = hid::Backend();
    for (const hid::HidDeviceInfo& info : backend.Enumerate()) {
        if (info.vendorId != kBootVendorId || info.usagePage != kBootUsagePage ||
            info.usage != kBootUsage) {
            continue;
        }
        for (const uint16_t product : kBootProductIds) {
            if (info.productId != product) continue;
            if (auto device = backend.Open(info.path)) {
                vendorId = kBootVendorId;
                productId = product;
                return device;
            }
        }
    }
    return nullptr;
}

std::unique_ptr<hid::HidDevice> DeviceManager::OpenHidByIds(uint16_t vendorId, uint16_t productId,
                                                            uint16_t usagePage, uint16_t usage)
{
    hid::HidBackend& backend = hid::Backend();
    for (const hid::HidDeviceInfo& info : backend.Enumerate()) {
        if (info.vendorId == vendorId && info.productId == productId &&
            info.usagePage == usagePage && info.usage == usage) {
            if (auto device = backend.Open(info.path)) return device;
        }
    }
    return nullptr;
}

std::unique_ptr<hid::HidDevice> DeviceManager::OpenWchIspDevice()
{
    hid::HidBackend& backend = hid::Backend();
    for (const hid::HidDeviceInfo& info : backend.Enumerate(kBridgeVendorId, kBridgeProductId)) {
        if (info.vendorId != kBridgeVendorId || info.productId != kBridgeProductId) continue;
        if (auto device = backend.Open(info.path)) return device;
    }
    return nullptr;
}

void DeviceManager::SetIspLink(std::unique_ptr<hid::HidDevice> device)
{
    DeviceManager& manager = GetInstance();
    std::lock_guard lock(manager.ispMutex_);
    manager.ispLink_ = std::move(device);
}

hid::HidDevice* DeviceManager::IspLink()
{
    DeviceManager& manager = GetInstance();
    std::lock_guard lock(manager.ispMutex_);
    return manager.ispLink_.get();
}

void DeviceManager::CloseIspLink()
{
    DeviceManager& manager = GetInstance();
    std::lock_guard lock(manager.ispMutex_);
    manager.ispLink_.reset();
}

bool DeviceManager::IspExchange(std::array<uint8_t, kIspBufferSize>& buffer)
{
    DeviceManager& manager = GetInstance();
    std::lock_guard lock(manager.ispMutex_);
    hid::HidDevice* link = manager.ispLink_.get();
    if (link == nullptr) return false;
    if (link->Write(buffer.data(), buffer.size()) <= 0) {
        PauseMs(kIspRewritePauseMs);
        if (link->Write(buffer.data(), buffer.size()) <= 0) return false;
    }
    for (int read = 0; read < kIspAnswerReads; ++read) {
        const int got = hid::ReadDelivered(*link, buffer.data(), buffer.size(), kIspReadTimeoutMs);
        if (got != 0) return got > 0;  // an answer, or the device is gone
    }
    return false;
}
