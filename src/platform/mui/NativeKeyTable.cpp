#include "platform/mui/NativeKeyTable.h"

#include <iterator>

namespace MUI {
namespace {

// evdev code, virtual key, scan code, extended, name.
constexpr NativeKey kKeys[] = {
    {1, 0x1B, 0x01, false, L"Esc"},
    {2, 0x31, 0x02, false, L"1"},
    {3, 0x32, 0x03, false, L"2"},
    {4, 0x33, 0x04, false, L"3"},
    {5, 0x34, 0x05, false, L"4"},
    {6, 0x35, 0x06, false, L"5"},
    {7, 0x36, 0x07, false, L"6"},
    {8, 0x37, 0x08, false, L"7"},
    {9, 0x38, 0x09, false, L"8"},
    {10, 0x39, 0x0A, false, L"9"},
    {11, 0x30, 0x0B, false, L"0"},
    {12, 0xBD, 0x0C, false, L"-"},
    {13, 0xBB, 0x0D, false, L"="},
    {14, 0x08, 0x0E, false, L"Backspace"},
    {15, 0x09, 0x0F, false, L"Tab"},
    {16, 0x51, 0x10, false, L"Q"},
    {17, 0x57, 0x11, false, L"W"},
    {18, 0x45, 0x12, false, L"E"},
    {19, 0x52, 0x13, false, L"R"},
    {20, 0x54, 0x14, false, L"T"},
    {21, 0x59, 0x15, false, L"Y"},
    {22, 0x55, 0x16, false, L"U"},
    {23, 0x49, 0x17, false, L"I"},
    {24, 0x4F, 0x18, false, L"O"},
    {25, 0x50, 0x19, false, L"P"},
    {26, 0xDB, 0x1A, false, L"["},
    {27, 0xDD, 0x1B, false, L"]"},
    {28, 0x0D, 0x1C, false, L"Enter"},
    {29, 0xA2, 0x1D, false, L"Ctrl"},
    {30, 0x41, 0x1E, false, L"A"},
    {31, 0x53, 0x1F, false, L"S"},
    {32, 0x44, 0x20, false, L"D"},
    {33, 0x46, 0x21, false, L"F"},
    {34, 0x47, 0x22, false, L"G"},
    {35, 0x48, 0x23, false, L"H"},
    {36, 0x4A, 0x24, false, L"J"},
    {37, 0x4B, 0x25, false, L"K"},
    {38, 0x4C, 0x26, false, L"L"},
    {39, 0xBA, 0x27, false, L";"},
    {40, 0xDE, 0x28, false, L"'"},
    {41, 0xC0, 0x29, false, L"`"},
    {42, 0xA0, 0x2A, false, L"Shift"},
    {43, 0xDC, 0x2B, false, L"\\"},
    {44, 0x5A, 0x2C, false, L"Z"},
    {45, 0x58, 0x2D, false, L"X"},
    {46, 0x43, 0x2E, false, L"C"},
    {47, 0x56, 0x2F, false, L"V"},
    {48, 0x42, 0x30, false, L"B"},
    {49, 0x4E, 0x31, false, L"N"},
    {50, 0x4D, 0x32, false, L"M"},
    {51, 0xBC, 0x33, false, L","},
    {52, 0xBE, 0x34, false, L"."},
    {53, 0xBF, 0x35, false, L"/"},
    {54, 0xA1, 0x36, false, L"Right Shift"},
    {55, 0x6A, 0x37, false, L"Num *"},
    {56, 0xA4, 0x38, false, L"Alt"},
    {57, 0x20, 0x39, false, L"Space"},
    {58, 0x14, 0x3A, false, L"Caps Lock"},
    {59, 0x70, 0x3B, false, L"F1"},
    {60, 0x71, 0x3C, false, L"F2"},
    {61, 0x72, 0x3D, false, L"F3"},
    {62, 0x73, 0x3E, false, L"F4"},
    {63, 0x74, 0x3F, false, L"F5"},
    {64, 0x75, 0x40, false, L"F6"},
    {65, 0x76, 0x41, false, L"F7"},
    {66, 0x77, 0x42, false, L"F8"},
    {67, 0x78, 0x43, false, L"F9"},
    {68, 0x79, 0x44, false, L"F10"},
    {69, 0x90, 0x45, true, L"Num Lock"},
    {70, 0x91, 0x46, false, L"Scroll Lock"},
    {71, 0x67, 0x47, false, L"Num 7"},
    {72, 0x68, 0x48, false, L"Num 8"},
    {73, 0x69, 0x49, false, L"Num 9"},
    {74, 0x6D, 0x4A, false, L"Num -"},
    {75, 0x64, 0x4B, false, L"Num 4"},
    {76, 0x65, 0x4C, false, L"Num 5"},
    {77, 0x66, 0x4D, false, L"Num 6"},
    {78, 0x6B, 0x4E, false, L"Num +"},
    {79, 0x61, 0x4F, false, L"Num 1"},
    {80, 0x62, 0x50, false, L"Num 2"},
    {81, 0x63, 0x51, false, L"Num 3"},
    {82, 0x60, 0x52, false, L"Num 0"},
    {83, 0x6E, 0x53, false, L"Num Del"},
    {86, 0xE2, 0x56, false, L"\\"},
    {87, 0x7A, 0x57, false, L"F11"},
    {88, 0x7B, 0x58, false, L"F12"},
    {89, 0xC1, 0x73, false, L"Ro"},
    {92, 0x1C, 0x79, false, L"Henkan"},
    {93, 0x15, 0x70, false, L"Katakana Hiragana"},
    {94, 0x1D, 0x7B, false, L"Muhenkan"},
    {96, 0x0D, 0x1C, true, L"Num Enter"},
    {97, 0xA3, 0x1D, true, L"Right Ctrl"},
    {98, 0x6F, 0x35, true, L"Num /"},
    {99, 0x2C, 0x37, true, L"Prnt Scrn"},
    {100, 0xA5, 0x38, true, L"Right Alt"},
    {102, 0x24, 0x47, true, L"Home"},
    {103, 0x26, 0x48, true, L"Up"},
    {104, 0x21, 0x49, true, L"Page Up"},
    {105, 0x25, 0x4B, true, L"Left"},
    {106, 0x27, 0x4D, true, L"Right"},
    {107, 0x23, 0x4F, true, L"End"},
    {108, 0x28, 0x50, true, L"Down"},
    {109, 0x22, 0x51, true, L"Page Down"},
    {110, 0x2D, 0x52, true, L"Insert"},
    {111, 0x2E, 0x53, true, L"Delete"},
    {113, 0xAD, 0x20, true, L"Mute"},
    {114, 0xAE, 0x2E, true, L"Volume Down"},
    {115, 0xAF, 0x30, true, L"Volume Up"},
    {119, 0x13, 0x45, false, L"Pause"},
    {121, 0x6C, 0x7E, false, L"Num ,"},
    {122, 0x15, 0x72, false, L"Hangul"},
    {123, 0x19, 0x71, false, L"Hanja"},
    {124, 0xDC, 0x7D, false, L"Yen"},
    {125, 0x5B, 0x5B, true, L"Left Windows"},
    {126, 0x5C, 0x5C, true, L"Right Windows"},
    {127, 0x5D, 0x5D, true, L"Application"},
    {128, 0xA9, 0x68, true, L"Browser Stop"},
    {140, 0xB7, 0x21, true, L"Calculator"},
    {150, 0xAC, 0x32, true, L"Browser Home"},
    {155, 0xB4, 0x6C, true, L"Mail"},
    {156, 0xAB, 0x66, true, L"Browser Favorites"},
    {157, 0xB6, 0x6B, true, L"My Computer"},
    {158, 0xA6, 0x6A, true, L"Browser Back"},
    {159, 0xA7, 0x69, true, L"Browser Forward"},
    {163, 0xB0, 0x19, true, L"Next Track"},
    {164, 0xB3, 0x22, true, L"Play/Pause"},
    {165, 0xB1, 0x10, true, L"Previous Track"},
    {166, 0xB2, 0x24, true, L"Stop"},
    {173, 0xA8, 0x67, true, L"Browser Refresh"},
    {183, 0x7C, 0x64, false, L"F13"},
    {184, 0x7D, 0x65, false, L"F14"},
    {185, 0x7E, 0x66, false, L"F15"},
    {186, 0x7F, 0x67, false, L"F16"},
    {187, 0x80, 0x68, false, L"F17"},
    {188, 0x81, 0x69, false, L"F18"},
    {189, 0x82, 0x6A, false, L"F19"},
    {190, 0x83, 0x6B, false, L"F20"},
    {191, 0x84, 0x6C, false, L"F21"},
    {192, 0x85, 0x6D, false, L"F22"},
    {193, 0x86, 0x6E, false, L"F23"},
    {194, 0x87, 0x76, false, L"F24"},
    {217, 0xAA, 0x65, true, L"Browser Search"},
    {226, 0xB5, 0x6D, true, L"Media Select"},
};

// Desktop key codes are the evdev numbers moved up by this much.
constexpr unsigned kNativeOffset = 8;

// The generic modifiers name their left keys.
constexpr int kGenericShift = 0x10;
constexpr int kGenericControl = 0x11;
constexpr int kGenericAlt = 0x12;

}  // namespace

const NativeKey* FindNativeKey(int evdevCode)
{
    for (const NativeKey& key : kKeys) {
        if (key.evdev == evdevCode) return &key;
    }
    return nullptr;
}

const NativeKey* FindNativeKeyOfScanCode(unsigned nativeScanCode)
{
    if (nativeScanCode <= kNativeOffset) return nullptr;
    return FindNativeKey(static_cast<int>(nativeScanCode - kNativeOffset));
}

int ScanCodeOfVirtualKey(int vk)
{
    switch (vk) {
        case kGenericShift:
            return 0x2A;
        case kGenericControl:
            return 0x1D;
        case kGenericAlt:
            return 0x38;
        default:
            break;
    }
    for (const NativeKey& key : kKeys) {
        if (key.vk == vk) return key.scan;
    }
    return 0;
}

std::wstring KeyNameOfScanCode(int scan, bool extended)
{
    for (const NativeKey& key : kKeys) {
        if (key.scan == scan && key.extended == extended) return key.name;
    }
    // A key known only without its extended bit keeps that name (as the system does).
    for (const NativeKey& key : kKeys) {
        if (key.scan == scan) return key.name;
    }
    return {};
}

}  // namespace MUI
