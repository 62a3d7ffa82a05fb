#include "FakeCh375Library.h"

#include <algorithm>

namespace fakeusb {

class FakeCh375Device : public usb::Ch375Device {
public:
    FakeCh375Device(FakeCh375Library& library, std::shared_ptr<Bridge> bridge)
        : library_(library), bridge_(std::move(bridge))
    {
    }

    bool SetExclusive(bool exclusive) override
    {
        std::lock_guard lock(library_.mutex_);
        bridge_->exclusive = exclusive;
        return true;
    }

    bool SetTimeout(unsigned readMs, unsigned writeMs) override
    {
        std::lock_guard lock(library_.mutex_);
        bridge_->readTimeoutMs = readMs;
        bridge_->writeTimeoutMs = writeMs;
        return true;
    }

    bool WriteData(const uint8_t* data, size_t& length) override
    {
        std::lock_guard lock(library_.mutex_);
        Bridge& b = *bridge_;
        const std::vector<uint8_t> packet(data, data + length);
        const bool refused = static_cast<int>(b.packets.size()) == b.refusedPacket;
        b.packets.push_back(packet);
        answer_ = {0, 0};
        if (packet.size() < 4) {
            answer_[1] = 1;
            return true;
        }
        const size_t count = packet[1];
        const size_t offset = packet[2] | packet[3] << 8;
        switch (packet[0]) {
            case 0x81:
                b.erased = true;
                std::fill(b.flash.begin(), b.flash.end(), 0xFF);
                b.programmed = 0;
                break;
            case 0x80:
                if (!b.erased || packet.size() != count + 4 || offset + count > b.flash.size()) {
                    answer_[1] = 1;
                    break;
                }
                std::copy(packet.begin() + 4, packet.end(),
                          b.flash.begin() + static_cast<long>(offset));
                b.programmed = std::max(b.programmed, offset + count);
                break;
            case 0x82:
                if (packet.size() != count + 4 || offset + count > b.flash.size() ||
                    !std::equal(packet.begin() + 4, packet.end(),
                                b.flash.begin() + static_cast<long>(offset))) {
                    answer_[1] = 1;
                }
                break;
            case 0x83:
                b.ended = true;
                break;
            default:
                answer_[1] = 1;
                break;
        }
        if (refused) {
            answer_[1] = 1;
        }
        return true;
    }

    bool ReadData(uint8_t* data, size_t& length) override
    {
        const size_t n = std::min(length, answer_.size());
        std::copy_n(answer_.begin(), n, data);
        length = n;
        return n > 0;
    }

private:
    FakeCh375Library& library_;
    std::shared_ptr<Bridge> bridge_;
    std::array<uint8_t, 2> answer_{0xFF, 0xFF};
};

FakeCh375Library::FakeCh375Library() { usb::SetCh375Library(this); }

FakeCh375Library::~FakeCh375Library() { usb::SetCh375Library(nullptr); }

std::shared_ptr<Bridge> FakeCh375Library::Add(uint16_t vendorId, uint16_t productId,
                                              const std::string& name)
{
    auto bridge = std::make_shared<Bridge>();
    bridge->vendorId = vendorId;
    bridge->productId = productId;
    bridge->name = name;
    std::lock_guard lock(mutex_);
    bridges_.push_back(bridge);
    return bridge;
}

bool FakeCh375Library::SendNotify(int event)
{
    Notify notify;
    {
        std::lock_guard lock(mutex_);
        notify = notify_;
    }
    if (!notify) {
        return false;
    }
    notify(event);
    return true;
}

Bridge FakeCh375Library::Snapshot(size_t index) const
{
    std::lock_guard lock(mutex_);
    return *bridges_.at(index);
}

bool FakeCh375Library::OpenDevice(int index)
{
    std::lock_guard lock(mutex_);
    if (index < 0 || index >= kMaxDevices || static_cast<size_t>(index) >= bridges_.size()) {
        return false;
    }
    open_[static_cast<size_t>(index)] = true;
    return true;
}

uint32_t FakeCh375Library::GetUsbId(int index)
{
    std::lock_guard lock(mutex_);
    if (index < 0 || index >= kMaxDevices || !open_[static_cast<size_t>(index)]) {
        return 0;
    }
    const Bridge& b = *bridges_[static_cast<size_t>(index)];
    return static_cast<uint32_t>(b.vendorId) | static_cast<uint32_t>(b.productId) << 16;
}

std::string FakeCh375Library::GetDeviceName(int index)
{
    std::lock_guard lock(mutex_);
    if (index < 0 || index >= kMaxDevices || !open_[static_cast<size_t>(index)]) {
        return {};
    }
    return bridges_[static_cast<size_t>(index)]->name;
}

void FakeCh375Library::CloseDevice(int index)
{
    std::lock_guard lock(mutex_);
    if (index >= 0 && index < kMaxDevices) {
        open_[static_cast<size_t>(index)] = false;
    }
}

std::unique_ptr<usb::Ch375Device> FakeCh375Library::OpenByName(const std::string& name)
{
    std::lock_guard lock(mutex_);
    for (const auto& bridge : bridges_) {
        if (bridge->name == name && bridge->opens) {
            return std::make_unique<FakeCh375Device>(*this, bridge);
        }
    }
    return nullptr;
}

bool FakeCh375Library::SetDeviceNotify(Notify notify)
{
    std::lock_guard lock(mutex_);
    notify_ = std::move(notify);
    return true;
}

}  // namespace fakeusb
