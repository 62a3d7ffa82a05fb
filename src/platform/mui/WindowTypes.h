// The Windows value types the program's window code is written in: window handles, message
// parameters, rectangles, points and ARGB colours. Handles are opaque: a handle names a live
// window of this process or nothing, and is never dereferenced.
#pragma once

#include <cstdint>

struct HWND__;
using HWND = HWND__*;
using UINT = unsigned int;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

struct RECT {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    friend bool operator==(const RECT&, const RECT&) = default;
};

struct POINT {
    int x = 0;
    int y = 0;
    friend bool operator==(const POINT&, const POINT&) = default;
};

struct SIZE {
    int cx = 0;
    int cy = 0;
};

inline int RectWidth(const RECT& r) { return r.right - r.left; }
inline int RectHeight(const RECT& r) { return r.bottom - r.top; }

// Packs two 16-bit values the way Windows packs mouse positions into an LPARAM.
inline LPARAM MakeLParam(int low, int high)
{
    return static_cast<LPARAM>(
        static_cast<std::uint32_t>((low & 0xFFFF) | ((high & 0xFFFF) << 16)));
}
inline int LowWordSigned(LPARAM v) { return static_cast<std::int16_t>(v & 0xFFFF); }
inline int HighWordSigned(LPARAM v) { return static_cast<std::int16_t>((v >> 16) & 0xFFFF); }

namespace MUI {

// 0xAARRGGBB.
using ARGB = std::uint32_t;

}  // namespace MUI
