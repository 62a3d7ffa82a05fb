// The live-travel report the keyboard sends by itself while a key moves (kind 0xA0), as
// delivered with the report id removed:
//   0       0xA0
//   1-3     the key's code (kind, value low, value high)
//   6-7     travel reading, big-endian
//   10      calibration value
//   11-13   three small numbers, shown joined as one decimal number
//   14-15   full-scale reading, big-endian
//   16-17   first reference reading, big-endian
//   18-19   second reference reading, big-endian
#pragma once

#include <cstdint>
#include <optional>
#include <span>

inline constexpr uint8_t kKeyTravelReportKind = 0xA0;
// Travel in display units at the bottom of the key.
inline constexpr int kFullKeyTravel = 40;
// The full-scale reading is taken less this offset; a reading at or below it is no scale.
inline constexpr int kKeyTravelScaleOffset = 5;

struct KeyTravel {
    int keyCode = 0;
    // 0..kFullKeyTravel.
    int travel = 0;
    int calibration = 0;
    // Bytes 11, 12, 13 printed one after the other and read as a decimal number.
    int joinedDigits = 0;
    // Second reference reading less the first.
    int referenceSpan = 0;
};

// The report's values; nothing when the report is of another kind or shorter than its fields,
// when its key code is not a key (0), or when its full-scale reading is too small to scale by.
std::optional<KeyTravel> DecodeKeyTravelReport(std::span<const uint8_t> report);

// reading x 40 / (fullScale - 5), at most 40; nothing when fullScale is 5 or less.
std::optional<int> KeyTravelFromReading(int reading, int fullScale);

// The three numbers printed with "%d%d%d" and read back as one decimal number.
int JoinDigits(int first, int second, int third);
