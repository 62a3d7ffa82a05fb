#include "lighting/HsvToRgb.h"

#include "lighting/SpectrumImage.h"

uint32_t HsvToRgb(int hue, int saturation, int value)
{
    const int s = saturation;
    const int v = value;
    if (s == 0) {
        return MakeColor(v, v, v);
    }
    // 15360 = 60 x 256: one sector of hue times the saturation's scale.
    constexpr int kScale = 15360;
    const int h = hue % 360;
    const int sector = h / 60;
    const int f = h - 60 * sector;
    const int p = v * (256 - s) >> 8;
    const int q = v * (kScale - s * f) / kScale;
    const int t = v * (kScale - s * (60 - f)) / kScale;
    switch (sector) {
        case 0:
            return MakeColor(v, t, p);
        case 1:
            return MakeColor(q, v, p);
        case 2:
            return MakeColor(p, v, t);
        case 3:
            return MakeColor(p, q, v);
        case 4:
            return MakeColor(t, p, v);
        default:
            return MakeColor(v, p, q);
    }
}
