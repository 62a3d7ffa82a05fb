// A CH375 bridge library for tests: bridges with any ids, each keeping the packets written to
// it and a 64 KB flash that its program packets fill and its verify packets compare. Installed
// for the life of the object.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/usb/Ch375Library.h"

namespace fakeusb {

struct Bridge {
    uint16_t vendorId = 0x4348;
    uint16_t productId = 0x55E0;
    std::string name;
    bool opens = true;
    // Packet number (0 the first of all packets written) answered with 00 01; -1 none.
    int refusedPacket = -1;
    bool exclusive = false;
    unsigned readTimeoutMs = 0;
    unsigned writeTimeoutMs = 0;
    std::vector<std::vector<uint8_t>> packets;
    std::vector<uint8_t> flash = std::vector<uint8_t>(0x10000, 0xFF);
    // The highest byte programmed, plus one.
    size_t programmed = 0;
    bool erased = false;
    bool ended = false;
};

class FakeCh375Library : public usb::Ch375Library {
public:
    FakeCh375Library();
    ~FakeCh375Library() override;

    std::shared_ptr<Bridge> Add(uint16_t vendorId, uint16_t productId, const std::string& name);
    // The callback given by SetDeviceNotify, called on this thread; false when there is none.
    bool SendNotify(int event);
    // Copies of the bridges' state, under the library's lock.
    Bridge Snapshot(size_t index) const;

    bool OpenDevice(int index) override;
    uint32_t GetUsbId(int index) override;
    std::string GetDeviceName(int index) override;
    void CloseDevice(int index) override;
    std::unique_ptr<usb::Ch375Device> OpenByName(const std::string& name) override;
    bool SetDeviceNotify(Notify notify) override;

private:
    friend class FakeCh375Device;
    mutable std::mutex mutex_;
    std::vector<std::shared_ptr<Bridge>> bridges_;
    std::array<bool, kMaxDevices> open_{};
    Notify notify_;
};

}  // namespace fakeusb
