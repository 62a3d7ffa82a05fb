#include "ProfileRowsSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "device/KeyMacroType.h"
#include "storage/DefaultConfig.h"
#include "storage/KBDataBase.h"
#include "storage/RecordList.h"

namespace profiletest {
namespace {

std::wstring Join(std::initializer_list<std::wstring> parts)
{
    std::wstring text;
    for (const std::wstring& part : parts) text += part + L"|";
    return text;
}

std::wstring N(int value) { return std::to_wstring(value); }

void SetKey(KBDataBase& db, int profile, int layer, int code, int type, int value, int value2,
            int value3, const std::wstring& desc)
{
    KeyMacroRecord row;
    ASSERT_TRUE(db.GetKeyMacro(profile, layer, code, row)) << layer << " " << code;
    row.macro_type = type;
    row.macro_value = value;
    row.macro_value2 = value2;
    row.macro_value3 = value3;
    row.macro_desc = desc;
    db.UpdateKeyMacro(row);
}

int AddAdvancedKey(KBDataBase& db, int profile, int type, int keyValue, int key1, int key2,
                   const std::wstring& name1, const std::wstring& name2, int reserved)
{
    MagneticKeyRecord key;
    key.profile = profile;
    key.macro_type = type;
    key.key_value = keyValue;
    key.key1_value = key1;
    key.key2_value = key2;
    key.key1_name = name1;
    key.key2_name = name2;
    key.reserved = reserved;
    const int id = db.InsertMagneticKey(key);
    EXPECT_GT(id, 0);
    return id;
}

void SetPerf(std::vector<KeyPerfRecord>& rows, int code, KeyPerfRecord values)
{
    for (KeyPerfRecord& row : rows) {
        if (row.key_code != code) continue;
        values.perf_id = row.perf_id;
        values.profile = row.profile;
        values.key_code = code;
        row = values;
    }
}

std::wstring AdvancedKeyText(KBDataBase& db, int id)
{
    MagneticKeyRecord k;
    if (!db.GetMagneticKey(id, k)) return L"missing advanced key " + N(id);
    std::wstring text = Join({N(k.fn_layer), N(k.macro_type), N(k.key_value), N(k.key1_value),
                              N(k.key2_value), k.key1_name, k.key2_name, N(k.reserved), k.name});
    std::vector<KeyItemRecord*> items;
    db.GetKeyItems(id, items);
    for (const KeyItemRecord& item : TakeRecords(items)) {
        text += L"[" +
                Join({N(item.trigger_state1), N(item.trigger_state2), N(item.key_value),
                      item.key_name}) +
                L"]";
    }
    return text;
}

}  // namespace

std::wstring MacroText(KBDataBase& db, int macroId)
{
    MacroRecord m;
    if (!db.GetMacro(macroId, m)) return L"missing macro " + N(macroId);
    std::wstring text =
        Join({m.name, N(m.play_times), N(m.delay_type), N(m.delay_time), N(m.link_count)});
    std::vector<MacroStepRecord*> steps;
    db.GetMacroSteps(macroId, steps);
    for (const MacroStepRecord& s : TakeRecords(steps)) {
        text +=
            L"[" + Join({N(s.record_index), N(s.type), N(s.value), N(s.delay_time), s.desc}) + L"]";
    }
    return text;
}

FilledProfile FillProfile(KBDataBase& db, int profile, const std::vector<int>& codes,
                          int activeLight)
{
    FilledProfile filled;
    filled.codes = codes;
    filled.activeLight = activeLight;
    EXPECT_GE(codes.size(), 16u);
    if (codes.size() < 16) return filled;
    const auto c = [&codes](size_t i) { return codes[i]; };

    MacroRecord macro;
    macro.name = L"Hello <&> \"world\"";
    macro.play_times = 3;
    macro.link_count = 3;
    macro.delay_type = 3;
    macro.delay_time = 25;
    filled.macro = db.InsertMacro(macro);
    const int types[] = {2, 3, 4, 5, 0};
    for (int i = 0; i < 5; ++i) {
        MacroStepRecord step;
        step.macro_id = filled.macro;
        step.type = types[i];
        step.record_index = i;
        step.value = i == 2 || i == 3 ? 1 : 0x41;
        step.delay_time = 10 * i;
        step.desc = i == 0 ? L"A 'down'" : L"step " + N(i);
        db.InsertMacroStep(step);
    }
    macro.name = L"Unused";
    filled.otherMacro = db.InsertMacro(macro);

    SetKey(db, profile, 0, c(0), KMT_KEY, 0x04, 0xE1, 0, L"A");
    SetKey(db, profile, 0, c(1), KMT_MOUSE, MOUSE_BUTTON4, 0, 0, L"Button 4");
    SetKey(db, profile, 3, c(2), KMT_CONSUMER, 0x183, 1, 0, L"Player");
    SetKey(db, profile, 8, c(3), KMT_FUNCTION, 0x3FF, 0, 0, L"FN3");
    SetKey(db, profile, 1, c(4), KMT_DISABLED, 1, 0, 0, L"");
    SetKey(db, profile, 0, c(5), KMT_MACRO, filled.macro, 3, 0, L"M\n(5)");
    SetKey(db, profile, 0, c(15), KMT_KEY, 0x05, 0, 0, L"<&>\"' 中文 \U0001F600");

    const int dks = AddAdvancedKey(db, profile, KMT_DKS, c(6), 0x1408, 0x2A1E, L"A+B+C", L"", c(6));
    for (int i = 0; i < 4; ++i) {
        KeyItemRecord item;
        item.macro_id = dks;
        item.trigger_state1 = 0x1111 * (i + 1);
        item.key_value = i == 1 ? 0 : 4 + i;
        item.key_name = i == 1 ? L"" : std::wstring(1, static_cast<wchar_t>(L'A' + i));
        db.InsertKeyItem(item);
    }
    SetKey(db, profile, 0, c(6), KMT_DKS, dks, 0, 0, L"DKS");
    const int mt = AddAdvancedKey(db, profile, KMT_MT, c(7), 0x04, 0xE0, L"A", L"LCtrl", 200);
    SetKey(db, profile, 2, c(7), KMT_MT, mt, 0, 0, L"MT");
    const int tgl = AddAdvancedKey(db, profile, KMT_TGL, c(8), 0x06, 0, L"C", L"", 0);
    SetKey(db, profile, 0, c(8), KMT_TGL, tgl, 0, 0, L"TGL");
    const struct {
        int type;
        int key1;
        int key2;
        size_t a;
        size_t b;
        const wchar_t* desc;
    } pairs[] = {{KMT_RS, 1, 30 * 0x10001, 9, 10, L"RS"},
                 {KMT_SOCD, 0x11, 40 << 16 | 30, 11, 12, L"SOCD"},
                 {KMT_OKS, 0x21, 25 * 0x10001, 13, 14, L"OKS"}};
    for (const auto& p : pairs) {
        const int pair = c(p.b) << 16 | c(p.a);
        const int id = AddAdvancedKey(db, profile, p.type, pair, p.key1, p.key2, L"", L"", 40);
        SetKey(db, profile, 0, c(p.a), p.type, id, pair, c(p.b), p.desc);
        if (p.type == KMT_OKS) {
            // Mode 32 binds key A only; key B keeps the keyboard's default.
            SetKey(db, profile, 0, c(p.b), KMT_NONE, c(p.a), 0, 0, L"B");
        } else {
            SetKey(db, profile, 0, c(p.b), p.type, id, pair, c(p.a), p.desc);
        }
    }

    std::vector<KeyPerfRecord*> stored;
    db.GetKeyPerfs(profile, stored);
    std::vector<KeyPerfRecord> perfs = TakeRecords(stored);
    SetPerf(perfs, c(9), {0, 0, 0, 5, 0x11, 120, 30, 40, 1, 3, 2});
    SetPerf(perfs, c(10), {0, 0, 0, 0, 0x21, 512, 512, 1, 0, 0, 0});
    SetPerf(perfs, c(0), {0, 0, 0, 23, 2, 1, 0, 0, 1, 127, 127});
    db.UpdateKeyPerfs(perfs);

    LightRecord light;
    EXPECT_TRUE(db.GetLight(profile, 5, light));
    light.brightness = 60;
    light.speed = 1;
    light.direction = 2;
    light.colorful = 0;
    light.colorindex = 7;
    light.color_value = 0xFF8040;
    db.UpdateLight(5, light);
    EXPECT_TRUE(db.SetActiveLightMode(profile, activeLight));

    db.DeleteUserLightRgbs(profile);
    db.InsertUserLightRgbs({{0, profile, profile, c(0), 0xFF8040},
                            {0, profile, profile, c(1), 0x000001},
                            {0, profile, profile, c(2), 0xFFFFFF}});

    MusicLayerRecord music;
    EXPECT_TRUE(db.GetMusicLayer(profile, music));
    music.foremode = 3;
    music.fore_amplitude = 2;
    music.backmode = 1;
    music.backb_right = 5;
    db.UpdateMusicLayer(profile, music);

    db.SetConfig(profile, L"enable_light", L"0");
    db.SetConfig(profile, L"perf_bottomrapidtrigger_mode", L"1");
    db.SetConfig(profile, L"global_key_actuation", L"120");
    db.SetConfig(profile, L"default_color3", L"16777215");
    return filled;
}

std::vector<std::wstring> ProfileRows(KBDataBase& db, int profile)
{
    std::vector<std::wstring> rows;
    const auto add = [&rows](std::vector<std::wstring> table) {
        std::sort(table.begin(), table.end());
        rows.insert(rows.end(), table.begin(), table.end());
    };

    std::wstring name;
    db.GetProfileName(profile, name);
    rows.push_back(L"profile|" + name);

    std::vector<std::wstring> keys;
    std::vector<KeyMacroRecord*> stored;
    db.GetProfileKeyMacros(profile, stored);
    for (const KeyMacroRecord& k : TakeRecords(stored)) {
        std::wstring bound = N(k.macro_value);
        if (k.macro_type == KMT_MACRO) bound = MacroText(db, k.macro_value);
        if (k.macro_type >= KMT_DKS && k.macro_type <= KMT_OKS) {
            bound = AdvancedKeyText(db, k.macro_value);
        }
        keys.push_back(Join({L"key", N(k.fn_layer), N(k.key_code), N(k.macro_type), bound,
                             N(k.macro_value2), N(k.macro_value3), k.macro_desc}));
    }
    add(keys);

    std::vector<std::wstring> advanced;
    std::vector<MagneticKeyRecord*> magnetic;
    db.GetMagneticKeys(profile, magnetic);
    for (const MagneticKeyRecord& k : TakeRecords(magnetic)) {
        advanced.push_back(L"advanced|" + AdvancedKeyText(db, k.macro_id));
    }
    add(advanced);

    std::vector<std::wstring> perfs;
    std::vector<KeyPerfRecord*> perfRows;
    db.GetKeyPerfs(profile, perfRows);
    for (const KeyPerfRecord& p : TakeRecords(perfRows)) {
        perfs.push_back(Join({L"perf", N(p.key_code), N(p.switch_type), N(p.key_mode),
                              N(p.key_actuation), N(p.rt_press), N(p.rt_release),
                              N(p.deadzone_state), N(p.press_deadzone), N(p.release_deadzone)}));
    }
    add(perfs);

    std::vector<std::wstring> lights;
    std::vector<LightRecord*> lightRows;
    db.GetLights(profile, lightRows);
    for (const LightRecord& l : TakeRecords(lightRows)) {
        lights.push_back(Join({L"light", N(l.mode), l.name, N(l.brightness), N(l.speed),
                               N(l.direction), N(l.colorful), N(l.colorindex), N(l.color_value),
                               N(l.config_func), N(l.reserved), N(l.status)}));
    }
    add(lights);

    std::vector<std::wstring> colors;
    std::vector<UserLightRgbRecord*> colorRows;
    db.GetUserLightRgbs(profile, colorRows);
    for (const UserLightRgbRecord& c : TakeRecords(colorRows)) {
        colors.push_back(Join({L"color", N(c.profile == profile), N(c.key_code), N(c.key_rgb)}));
    }
    add(colors);

    MusicLayerRecord music;
    if (db.GetMusicLayer(profile, music)) {
        rows.push_back(Join({L"music", music.name, N(music.deviceindex), N(music.foremode),
                             N(music.fore_amplitude), N(music.backmode), N(music.backb_right)}));
    }
    for (const storage::DefaultConfigEntry& entry : storage::DefaultConfigRows()) {
        const std::wstring key = KBDataBase::Utf8ToWide(entry.key);
        std::wstring value;
        db.GetConfig(profile, key, value);
        rows.push_back(L"config|" + key + L"|" + value);
    }
    return rows;
}

}  // namespace profiletest
