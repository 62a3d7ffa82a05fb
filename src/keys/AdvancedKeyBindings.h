// What saving an advanced key does to the key rows of its profile and layer: the binding rows of
// the key (or of both keys of a pair), the advanced table it lives in, and for the two-key
// types the switch performance both keys get.
#pragma once

#include <functional>
#include <vector>

#include "storage/KeyMacroRecord.h"
#include "storage/MagneticKeyRecord.h"

// One key's performance as an RS, SOCD or OKS key sets it (slider positions).
struct PairKeyPerf {
    int code = 0;
    int mode = 0;
    int actuation = 0;
    int press = 0;
    int release = 0;
    friend bool operator==(const PairKeyPerf&, const PairKeyPerf&) = default;
};

struct AdvancedKeyBinding {
    std::vector<KeyMacroRecord> rows;
    int tableBit = 0;  // ADV_TABLE_DKS, _PAIR or _TOGGLE
    std::vector<PairKeyPerf> perf;
};

// SOCD key B sees the priority from the other side: mode 16 and 32 swap, 0 and 48 stay, the
// low nibble is kept.
int MirroredSocdMode(int mode);

// The rows that bind `key` (macro_id set): a one-key type on `currentKey`, a pair on both of
// its keys (A in the low, B in the high half of key_value). load(code) gives the key's stored
// row of the profile and layer, addressed to it. An OKS key of mode 32 binds key A only and
// mode 48 key B only; the other key gets the keyboard's default (macro_type 0 with its own
// code); mode 0 binds neither.
AdvancedKeyBinding BindAdvancedKey(const MagneticKeyRecord& key, int currentKey,
                                   const std::function<KeyMacroRecord(int code)>& load);
