// The keyboard's macro memory, written whole with CMD_WRITE_MACROS:
//   bytes 0-63   32 macro offsets, 16-bit little-endian, each preset to 64
//   from 64      the steps of every macro, 4 bytes each: delay (16-bit little-endian, at
//                1 to 65535), flag, key
// Flags: bit 6 press, bit 7 mouse button, bit 0 modifier key, bit 1 other key or button.
// A key release that is its macro's last step carries bit 7 as well (the firmware's end
// mark); a mouse-button release always carries it, and no other step is marked.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "device/DeviceReport.h"
#include "storage/MacroStepRecord.h"

inline constexpr size_t kMacroImageBytes = 3584;
inline constexpr int kMacroImageMacros = 32;
inline constexpr size_t kMacroStepsStart = kMacroImageMacros * 2;
inline constexpr size_t kMacroStepBytes = 4;
inline constexpr size_t kMacroImageMaxSteps =
    (kMacroImageBytes - kMacroStepsStart) / kMacroStepBytes;
inline constexpr uint8_t kMacroLastKeyUpMark = 0x80;
// A key step's value with this bit holds a plain virtual key in its low byte: the keys whose
// virtual-key codes are 0xE0..0xE7 (the 102nd key, for one) are stored so, since the bare
// values 0xE0..0xE7 name the modifiers by their usages.
inline constexpr int kMacroPlainKeyFlag = 0x100;
static_assert(kMacroStepsStart == 64);
static_assert(kMacroImageMaxSteps == 880);

struct MacroImage {
    std::array<uint8_t, kMacroImageBytes> bytes{};
    // Bytes worth sending: 64 + 4 x steps, at least 68.
    size_t used = 0;
    // False when the macros hold more than the image can: more than 32 macros or 880 steps.
    // Nothing is then written past the image, and the image must not be sent.
    bool fits = true;
};

// The image of the macros (in the database's order), each given by its steps in order.
MacroImage BuildMacroImage(const std::vector<std::vector<MacroStepRecord>>& macros);

// The flag and key byte of one step; the end mark of a key release is added by the builder.
std::array<uint8_t, 2> EncodeMacroStep(const MacroStepRecord& step);
