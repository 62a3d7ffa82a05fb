#include "device/MacroImage.h"

#include <algorithm>

#include "device/KeyNameTable.h"

namespace {

constexpr int kStepKeyDown = 2;
constexpr int kStepKeyUp = 3;
constexpr int kStepMouseDown = 4;
constexpr int kStepMouseUp = 5;
constexpr uint8_t kFlagModifier = 0x01;
constexpr uint8_t kFlagKey = 0x02;
constexpr uint8_t kFlagPress = 0x40;
constexpr uint8_t kFlagMouse = 0x80;
constexpr size_t kMinUsed = kMacroStepsStart + kMacroStepBytes;
constexpr int kLongestDelay = 0xFFFF;

void PutWord(uint8_t* at, size_t value)
{
    at[0] = static_cast<uint8_t>(value & 0xFF);
    at[1] = static_cast<uint8_t>((value >> 8) & 0xFF);
}

std::array<uint8_t, 2> KeyStep(int value, uint8_t press)
{
    const KeyNameTable& names = KeyNameTable::GetInstance();
    if ((value & kMacroPlainKeyFlag) != 0) {
        return {static_cast<uint8_t>(press | kFlagKey),
                static_cast<uint8_t>(names.VirtualKeyToUsage(value & 0xFF))};
    }
    if (value >= 0xE0 && value <= 0xE7) {
        return {static_cast<uint8_t>(press | kFlagModifier),
                static_cast<uint8_t>(names.ModifierUsageToBit(value))};
    }
    return {static_cast<uint8_t>(press | kFlagKey),
            static_cast<uint8_t>(names.VirtualKeyToUsage(value))};
}

}  // namespace

std::array<uint8_t, 2> EncodeMacroStep(const MacroStepRecord& step)
{
    const auto low = static_cast<uint8_t>(step.value & 0xFF);
    switch (step.type) {
        case kStepKeyDown:
            return KeyStep(step.value, kFlagPress);
        case kStepKeyUp:
            return KeyStep(step.value, 0);
        case kStepMouseDown:
            return {kFlagMouse | kFlagPress | kFlagKey, low};
        case kStepMouseUp:
            return {kFlagMouse | kFlagKey, low};
        default:
            return {0, 0};
    }
}

MacroImage BuildMacroImage(const std::vector<std::vector<MacroStepRecord>>& macros)
{
    MacroImage image;
    size_t total = 0;
    for (const auto& steps : macros) total += steps.size();
    image.fits = macros.size() <= kMacroImageMacros && total <= kMacroImageMaxSteps;
    for (int n = 0; n < kMacroImageMacros; ++n) PutWord(&image.bytes[n * 2], kMacroStepsStart);

    size_t position = kMacroStepsStart;
    for (size_t n = 0; n < macros.size() && n < kMacroImageMacros; ++n) {
        PutWord(&image.bytes[n * 2], position);
        const auto& steps = macros[n];
        for (size_t s = 0; s < steps.size(); ++s) {
            if (position + kMacroStepBytes > kMacroImageBytes) break;
            uint8_t* at = &image.bytes[position];
            PutWord(at, static_cast<size_t>(std::clamp(steps[s].delay_time, 1, kLongestDelay)));
            const auto [flag, key] = EncodeMacroStep(steps[s]);
            const bool lastKeyUp = s + 1 == steps.size() && steps[s].type == kStepKeyUp;
            at[2] = lastKeyUp ? static_cast<uint8_t>(flag | kMacroLastKeyUpMark) : flag;
            at[3] = key;
            position += kMacroStepBytes;
        }
    }
    image.used = position < kMinUsed ? kMinUsed : position;
    return image;
}
