// The key tester's keyboard: 143 keys of a full-size keyboard, a media row and the keys of
// other layouts, each with its caption (two-line caps as "upper\nlower"), its code and its
// rectangle in the picture's own 1186 x 420 coordinates; and the code a key event marks.
#pragma once

#include <span>

#include "platform/mui/WindowTypes.h"

// The codes are HID keyboard usages; the media row's are consumer usages with this bit added,
// so that Vol Mute (0xE2) and Left Alt (0xE2) stay two keys.
inline constexpr int kConsumerTestKey = 0x10000;
inline constexpr int kTestPictureWidth = 1186;
inline constexpr int kTestPictureHeight = 420;

struct TestKeyRow {
    const wchar_t* label;  // empty for the media row, which draws its icon
    int code;
    RECT rect;
    const wchar_t* icon;  // a picture "icon\<icon>.png", or empty
};

std::span<const TestKeyRow> TestKeyRows();

// The test key a virtual key marks (its usage, a consumer usage tagged); 0 for none. A
// generic modifier is taken as its left or right key by the scan code and extended flag.
int TestKeyCode(int virtualKey, unsigned scanCode, bool extended);
