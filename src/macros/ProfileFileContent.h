// Everything a profile exchange file carries: the profile's name and rows, each advanced key
// with its bindings and each macro with its steps. Ids are those of the file's source database;
// an import gives every row new ones.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "storage/KeyItemRecord.h"
#include "storage/KeyMacroRecord.h"
#include "storage/KeyPerfRecord.h"
#include "storage/LightRecord.h"
#include "storage/MacroRecord.h"
#include "storage/MacroStepRecord.h"
#include "storage/MagneticKeyRecord.h"
#include "storage/MusicLayerRecord.h"
#include "storage/UserLightRgbRecord.h"

struct ProfileFileAdvancedKey {
    MagneticKeyRecord key;
    std::vector<KeyItemRecord> items;
};

struct ProfileFileMacro {
    MacroRecord macro;
    std::vector<MacroStepRecord> steps;
};

struct ProfileFileContent {
    std::wstring name;
    std::vector<ProfileFileAdvancedKey> advancedKeys;
    std::vector<ProfileFileMacro> macros;
    std::vector<KeyMacroRecord> keys;  // every layer
    std::vector<KeyPerfRecord> perfs;
    std::vector<LightRecord> lights;
    std::vector<UserLightRgbRecord> colors;
    std::optional<MusicLayerRecord> music;
    // The profile's configuration rows (key, value).
    std::vector<std::pair<std::wstring, std::wstring>> config;
};
