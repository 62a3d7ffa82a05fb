// The client side of the socket transport: each Unix socket in one folder is one plugged HID
// interface, served by a virtual keyboard (tools/virtual-keyboard) or any program speaking the
// format of docs/virtual-keyboard.md.
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <filesystem>
#include <mutex>
#include <thread>

#include "platform/hid/HidSeam.h"
#include "platform/hid/SocketWire.h"

namespace hid {
namespace {

constexpr int kInfoTimeoutMs = 1000;
constexpr int kOpenTimeoutMs = 2000;
// hidraw keeps this many unread input reports per open handle.
constexpr size_t kInputQueueLimit = 64;

class SocketHidDevice : public HidDevice {
public:
    SocketHidDevice(int fd, wire::MessageReader reader, const wire::InterfaceDescription& d,
                    int writeTimeoutMs)
        : fd_(fd),
          inputLength_(d.inputReportLength),
          outputLength_(d.outputReportLength),
          reader_(std::move(reader)),
          writeTimeoutMs_(writeTimeoutMs)
    {
        thread_ = std::thread([this] { ReceiveLoop(); });
    }

    ~SocketHidDevice() override
    {
        ::shutdown(fd_, SHUT_RDWR);
        thread_.join();
        ::close(fd_);
    }

    int InputReportLength() const override { return inputLength_; }
    int OutputReportLength() const override { return outputLength_; }

    int Write(const uint8_t* data, size_t length) override
    {
        if (data == nullptr || length == 0) return -1;
        std::vector<uint8_t> report(data, data + length);
        if (report.size() < static_cast<size_t>(outputLength_)) report.resize(outputLength_, 0);
        std::lock_guard<std::mutex> writing(writeMutex_);
        uint64_t mine = 0;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (gone_) return -1;
            mine = ++writesSent_;
        }
        if (!wire::SendMessage(fd_, wire::kWrite, report.data(), report.size())) return -1;
        std::unique_lock<std::mutex> lock(mutex_);
        // The server confirms writes in the order they came, so the confirmation numbered like
        // this write is its own. One that comes after the time-out is counted and dropped: the
        // write has failed for its caller, as a hidraw write does when the device does not
        // take the report in time, and the handle goes on serving.
        const bool confirmed =
            changed_.wait_for(lock, std::chrono::milliseconds(writeTimeoutMs_),
                              [this, mine] { return gone_ || writesConfirmed_ >= mine; });
        if (!confirmed || writesConfirmed_ != mine) return -1;
        return lastWriteResult_;
    }

    int Read(uint8_t* data, size_t length, int timeoutMs) override
    {
        if (data == nullptr) return -1;
        std::unique_lock<std::mutex> lock(mutex_);
        const auto ready = [this] { return gone_ || !inputs_.empty(); };
        if (timeoutMs < 0) {
            changed_.wait(lock, ready);
        } else {
            changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready);
        }
        if (!inputs_.empty()) {
            const std::vector<uint8_t> report = std::move(inputs_.front());
            inputs_.pop_front();
            const size_t n = std::min(length, report.size());
            if (n > 0) std::memcpy(data, report.data(), n);
            return static_cast<int>(n);
        }
        return gone_ ? -1 : 0;
    }

private:
    void ReceiveLoop()
    {
        for (;;) {
            auto message = wire::ReceiveMessage(fd_, reader_, -1);
            std::lock_guard<std::mutex> lock(mutex_);
            if (!message) {
                gone_ = true;
                changed_.notify_all();
                return;
            }
            if (message->type == wire::kInput) {
                // A report holds at least its report ID: an empty one carries nothing to read.
                if (message->payload.empty()) continue;
                if (inputs_.size() >= kInputQueueLimit) inputs_.pop_front();
                inputs_.push_back(std::move(message->payload));
            } else if (message->type == wire::kWritten) {
                uint32_t value = 0xFFFFFFFFu;  // a confirmation without its result: failed
                if (message->payload.size() >= 4) {
                    value = 0;
                    for (int i = 0; i < 4; ++i) {
                        value |= static_cast<uint32_t>(message->payload[i]) << (8 * i);
                    }
                }
                ++writesConfirmed_;
                lastWriteResult_ = static_cast<int32_t>(value);
            }
            changed_.notify_all();
        }
    }

