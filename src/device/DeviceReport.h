// The 65-byte report of the keyboard protocol and its command codes. Requests carry the
// report ID 0 in byte 0; answers arrive with that byte removed, so an answer's bytes sit one
// place lower than the request's: [0] mark, [1] command, [4] length, [5..6] address, data
// from [8].
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

inline constexpr size_t REPORT_SIZE = 65;
inline constexpr size_t REPORT_DATA_MAX = 56;
inline constexpr uint8_t REPORT_REQUEST_MARK = 0x55;
inline constexpr uint8_t REPORT_ANSWER_MARK = 0xAA;

// Request byte positions.
inline constexpr size_t kRequestMarkByte = 1;
inline constexpr size_t kRequestCommandByte = 2;
inline constexpr size_t kRequestChecksumByte = 4;
inline constexpr size_t kRequestLengthByte = 5;
inline constexpr size_t kRequestAddressLowByte = 6;
inline constexpr size_t kRequestAddressHighByte = 7;
inline constexpr size_t kRequestDataByte = 9;
// Answer byte positions (as delivered).
inline constexpr size_t kAnswerMarkByte = 0;
inline constexpr size_t kAnswerCommandByte = 1;
inline constexpr size_t kAnswerLengthByte = 4;
inline constexpr size_t kAnswerDataByte = 8;

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

    uint8_t& operator[](size_t i) { return bytes[i]; }
    uint8_t operator[](size_t i) const { return bytes[i]; }
    uint8_t* data() { return bytes.data(); }
    const uint8_t* data() const { return bytes.data(); }
    static constexpr size_t size() { return REPORT_SIZE; }
};

// The low 8 bits of the sum of bytes [5, end) of a request.
uint8_t ReportChecksum(const DeviceReport& request, size_t end = REPORT_SIZE);
