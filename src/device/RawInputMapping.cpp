#include "device/RawInputMapping.h"

#include "device/VirtualKeys.h"

namespace {

constexpr unsigned kRightShiftScan = 0x36;

// RI_MOUSE_* button flags, in the order they are looked at.
constexpr struct {
    unsigned flag;
    RawMouseButton button;
} kMouseButtons[] = {
    {0x0001, {1, 0, L"mouse_left"}},    {0x0010, {2, 0, L"mouse_middle"}},
    {0x0004, {3, 0, L"mouse_right"}},   {0x0002, {1, 1, L"mouse_left"}},
    {0x0020, {2, 1, L"mouse_middle"}},  {0x0008, {3, 1, L"mouse_right"}},
    {0x0040, {8, 0, L"mouse_button4"}}, {0x0080, {8, 1, L"mouse_button4"}},
    {0x0100, {7, 0, L"mouse_button5"}}, {0x0200, {7, 1, L"mouse_button5"}},
};

}  // namespace

int SidedVirtualKey(int virtualKey, unsigned scanCode, bool extended)
{
    switch (virtualKey) {
        case vk::kShift:
            return (scanCode & 0xFF) == kRightShiftScan ? vk::kRShift : vk::kLShift;
        case vk::kControl:
            return extended ? vk::kRControl : vk::kLControl;
        case vk::kMenu:
            return extended ? vk::kRMenu : vk::kLMenu;
        default:
            return virtualKey;
    }
}

bool IsConsumerVirtualKey(int virtualKey)
{
    return virtualKey >= vk::kBrowserBack && virtualKey <= vk::kLaunchApp2;
}

std::optional<RawMouseButton> MouseButtonFromFlags(unsigned buttonFlags)
{
    for (const auto& entry : kMouseButtons) {
        if ((buttonFlags & entry.flag) != 0) {
            return entry.button;
        }
    }
    return std::nullopt;
}
