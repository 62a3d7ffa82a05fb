#include "device/KeyTravelReport.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "device/KeyActionDecoder.h"

namespace {

constexpr size_t kKindByte = 0;
constexpr size_t kCodeByte = 1;
constexpr size_t kReadingByte = 6;
constexpr size_t kCalibrationByte = 10;
constexpr size_t kDigitsByte = 11;
constexpr size_t kFullScaleByte = 14;
constexpr size_t kFirstReferenceByte = 16;
constexpr size_t kSecondReferenceByte = 18;
constexpr size_t kReportFieldsEnd = 20;

int BigEndian16(std::span<const uint8_t> report, size_t at)
{
    return (report[at] << 8) | report[at + 1];
}

}  // namespace

std::optional<int> KeyTravelFromReading(int reading, int fullScale)
{
    const int scale = fullScale - kKeyTravelScaleOffset;
    if (scale <= 0) return std::nullopt;
    return std::min(reading * kFullKeyTravel / scale, kFullKeyTravel);
}

int JoinDigits(int first, int second, int third)
{
    char text[40];
    std::snprintf(text, sizeof text, "%d%d%d", first, second, third);
    return static_cast<int>(std::strtol(text, nullptr, 10));
}

std::optional<KeyTravel> DecodeKeyTravelReport(std::span<const uint8_t> report)
{
    if (report.size() < kReportFieldsEnd || report[kKindByte] != kKeyTravelReportKind) {
        return std::nullopt;
    }
    KeyTravel out;
    out.keyCode =
        ModifierBitToUsage(report[kCodeByte], report[kCodeByte + 1], report[kCodeByte + 2]);
    if (out.keyCode <= 0) return std::nullopt;
    const std::optional<int> travel = KeyTravelFromReading(BigEndian16(report, kReadingByte),
                                                           BigEndian16(report, kFullScaleByte));
    if (!travel) return std::nullopt;
    out.travel = *travel;
    out.calibration = report[kCalibrationByte];
    out.joinedDigits =
        JoinDigits(report[kDigitsByte], report[kDigitsByte + 1], report[kDigitsByte + 2]);
    out.referenceSpan =
        BigEndian16(report, kSecondReferenceByte) - BigEndian16(report, kFirstReferenceByte);
    return out;
}
