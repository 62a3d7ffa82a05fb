#include "platform/hid/SocketWire.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

#include "platform/text/Utf8.h"

namespace hid::wire {
namespace {

void PutU16(std::vector<uint8_t>& out, uint16_t value)
{
    out.push_back(static_cast<uint8_t>(value & 0xFF));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

uint16_t GetU16(const std::vector<uint8_t>& in, size_t at)
{
    return static_cast<uint16_t>(in[at] | (in[at + 1] << 8));
}

constexpr size_t kDescriptionFixed = 16;

}  // namespace

std::vector<uint8_t> EncodeMessage(uint8_t type, const void* payload, size_t length)
{
    // Sized once and filled in place (GCC 12 misreads a growing insert as out of bounds).
    std::vector<uint8_t> out(kHeaderSize + length);
    out[0] = type;
    const auto n = static_cast<uint32_t>(length);
    for (int i = 0; i < 4; ++i) out[4 + i] = static_cast<uint8_t>(n >> (8 * i));
    const auto* bytes = static_cast<const uint8_t*>(payload);
    for (size_t i = 0; i < length; ++i) out[kHeaderSize + i] = bytes[i];
    return out;
}

std::vector<uint8_t> EncodeDescription(const InterfaceDescription& d)
{
    std::vector<uint8_t> out;
    PutU16(out, d.info.vendorId);
    PutU16(out, d.info.productId);
    PutU16(out, d.info.releaseNumber);
    PutU16(out, d.info.usagePage);
    PutU16(out, d.info.usage);
    PutU16(out, static_cast<uint16_t>(static_cast<int16_t>(d.info.interfaceNumber)));
    PutU16(out, static_cast<uint16_t>(d.inputReportLength));
    PutU16(out, static_cast<uint16_t>(d.outputReportLength));
    const std::string product = text::WideToUtf8(d.info.productString);
    out.insert(out.end(), product.begin(), product.end());
    return out;
}

std::optional<InterfaceDescription> DecodeDescription(const std::vector<uint8_t>& p)
{
    if (p.size() < kDescriptionFixed) return std::nullopt;
    InterfaceDescription d;
    d.info.vendorId = GetU16(p, 0);
    d.info.productId = GetU16(p, 2);
    d.info.releaseNumber = GetU16(p, 4);
    d.info.usagePage = GetU16(p, 6);
    d.info.usage = GetU16(p, 8);
    d.info.interfaceNumber = static_cast<int16_t>(GetU16(p, 10));
    d.inputReportLength = GetU16(p, 12);
    d.outputReportLength = GetU16(p, 14);
    d.info.productString = text::Utf8ToWide(std::string_view(
        reinterpret_cast<const char*>(p.data()) + kDescriptionFixed, p.size() - kDescriptionFixed));
    return d;
}

void MessageReader::Feed(const uint8_t* data, size_t length)
{
    buffer_.insert(buffer_.end(), data, data + length);
}

std::optional<Message> MessageReader::Next()
{
    if (broken_ || buffer_.size() < kHeaderSize) return std::nullopt;
    if (buffer_[1] != 0 || buffer_[2] != 0 || buffer_[3] != 0) {
        broken_ = true;
        return std::nullopt;
    }
    uint32_t length = 0;
    for (int i = 0; i < 4; ++i) length |= static_cast<uint32_t>(buffer_[4 + i]) << (8 * i);
    if (length > kMaxPayload) {
        broken_ = true;
        return std::nullopt;
    }
    if (buffer_.size() < kHeaderSize + length) return std::nullopt;
    Message message;
    message.type = buffer_[0];
    message.payload.assign(buffer_.begin() + kHeaderSize, buffer_.begin() + kHeaderSize + length);
    buffer_.erase(buffer_.begin(), buffer_.begin() + kHeaderSize + length);
    return message;
}

bool SendMessage(int fd, uint8_t type, const void* payload, size_t length)
{
    if (length > kMaxPayload) return false;
    const std::vector<uint8_t> bytes = EncodeMessage(type, payload, length);
    size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        sent += static_cast<size_t>(n);
    }
    return true;
}

std::optional<Message> ReceiveMessage(int fd, MessageReader& reader, int timeoutMs)
{
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
    for (;;) {
        if (auto message = reader.Next()) return message;
        if (reader.Broken()) return std::nullopt;
        int wait = -1;
        if (timeoutMs >= 0) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            wait = left.count() > 0 ? static_cast<int>(left.count()) : 0;
        }
        pollfd p{fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, wait);
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) return std::nullopt;
        uint8_t chunk[4096];
        const ssize_t n = ::recv(fd, chunk, sizeof chunk, 0);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return std::nullopt;
        reader.Feed(chunk, static_cast<size_t>(n));
    }
}

int ConnectSocket(const std::string& path, int timeoutMs)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof address.sun_path) return -1;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    // Non-blocking while connecting: a blocking connect waits without end for a server whose
    // queue is full. A Unix socket then answers EAGAIN at once; the attempt is repeated until
    // the time-out.
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return -1;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    constexpr auto kRetryPause = std::chrono::milliseconds(5);
    for (;;) {
        if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
            ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
            return fd;
        }
        if (errno == EINTR) continue;
        if (errno != EAGAIN || std::chrono::steady_clock::now() >= end) break;
        std::this_thread::sleep_for(kRetryPause);
    }
    ::close(fd);
    return -1;
}

std::optional<Message> Transact(const std::string& socketPath, uint8_t type, const void* payload,
                                size_t length, int timeoutMs)
{
    const int fd = ConnectSocket(socketPath);
    if (fd < 0) return std::nullopt;
    std::optional<Message> reply;
    if (SendMessage(fd, type, payload, length)) {
        MessageReader reader;
        reply = ReceiveMessage(fd, reader, timeoutMs);
    }
    ::close(fd);
    return reply;
}

std::string InterfaceName(uint16_t vendorId, uint16_t productId, int interfaceNumber)
{
    char name[32];
    const unsigned mi = interfaceNumber < 0 ? 0xFFu : static_cast<unsigned>(interfaceNumber) & 0xFF;
    std::snprintf(name, sizeof name, "VID_%04X&PID_%04X&MI_%02X", vendorId, productId, mi);
    return name;
}

}  // namespace hid::wire
