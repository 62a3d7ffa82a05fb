// The hidraw back end over hidapi. hidapi 0.13 tells nothing about report lengths, so they
// come from the interface's report descriptor in sysfs. hidraw hands over reports of an
// interface without numbered reports without the report ID byte; this back end adds it (0) so
// every back end delivers reports alike.
//
// hidapi keeps one process-wide error string that hid_init (run by every hid_enumerate and
// hid_open_path) frees and replaces, and one per device that each read and write replaces.
// Two threads inside hidapi at once free them twice. So every call that may touch the
// process-wide string runs under one lock, and each device's reads and writes under the
// device's own lock as well; a read waits for its report under the device's lock only, so a
// device that is quiet never holds up an enumeration.
#include <hidapi/hidapi.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <mutex>

#include "platform/hid/HidSeam.h"
#include "platform/hid/OutputReport.h"
#include "platform/hid/PermissionRetry.h"
#include "platform/hid/ReportDescriptor.h"

namespace hid {

namespace {

std::mutex& HidapiLock()
{
    static std::mutex lock;
    return lock;
}

class HidapiDevice final : public HidDevice {
public:
    HidapiDevice(hid_device* device, ReportLengths lengths) : device_(device), lengths_(lengths) {}
    ~HidapiDevice() override
    {
        std::lock_guard own(deviceMutex_);
        std::lock_guard global(HidapiLock());
        hid_close(device_);
    }

    int InputReportLength() const override { return lengths_.input; }
    int OutputReportLength() const override { return lengths_.output; }

    int Write(const uint8_t* data, size_t length) override
    {
        if (data == nullptr || length == 0) return -1;
        std::lock_guard lock(deviceMutex_);
        FitOutputReport(data, length, lengths_.output, outgoing_);
        return hid_write(device_, outgoing_.data(), outgoing_.size());
    }

    int Read(uint8_t* data, size_t length, int timeoutMs) override
    {
        if (data == nullptr || length == 0) return -1;
        std::lock_guard lock(deviceMutex_);
        if (lengths_.numbered) return hid_read_timeout(device_, data, length, timeoutMs);
        if (length == 1) return -1;
        data[0] = 0;
        const int got = hid_read_timeout(device_, data + 1, length - 1, timeoutMs);
        return got > 0 ? got + 1 : got;
    }

private:
    hid_device* device_;
    ReportLengths lengths_;
    std::mutex deviceMutex_;  // one read or write of this device at a time
    std::vector<uint8_t> outgoing_;
};

bool PermissionDenied(const std::string& path)
{
    return ::access(path.c_str(), R_OK | W_OK) != 0 && (errno == EACCES || errno == EPERM);
}

class HidapiBackend final : public HidBackend {
public:
    HidapiBackend()
    {
        std::lock_guard lock(HidapiLock());
        hid_init();
    }

    std::vector<HidDeviceInfo> Enumerate(uint16_t vendorId, uint16_t productId) override
    {
        std::vector<HidDeviceInfo> found;
        std::lock_guard lock(HidapiLock());
        hid_device_info* list = hid_enumerate(vendorId, productId);
        for (const hid_device_info* entry = list; entry != nullptr; entry = entry->next) {
            HidDeviceInfo info;
            info.path = entry->path != nullptr ? entry->path : "";
            info.vendorId = entry->vendor_id;
            info.productId = entry->product_id;
            info.releaseNumber = entry->release_number;
            if (entry->product_string != nullptr) info.productString = entry->product_string;
            info.usagePage = entry->usage_page;
            info.usage = entry->usage;
            info.interfaceNumber = entry->interface_number;
            found.push_back(std::move(info));
        }
        hid_free_enumeration(list);
        return found;
    }

    std::unique_ptr<HidDevice> Open(const std::string& path) override
    {
        OpenOutcome outcome = OpenOutcome::kFailed;
        hid_device* device = OpenWithPermissionRetry(
            [&path] {
                std::lock_guard lock(HidapiLock());
                return hid_open_path(path.c_str());
            },
            [&path] { return PermissionDenied(path); }, outcome);
        if (device != nullptr) {
            const std::vector<uint8_t> descriptor = ReadHidrawReportDescriptor(path);
            SetLastError({});
            return std::make_unique<HidapiDevice>(
                device, ParseReportDescriptor(descriptor.data(), descriptor.size()));
        }
        if (outcome != OpenOutcome::kPermissionDenied) {
            SetLastError("cannot open " + path);
            return nullptr;
        }
        const std::string message = "no permission to open " + path +
                                    "; install the udev rule of data/udev (see its README.md)";
        std::fprintf(stderr, "%s\n", message.c_str());
        SetLastError(message, true);
        return nullptr;
    }

    std::string LastError() const override
    {
        std::lock_guard lock(errorMutex_);
        return lastError_;
    }

    bool LastOpenDenied() const override
    {
        std::lock_guard lock(errorMutex_);
        return lastDenied_;
    }

private:
    void SetLastError(std::string message, bool denied = false)
    {
        std::lock_guard lock(errorMutex_);
        lastError_ = std::move(message);
        lastDenied_ = denied;
    }

    mutable std::mutex errorMutex_;
    std::string lastError_;
    bool lastDenied_ = false;
};

}  // namespace

std::unique_ptr<HidBackend> MakeHidapiBackend() { return std::make_unique<HidapiBackend>(); }

}  // namespace hid
