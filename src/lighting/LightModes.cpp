#include "lighting/LightModes.h"

#include <cwchar>

int DirectionPairOf(unsigned mask)
{
    constexpr unsigned kPairBits[] = {LIGHT_FUNC_DIR_HORIZONTAL, LIGHT_FUNC_DIR_VERTICAL,
                                      LIGHT_FUNC_DIR_INOUT, LIGHT_FUNC_DIR_ROTATION};
    for (int pair = 0; pair < 4; ++pair) {
        if ((mask & kPairBits[pair]) != 0) return pair;
    }
    return -1;
}

int ModeCaptionText(const std::wstring& name)
{
    return static_cast<int>(std::wcstol(name.c_str(), nullptr, 10));
}
