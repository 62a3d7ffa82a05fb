// The 65-byte report of the keyboard protocol and its command codes. Requests carry the
// report ID 0 in byte 0; answers arrive with that byte removed, so an answer's bytes sit one
// place lower than the request's: [0] mark, [1] command, [4] length, [5..6] address, data
// from [8].
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

inline constexpr size_t REPORT_SIZE = 65;
inline constexpr size_t REPORT_DATA_MAX = 56;
inline constexpr uint8_t REPORT_REQUEST_MARK = 0x55;
inline constexpr uint8_t REPORT_ANSWER_MARK = 0xAA;

// The request header: bytes 0..8 as sent, data from byte 9.
struct ReportRequestHeader {
    uint8_t reportId = 0;
    uint8_t mark = REPORT_REQUEST_MARK;
    uint8_t command = 0;
    uint8_t reserved3 = 0;
    uint8_t checksum = 0;  // low 8 bits of the sum of bytes 5..64
    uint8_t length = 0;    // data bytes, 0..REPORT_DATA_MAX
    uint8_t addressLow = 0;
    uint8_t addressHigh = 0;
    uint8_t reserved8 = 0;
};

// The answer header as delivered (the report ID removed): bytes 0..7, data from byte 8. The
// length, address and byte 7 echo the request's bytes 5..8.
struct ReportAnswerHeader {
    uint8_t mark = 0;
    uint8_t command = 0;
    uint8_t reserved2 = 0;
    uint8_t reserved3 = 0;
    uint8_t length = 0;
    uint8_t addressLow = 0;
    uint8_t addressHigh = 0;
    uint8_t reserved7 = 0;
};

// Request byte positions.
inline constexpr size_t kRequestMarkByte = offsetof(ReportRequestHeader, mark);
inline constexpr size_t kRequestCommandByte = offsetof(ReportRequestHeader, command);
inline constexpr size_t kRequestChecksumByte = offsetof(ReportRequestHeader, checksum);
inline constexpr size_t kRequestLengthByte = offsetof(ReportRequestHeader, length);
inline constexpr size_t kRequestAddressLowByte = offsetof(ReportRequestHeader, addressLow);
inline constexpr size_t kRequestAddressHighByte = offsetof(ReportRequestHeader, addressHigh);
inline constexpr size_t kRequestDataByte = sizeof(ReportRequestHeader);
// Answer byte positions (as delivered).
inline constexpr size_t kAnswerMarkByte = offsetof(ReportAnswerHeader, mark);
inline constexpr size_t kAnswerCommandByte = offsetof(ReportAnswerHeader, command);
inline constexpr size_t kAnswerLengthByte = offsetof(ReportAnswerHeader, length);
inline constexpr size_t kAnswerDataByte = sizeof(ReportAnswerHeader);

static_assert(kRequestMarkByte == 1 && kRequestCommandByte == 2 && kRequestChecksumByte == 4);
static_assert(kRequestLengthByte == 5 && kRequestAddressLowByte == 6);
static_assert(kRequestAddressHighByte == 7 && kRequestDataByte == 9);
static_assert(kRequestDataByte + REPORT_DATA_MAX == REPORT_SIZE);
static_assert(kAnswerMarkByte == 0 && kAnswerCommandByte == 1 && kAnswerLengthByte == 4);
static_assert(offsetof(ReportAnswerHeader, addressLow) == 5);
static_assert(offsetof(ReportAnswerHeader, addressHigh) == 6 && kAnswerDataByte == 8);
// An answer is the request's layout moved down by the removed report ID.
static_assert(kAnswerDataByte + 1 == kRequestDataByte &&
              kAnswerLengthByte + 1 == kRequestLengthByte);
static_assert(kAnswerDataByte + REPORT_DATA_MAX <= REPORT_SIZE - 1);

enum DeviceCommand : uint8_t {
    CMD_BEGIN_BATCH = 0x01,
    CMD_END_BATCH = 0x02,
    CMD_GET_DEVICE_INFO = 0x03,
    CMD_READ_SETTINGS = 0x05,
    CMD_WRITE_SETTINGS = 0x06,
    CMD_READ_DEFAULT_KEYMAP = 0x07,
    CMD_READ_KEYMAP = 0x08,
    CMD_WRITE_KEYMAP = 0x09,
    CMD_READ_USER_COLORS = 0x0A,
    CMD_WRITE_USER_COLORS = 0x0B,
    CMD_WRITE_MACROS = 0x0D,
    CMD_READ_KEY_PERF = 0xA0,
    CMD_WRITE_KEY_PERF = 0xA1,
    CMD_WRITE_DKS_TABLE = 0xA3,
    CMD_WRITE_PAIR_KEY_TABLE = 0xA5,
    CMD_WRITE_TOGGLE_TABLE = 0xA7,
    CMD_CALIBRATION_ON = 0xA8,
    CMD_CALIBRATION_OFF = 0xA9,
    CMD_WRITE_LIVE_COLORS = 0xDD,
    CMD_READ_LIVE_COLORS = 0xDE,
    CMD_FACTORY_RESET = 0xEE,
};

struct DeviceReport {
    std::array<uint8_t, REPORT_SIZE> bytes{};

    // A request: mark, command, length (at most REPORT_DATA_MAX), address and, when data is
    // given, that many data bytes. Reads state a length and carry no data.
    static DeviceReport Request(DeviceCommand command, uint16_t address = 0,
                                const uint8_t* data = nullptr, size_t length = 0);

    // A command without data.
    static DeviceReport Command(DeviceCommand command) { return Request(command); }

    // The headers and data as typed views of the bytes.
    ReportRequestHeader RequestHeader() const;
    void SetRequestHeader(const ReportRequestHeader& header);
    ReportAnswerHeader AnswerHeader() const;
    std::span<uint8_t, REPORT_DATA_MAX> RequestData()
    {
        return std::span<uint8_t, REPORT_DATA_MAX>(bytes.data() + kRequestDataByte,
                                                   REPORT_DATA_MAX);
    }
    std::span<const uint8_t, REPORT_DATA_MAX> AnswerData() const
    {
        return std::span<const uint8_t, REPORT_DATA_MAX>(bytes.data() + kAnswerDataByte,
                                                         REPORT_DATA_MAX);
    }
    // Whether this answer echoes request's command, length, address and byte 8.
    bool Echoes(const DeviceReport& request) const;

    uint8_t& operator[](size_t i) { return bytes[i]; }
    uint8_t operator[](size_t i) const { return bytes[i]; }
    uint8_t* data() { return bytes.data(); }
    const uint8_t* data() const { return bytes.data(); }
    static constexpr size_t size() { return REPORT_SIZE; }
};

// The low 8 bits of the sum of bytes [5, end) of a request.
uint8_t ReportChecksum(const DeviceReport& request, size_t end = REPORT_SIZE);
