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

// Stores the content as a new, active user profile in one transaction: the profile row, its
// default rows (made by `createDefaultRows` with the new id), the file's advanced keys and the
// macros its keys play under new ids, its key rows with their bindings following those ids,
// performance, lighting (the file's active mode made the only active one), user colours, music
// and configuration rows. Key rows bound to a macro or an advanced key the file does not hold
// keep their default. The new profile's id, or 0 when nothing was kept: a write failed, or the
// keyboard could not hold the database's macros with the new ones.
int StoreProfileFile(KBDataBase& db, const ProfileFileContent& content,
                     const std::function<void(int)>& createDefaultRows);
