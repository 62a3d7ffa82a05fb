// Fixed conversions shared by the key pages, the macro recorder, the key tester and the
// codecs: Windows virtual-key code to key code (HID keyboard usage, or a consumer usage for
// media keys), modifier usage to modifier bit, and key code to key-cap text.
#pragma once

#include <string>

class KeyNameTable {
public:
    static KeyNameTable& GetInstance();

    // 0 for a virtual key with no key code. Consumer usages come back as plain numbers:
    // only the caller knows which page a result belongs to.
    int VirtualKeyToUsage(int virtualKey) const;
    // 0xE0..0xE7 give the bits 0x01..0x80; any other value comes back unchanged.
    int ModifierUsageToBit(int usage) const;
    // Empty when the code has no key-cap text.
    std::wstring KeyUsageToName(int usage) const;

private:
    KeyNameTable() = default;
};
