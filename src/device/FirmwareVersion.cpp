// The firmware version text shown on the settings page, built from the release number and
// the build date in the device info text ("<name>,Mar 15 2024,...").
#include <cwchar>

#include "device/DeviceManager.h"

int ParseMonthName(const std::wstring& text)
{
    static const wchar_t* const kMonths[12] = {L"Jan", L"Feb", L"Mar", L"Apr", L"May", L"Jun",
                                               L"Jul", L"Aug", L"Sep", L"Oct", L"Nov", L"Dec"};
    for (int month = 0; month < 12; ++month) {
        if (text.find(kMonths[month]) != std::wstring::npos) return month + 1;
    }
    return 1;
}

namespace {

// The integer a text starts with (blanks skipped, optional sign), 0 when there is none.
int LeadingInt(const std::wstring& text)
{
    return static_cast<int>(std::wcstol(text.c_str(), nullptr, 10));
}

std::wstring DateField(const std::wstring& info)
{
    const size_t first = info.find(L',');
    if (first == std::wstring::npos) return {};
    const size_t second = info.find(L',', first + 1);
    if (second == std::wstring::npos) return {};
    return info.substr(first + 1, second - first - 1);
}

}  // namespace

std::wstring DeviceManager::GetFirmwareVersion()
{
    if (connected_ == 0 || currentHandle_ == nullptr) return L"0.0";
    BusyScope busy(busy_);
    const int release = GetCurrentReleaseNumber();
    const std::wstring info = ReadDeviceInfo(currentHandle_);
    if (info.empty()) return L"0.0";

    const std::wstring field = DateField(info);
    const int year = LeadingInt(field.size() > 4 ? field.substr(field.size() - 4) : field);
    const int month = ParseMonthName(info);
    const size_t blank = field.find(L' ');
    const int day = blank == std::wstring::npos ? 0 : LeadingInt(field.substr(blank + 1, 2));

    wchar_t hex[16];
    std::swprintf(hex, sizeof hex / sizeof hex[0], L"%x", static_cast<unsigned>(release));
    const std::wstring digits = hex;
    const std::wstring major = digits.substr(0, 1);
    // A release of one or two digits has no more than those for its minor part.
    const std::wstring minor = digits.size() > 2 ? digits.substr(digits.size() - 2) : digits;

    wchar_t text[64];
    std::swprintf(text, sizeof text / sizeof text[0], L"V%ls.%ls(%04d-%02d-%02d)", major.c_str(),
                  minor.c_str(), year, month, day);
    return text;
}
