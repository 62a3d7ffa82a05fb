// The music controls' levels (0..5) as the visualizer's parameters. Stored levels outside the
// range (the database's default row carries a background level of 20) are taken as the nearest
// level, so no gain is missing and no brightness passes 100 percent.
#pragma once

inline constexpr int kMusicLevelMax = 5;

int ClampMusicLevel(int level);
// 0 -> 100, 1 -> 200, 2 -> 300, 3 -> 500, 4 -> 800, 5 -> 1000.
int MusicAmplitudeGain(int level);
// level x 20 percent.
int MusicBackgroundPercent(int level);
