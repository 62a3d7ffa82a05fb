#include "macros/ProfileFileRows.h"

#include <algorithm>
#include <map>
#include <set>

#include "device/KeyMacroType.h"
#include "device/MacroImage.h"
#include "macros/ProfileFileLimits.h"
#include "storage/DefaultConfig.h"
#include "storage/KBDataBase.h"
#include "storage/RecordList.h"

namespace {

constexpr int kUserProfileType = 1;

// The macros the profile's keys play, in the database's order.
std::vector<ProfileFileMacro> UsedMacros(KBDataBase& db, const std::vector<KeyMacroRecord>& keys)
{
    std::set<int> used;
    for (const KeyMacroRecord& k : keys) {
        if (k.macro_type == KMT_MACRO) used.insert(k.macro_value);
    }
    std::vector<ProfileFileMacro> macros;
    if (used.empty()) return macros;
    std::vector<MacroRecord*> stored;
    db.GetMacros(stored);
    for (MacroRecord& m : TakeRecords(stored)) {
        if (used.count(m.macro_id) == 0) continue;
        std::vector<MacroStepRecord*> steps;
        db.GetMacroSteps(m.macro_id, steps);
        macros.push_back({std::move(m), TakeRecords(steps)});
    }
    return macros;
}

// New ids for the macros the file's keys play; false when one could not be stored or the
// keyboard's macro memory could not hold them beside the database's own.
bool StoreMacros(KBDataBase& db, const ProfileFileContent& content, std::map<int, int>& ids)
{
    std::set<int> used;
    for (const KeyMacroRecord& k : content.keys) {
        if (k.macro_type == KMT_MACRO && k.fn_layer < ProfileFileLimit::kLayers) {
            used.insert(k.macro_value);
        }
    }
    std::vector<const ProfileFileMacro*> wanted;
    size_t steps = 0;
    for (const ProfileFileMacro& m : content.macros) {
        if (used.count(m.macro.macro_id) == 0) continue;
        wanted.push_back(&m);
        steps += m.steps.size();
    }
    if (wanted.empty()) return true;
    std::vector<MacroRecord*> stored;
    const size_t macros = static_cast<size_t>(db.GetMacros(stored));
    TakeRecords(stored);
    if (macros + wanted.size() > static_cast<size_t>(kMacroImageMacros) ||
        static_cast<size_t>(db.GetMacroStepTotal()) + steps > kMacroImageMaxSteps) {
        return false;
    }
    for (const ProfileFileMacro* m : wanted) {
        MacroRecord header = m->macro;
        // The keyboard takes the play count from link_count, as the macro page stores it.
        header.link_count = header.play_times;
        const int id = db.InsertMacro(header);
        if (id <= 0) return false;
        ids[m->macro.macro_id] = id;
        std::vector<MacroStepRecord> rows = m->steps;
        for (size_t i = 0; i < rows.size(); ++i) {
            rows[i].macro_id = id;
            rows[i].record_index = static_cast<int32_t>(i);
        }
        db.InsertMacroSteps(std::move(rows));
    }
    return true;
}

bool StoreAdvancedKeys(KBDataBase& db, const ProfileFileContent& content, int profile,
                       std::map<int, int>& ids)
{
    for (const ProfileFileAdvancedKey& entry : content.advancedKeys) {
        MagneticKeyRecord key = entry.key;
        key.profile = profile;
        key.name.clear();
        const int id = db.InsertMagneticKey(key);
        if (id <= 0) return false;
        ids[entry.key.macro_id] = id;
        for (const KeyItemRecord& binding : entry.items) {
            KeyItemRecord item;
            item.macro_id = id;
            item.trigger_state1 = binding.trigger_state1;
            item.key_value = binding.key_value;
            item.key_name = binding.key_name;
            if (db.InsertKeyItem(item) <= 0) return false;
        }
    }
    return true;
}

// The profile's default key rows with the file's rows of its own layers in place of those of
// the same layer and key, their bindings following the new ids.
std::vector<KeyMacroRecord> KeyRows(const ProfileFileContent& content,
                                    std::vector<KeyMacroRecord> rows,
                                    const std::map<int, int>& macroIds,
                                    const std::map<int, int>& advancedIds)
{
    std::map<std::pair<int, int>, KeyMacroRecord*> byKey;
    for (KeyMacroRecord& row : rows) byKey[{row.fn_layer, row.key_code}] = &row;
    for (const KeyMacroRecord& file : content.keys) {
        const auto target = byKey.find({file.fn_layer, file.key_code});
        if (target == byKey.end()) continue;
        int value = file.macro_value;
        if (file.macro_type == KMT_MACRO || IsAdvancedType(file.macro_type)) {
            const std::map<int, int>& ids = file.macro_type == KMT_MACRO ? macroIds : advancedIds;
            const auto found = ids.find(file.macro_value);
            if (found == ids.end()) continue;
            value = found->second;
        }
        KeyMacroRecord& row = *target->second;
        row.macro_type = file.macro_type;
        row.macro_value = value;
        row.macro_value2 = file.macro_value2;
        row.macro_value3 = file.macro_value3;
        row.macro_desc = file.macro_desc;
    }
    return rows;
}

std::vector<KeyPerfRecord> PerfRows(const ProfileFileContent& content,
                                    std::vector<KeyPerfRecord> rows)
{
    std::map<int, KeyPerfRecord*> byKey;
    for (KeyPerfRecord& row : rows) byKey[row.key_code] = &row;
    for (KeyPerfRecord file : content.perfs) {
        const auto target = byKey.find(file.key_code);
        if (target == byKey.end()) continue;
        file.perf_id = target->second->perf_id;
        file.profile = target->second->profile;
        *target->second = file;
    }
    return rows;
}

bool StoreLights(KBDataBase& db, const ProfileFileContent& content, int profile)
{
    int active = -1;
    for (const LightRecord& l : content.lights) {
        LightRecord stored;
        if (!db.GetLight(profile, l.mode, stored)) continue;
        stored.brightness = l.brightness;
        stored.speed = l.speed;
        stored.direction = l.direction;
        stored.colorful = l.colorful;
        stored.colorindex = l.colorindex;
        stored.color_value = l.color_value;
        stored.status = l.status;
        if (!db.UpdateLight(l.mode, stored)) return false;
        if (l.status == 1) active = l.mode;
    }
    if (active >= 0) return db.SetActiveLightMode(profile, active);
    // The lighting needs exactly one active row. A file that names no active mode comes from a
    // profile whose lighting was off (the off row is not written): when the file's rows leave
    // no single active row, the off mode becomes it.
    std::vector<LightRecord*> stored;
    db.GetLights(profile, stored);
    const std::vector<LightRecord> lights = TakeRecords(stored);
    const auto activeRows = std::count_if(lights.begin(), lights.end(),
                                          [](const LightRecord& l) { return l.status == 1; });
    return activeRows == 1 || db.SetActiveLightMode(profile, ProfileFileLimit::kLightModeOff);
}

bool StoreRows(KBDataBase& db, const ProfileFileContent& content, int profile,
               const ProfileDefaultRows& defaults)
{
    std::map<int, int> advancedIds;
    std::map<int, int> macroIds;
    if (!StoreAdvancedKeys(db, content, profile, advancedIds) ||
        !StoreMacros(db, content, macroIds)) {
        return false;
    }
    // Written once, as a new profile's rows are, with the file's rows already in place.
    db.InsertKeyMacros(KeyRows(content, defaults.keyRows(profile), macroIds, advancedIds));
    db.InsertKeyPerfs(PerfRows(content, defaults.perfRows(profile)));
    defaults.storeOtherRows(profile);
    if (!StoreLights(db, content, profile)) return false;
    std::vector<UserLightRgbRecord> colors = content.colors;
    for (UserLightRgbRecord& c : colors) {
        c.profile = profile;
        c.userlight_id = profile;
    }
    db.InsertUserLightRgbs(std::move(colors));
    if (content.music) {
        MusicLayerRecord music = *content.music;
        if (!db.UpdateMusicLayer(profile, music)) return false;
    }
    for (const auto& [key, value] : content.config) {
        if (!db.SetConfig(profile, key, value)) return false;
    }
    return db.SetActiveProfile(profile);
}

}  // namespace

