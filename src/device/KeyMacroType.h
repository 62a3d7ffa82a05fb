// What a key does: the macro_type of a key row (and of an advanced key), and the value sets
// its macro_value takes for mouse actions and keyboard functions.
#pragma once

enum KeyMacroType {
    KMT_NONE = 0,  // a decoded code that must leave the stored row as it is
    KMT_DISABLED = 1,
    KMT_KEY = 2,        // macro_value: HID usage; macro_value2: added modifier (usage or raw bits)
    KMT_MACRO = 3,      // macro_value: macro id
    KMT_MOUSE = 5,      // macro_value: MouseAction
    KMT_CONSUMER = 6,   // macro_value: 16-bit consumer usage
    KMT_FUNCTION = 12,  // macro_value: DeviceFunctionCode
    KMT_DKS = 14,       // advanced keys: macro_value is the advanced key's macro_id
    KMT_MT = 15,
    KMT_TGL = 16,
    KMT_RS = 17,  // macro_value2 of RS, SOCD, OKS: key2 * 65536 + key1
    KMT_SOCD = 18,
    KMT_OKS = 19,
};

// DKS, MT, TGL, RS, SOCD and OKS: a key row bound to an advanced-key record.
constexpr bool IsAdvancedType(int macroType)
{
    return macroType >= KMT_DKS && macroType <= KMT_OKS;
}
// RS, SOCD and OKS: advanced keys made of two keys.
constexpr bool IsPairType(int macroType) { return macroType >= KMT_RS && macroType <= KMT_OKS; }

// The advanced-key editor numbers its types DKS 1 ... OKS 6.
constexpr int AdvancedEditorType(int macroType) { return macroType - 13; }

enum MouseAction {
    MOUSE_LEFT = 1,
    MOUSE_MIDDLE = 2,
    MOUSE_RIGHT = 3,
    MOUSE_DOUBLE_CLICK = 4,
    MOUSE_WHEEL_UP = 5,
    MOUSE_WHEEL_DOWN = 6,
    MOUSE_BUTTON5 = 7,
    MOUSE_BUTTON4 = 8,
};

// Keyboard functions (low byte: device value low, high byte: device value high).
enum DeviceFunctionCode {
    FUNC_PLAYER = 0x01,
    FUNC_WIN_LOCK = 0x02,
    FUNC_RECALIBRATION = 0xFE,
    FUNC_USB = 0x0040,
    FUNC_BASE_LAYER = 0x00FF,
    FUNC_FN1 = 0x01FF,  // FN1..FN7: 0x01FF..0x07FF; the default action of the FN key
};

// The key code the layout gives the FN key.
inline constexpr int kFnKeyCode = 255;
