// The lighting modes a profile's rows describe, and the bits of a mode's function mask that
// decide which controls of the lighting page the mode uses.
#pragma once

#include <string>

enum LightMode : int {
    LIGHT_MODE_USER = 0,  // per-key user colours
    LIGHT_MODE_EFFECT_1 = 1,
    LIGHT_MODE_EFFECT_22 = 22,
    LIGHT_MODE_MUSIC = 128,
    LIGHT_MODE_OFF = 255,  // the lighting switched off; never listed
};

inline constexpr unsigned LIGHT_FUNC_BRIGHTNESS = 0x001;
inline constexpr unsigned LIGHT_FUNC_SPEED = 0x002;
inline constexpr unsigned LIGHT_FUNC_DIR_HORIZONTAL = 0x004;
inline constexpr unsigned LIGHT_FUNC_DIR_VERTICAL = 0x008;
inline constexpr unsigned LIGHT_FUNC_COLOR = 0x010;
inline constexpr unsigned LIGHT_FUNC_COLORFUL = 0x020;
inline constexpr unsigned LIGHT_FUNC_DIR_INOUT = 0x040;
inline constexpr unsigned LIGHT_FUNC_DIR_ROTATION = 0x080;
inline constexpr unsigned LIGHT_FUNC_USER_COLORS = 0x100;
inline constexpr unsigned LIGHT_FUNC_MUSIC = 0x200;

// The direction pair a mask shows: 0 right/left, 1 top/bottom, 2 inward/outward,
// 3 clockwise/anticlockwise (the first of their bits set, in that order); -1 for none.
int DirectionPairOf(unsigned mask);

// The text number that captions a mode: its row's name read as a decimal number (0 when the
// name does not start with digits).
int ModeCaptionText(const std::wstring& name);