ProfileFileContent CollectProfileRows(KBDataBase& db, int profile, const std::wstring& name)
{
    ProfileFileContent content;
    content.name = name;
    std::vector<MagneticKeyRecord*> advanced;
    db.GetMagneticKeys(profile, advanced);
    for (MagneticKeyRecord& key : TakeRecords(advanced)) {
        std::vector<KeyItemRecord*> items;
        db.GetKeyItems(key.macro_id, items);
        content.advancedKeys.push_back({std::move(key), TakeRecords(items)});
    }
    std::vector<KeyMacroRecord*> keys;
    db.GetProfileKeyMacros(profile, keys);
    content.keys = TakeRecords(keys);
    content.macros = UsedMacros(db, content.keys);
    std::vector<KeyPerfRecord*> perfs;
    db.GetKeyPerfs(profile, perfs);
    content.perfs = TakeRecords(perfs);
    std::vector<LightRecord*> lights;
    db.GetLights(profile, lights);
    content.lights = TakeRecords(lights);
    std::vector<UserLightRgbRecord*> colors;
    db.GetUserLightRgbs(profile, colors);
    content.colors = TakeRecords(colors);
    MusicLayerRecord music;
    if (db.GetMusicLayer(profile, music)) content.music = music;
    for (const storage::DefaultConfigEntry& entry : storage::DefaultConfigRows()) {
        const std::wstring key = KBDataBase::Utf8ToWide(entry.key);
        std::wstring value;
        if (IsProfileConfigKey(key) && db.GetConfig(profile, key, value)) {
            content.config.emplace_back(key, value);
        }
    }
    return content;
}

int StoreProfileFile(KBDataBase& db, const ProfileFileContent& content,
                     const ProfileDefaultRows& defaults)
{
    int id = 0;
    const bool kept = db.WriteTogether([&] {
        ProfileRecord record;
        record.type = kUserProfileType;
        record.name = content.name;
        id = db.InsertProfile(record);
        if (id <= 0) return false;
        return StoreRows(db, content, id, defaults);
    });
    return kept ? id : 0;
}
