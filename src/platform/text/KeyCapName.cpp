#include "platform/text/KeyCapName.h"

#include <utility>

namespace text {

namespace {

// Key-cap texts of the codes outside the letter, digit, F-key and keypad-digit runs.
constexpr std::pair<int, const wchar_t*> kNameRows[] = {
    {0x28, L"Enter"},
    {0x29, L"Esc"},
    {0x2A, L"Backspace"},
    {0x2B, L"Tab"},
    {0x2C, L"Space"},
    {0x2D, L"-"},
    {0x2E, L"="},
    {0x2F, L"["},
    {0x30, L"]"},
    {0x31, L"\\"},
    {0x32, L"\\"},
    {0x33, L";"},
    {0x34, L"'"},
    {0x35, L"~"},
    {0x36, L","},
    {0x37, L"."},
    {0x38, L"/"},
    {0x39, L"Caps"},
    {0x46, L"Print"},
    {0x47, L"Scrl"},
    {0x48, L"Pause"},
    {0x49, L"Ins"},
    {0x4A, L"Home"},
    {0x4B, L"PgUp"},
    {0x4C, L"Del"},
    {0x4D, L"End"},
    {0x4E, L"PgDn"},
    {0x4F, L"\u2192"},
    {0x50, L"\u2190"},
    {0x51, L"\u2193"},
    {0x52, L"\u2191"},
    {0x53, L"Num Lock"},
    {0x54, L"Num /"},
    {0x55, L"Num *"},
    {0x56, L"Num -"},
    {0x57, L"Num +"},
    {0x58, L"Num Enter"},
    {0x62, L"Num 0"},
    {0x63, L"Num ."},
    {0x64, L"\\"},
    {0x65, L"App"},
    {0x87, L"Ro"},
    {0x88, L"\u304B\u306A"},
    {0x89, L"\uFFE5"},
    {0x8A, L"\u5909\u63DB"},
    {0x8B, L"\u7121\u5909\u63DB"},
    {0x90, L"\uD55C\uC601"},
    {0x91, L"\u6F22\u5B57"},
    {0xE0, L"Ctrl"},
    {0xE4, L"Ctrl"},
    {0xE1, L"Shift"},
    {0xE5, L"Shift"},
    {0xE2, L"Alt"},
    {0xE6, L"Alt"},
    {0xE3, L"Win"},
    {0xF8, L"Reset"},
    {0xFF, L"FN1"},
};

}  // namespace

std::wstring KeyCapName(int usage)
{
    auto numbered = [](const wchar_t* prefix, int n) { return prefix + std::to_wstring(n); };
    if (usage >= 0x04 && usage <= 0x1D) {
        return std::wstring(1, static_cast<wchar_t>(L'A' + (usage - 0x04)));
    }
    if (usage >= 0x1E && usage <= 0x27) {
        return std::to_wstring((usage - 0x1E + 1) % 10);
    }
    if (usage >= 0x3A && usage <= 0x45) {
        return numbered(L"F", usage - 0x3A + 1);
    }
    if (usage >= 0x68 && usage <= 0x73) {
        return numbered(L"F", usage - 0x68 + 13);
    }
    if (usage >= 0x59 && usage <= 0x61) {
        return numbered(L"Num ", usage - 0x59 + 1);
    }
    for (const auto& [code, name] : kNameRows) {
        if (code == usage) {
            return name;
        }
    }
    return {};
}

}  // namespace text
