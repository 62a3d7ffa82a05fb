// Windows virtual-key codes, from their documented values. Key codes recorded by the
// keyboard hook and stored in macros are these numbers on every platform.
#pragma once

namespace vk {

inline constexpr int kBack = 0x08;
inline constexpr int kTab = 0x09;
inline constexpr int kClear = 0x0C;
inline constexpr int kReturn = 0x0D;
inline constexpr int kShift = 0x10;
inline constexpr int kControl = 0x11;
inline constexpr int kMenu = 0x12;
inline constexpr int kPause = 0x13;
inline constexpr int kCapital = 0x14;
inline constexpr int kEscape = 0x1B;
inline constexpr int kSpace = 0x20;
inline constexpr int kPrior = 0x21;
inline constexpr int kNext = 0x22;
inline constexpr int kEnd = 0x23;
inline constexpr int kHome = 0x24;
inline constexpr int kLeft = 0x25;
inline constexpr int kUp = 0x26;
inline constexpr int kRight = 0x27;
inline constexpr int kDown = 0x28;
inline constexpr int kSnapshot = 0x2C;
inline constexpr int kInsert = 0x2D;
inline constexpr int kDelete = 0x2E;
inline constexpr int k0 = 0x30;
inline constexpr int k9 = 0x39;
inline constexpr int kA = 0x41;
inline constexpr int kZ = 0x5A;
inline constexpr int kLWin = 0x5B;
inline constexpr int kRWin = 0x5C;
inline constexpr int kApps = 0x5D;
inline constexpr int kNumpad0 = 0x60;
inline constexpr int kNumpad9 = 0x69;
inline constexpr int kMultiply = 0x6A;
inline constexpr int kAdd = 0x6B;
inline constexpr int kSeparator = 0x6C;
inline constexpr int kSubtract = 0x6D;
inline constexpr int kDecimal = 0x6E;
inline constexpr int kDivide = 0x6F;
inline constexpr int kF1 = 0x70;
inline constexpr int kF12 = 0x7B;
inline constexpr int kF13 = 0x7C;
inline constexpr int kF24 = 0x87;
inline constexpr int kNumLock = 0x90;
inline constexpr int kScroll = 0x91;
inline constexpr int kLShift = 0xA0;
inline constexpr int kRShift = 0xA1;
inline constexpr int kLControl = 0xA2;
inline constexpr int kRControl = 0xA3;
inline constexpr int kLMenu = 0xA4;
inline constexpr int kRMenu = 0xA5;
inline constexpr int kBrowserBack = 0xA6;
inline constexpr int kBrowserForward = 0xA7;
inline constexpr int kBrowserRefresh = 0xA8;
inline constexpr int kBrowserStop = 0xA9;
inline constexpr int kBrowserSearch = 0xAA;
inline constexpr int kBrowserFavorites = 0xAB;
inline constexpr int kBrowserHome = 0xAC;
inline constexpr int kVolumeMute = 0xAD;
inline constexpr int kVolumeDown = 0xAE;
inline constexpr int kVolumeUp = 0xAF;
inline constexpr int kMediaNextTrack = 0xB0;
inline constexpr int kMediaPrevTrack = 0xB1;
inline constexpr int kMediaStop = 0xB2;
inline constexpr int kMediaPlayPause = 0xB3;
inline constexpr int kLaunchMail = 0xB4;
inline constexpr int kLaunchMediaSelect = 0xB5;
inline constexpr int kLaunchApp1 = 0xB6;
inline constexpr int kLaunchApp2 = 0xB7;
inline constexpr int kOem1 = 0xBA;       // ;:
inline constexpr int kOemPlus = 0xBB;    // =+
inline constexpr int kOemComma = 0xBC;   // ,<
inline constexpr int kOemMinus = 0xBD;   // -_
inline constexpr int kOemPeriod = 0xBE;  // .>
inline constexpr int kOem2 = 0xBF;       // /?
inline constexpr int kOem3 = 0xC0;       // `~
inline constexpr int kOem4 = 0xDB;       // [{
inline constexpr int kOem5 = 0xDC;       // \|
inline constexpr int kOem6 = 0xDD;       // ]}
inline constexpr int kOem7 = 0xDE;       // '"
inline constexpr int kOem102 = 0xE2;     // <> or \| on 102-key boards
inline constexpr int kOemClear = 0xFE;

// Codes of the program's own, outside the Windows set, used where no virtual key exists.
inline constexpr int kOwnNonUsHash = 666;
inline constexpr int kOwn301 = 301;
inline constexpr int kOwn302 = 302;

}  // namespace vk
