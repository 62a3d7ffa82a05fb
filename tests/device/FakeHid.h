// A scripted HID back end for exchange tests: each interface answers written reports through
// a function, can fail writes, and can vanish; every write is recorded as the device got it.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/hid/HidSeam.h"

namespace fake {

using Bytes = std::vector<uint8_t>;

// The echo answer a keyboard gives a request, as it goes on the wire (report ID first):
// mark 0xAA, the request's command, length and address, then data.
Bytes Answer(const Bytes& request, const Bytes& data = {});
Bytes Answer(uint8_t command, uint8_t length, uint16_t address, const Bytes& data = {});

class Interface {
public:
    hid::HidDeviceInfo info;
    int inputLength = 65;
    int outputLength = 65;
    bool opens = true;
    // An open that fails is refused for lack of access rights (EACCES).
    bool denied = false;
    // The reports to send back for one written report (padded to the output length).
    std::function<std::vector<Bytes>(const Bytes&)> respond;

    void FailNextWrites(int count);
    void Vanish();  // every operation fails from now on, also reads waiting now
    void Queue(Bytes report);
    std::vector<Bytes> Written();
    int WriteAttempts();

    int Write(const uint8_t* data, size_t length);
    int Read(uint8_t* data, size_t length, int timeoutMs);

private:
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::deque<Bytes> inputs_;
    std::vector<Bytes> written_;
    int failingWrites_ = 0;
    int writeAttempts_ = 0;
    bool gone_ = false;
};

class Backend : public hid::HidBackend {
public:
    // Installed as the process's back end for the object's lifetime.
    Backend();
    ~Backend() override;

    std::shared_ptr<Interface> Add(uint16_t vendorId, uint16_t productId,
                                   const std::wstring& product, const std::string& path);

    std::vector<hid::HidDeviceInfo> Enumerate(uint16_t vendorId, uint16_t productId) override;
    std::unique_ptr<hid::HidDevice> Open(const std::string& path) override;
    bool LastOpenDenied() const override { return lastDenied; }

    std::vector<std::shared_ptr<Interface>> interfaces;
    bool lastDenied = false;
};

}  // namespace fake