    const int fd_;
    const int inputLength_;
    const int outputLength_;
    wire::MessageReader reader_;
    std::mutex writeMutex_;  // one report in flight at a time
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::vector<uint8_t>> inputs_;
    const int writeTimeoutMs_;
    uint64_t writesSent_ = 0;
    uint64_t writesConfirmed_ = 0;
    int lastWriteResult_ = -1;  // of the confirmation numbered writesConfirmed_
    bool gone_ = false;
    std::thread thread_;
};

class SocketHidBackend : public HidBackend {
public:
    SocketHidBackend(std::string dir, int writeTimeoutMs)
        : dir_(std::move(dir)), writeTimeoutMs_(writeTimeoutMs)
    {
    }

    std::unique_ptr<DeviceMonitor> MakeMonitor() override { return MakeSocketMonitor(dir_); }

    std::vector<HidDeviceInfo> Enumerate(uint16_t vendorId, uint16_t productId) override
    {
        std::vector<std::string> sockets;
        std::error_code ec;
        // Without exceptions: the folder may vanish while it is read.
        for (std::filesystem::directory_iterator it(dir_, ec), end; !ec && it != end;
             it.increment(ec)) {
            const auto& entry = *it;
            const std::string name = entry.path().filename().string();
            struct stat st {};
            if (name.empty() || name[0] == '.') continue;
            if (::lstat(entry.path().c_str(), &st) != 0 || !S_ISSOCK(st.st_mode)) continue;
            sockets.push_back(entry.path().string());
        }
        std::sort(sockets.begin(), sockets.end());
        std::vector<HidDeviceInfo> found;
        for (const std::string& path : sockets) {
            auto reply = wire::Transact(path, wire::kInfo, nullptr, 0, kInfoTimeoutMs);
            if (!reply || reply->type != wire::kInfoReply) continue;
            auto description = wire::DecodeDescription(reply->payload);
            if (!description) continue;
            HidDeviceInfo info = description->info;
            if (vendorId != 0 && info.vendorId != vendorId) continue;
            if (productId != 0 && info.productId != productId) continue;
            info.path = path;
            found.push_back(std::move(info));
        }
        return found;
    }

    bool LastOpenDenied() const override { return lastDenied_; }

    std::unique_ptr<HidDevice> Open(const std::string& path) override
    {
        lastDenied_ = false;
        const int fd = wire::ConnectSocket(path);
        if (fd < 0) return nullptr;
        wire::MessageReader reader;
        std::optional<wire::Message> reply;
        if (wire::SendMessage(fd, wire::kOpen, nullptr, 0)) {
            reply = wire::ReceiveMessage(fd, reader, kOpenTimeoutMs);
        }
        std::optional<wire::InterfaceDescription> description;
        if (reply && reply->type == wire::kOpened) {
            description = wire::DecodeDescription(reply->payload);
        }
        if (!description) {
            lastDenied_ = reply && reply->type == wire::kRefused;
            ::close(fd);
            return nullptr;
        }
        return std::make_unique<SocketHidDevice>(fd, std::move(reader), *description,
                                                 writeTimeoutMs_);
    }

private:
    const std::string dir_;
    const int writeTimeoutMs_;
    std::atomic<bool> lastDenied_{false};
};

}  // namespace

std::unique_ptr<HidBackend> MakeSocketBackend(const std::string& socketDir, int writeTimeoutMs)
{
    return std::make_unique<SocketHidBackend>(socketDir, writeTimeoutMs);
}

}  // namespace hid
