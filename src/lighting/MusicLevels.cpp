#include "lighting/MusicLevels.h"

#include <algorithm>
#include <array>

int ClampMusicLevel(int level) { return std::clamp(level, 0, kMusicLevelMax); }

int MusicAmplitudeGain(int level)
{
    constexpr std::array<int, kMusicLevelMax + 1> kGains{100, 200, 300, 500, 800, 1000};
    return kGains[ClampMusicLevel(level)];
}

int MusicBackgroundPercent(int level) { return ClampMusicLevel(level) * 20; }
