// The seam between the device link and HID: enumerate interfaces, open one by path,
// learn its report lengths, write output reports and read input reports with a time-out.
// The real back end is hidapi (hidraw); the virtual keyboard plays the device behind
// the same seam, in-process for unit tests or over a Unix socket for end-to-end tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace hid {

struct HidDeviceInfo {
    std::string path;  // opaque; handed back to Open
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint16_t releaseNumber = 0;  // bcdDevice
    std::wstring productString;
    uint16_t usagePage = 0;
    uint16_t usage = 0;
    int interfaceNumber = -1;  // -1 when the bus has no interface numbers
};

class HidDevice {
public:
    virtual ~HidDevice() = default;
    // Report lengths as Windows gives them: the report-ID byte included (65 for 64 data bytes).
    virtual int InputReportLength() const = 0;
    virtual int OutputReportLength() const = 0;
    // data[0] is the report ID (0 when the device numbers no reports). A write shorter than
    // the output report is padded with zeros. Returns the bytes written, or -1 on failure.
    virtual int Write(const uint8_t* data, size_t length) = 0;
    // Reads one input report into data (data[0] the report ID, as Windows returns it).
    // Returns the bytes stored, 0 when nothing arrived within timeoutMs, -1 on failure
    // (the device is gone). timeoutMs < 0 waits without limit.
    virtual int Read(uint8_t* data, size_t length, int timeoutMs) = 0;
};

// Arrival and removal of HID interfaces. interfaceName holds "VID_xxxx&PID_xxxx&MI_xx"
// (upper-case hexadecimal) built from the device's ids. Callbacks run on the monitor's thread.
class DeviceMonitor {
public:
    using Callback = std::function<void(bool arrived, const std::wstring& interfaceName)>;
    virtual ~DeviceMonitor() = default;
    virtual bool Start(Callback callback) = 0;
    virtual void Stop() = 0;
};

class HidBackend {
public:
    virtual ~HidBackend() = default;
    // Every HID interface; vendorId/productId 0 match any.
    virtual std::vector<HidDeviceInfo> Enumerate(uint16_t vendorId = 0, uint16_t productId = 0) = 0;
    // nullptr when the path cannot be opened.
    virtual std::unique_ptr<HidDevice> Open(const std::string& path) = 0;
    // Why the last Open failed, when the back end knows (for example a missing access right);
    // empty otherwise.
    virtual std::string LastError() const { return {}; }
    // Whether the last Open failed because the user may not open the path (EACCES or EPERM on
    // the device node): the device is there, but its access rights are not in place.
    virtual bool LastOpenDenied() const { return false; }
    // The arrival and removal monitor of this back end; nullptr when it has none.
    virtual std::unique_ptr<DeviceMonitor> MakeMonitor() { return nullptr; }
};

// Interface names as the monitors deliver them: "HID#VID_xxxx&PID_xxxx&MI_xx#<path>", the
// "&MI_xx" part left out when interfaceNumber is negative. The path is the one Open takes.
std::wstring MakeInterfaceName(uint16_t vendorId, uint16_t productId, int interfaceNumber,
                               const std::string& path);
// The path part of an interface name (everything after its second '#'); a text without that
// shape is taken as a path as it stands.
std::string InterfacePath(const std::wstring& interfaceName);

// Environment variable naming the folder of virtual-keyboard sockets. When it is set the
// program talks to the virtual keyboards found there instead of hidraw.
inline constexpr const char* kVirtualKeyboardDirEnv = "TOLVENIC_VIRTUAL_KEYBOARD_DIR";

// The process-wide back end: a test double when one is installed, else the socket back end
// when kVirtualKeyboardDirEnv is set, else hidapi.
HidBackend& Backend();
// Installs a back end for tests (not owned); nullptr restores the default.
void SetBackend(HidBackend* backend);
// A monitor matching Backend(): the installed test double's own (one that never reports when
// it has none), udev on "hidraw", or the socket folder's watcher.
std::unique_ptr<DeviceMonitor> MakeDeviceMonitor();

// Back ends, each in its own file.
std::unique_ptr<HidBackend> MakeHidapiBackend();
std::unique_ptr<DeviceMonitor> MakeUdevMonitor();
// A socket write the server has not confirmed within writeTimeoutMs fails (-1), as a hidraw
// write does after the USB output time-out; the handle stays usable.
inline constexpr int kSocketWriteTimeoutMs = 5000;
std::unique_ptr<HidBackend> MakeSocketBackend(const std::string& socketDir,
                                              int writeTimeoutMs = kSocketWriteTimeoutMs);
std::unique_ptr<DeviceMonitor> MakeSocketMonitor(const std::string& socketDir);

}  // namespace hid
