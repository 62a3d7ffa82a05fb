// The kind byte of a key's 3-byte action in the keyboard's key tables
// (kind, value low, value high).
#pragma once

#include <cstdint>

enum DeviceKeyKind : uint8_t {
    KIND_KEY = 0x10,
    KIND_MOUSE = 0x20,
    KIND_WHEEL = 0x21,
    KIND_CONSUMER = 0x30,
    KIND_MACRO = 0x70,
    KIND_DKS = 0x90,
    KIND_TGL = 0x91,
    KIND_MT = 0x92,
    KIND_RS = 0x93,
    KIND_SOCD = 0x94,
    KIND_OKS = 0x95,
    KIND_FUNCTION = 0xF0,
};
