// Taking an advanced key out of a profile whole: every key bound to it (and the unbound half
// of a pair) gets its layer's default, and the record with its items is deleted.
#pragma once

#include <vector>

class KBDataBase;

// What a removal changed beyond the database rows, for the caller to send or reset.
struct AdvancedKeyRemoval {
    int tableBits = 0;          // the advanced tables (AdvTableBitOf) that lost a key
    unsigned layers = 0;        // bit L: a row of key layer L changed
    std::vector<int> pairKeys;  // the keys of a removed RS, SOCD or OKS pair
};

// Removes the advanced key `macroId` from the profile: every row of the profile bound to it,
// on any layer, and for a pair the other half of it on those layers when that half holds no
// action, get their layer's default; then the record and its items are deleted. False when a
// write fails (the caller's transaction is then undone).
bool RemoveAdvancedKey(KBDataBase& db, int profile, int macroId, AdvancedKeyRemoval& removal);

// When the key's row of the profile and layer is bound to an advanced key, removes that whole
// advanced key (RemoveAdvancedKey); otherwise changes nothing. False when a write fails.
bool ReleaseAdvancedKey(KBDataBase& db, int profile, int layer, int keyCode,
                        AdvancedKeyRemoval& removal);
