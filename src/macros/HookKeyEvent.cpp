#include "macros/HookKeyEvent.h"

#include <iterator>

#include "device/MacroImage.h"
#include "platform/mui/NativeKeyTable.h"

namespace {

// Numeric-pad scan codes and the digit (or decimal) keys they record as.
constexpr struct {
    uint32_t scan;
    int code;
} kNumericPad[] = {{71, 103}, {72, 104}, {73, 105}, {75, 100}, {76, 101}, {77, 102},
                   {79, 97},  {80, 98},  {81, 99},  {82, 96},  {83, 110}};
constexpr uint32_t kEnterScan = 28;
constexpr int kNumericPadEnter = 108;

constexpr struct {
    int code;
    const wchar_t* name;
} kFixedNames[] = {
    {19, L"Pause"},
    {44, L"Print Screen"},
    {91, L"Windows"},
    {92, L"RWindows"},
    {93, L"Application"},
    {144, L"Num Lock"},
    {160, L"Shift"},
    {161, L"RShift"},
    {162, L"Ctrl"},
    {163, L"RCtrl"},
    {164, L"Alt"},
    {165, L"RAlt"},
    {166, L"Web-Backward"},
    {167, L"Web-Forward"},
    {168, L"Web-Refresh"},
    {169, L"Web-Stop"},
    {170, L"Web-Search"},
    {171, L"Web-Favorites"},
    {172, L"Web-Home"},
    {173, L"Vol Mute"},
    {174, L"Vol Down"},
    {175, L"Vol Up"},
    {176, L"Next Track"},
    {177, L"Prev Track"},
    {178, L"Stop"},
    {179, L"Play/Pause"},
    {180, L"EMail"},
    {181, L"Multimedia"},
    {182, L"My Computer"},
    {183, L"Calculator"},
    // The numeric-pad Enter records as the separator key's code; it keeps its own name.
    {108, L"Num Enter"},
};

constexpr struct {
    int code;
    int usage;
} kModifierUsages[] = {{16, 225}, {160, 225}, {161, 229}, {17, 224}, {162, 224}, {163, 228},
                       {18, 226}, {164, 226}, {165, 230}, {91, 227}, {92, 231}};

// Navigation keys (Page Up .. Delete, without Select, Print, Execute and Print Screen) are
// named by their extended scan codes.
bool NamedExtended(int code) { return code >= 33 && code <= 46 && !(code >= 41 && code <= 44); }

constexpr int kModifierUsageFirst = 0xE0;
constexpr int kModifierUsageLast = 0xE7;

}  // namespace

int HookKeyCode(const MUI::KBDLLHOOKSTRUCT& key)
{
    const uint32_t flags = key.flags;
    if (flags == 0 || flags == MUI::LLKHF_UP) {
        for (const auto& pad : kNumericPad) {
            if (pad.scan == key.scanCode) return pad.code;
        }
    }
    if ((flags == MUI::LLKHF_EXTENDED || flags == (MUI::LLKHF_EXTENDED | MUI::LLKHF_UP)) &&
        key.scanCode == kEnterScan) {
        return kNumericPadEnter;
    }
    return static_cast<int>(key.vkCode);
}

std::wstring HookKeyName(int code)
{
    for (const auto& fixed : kFixedNames) {
        if (fixed.code == code) return fixed.name;
    }
    return MUI::KeyNameOfScanCode(MUI::ScanCodeOfVirtualKey(code), NamedExtended(code));
}

int MacroStepKeyValue(int code)
{
    for (const auto& modifier : kModifierUsages) {
        if (modifier.code == code) return modifier.usage;
    }
    if (code >= kModifierUsageFirst && code <= kModifierUsageLast) return code | kMacroPlainKeyFlag;
    return code;
}
