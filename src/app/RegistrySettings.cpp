#include "app/RegistrySettings.h"

#include <climits>
#include <optional>

#include "platform/mui/Manager.h"
#include "platform/os/Registry.h"

namespace {

constexpr int kFallbackLanguage = 1033;

// Opens the key for a reader: true when it exists; a missing key is created and reads as empty.
// *failed tells a key that neither opens nor can be made.
std::optional<std::wstring> ReadCreatingKey(const std::wstring& valueName, bool* failed)
{
    const std::wstring key = DeviceRegistryKey();
    *failed = false;
    if (!os::RegKeyExists(key)) {
        *failed = !os::RegCreateKey(key);
        return std::nullopt;
    }
    return os::RegReadString(key, valueName);
}

void WriteIfKeyExists(const std::wstring& valueName, const std::wstring& text)
{
    // RegWriteString itself refuses a missing key.
    os::RegWriteString(DeviceRegistryKey(), valueName, text);
}

}  // namespace

std::wstring DeviceRegistryKey() { return L"SOFTWARE\\" + MUI::Manager::GetDeviceName(); }

int DecimalTextToInt(std::wstring_view text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == L' ' || (text[i] >= L'\t' && text[i] <= L'\r'))) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) {
        negative = text[i] == L'-';
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
        value = value * 10 + (text[i] - L'0');
        if (value > static_cast<long long>(INT_MAX) + 1) {
            value = static_cast<long long>(INT_MAX) + 1;
        }
    }
    if (negative) {
        value = -value;
    }
    if (value > INT_MAX) {
        return INT_MAX;
    }
    return value < INT_MIN ? INT_MIN : static_cast<int>(value);
}

int GetLanguageId()
{
    bool failed = false;
    const std::optional<std::wstring> text = ReadCreatingKey(L"LCID", &failed);
    if (failed) {
        return kFallbackLanguage;
    }
    return text ? DecimalTextToInt(*text) : 0;
}

void SetLanguageId(int languageId) { WriteIfKeyExists(L"LCID", std::to_wstring(languageId)); }

int GetRegInt(const std::wstring& valueName)
{
    bool failed = false;
    const std::optional<std::wstring> text = ReadCreatingKey(valueName, &failed);
    return text ? DecimalTextToInt(*text) : 0;
}

void SetRegString(const std::wstring& valueName, const std::wstring& text)
{
    WriteIfKeyExists(valueName, text);
}

int ReadDeviceType()
{
    const std::optional<std::wstring> text = os::RegReadString(DeviceRegistryKey(), L"DeviceType");
    return text ? DecimalTextToInt(*text) : 0;
}

void WriteDeviceType(int deviceType)
{
    WriteIfKeyExists(L"DeviceType", std::to_wstring(deviceType));
}
