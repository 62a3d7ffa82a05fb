// The one table from the desktop's key codes (evdev numbers; X11 and Wayland key codes are these
// plus 8) to Windows virtual-key codes and set-1 scan codes, with the key's name as the system
// names it. Keys are mapped by position: the numeric pad by its own codes whatever the Num Lock
// state, left and right modifiers apart.
#pragma once

#include <string>

namespace MUI {

struct NativeKey {
    int evdev;
    int vk;
    int scan;
    bool extended;
    const wchar_t* name;
};

// The row of an evdev key code; null for a key the table does not know.
const NativeKey* FindNativeKey(int evdevCode);
// The row of a desktop key code as Qt reports it (nativeScanCode); null for none.
const NativeKey* FindNativeKeyOfScanCode(unsigned nativeScanCode);

// The scan code of a virtual key (the generic Shift, Ctrl and Alt give their left keys); 0 for
// none.
int ScanCodeOfVirtualKey(int vk);
// The key's name by scan code and extended bit ("Num 7", "Home", "Right Shift"); empty for none.
std::wstring KeyNameOfScanCode(int scan, bool extended);

}  // namespace MUI
