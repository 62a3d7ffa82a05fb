// The message format spoken on a virtual-keyboard socket (one Unix stream socket per HID
// interface). Every message is an 8-byte header -- type, three zero bytes, payload length as a
// 32-bit little-endian number -- followed by the payload. docs/virtual-keyboard.md describes
// every message; the client back end and the virtual keyboard's server both use these helpers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/hid/HidSeam.h"

namespace hid::wire {

enum MessageType : uint8_t {
    kInfo = 0x01,     // client: which interface are you?  -> kInfoReply
    kOpen = 0x02,     // client: make this connection an open handle  -> kOpened, kRefused or kError
    kWrite = 0x03,    // client: one output report (byte 0 the report ID)  -> kWritten
    kState = 0x05,    // client: dump the device's state  -> kStateReply
    kControl = 0x06,  // client: a control command in text  -> kControlReply
    kInfoReply = 0x81,
    kOpened = 0x82,        // payload as kInfoReply
    kWritten = 0x83,       // payload: 32-bit little-endian result (bytes written, -1 failed)
    kInput = 0x84,         // server, unasked: one input report (byte 0 the report ID)
    kStateReply = 0x85,    // payload: UTF-8 text
    kControlReply = 0x86,  // payload: UTF-8 text, "ok" or "error: ..."
    kRefused = 0xFE,       // the open is refused as hidraw refuses it without access rights
    kError = 0xFF,         // payload: UTF-8 text
};

inline constexpr size_t kHeaderSize = 8;
inline constexpr uint32_t kMaxPayload = 1u << 20;

struct Message {
    uint8_t type = 0;
    std::vector<uint8_t> payload;
};

// Interface description carried by kInfoReply and kOpened.
struct InterfaceDescription {
    HidDeviceInfo info;  // path unused on the wire
    int inputReportLength = 0;
    int outputReportLength = 0;
};

std::vector<uint8_t> EncodeMessage(uint8_t type, const void* payload, size_t length);
std::vector<uint8_t> EncodeDescription(const InterfaceDescription& description);
std::optional<InterfaceDescription> DecodeDescription(const std::vector<uint8_t>& payload);

// Splits a byte stream into messages. A header announcing more than kMaxPayload or carrying
// non-zero reserved bytes breaks the stream for good.
class MessageReader {
public:
    void Feed(const uint8_t* data, size_t length);
    std::optional<Message> Next();
    bool Broken() const { return broken_; }

private:
    std::vector<uint8_t> buffer_;
    bool broken_ = false;
};

// Writes a whole message; false when the peer is gone. Never raises SIGPIPE.
bool SendMessage(int fd, uint8_t type, const void* payload, size_t length);
// Waits up to timeoutMs (< 0: no limit) for the next whole message.
// nullopt on time-out, end of stream, a broken stream or an error.
std::optional<Message> ReceiveMessage(int fd, MessageReader& reader, int timeoutMs);
// How long a connection may wait for a server that listens but does not take it.
inline constexpr int kConnectTimeoutMs = 500;
// Connects a stream socket to path; -1 when nothing listens there, the path is too long, or
// the server's queue stays full for timeoutMs (a server that listens but never accepts).
int ConnectSocket(const std::string& path, int timeoutMs = kConnectTimeoutMs);
// One request and its reply on a fresh connection; nullopt on any failure.
std::optional<Message> Transact(const std::string& socketPath, uint8_t type, const void* payload,
                                size_t length, int timeoutMs);

// "VID_3B6D&PID_FD70&MI_01" (upper-case hexadecimal; MI_FF without an interface number).
std::string InterfaceName(uint16_t vendorId, uint16_t productId, int interfaceNumber);

}  // namespace hid::wire
