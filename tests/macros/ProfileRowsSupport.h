// A profile with a row of every kind the database keeps for it, and the profile's rows as
// texts in which the ids of its macros and advanced keys are replaced by what those hold, so
// that two profiles compare equal when one came back whole from the other.
#pragma once

#include <string>
#include <vector>

class KBDataBase;

namespace profiletest {

// Key codes of the keyboard layout, at least 16 of them, as the profile's rows use them.
struct FilledProfile {
    std::vector<int> codes;
    int macro = 0;        // the macro the profile's keys play
    int otherMacro = 0;   // a macro no key of the profile plays
    int activeLight = 0;  // the active lighting mode
};

// Changes the profile's default rows: keys of every action type on layers 0, 1, 2, 3 and 8,
// one advanced key of each type (DKS with four bindings, the pairs on two keys each), key
// performance, lighting values with `activeLight` active, three user colours, the music row,
// configuration values and two new macros.
FilledProfile FillProfile(KBDataBase& db, int profile, const std::vector<int>& codes,
                          int activeLight);

// Every row of the profile, one text per row, sorted within each table.
std::vector<std::wstring> ProfileRows(KBDataBase& db, int profile);

// A macro's header and steps as one text.
std::wstring MacroText(KBDataBase& db, int macroId);

}  // namespace profiletest
