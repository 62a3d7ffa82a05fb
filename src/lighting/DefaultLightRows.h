// The lighting rows a new profile starts with: its music-mode settings and one row per
// lighting mode the lighting page lists, plus the switched-off mode.
#pragma once

#include <vector>

#include "storage/LightRecord.h"

class KBDataBase;

// The modes' rows in the order they are stored: music, user colours, the built-in effects
// 1..19 and 22, and off. Each names its caption's text number; none is active yet.
std::vector<LightRecord> DefaultLightRows(int profile);

// Gives the profile its music-mode row when it has none, and its lighting rows when it has
// none, with the first built-in effect made active.
void CreateDefaultLightRows(KBDataBase& db, int profile);
