#include "update/UpdateService.h"

#include <cstdlib>

#include "platform/text/Utf8.h"

std::wstring UpdateBaseAddress()
{
    std::wstring base;
    if (const char* replaced = std::getenv("TOLVENIC_UPDATE_BASE_URL");
        replaced != nullptr && *replaced != '\0') {
        base = text::Utf8ToWide(replaced);
    } else {
        base = L"https://" + text::Utf8ToWide(TV_UPDATE_HOST) + L"/";
    }
    if (base.back() != L'/') {
        base += L'/';
    }
    return base;
}

std::wstring SoftwareUpdateFolder() { return UpdateBaseAddress() + L"software-upgrade/"; }

std::wstring FirmwareUpdateFolder() { return UpdateBaseAddress() + L"firmware-upgrade/"; }
