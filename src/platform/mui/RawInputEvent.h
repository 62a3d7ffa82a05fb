// One key or button event as the program's pages take it, from the keyboard hook or from raw
// input.
#pragma once

#include <cstdint>
#include <string>

enum RawInputKind : int32_t {
    RAW_INPUT_REPEAT = 0,  // a key-down of a key already held (the hook path only)
    RAW_INPUT_MOUSE = 1,
    RAW_INPUT_KEYBOARD = 2,
    RAW_INPUT_OTHER_HID = 3,
};

struct RawInputEvent {
    int32_t kind = RAW_INPUT_KEYBOARD;
    int32_t released = 0;  // 0 down, 1 up
    int32_t code = 0;
    std::wstring name;
};
