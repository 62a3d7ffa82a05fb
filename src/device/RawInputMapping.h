// Raw keyboard and mouse input to the codes the key pages use: a generic modifier key (Shift,
// Ctrl, Alt) becomes its left or right key by the key's scan code and extended flag, and every
// mouse button event its own code, buttons 4 and 5 apart.
#pragma once

#include <optional>

// Left Shift is scan code 0x2A and right Shift 0x36; right Ctrl and right Alt carry the
// extended flag. The sided keys (160 to 165) and every other key come back unchanged.
int SidedVirtualKey(int virtualKey, unsigned scanCode, bool extended);

// True for the keys whose codes are consumer usages (browser, volume, media and launch keys):
// their numbers overlap keyboard usages (Vol Mute and Left Alt are both 0xE2).
bool IsConsumerVirtualKey(int virtualKey);

// A mouse button event: the mouse action's code (1 left, 2 middle, 3 right, 7 button 5,
// 8 button 4), released 0 (down) or 1 (up), and the name the key pages show.
struct RawMouseButton {
    int code = 0;
    int released = 0;
    const wchar_t* name = L"";
};

// The first button flag set of a raw mouse event (RI_MOUSE_* bits), in the order left down,
// middle down, right down, left up, middle up, right up, button 4 down and up, button 5 down
// and up; nothing when none is set.
std::optional<RawMouseButton> MouseButtonFromFlags(unsigned buttonFlags);
