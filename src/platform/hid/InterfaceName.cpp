#include <cstdio>

#include "platform/hid/HidSeam.h"
#include "platform/text/Utf8.h"

namespace hid {

std::wstring MakeInterfaceName(uint16_t vendorId, uint16_t productId, int interfaceNumber,
                               const std::string& path)
{
    char ids[48];
    if (interfaceNumber >= 0) {
        std::snprintf(ids, sizeof ids, "HID#VID_%04X&PID_%04X&MI_%02X#", vendorId, productId,
                      static_cast<unsigned>(interfaceNumber & 0xFF));
    } else {
        std::snprintf(ids, sizeof ids, "HID#VID_%04X&PID_%04X#", vendorId, productId);
    }
    return text::Utf8ToWide(ids) + text::Utf8ToWide(path);
}

std::string InterfacePath(const std::wstring& interfaceName)
{
    const size_t first = interfaceName.find(L'#');
    const size_t second = first == std::wstring::npos ? first : interfaceName.find(L'#', first + 1);
    if (interfaceName.rfind(L"HID#", 0) != 0 || second == std::wstring::npos) {
        return text::WideToUtf8(interfaceName);
    }
    return text::WideToUtf8(interfaceName.substr(second + 1));
}

}  // namespace hid
