#include "device/KeyActionDecoder.h"

#include <utility>

#include "device/DeviceKeyKind.h"
#include "device/KeyMacroType.h"
#include "device/KeyNameTable.h"

namespace {

constexpr std::pair<int, const wchar_t*> kFunctionCaptions[] = {
    {0x01, L"Player"},
    {0x02, L"WinLock"},
    {0x03, L"WASD Change"},
    {0x04, L"WinOS"},
    {0x05, L"MacOS"},
    {0x06, L"Win/Mac"},
    {0x07, L"Boot"},
    {0x08, L"Reset"},
    {0x09, L"Wheel"},
    {0x2B, L"Led_CUSTOM"},
    {0x2E, L"RGB Mode+"},
    {0x2F, L"RGB Mode-"},
    {0x30, L"RGB Mode"},
    {0x31, L"RGB Test"},
    {0x32, L"Bright+"},
    {0x33, L"Bright-"},
    {0x34, L"Bright"},
    {0x35, L"Bright Off"},
    {0x36, L"Speed+"},
    {0x37, L"Speed-"},
    {0x38, L"Speed"},
    {0x39, L"Light Left"},
    {0x3A, L"Light Right"},
    {0x3B, L"Light Trend"},
    {0x3C, L"Color -"},
    {0x3D, L"Color +"},
    {0x3E, L"Color"},
    {0x42, L"RF ADV"},
    {0x57, L"|"},
    {0x58, L"B"},
    {0x59, L"V"},
    {0x5A, L"N"},
    {0xFE, L"Recalibration"},
    // Connection selectors.
    {0x0040, L"USB"},
    {0x0140, L"BT1"},
    {0x0240, L"BT2"},
    {0x0340, L"BT3"},
    {0x0440, L"RF 2.4G"},
    // Layer selectors.
    {0x00FF, L"\u6807\u51C6\u5C42"},
    {0x01FF, L"FN1"},
    {0x02FF, L"FN2"},
    {0x03FF, L"FN3"},
    {0x04FF, L"FN4"},
    {0x05FF, L"FN5"},
    {0x06FF, L"FN6"},
    {0x07FF, L"FN7"},
};

constexpr std::pair<int, const wchar_t*> kConsumerCaptions[] = {
    {0x0183, L"Player"},         {0x00E9, L"Vol+"},         {0x00EA, L"Vol-"},
    {0x00E2, L"Mute"},           {0x00CD, L"Play"},         {0x00B7, L"Stop"},
    {0x00B6, L"Previous"},       {0x00B5, L"Next"},         {0x006F, L"Screen Bright+"},
    {0x0070, L"Screen Bright-"}, {0x0223, L"Web Home"},     {0x0227, L"Web Refresh"},
    {0x0226, L"Web Stop"},       {0x0224, L"Web Backward"}, {0x0225, L"Web Forward"},
    {0x022A, L"Web Favorites"},  {0x0221, L"Web Search"},   {0x0194, L"PC"},
    {0x0192, L"Calculator"},     {0x018A, L"Email"},
};

template <size_t N>
std::wstring Lookup(const std::pair<int, const wchar_t*> (&rows)[N], int code)
{
    for (const auto& [c, caption] : rows) {
        if (c == code) {
            return caption;
        }
    }
    return {};
}

// Sets the caption when the table has one; an unlisted code keeps the stored caption.
void SetCaptionIfKnown(KeyMacroRecord& rec, const std::wstring& caption)
{
    if (!caption.empty()) {
        rec.macro_desc = caption;
    }
}

void SetMouseAction(KeyMacroRecord& rec, int action, const KeyActionTexts& texts)
{
    rec.macro_value = action;
    rec.macro_desc = texts.mouseCaption ? texts.mouseCaption(action) : std::wstring();
}

void DecodeKey(uint8_t modifiers, uint8_t usage, KeyMacroRecord& rec)
{
    rec.macro_type = KMT_KEY;
    if (modifiers == 0) {
        rec.macro_value = usage;
    } else if (usage != 0) {
        rec.macro_value = usage;
        rec.macro_value2 = modifiers;
    } else {
        // A lone modifier key: its usage, or 0 when more than one bit is set.
        rec.macro_value = ModifierBitToUsage(KIND_KEY, modifiers, 0);
    }
    rec.macro_desc = KeyNameTable::GetInstance().KeyUsageToName(rec.macro_value);
}

void DecodeMouse(uint8_t low, uint8_t high, KeyMacroRecord& rec, const KeyActionTexts& texts)
{
    rec.macro_type = KMT_MOUSE;
    switch (low) {
        case 0x01:
            SetMouseAction(rec, high == 0x01 ? MOUSE_DOUBLE_CLICK : MOUSE_LEFT, texts);
            break;
        case 0x02:
            SetMouseAction(rec, MOUSE_RIGHT, texts);
            break;
        case 0x04:
            SetMouseAction(rec, MOUSE_MIDDLE, texts);
            break;
        case 0x10:
            SetMouseAction(rec, MOUSE_BUTTON5, texts);
            break;
        case 0x08:
            SetMouseAction(rec, MOUSE_BUTTON4, texts);
            break;
        default:
            break;
    }
}

void DecodeWheel(uint8_t high, KeyMacroRecord& rec, const KeyActionTexts& texts)
{
    rec.macro_type = KMT_MOUSE;
    if (high == 0x01) {
        SetMouseAction(rec, MOUSE_WHEEL_UP, texts);
    } else if (high == 0xFF) {
        SetMouseAction(rec, MOUSE_WHEEL_DOWN, texts);
    }
}

}  // namespace

