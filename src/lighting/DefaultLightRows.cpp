#include "lighting/DefaultLightRows.h"

#include <string>

#include "storage/KBDataBase.h"

namespace {

constexpr int kMusicMode = 128;
constexpr int kUserColorMode = 0;
constexpr int kOffMode = 255;
constexpr int kLastListedEffect = 19;
constexpr int kExtraEffect = 22;
// Each mode's caption is the text number 662 + its code (music 661, off none).
constexpr int kCaptionBase = 662;
constexpr int kMusicCaption = 661;

// The controls each mode uses.
unsigned ModeFunctions(int mode)
{
    switch (mode) {
        case kMusicMode:
            return 0x200;
        case kUserColorMode:
            return 0x111;
        case 1:
        case 5:
            return 0x003;
        case 2:
        case 3:
            return 0x031;
        case 6:
            return 0x037;
        case 7:
            return 0x03B;
        case 8:
            return 0x073;
        case 10:
            return 0x0B3;
        case kOffMode:
            return 0;
        default:
            return 0x033;
    }
}

LightRecord ModeRow(int profile, int mode, int caption)
{
    LightRecord row;
    row.profile = profile;
    row.name = std::to_wstring(caption);
    row.mode = mode;
    row.brightness = 100;
    row.speed = 4;
    row.direction = 0;
    row.colorful = 1;
    row.colorindex = 0;
    row.color_value = 255;  // red
    row.config_func = static_cast<int>(ModeFunctions(mode));
    row.reserved = 0;
    row.status = 0;
    return row;
}

constexpr const wchar_t* kMusicLayerName = L"Music";
constexpr int kMusicForegroundMode = 2;
constexpr int kFirstActiveMode = 1;

}  // namespace

std::vector<LightRecord> DefaultLightRows(int profile)
{
    std::vector<LightRecord> rows;
    rows.push_back(ModeRow(profile, kMusicMode, kMusicCaption));
    for (int mode = kUserColorMode; mode <= kLastListedEffect; ++mode) {
        rows.push_back(ModeRow(profile, mode, kCaptionBase + mode));
    }
    rows.push_back(ModeRow(profile, kExtraEffect, kCaptionBase + kExtraEffect));
    rows.push_back(ModeRow(profile, kOffMode, 0));
    return rows;
}

void CreateDefaultLightRows(KBDataBase& db, int profile)
{
    if (db.GetMusicLayerCount(profile) < 1) {
        db.InsertMusicLayer(profile, kMusicLayerName, kMusicForegroundMode);
    }
    if (db.GetLightCount(profile) >= 1) return;
    db.InsertLights(DefaultLightRows(profile));
    db.SetActiveLightMode(profile, kFirstActiveMode);
}
