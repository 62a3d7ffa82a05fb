#include "device/DeviceManager.h"

#include <algorithm>
#include <set>

DeviceManager& DeviceManager::GetInstance()
{
    static DeviceManager instance;
    return instance;
}

DeviceManager::DeviceManager() = default;

DeviceManager::~DeviceManager() { CloseAllDevices(); }

void DeviceManager::AddSupportedDevice(int vendorId, int productId, const std::wstring& productName,
                                       int deviceType, int extra)
{
    supported_.push_back({vendorId, productId, productName, deviceType, extra});
}

const SupportedDevice* DeviceManager::FindSupported(int vendorId, int productId,
                                                    const std::wstring& productString) const
{
    for (const SupportedDevice& entry : supported_) {
        if (entry.vendorId != vendorId || entry.productId != productId) continue;
        if (entry.productName.empty() || entry.productName == productString) return &entry;
    }
    return nullptr;
}

bool DeviceManager::IsSupported(int vendorId, int productId,
                                const std::wstring& productString) const
{
    return FindSupported(vendorId, productId, productString) != nullptr;
}

int DeviceManager::GetDeviceType(int vendorId, int productId,
                                 const std::wstring& productString) const
{
    const SupportedDevice* entry = FindSupported(vendorId, productId, productString);
    return entry != nullptr ? entry->deviceType : 0;
}

void DeviceManager::ScanDevices()
{
    hid::HidBackend& backend = hid::Backend();
    // hidraw lists one interface once per top-level collection; it is opened only once.
    std::set<std::string> listedPaths;
    for (const auto& record : devices_) listedPaths.insert(record->devicePath);

    bool denied = false;
    for (const hid::HidDeviceInfo& info : backend.Enumerate()) {
        if (!IsSupported(info.vendorId, info.productId, info.productString)) continue;
        if (listedPaths.count(info.path) != 0) continue;
        std::unique_ptr<hid::HidDevice> handle = backend.Open(info.path);
        if (!handle) {
            denied = denied || backend.LastOpenDenied();
            continue;
        }
        if (handle->OutputReportLength() < static_cast<int>(REPORT_SIZE) ||
            handle->InputReportLength() < static_cast<int>(REPORT_SIZE)) {
            continue;
        }
        ReadDeviceInfo(handle.get());

        auto record = std::make_unique<DeviceRecord>();
        record->index = static_cast<int>(devices_.size());
        record->vendorId = info.vendorId;
        record->productId = info.productId;
        record->devicePath = info.path;
        record->productString = info.productString;
        record->handle = std::move(handle);
        record->releaseNumber = info.releaseNumber;
        record->deviceType = GetDeviceType(info.vendorId, info.productId, info.productString);
        record->connectionKind = 0;
        record->status = 1;
        listedPaths.insert(info.path);
        devices_.push_back(std::move(record));
    }
    // The interface that carries the key presses stays closed with the udev rule in place too:
    // a refusal counts only when nothing could be listed.
    accessDenied_ = denied && devices_.empty();
}

void DeviceManager::CloseAllDevices()
{
    if (connected_ == 0) return;
    connected_ = 0;
    // The cached handle points into the records freed here.
    currentHandle_ = nullptr;
    devices_.clear();
}

void DeviceManager::Rescan()
{
    ClearCurrentHandle();
    CloseAllDevices();
    ScanDevices();
    connected_ = 1;
    busy_ = 0;
    currentType_ = 0;
    currentHandle_ = nullptr;
}

bool DeviceManager::CountsAsCurrentType(const DeviceRecord& record) const
{
    return currentType_ == 0 || record.deviceType == currentType_;
}

bool DeviceManager::GetDeviceList(std::vector<DeviceRecord*>& out) const
{
    if (devices_.empty()) return false;
    for (const auto& record : devices_) {
        if (CountsAsCurrentType(*record)) out.push_back(record.get());
    }
    return true;
}

int DeviceManager::GetConnectionKind() const
{
    for (const int kind : {0, 2, 1}) {
        for (const auto& record : devices_) {
            if (CountsAsCurrentType(*record) && record->connectionKind == kind) return kind;
        }
    }
    return -1;
}

int DeviceManager::FindDeviceValue(int vendorId, int productId, const std::wstring& productText,
                                   int kind) const
{
    for (const auto& record : devices_) {
        if (record->vendorId != vendorId || record->productId != productId ||
            record->connectionKind != kind) {
            continue;
        }
        if (!productText.empty() && record->productString != productText) continue;
        return record->status;
    }
    return -1;
}

hid::HidDevice* DeviceManager::GetCurrentHandle()
{
    if (currentHandle_ != nullptr) return currentHandle_;
    for (const int kind : {0, 1, 2}) {
        for (const auto& record : devices_) {
            if (CountsAsCurrentType(*record) && record->connectionKind == kind && record->handle) {
                currentHandle_ = record->handle.get();
                return currentHandle_;
            }
        }
    }
    return nullptr;
}

const DeviceRecord* DeviceManager::RecordOfCurrentHandle() const
{
    if (currentHandle_ == nullptr) return nullptr;
    for (const auto& record : devices_) {
        if (record->handle.get() == currentHandle_) return record.get();
    }
    return nullptr;
}

int DeviceManager::GetCurrentReleaseNumber() const
{
    const DeviceRecord* record = RecordOfCurrentHandle();
    return record != nullptr ? record->releaseNumber : 0;
}
