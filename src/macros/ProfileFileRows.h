// A profile's rows as a profile file carries them, and a read file stored as a new profile.
#pragma once

#include <functional>
#include <string>

#include "macros/ProfileFileContent.h"

class KBDataBase;

// The rows of the profile, `name` as its name: advanced keys with their bindings, the macros
// its keys play, key rows of every layer, key performance, lighting modes, user colours, the
// music row and the configuration rows.
ProfileFileContent CollectProfileRows(KBDataBase& db, int profile, const std::wstring& name);

// The rows a new profile starts with, made for the new profile's id.
struct ProfileDefaultRows {
    std::function<std::vector<KeyMacroRecord>(int)> keyRows;
    std::function<std::vector<KeyPerfRecord>(int)> perfRows;
    // Stores the lighting, music and configuration rows.
    std::function<void(int)> storeOtherRows;
};

// Stores the content as a new, active user profile in one transaction: the profile row, its
// default rows with the file's key and performance rows in place of those of the same layer
// and key (keys the defaults do not have are left out), the file's advanced keys and the
// macros its keys play under new ids with the key rows' bindings following them, lighting (the
// file's active mode made the only active one), user colours, music and configuration rows.
// Key rows bound to a macro or an advanced key the file does not hold keep their default. The
// new profile's id, or 0 when nothing was kept: a write failed, or the keyboard could not hold
// the database's macros with the new ones.
int StoreProfileFile(KBDataBase& db, const ProfileFileContent& content,
                     const ProfileDefaultRows& defaults);