std::wstring DeviceFunctionCaption(int code) { return Lookup(kFunctionCaptions, code); }

std::wstring ConsumerUsageCaption(int usage) { return Lookup(kConsumerCaptions, usage); }

int ModifierBitToUsage(int kind, unsigned value, int fallback)
{
    if (kind == KIND_KEY) {
        for (int bit = 0; bit < 8; ++bit) {
            if (value == (1u << bit)) {
                return 0xE0 + bit;
            }
        }
        return fallback;
    }
    if (kind == KIND_FUNCTION && value == 0xFF) {
        return 0xFF;
    }
    return 0;
}

void DecodeDeviceKeyCode(const uint8_t code[3], KeyMacroRecord& rec, const KeyActionTexts& texts,
                         std::span<const int> macroIds)
{
    const int storedType = rec.macro_type;
    rec.macro_type = KMT_NONE;
    const uint8_t kind = code[0];
    const uint8_t low = code[1];
    const uint8_t high = code[2];
    switch (kind) {
        case KIND_KEY:
            DecodeKey(low, high, rec);
            break;
        case KIND_MOUSE:
            DecodeMouse(low, high, rec, texts);
            break;
        case KIND_WHEEL:
            DecodeWheel(high, rec, texts);
            break;
        case KIND_CONSUMER:
            rec.macro_type = KMT_CONSUMER;
            rec.macro_value = high * 256 + low;
            rec.macro_value2 = high;
            SetCaptionIfKnown(rec, ConsumerUsageCaption(rec.macro_value));
            break;
        case KIND_MACRO: {
            if (low >= macroIds.size()) break;
            const int macroId = macroIds[low];
            // The caption the macro page gave the key (with its step count) stays.
            if (storedType != KMT_MACRO || rec.macro_value != macroId) {
                rec.macro_desc = L"M" + std::to_wstring(macroId);
            }
            rec.macro_type = KMT_MACRO;
            rec.macro_value = macroId;
            rec.macro_value2 = high;
            break;
        }
        case KIND_FUNCTION:
            rec.macro_type = KMT_FUNCTION;
            rec.macro_value = high * 256 + low;
            SetCaptionIfKnown(rec, DeviceFunctionCaption(rec.macro_value));
            break;
        default:
            // Advanced keys live in the database and are never taken from the keyboard.
            break;
    }
}
