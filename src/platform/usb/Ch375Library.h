// The CH375 USB bridge's library: the bridges are numbered 0..15; each can be opened by
// number to read its USB ids and its device name, and opened by that name for the exchange of
// bulk packets with read and write time-outs and exclusive use. Arrival and removal of a bridge
// are told to one callback. The real library is libusb; tests install a fake bridge.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace usb {

// A bridge opened by its name.
class Ch375Device {
public:
    virtual ~Ch375Device() = default;
    // Claims the bridge for this process alone (the kernel's driver detached meanwhile).
    virtual bool SetExclusive(bool exclusive) = 0;
    virtual bool SetTimeout(unsigned readMs, unsigned writeMs) = 0;
    // Sends `length` bytes; `length` becomes the bytes sent. True when all went out.
    virtual bool WriteData(const uint8_t* data, size_t& length) = 0;
    // Reads up to `length` bytes; `length` becomes the bytes read. True when something was read.
    virtual bool ReadData(uint8_t* data, size_t& length) = 0;
};

class Ch375Library {
public:
    static constexpr int kMaxDevices = 16;
    // Events of the device callback.
    static constexpr int kEventRemoved = 0;
    static constexpr int kEventArrived = 3;
    using Notify = std::function<void(int event)>;

    virtual ~Ch375Library() = default;
    // Opens bridge number `index`; false when there is none with that number.
    virtual bool OpenDevice(int index) = 0;
    // Vendor id in the low 16 bits, product id in the high 16 bits; 0 when not open.
    virtual uint32_t GetUsbId(int index) = 0;
    // A name OpenByName takes; empty when not open.
    virtual std::string GetDeviceName(int index) = 0;
    virtual void CloseDevice(int index) = 0;
    // nullptr when the name does not open.
    virtual std::unique_ptr<Ch375Device> OpenByName(const std::string& name) = 0;
    // Calls `notify` (on a thread of the library) when a bridge arrives or goes; an empty
    // callback stops the notification. False when the library cannot watch for bridges.
    virtual bool SetDeviceNotify(Notify notify) = 0;
};

// The process-wide library: the installed test double, else libusb.
Ch375Library& Ch375();
// Installs a library for tests (not owned); nullptr restores libusb.
void SetCh375Library(Ch375Library* library);
std::unique_ptr<Ch375Library> MakeLibusbCh375Library();

}  // namespace usb
