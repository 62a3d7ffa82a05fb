// A USB device seen from the host: the HID interfaces it shows, open handles ("ports") with
// their queues of input reports, plugging and unplugging, and restarts as another identity.
// Subclasses play the device's side of the reports written to it.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/hid/HidSeam.h"

namespace vkb {

using Clock = std::chrono::steady_clock;

struct InterfaceSpec {
    hid::HidDeviceInfo info;  // path left empty: the transport names interfaces
    int inputReportLength = 65;
    int outputReportLength = 65;
};

// One open handle on one interface of one identity of the device.
class Port {
public:
    size_t InterfaceIndex() const { return interfaceIndex_; }

private:
    friend class VirtualDevice;
    struct Pending {
        Clock::time_point due;
        std::vector<uint8_t> report;
    };
    Port(size_t interfaceIndex, uint64_t generation)
        : interfaceIndex_(interfaceIndex), generation_(generation)
    {
    }
    size_t interfaceIndex_;
    uint64_t generation_;
    bool dead_ = false;
    std::deque<Pending> inputs_;
};

class VirtualDevice {
public:
    VirtualDevice() = default;
    VirtualDevice(const VirtualDevice&) = delete;
    VirtualDevice& operator=(const VirtualDevice&) = delete;
    virtual ~VirtualDevice() = default;

    // The interfaces shown now; none while unplugged.
    std::vector<InterfaceSpec> Interfaces();
    // Changes whenever the set of interfaces changes (plug, unplug, restart); handles opened
    // on an earlier generation fail.
    uint64_t Generation();

    // nullptr when the interface is not there (wrong generation, unplugged, bad index) or
    // while opens are refused.
    std::shared_ptr<Port> Open(size_t interfaceIndex, uint64_t generation);
    // While set, every open is refused as hidraw refuses a user without access rights
    // (EACCES): the interfaces are listed, handles open already stay usable.
    void SetRefuseOpen(bool refuse);
    bool RefusesOpen();
    // As HidDevice::Write and HidDevice::Read, on one port.
    int Write(Port& port, const uint8_t* data, size_t length);
    int Read(Port& port, uint8_t* data, size_t length, int timeoutMs);
    void Close(Port& port);

    void Plug();
    void Unplug();
    // Every handle open now fails, while the interfaces stay as they are: the host is told no
    // removal (a handle lost by the host's side, not by the device).
    void FailHandles();
    bool Plugged();
    // Runs the transitions that are due (restarts); the transports call it now and then.
    void Poll();

protected:
    // Everything below runs with mutex_ held.
    virtual std::vector<InterfaceSpec> CurrentInterfaces() const = 0;
    // A report written to interface index; returns the bytes taken or -1 (write failed).
    virtual int HandleWrite(size_t interfaceIndex, const uint8_t* data, size_t length) = 0;
    // Called before every operation with the current time, to run what has come due.
    virtual void Advance(Clock::time_point) {}
    // When the next transition is due, if one is pending.
    virtual std::optional<Clock::time_point> NextTransition() const { return std::nullopt; }

    // Queues an input report for every open port of the interface, delivered from `due` on.
    void SendInput(size_t interfaceIndex, std::vector<uint8_t> report, Clock::time_point due);
    // The interfaces change: every open port fails from now on.
    void ChangeIdentity();
    void SetPluggedLocked(bool plugged);

    mutable std::mutex mutex_;

private:
    void AdvanceLocked() { Advance(Clock::now()); }
    void FailPortsLocked();

    std::condition_variable changed_;
    std::vector<std::weak_ptr<Port>> ports_;
    uint64_t generation_ = 1;
    bool plugged_ = true;
    bool refuseOpen_ = false;
};

}  // namespace vkb
