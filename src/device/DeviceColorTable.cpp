#include "device/DeviceColorTable.h"

namespace {

constexpr int kThirdScaleTop = 86;

int ScaleChannel(int value) { return value < kThirdScaleTop ? value * 3 : 255; }

}  // namespace

void ColorTable::Set(int keyIndex, int color)
{
    if (!ColorIndexValid(keyIndex)) return;
    uint8_t* at = bytes.data() + keyIndex * 3;
    at[0] = static_cast<uint8_t>(color & 0xFF);
    at[1] = static_cast<uint8_t>((color >> 8) & 0xFF);
    at[2] = static_cast<uint8_t>((color >> 16) & 0xFF);
}

int ColorTable::Get(int keyIndex) const
{
    if (!ColorIndexValid(keyIndex)) return 0;
    const uint8_t* at = bytes.data() + keyIndex * 3;
    return at[0] | at[1] << 8 | at[2] << 16;
}

int ScaleThirdScaleColor(int color)
{
    return ScaleChannel(color & 0xFF) | ScaleChannel((color >> 8) & 0xFF) << 8 |
           ScaleChannel((color >> 16) & 0xFF) << 16;
}
