// The switch performance a new profile's keys start with.
#pragma once

#include <vector>

#include "storage/KeyPerfRecord.h"

// One row per key code, in the order given: switch type 3, rapid trigger on, actuation 75,
// press and release distances 5, no dead zones.
std::vector<KeyPerfRecord> DefaultKeyPerfRows(int profile, const std::vector<int>& keyCodes);
