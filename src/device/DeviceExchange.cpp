// The request and answer exchange with the keyboard.
#include <algorithm>
#include <chrono>

#include "device/AnsiText.h"
#include "device/DeviceManager.h"
#include "device/Pause.h"
#include "device/ProfileSwitchReport.h"
#include "platform/hid/ReportDelivery.h"

namespace {

constexpr int kWritePauseMs = 2;
constexpr int kAnswerReads = 20;
constexpr int kAnswerReadTimeoutMs = 30;
constexpr int kResendPauseMs = 100;
constexpr int kResendReadTimeoutMs = 50;
constexpr int kCheckedReads = 3;
constexpr int kCheckedReadTimeoutMs = 50;
constexpr int kInfoReadPauseMs = 10;
constexpr int kInfoReadTimeoutMs = 100;
constexpr int kInfoFailurePauseMs = 1000;
constexpr size_t kInfoTextMax = 60;

using Answer = std::array<uint8_t, REPORT_SIZE>;

// One input report as delivered; -1 means the device is gone.
int ReadAnswer(hid::HidDevice& device, Answer& answer, int timeoutMs)
{
    answer.fill(0);
    return hid::ReadDelivered(device, answer.data(), answer.size(), timeoutMs);
}

}  // namespace

bool DeviceManager::SendCommand(DeviceReport& report)
{
    const bool answered = Exchange(report);
    if (!answered) ++failedExchanges_;
    return answered;
}

bool DeviceManager::Exchange(DeviceReport& report)
{
    if (connected_ == 0) return false;
    if (stopping_ && report[kRequestCommandByte] != CMD_END_BATCH) return false;
    BusyScope busy(busy_);
    hid::HidDevice* device = GetCurrentHandle();
    if (device == nullptr) return false;

    PauseMs(kWritePauseMs);
    report[kRequestChecksumByte] = ReportChecksum(report);
    if (device->Write(report.data(), report.size()) <= 0) {
        PauseMs(kWritePauseMs);
        if (device->Write(report.data(), report.size()) <= 0) return false;
    }
    PauseMs(kWritePauseMs);

    Answer answer{};
    bool answered = false;
    for (int attempt = 0; attempt < kAnswerReads; ++attempt) {
        const int got = ReadAnswer(*device, answer, kAnswerReadTimeoutMs);
        KeepUnaskedReport(answer, got);
        // A vanished device answers nothing more; waiting out the attempts gains nothing.
        if (got < 0) return false;
        if (got > 0 && answer[kAnswerMarkByte] == REPORT_ANSWER_MARK) {
            answered = true;
            break;
        }
    }
    if (!answered) {
        PauseMs(kResendPauseMs);
        device->Write(report.data(), report.size());
        const int got = ReadAnswer(*device, answer, kResendReadTimeoutMs);
        KeepUnaskedReport(answer, got);
        if (got <= 0 || answer[kAnswerMarkByte] != REPORT_ANSWER_MARK) return false;
    }
    report.bytes = answer;
    return true;
}

bool DeviceManager::SendCommandChecked(DeviceReport& report)
{
    const bool answered = ExchangeChecked(report);
    if (!answered) ++failedExchanges_;
    return answered;
}

bool DeviceManager::ExchangeChecked(DeviceReport& report)
{
    if (connected_ == 0 || stopping_) return false;
    BusyScope busy(busy_);
    hid::HidDevice* device = GetCurrentHandle();
    if (device == nullptr) return false;

    // 64 bytes go out; the HID layer pads the report with a zero, so the checksum over
    // bytes 5..63 is also the sum over what the device receives.
    report[kRequestChecksumByte] = ReportChecksum(report, REPORT_SIZE - 1);
    if (device->Write(report.data(), REPORT_SIZE - 1) <= 0) return false;

    Answer answer{};
    for (int attempt = 0; attempt < kCheckedReads; ++attempt) {
        const int got = ReadAnswer(*device, answer, kCheckedReadTimeoutMs);
        KeepUnaskedReport(answer, got);
        if (got < 0) return false;
        if (got > 0 && DeviceReport{answer}.Echoes(report)) {
            report.bytes = answer;
            return true;
        }
    }
    return false;
}

void DeviceManager::KeepUnaskedReport(const Answer& report, int got)
{
    if (got > 0 && report[0] == kProfileSwitchReportKind) unaskedSwitch_ = report;
}

int DeviceManager::ReadInputReport(DeviceReport& report, int timeoutMs)
{
    report.bytes.fill(0);
    hid::HidDevice* device = GetCurrentHandle();
    if (device == nullptr) return 0;
    if (unaskedSwitch_) {
        report.bytes = *unaskedSwitch_;
        unaskedSwitch_.reset();
        return static_cast<int>(report.bytes.size());
    }
    return ReadAnswer(*device, report.bytes, timeoutMs);
}

bool DeviceManager::AnswersWithin(int waitMs)
{
    // Each unanswered request waits out its read time-out and the failure pause, so the
    // requests are spaced, never a busy loop.
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    do {
        hid::HidDevice* handle = GetCurrentHandle();
        if (handle == nullptr) return false;
        if (!ReadDeviceInfo(handle).empty()) return true;
    } while (!stopping_ && std::chrono::steady_clock::now() < until);
    return false;
}

std::wstring DeviceManager::ReadDeviceInfo(hid::HidDevice* handle)
{
    BusyScope busy(busy_);
    if (handle == nullptr) return {};
    DeviceReport request = DeviceReport::Command(CMD_GET_DEVICE_INFO);

    Answer answer{};
    int got = 0;
    const bool written = handle->Write(request.data(), request.size()) > 0;
    if (written) {
        PauseMs(kInfoReadPauseMs);
        got = ReadAnswer(*handle, answer, kInfoReadTimeoutMs);
    }
    if (!written || got <= 0 || answer[kAnswerDataByte] == 0) {
        PauseMs(kInfoFailurePauseMs);
        return {};
    }
    const size_t length = answer[kAnswerLengthByte] | (answer[kAnswerLengthByte + 1] << 8);
    if (length > kInfoTextMax) return {};
    // Never past the bytes that were delivered.
    const size_t available = static_cast<size_t>(got) > kAnswerDataByte ? got - kAnswerDataByte : 0;
    return AnsiToWide(answer.data() + kAnswerDataByte, std::min(length, available));
}
