#include "FakeHid.h"

#include <algorithm>
#include <chrono>

namespace fake {

Bytes Answer(uint8_t command, uint8_t length, uint16_t address, const Bytes& data)
{
    Bytes answer(65, 0);
    answer[1] = 0xAA;
    answer[2] = command;
    answer[5] = length;
    answer[6] = static_cast<uint8_t>(address & 0xFF);
    answer[7] = static_cast<uint8_t>(address >> 8);
    std::copy_n(data.begin(), std::min<size_t>(data.size(), 56), answer.begin() + 9);
    return answer;
}

Bytes Answer(const Bytes& request, const Bytes& data)
{
    return Answer(request.at(2), request.at(5),
                  static_cast<uint16_t>(request.at(6) | request.at(7) << 8), data);
}

void Interface::FailNextWrites(int count)
{
    std::lock_guard lock(mutex_);
    failingWrites_ = count;
}

void Interface::Vanish()
{
    std::lock_guard lock(mutex_);
    gone_ = true;
    arrived_.notify_all();
}

void Interface::Queue(Bytes report)
{
    std::lock_guard lock(mutex_);
    inputs_.push_back(std::move(report));
    arrived_.notify_all();
}

std::vector<Bytes> Interface::Written()
{
    std::lock_guard lock(mutex_);
    return written_;
}

int Interface::WriteAttempts()
{
    std::lock_guard lock(mutex_);
    return writeAttempts_;
}

int Interface::Write(const uint8_t* data, size_t length)
{
    Bytes report(data, data + length);
    if (report.size() < static_cast<size_t>(outputLength)) report.resize(outputLength, 0);
    std::vector<Bytes> answers;
    {
        std::lock_guard lock(mutex_);
        ++writeAttempts_;
        if (gone_) return -1;
        if (failingWrites_ > 0) {
            --failingWrites_;
            return -1;
        }
        written_.push_back(report);
    }
    if (respond) answers = respond(report);
    std::lock_guard lock(mutex_);
    for (Bytes& answer : answers) inputs_.push_back(std::move(answer));
    arrived_.notify_all();
    return static_cast<int>(report.size());
}

int Interface::Read(uint8_t* data, size_t length, int timeoutMs)
{
    std::unique_lock lock(mutex_);
    arrived_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                      [this] { return gone_ || !inputs_.empty(); });
    if (gone_) return -1;
    if (inputs_.empty()) return 0;
    const Bytes report = std::move(inputs_.front());
    inputs_.pop_front();
    const size_t n = std::min(length, report.size());
    std::copy_n(report.begin(), n, data);
    return static_cast<int>(n);
}

namespace {

class Handle : public hid::HidDevice {
public:
    explicit Handle(std::shared_ptr<Interface> target) : target_(std::move(target)) {}
    int InputReportLength() const override { return target_->inputLength; }
    int OutputReportLength() const override { return target_->outputLength; }
    int Write(const uint8_t* data, size_t length) override { return target_->Write(data, length); }
    int Read(uint8_t* data, size_t length, int timeoutMs) override
    {
        return target_->Read(data, length, timeoutMs);
    }

private:
    std::shared_ptr<Interface> target_;
};

}  // namespace

Backend::Backend() { hid::SetBackend(this); }

Backend::~Backend() { hid::SetBackend(nullptr); }

std::shared_ptr<Interface> Backend::Add(uint16_t vendorId, uint16_t productId,
                                        const std::wstring& product, const std::string& path)
{
    auto added = std::make_shared<Interface>();
    added->info.vendorId = vendorId;
    added->info.productId = productId;
    added->info.productString = product;
    added->info.path = path;
    added->info.interfaceNumber = 1;
    interfaces.push_back(added);
    return added;
}

std::vector<hid::HidDeviceInfo> Backend::Enumerate(uint16_t vendorId, uint16_t productId)
{
    std::vector<hid::HidDeviceInfo> found;
    for (const auto& entry : interfaces) {
        if ((vendorId == 0 || entry->info.vendorId == vendorId) &&
            (productId == 0 || entry->info.productId == productId)) {
            found.push_back(entry->info);
        }
    }
    return found;
}

std::unique_ptr<hid::HidDevice> Backend::Open(const std::string& path)
{
    lastDenied = false;
    for (const auto& entry : interfaces) {
        if (entry->info.path != path) continue;
        if (entry->opens) return std::make_unique<Handle>(entry);
        lastDenied = entry->denied;
    }
    return nullptr;
}

}  // namespace fake
