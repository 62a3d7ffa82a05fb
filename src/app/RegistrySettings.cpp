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
