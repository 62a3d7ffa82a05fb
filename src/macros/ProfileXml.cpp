#include "macros/ProfileXml.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <set>
#include <string_view>

#include "device/AdvancedKeyTables.h"
#include "device/KeyIndexMaps.h"
#include "device/KeyMacroType.h"
#include "device/KeyNameTable.h"
#include "device/MacroImage.h"
#include "macros/ProfileFileLimits.h"
#include "platform/text/ColorText.h"
#include "platform/text/DecimalText.h"
#include "xml/XmlDocument.h"

namespace {

constexpr wchar_t kDeclaration[] = L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";

// --- writing -------------------------------------------------------------------------------

struct IntAttribute {
    const wchar_t* name;
    int32_t value;
};

void SetInts(XmlDocument& doc, std::initializer_list<IntAttribute> attributes)
{
    for (const IntAttribute& a : attributes) doc.SetAttribute(a.name, a.value);
}

// A text attribute, cut to what a file holds.
void SetText(XmlDocument& doc, const wchar_t* name, std::wstring_view value)
{
    doc.SetAttribute(name, FileText(value));
}

// A section element, entered: its items are added inside it.
void OpenSection(XmlDocument& doc, const wchar_t* name)
{
    doc.AddElement(name);
    doc.EnterElement();
}

// A section holding one item element per row, each given its attributes by `write`; rows
// `keep` refuses are left out.
template <class Row, class Write, class Keep>
void WriteItems(XmlDocument& doc, const wchar_t* section, const std::vector<Row>& rows, Write write,
                Keep keep)
{
    OpenSection(doc, section);
    for (const Row& row : rows) {
        if (!keep(row)) continue;
        doc.AddElement(L"item");
        write(row);
    }
    doc.LeaveElement();
}

template <class Row, class Write>
void WriteItems(XmlDocument& doc, const wchar_t* section, const std::vector<Row>& rows, Write write)
{
    WriteItems(doc, section, rows, write, [](const Row&) { return true; });
}

void WriteAdvancedKeys(XmlDocument& doc, const std::vector<ProfileFileAdvancedKey>& keys)
{
    if (keys.empty()) return;
    OpenSection(doc, L"adv_keys");
    for (const ProfileFileAdvancedKey& entry : keys) {
        const MagneticKeyRecord& k = entry.key;
        doc.AddElement(L"adv_item");
        SetInts(doc, {{L"macro_id", k.macro_id},
                      {L"profile", k.profile},
                      {L"fn_layer", k.fn_layer},
                      {L"macro_type", k.macro_type},
                      {L"key1_value", k.key1_value},
                      {L"key2_value", k.key2_value}});
        SetText(doc, L"key1_name", k.key1_name);
        SetText(doc, L"key2_name", k.key2_name);
        // key_value names the key (or the pair of keys) the advanced key was made on.
        SetInts(doc, {{L"reserved", k.reserved}, {L"key_value", k.key_value}});
        if (entry.items.empty()) continue;
        doc.EnterElement();
        OpenSection(doc, L"dks_keys");
        for (const KeyItemRecord& item : entry.items) {
            doc.AddElement(L"dks_item");
            SetInts(doc, {{L"keyitem_id", item.keyitem_id},
                          {L"macro_id", item.macro_id},
                          {L"state", item.trigger_state1},
                          {L"key_value", item.key_value}});
            SetText(doc, L"key_name", item.key_name);
        }
        doc.LeaveElement();
        doc.LeaveElement();
    }
    doc.LeaveElement();
}

void WriteMacros(XmlDocument& doc, const std::vector<ProfileFileMacro>& macros)
{
    OpenSection(doc, L"macro_info");
    for (const ProfileFileMacro& entry : macros) {
        const MacroRecord& m = entry.macro;
        doc.AddElement(L"macro_item");
        doc.SetAttribute(L"macro_id", m.macro_id);
        SetText(doc, L"name", m.name);
        SetInts(doc,
                {{L"times", m.play_times}, {L"type", m.delay_type}, {L"delaytime", m.delay_time}});
        if (entry.steps.empty()) continue;
        doc.EnterElement();
        OpenSection(doc, L"record_item");
        for (const MacroStepRecord& step : entry.steps) {
            doc.AddElement(L"item");
            SetText(doc, L"desc", step.desc);
            SetInts(
                doc,
                {{L"type", step.type}, {L"value", step.value}, {L"delay_time", step.delay_time}});
        }
        doc.LeaveElement();
        doc.LeaveElement();
    }
    doc.LeaveElement();
}

void WriteKeys(XmlDocument& doc, const std::vector<KeyMacroRecord>& keys)
{
    WriteItems(doc, L"key_info", keys, [&doc](const KeyMacroRecord& k) {
        SetInts(doc, {{L"fn_layer", k.fn_layer}, {L"key_code", k.key_code}});
        doc.SetAttribute(L"layout_desc", std::to_wstring(k.key_code));
        SetInts(doc, {{L"macro_type", k.macro_type},
                      {L"macro_value", k.macro_value},
                      {L"macro_value2", k.macro_value2},
                      {L"macro_value3", k.macro_value3}});
        SetText(doc, L"macro_desc", k.macro_desc);
    });
}

void WritePerfs(XmlDocument& doc, const std::vector<KeyPerfRecord>& perfs)
{
    WriteItems(doc, L"perf_info", perfs, [&doc](const KeyPerfRecord& p) {
        SetInts(doc, {{L"key_code", p.key_code},
                      {L"switch_type", p.switch_type},
                      {L"key_mode", p.key_mode},
                      {L"key_actuation", p.key_actuation},
                      {L"rt_press", p.rt_press},
                      {L"rt_release", p.rt_release},
                      {L"deadzone_state", p.deadzone_state},
                      {L"press_deadzone", p.press_deadzone},
                      {L"release_deadzone", p.release_deadzone}});
    });
}

void WriteLights(XmlDocument& doc, const std::vector<LightRecord>& lights)
{
    WriteItems(
        doc, L"light_mode", lights,
        [&doc](const LightRecord& l) {
            SetInts(doc, {{L"mode", l.mode},
                          {L"brightness", l.brightness},
                          {L"speed", l.speed},
                          {L"direction", l.direction},
                          {L"colorful", l.colorful},
                          {L"colorindex", l.colorindex},
                          {L"color_value", l.color_value},
                          {L"status", l.status}});
        },
        // The switched-off mode is written only when it is the active one, so that the file
        // keeps which mode is active.
        [](const LightRecord& l) {
            return l.mode != ProfileFileLimit::kLightModeOff || l.status == 1;
        });
}

void WriteColors(XmlDocument& doc, const std::vector<UserLightRgbRecord>& colors)
{
    const KeyNameTable& names = KeyNameTable::GetInstance();
    WriteItems(doc, L"key_light", colors, [&doc, &names](const UserLightRgbRecord& c) {
        doc.SetAttribute(L"key_name", names.KeyUsageToName(c.key_code));
        doc.SetAttribute(L"key_code", c.key_code);
        doc.SetAttribute(L"key_rgb", text::FormatColorText(static_cast<uint32_t>(c.key_rgb)));
    });
}

void WriteMusic(XmlDocument& doc, const std::optional<MusicLayerRecord>& music)
{
    std::vector<MusicLayerRecord> rows;
    if (music) rows.push_back(*music);
    WriteItems(doc, L"music_layer", rows, [&doc](const MusicLayerRecord& m) {
        SetInts(doc, {{L"deviceindex", m.deviceindex},
                      {L"foremode", m.foremode},
                      {L"fore_amplitude", m.fore_amplitude},
                      {L"backmode", m.backmode},
                      {L"backb_right", m.backb_right}});
    });
}

void WriteConfig(XmlDocument& doc, const std::vector<std::pair<std::wstring, std::wstring>>& rows)
{
    WriteItems(doc, L"config_info", rows, [&doc](const std::pair<std::wstring, std::wstring>& row) {
        SetText(doc, L"key", row.first);
        SetText(doc, L"value", row.second);
    });
}

// --- reading -------------------------------------------------------------------------------

// Reads the attributes of the document's elements, noting the first value that is out of its
// range; the whole file is refused then.
class Reader {
public:
    explicit Reader(const XmlDocument& doc) : doc_(doc) {}

    bool Ok() const { return ok_; }
    void Refuse() { ok_ = false; }

    // The decimal value of the attribute: an optional minus sign and digits, nothing else;
    // missing or empty reads as 0. Values outside [min, max] refuse the file.
    int32_t Int(int element, const wchar_t* name, int64_t min, int64_t max)
    {
        const std::optional<int32_t> value = StrictDecimalToInt(doc_.GetAttributeAt(element, name));
        if (!value || *value < min || *value > max) return Fail();
        return *value;
    }

    std::wstring Text(int element, const wchar_t* name)
    {
        return FileText(doc_.GetAttributeAt(element, name));
    }

    // The children of `parent` with that tag name, in file order; more than `limit` refuse
    // the file. Other children are passed over.
    std::vector<int> Children(int parent, std::wstring_view name, size_t limit)
    {
        std::vector<int> found;
        if (parent <= 0) return found;
        const XmlElementIndex& index = doc_.GetIndex();
        for (int e = index[parent].firstChild; e != 0; e = index[e].next) {
            if (doc_.GetTagName(e) != name) continue;
            if (found.size() == limit) {
                ok_ = false;
                return {};
            }
            found.push_back(e);
        }
        return found;
    }

    // The first child of that name, 0 when there is none.
    int Child(int parent, std::wstring_view name)
    {
        if (parent <= 0) return 0;
        const XmlElementIndex& index = doc_.GetIndex();
        for (int e = index[parent].firstChild; e != 0; e = index[e].next) {
            if (doc_.GetTagName(e) == name) return e;
        }
        return 0;
    }

private:
    int32_t Fail()
    {
        ok_ = false;
        return 0;
    }

    const XmlDocument& doc_;
    bool ok_ = true;
};

constexpr int64_t kInt32Max = std::numeric_limits<int32_t>::max();
constexpr int64_t kWord = 0xFFFF;
constexpr int64_t kByte = 0xFF;
constexpr int64_t kKeyCodeMax = ProfileFileLimit::kKeyCodeMax;
// Two key codes in one value: the second in the high 16 bits.
constexpr int64_t kKeyPairMax = kKeyCodeMax << 16 | kKeyCodeMax;

bool IsKeyType(int type)
{
    switch (type) {
        case KMT_NONE:
        case KMT_DISABLED:
        case KMT_KEY:
        case KMT_MACRO:
        case KMT_MOUSE:
        case KMT_CONSUMER:
        case KMT_FUNCTION:
            return true;
        default:
            return IsAdvancedType(type);
    }
}

bool HalvesAreKeyCodes(int64_t value)
{
    return (value & 0xFFFF) <= kKeyCodeMax && (value >> 16) <= kKeyCodeMax;
}

void ReadAdvancedKeys(Reader& r, int section, ProfileFileContent& content)
{
    int dks = 0, toggle = 0, pair = 0;
    std::set<int> ids;
    for (const int e : r.Children(section, L"adv_item", ProfileFileLimit::kAdvancedKeys)) {
        ProfileFileAdvancedKey entry;
        MagneticKeyRecord& k = entry.key;
        k.macro_id = r.Int(e, L"macro_id", 1, kInt32Max);
        k.fn_layer = r.Int(e, L"fn_layer", 0, ProfileFileLimit::kLayers - 1);
        k.macro_type = r.Int(e, L"macro_type", KMT_DKS, KMT_OKS);
        k.key1_value = r.Int(e, L"key1_value", 0, kWord);
        k.key2_value = r.Int(e, L"key2_value", 0, kInt32Max);
        k.key1_name = r.Text(e, L"key1_name");
        k.key2_name = r.Text(e, L"key2_name");
        k.reserved = r.Int(e, L"reserved", 0, kWord);
        k.key_value = r.Int(e, L"key_value", 0, kKeyPairMax);
        if (!HalvesAreKeyCodes(k.key_value) || !ids.insert(k.macro_id).second) r.Refuse();
        int& count = k.macro_type == KMT_DKS ? dks : k.macro_type == KMT_TGL ? toggle : pair;
        const int limit = k.macro_type == KMT_DKS   ? kDksSlots
                          : k.macro_type == KMT_TGL ? kToggleSlots
                                                    : kPairSlots;
        if (++count > limit) r.Refuse();
        const int bindings = r.Child(e, L"dks_keys");
        for (const int b : r.Children(bindings, L"dks_item", kDksSlotItems)) {
            KeyItemRecord item;
            item.macro_id = k.macro_id;
            item.trigger_state1 = r.Int(b, L"state", 0, kWord);
            item.key_value = r.Int(b, L"key_value", 0, kWord);
            item.key_name = r.Text(b, L"key_name");
            entry.items.push_back(std::move(item));
        }
        if (!r.Ok()) return;
        content.advancedKeys.push_back(std::move(entry));
    }
}

void ReadMacros(Reader& r, int section, ProfileFileContent& content)
{
    std::set<int> ids;
    size_t steps = 0;
    for (const int e : r.Children(section, L"macro_item", kMacroImageMacros)) {
        ProfileFileMacro entry;
        MacroRecord& m = entry.macro;
        m.macro_id = r.Int(e, L"macro_id", 1, kInt32Max);
        m.name = r.Text(e, L"name");
        m.play_times =
            r.Int(e, L"times", ProfileFileLimit::kPlayTimesMin, ProfileFileLimit::kPlayTimesMax);
        m.delay_type =
            r.Int(e, L"type", ProfileFileLimit::kDelayTypeMin, ProfileFileLimit::kDelayTypeMax);
        m.delay_time = r.Int(e, L"delaytime", 0, kWord);
        if (!ids.insert(m.macro_id).second) r.Refuse();
        const int list = r.Child(e, L"record_item");
        for (const int s : r.Children(list, L"item", kMacroImageMaxSteps)) {
            if (++steps > kMacroImageMaxSteps) {
                r.Refuse();
                return;
            }
            MacroStepRecord step;
            step.macro_id = m.macro_id;
            step.record_index = static_cast<int32_t>(entry.steps.size());
            step.desc = r.Text(s, L"desc");
            step.type = r.Int(s, L"type", 0, ProfileFileLimit::kStepTypeMax);
            step.value = r.Int(s, L"value", 0, kByte);
            step.delay_time = r.Int(s, L"delay_time", 0, kWord);
            if (step.type == 1) r.Refuse();  // no step type 1
            entry.steps.push_back(std::move(step));
        }
        if (!r.Ok()) return;
        content.macros.push_back(std::move(entry));
    }
}

void ReadKeys(Reader& r, int section, ProfileFileContent& content)
{
    for (const int e : r.Children(section, L"item", ProfileFileLimit::kKeyRows)) {
        KeyMacroRecord k;
        k.fn_layer = r.Int(e, L"fn_layer", 0, ProfileFileLimit::kDeviceDefaultLayerMax);
        k.key_code = r.Int(e, L"key_code", 1, kKeyCodeMax);
        k.macro_type = r.Int(e, L"macro_type", KMT_NONE, KMT_OKS);
        const bool bound = k.macro_type == KMT_MACRO || IsAdvancedType(k.macro_type);
        // A bound key names its macro or advanced key; the others carry a code of at most 16
        // bits (-1: a key whose pair partner was taken away).
        k.macro_value =
            bound ? r.Int(e, L"macro_value", 1, kInt32Max) : r.Int(e, L"macro_value", -1, kWord);
        const bool pair = IsPairType(k.macro_type);
        k.macro_value2 = r.Int(e, L"macro_value2", 0, pair ? kKeyPairMax : kWord);
        k.macro_value3 = r.Int(e, L"macro_value3", 0, kWord);
        k.macro_desc = r.Text(e, L"macro_desc");
        if (!IsKeyType(k.macro_type) || (pair && !HalvesAreKeyCodes(k.macro_value2))) r.Refuse();
        if (!r.Ok()) return;
        content.keys.push_back(std::move(k));
    }
}

void ReadPerfs(Reader& r, int section, ProfileFileContent& content)
{
    for (const int e : r.Children(section, L"item", kMappedKeyIndexes)) {
        KeyPerfRecord p;
        p.key_code = r.Int(e, L"key_code", 1, kKeyCodeMax);
        p.switch_type = r.Int(e, L"switch_type", 0, kByte);
        p.key_mode = r.Int(e, L"key_mode", 0, kByte);
        p.key_actuation = r.Int(e, L"key_actuation", 0, ProfileFileLimit::kTravelMax);
        p.rt_press = r.Int(e, L"rt_press", 0, ProfileFileLimit::kTravelMax);
        p.rt_release = r.Int(e, L"rt_release", 0, ProfileFileLimit::kTravelMax);
        p.deadzone_state = r.Int(e, L"deadzone_state", 0, 1);
        p.press_deadzone = r.Int(e, L"press_deadzone", 0, ProfileFileLimit::kDeadZoneMax);
        p.release_deadzone = r.Int(e, L"release_deadzone", 0, ProfileFileLimit::kDeadZoneMax);
        if (!r.Ok()) return;
        content.perfs.push_back(p);
    }
}

void ReadLights(Reader& r, int section, ProfileFileContent& content)
{
    for (const int e : r.Children(section, L"item", ProfileFileLimit::kLightModes)) {
        LightRecord l;
        l.mode = r.Int(e, L"mode", 0, kByte);
        l.brightness = r.Int(e, L"brightness", 0, kByte);
        l.speed = r.Int(e, L"speed", 0, ProfileFileLimit::kSpeedMax);
        l.direction = r.Int(e, L"direction", 0, kByte);
        l.colorful = r.Int(e, L"colorful", 0, 1);
        l.colorindex = r.Int(e, L"colorindex", 0, kByte);
        l.color_value = r.Int(e, L"color_value", 0, 0xFFFFFF);
        l.status = r.Int(e, L"status", 0, 1);
        if (!r.Ok()) return;
        content.lights.push_back(l);
    }
}

void ReadColors(Reader& r, int section, ProfileFileContent& content)
{
    for (const int e : r.Children(section, L"item", kMappedKeyIndexes)) {
        UserLightRgbRecord c;
        c.key_code = r.Int(e, L"key_code", 1, kKeyCodeMax);
        const std::wstring rgb = r.Text(e, L"key_rgb");
        c.key_rgb = static_cast<int32_t>(text::ParseColorText(rgb));
        if (!r.Ok()) return;
        content.colors.push_back(c);
    }
}

void ReadMusic(Reader& r, int section, ProfileFileContent& content)
{
    for (const int e : r.Children(section, L"item", 1)) {
        MusicLayerRecord m;
        m.deviceindex = r.Int(e, L"deviceindex", 0, kByte);
        m.foremode = r.Int(e, L"foremode", 0, kByte);
        m.fore_amplitude = r.Int(e, L"fore_amplitude", 0, ProfileFileLimit::kAmplitudeMax);
        m.backmode = r.Int(e, L"backmode", 0, kByte);
        m.backb_right = r.Int(e, L"backb_right", 0, ProfileFileLimit::kBackBrightnessMax);
        if (r.Ok()) content.music = m;
    }
}

void ReadConfig(Reader& r, int section, ProfileFileContent& content)
{
    std::set<std::wstring> seen;
    for (const int e : r.Children(section, L"item", ProfileFileLimit::kConfigRows)) {
        std::wstring key = r.Text(e, L"key");
        // Only the keys every profile has, each once, with a decimal value; the version row
        // belongs to the program that writes the database.
        if (!IsProfileConfigKey(key) || !seen.insert(key).second) continue;
        const int32_t value = r.Int(e, L"value", 0, ProfileFileLimit::kConfigValueMax);
        if (!r.Ok()) return;
        content.config.emplace_back(std::move(key), std::to_wstring(value));
    }
}

}  // namespace

std::wstring BuildProfileXml(const ProfileFileContent& content)
{
    XmlDocument doc;
    doc.SetText(kDeclaration);
    doc.AddElement(L"profile");
    doc.EnterElement();
    doc.AddElement(L"info");
    SetText(doc, L"name", content.name);
    doc.EnterElement();
    WriteAdvancedKeys(doc, content.advancedKeys);
    WriteMacros(doc, content.macros);
    WriteKeys(doc, content.keys);
    WritePerfs(doc, content.perfs);
    WriteLights(doc, content.lights);
    WriteColors(doc, content.colors);
    WriteMusic(doc, content.music);
    WriteConfig(doc, content.config);
    return doc.GetText();
}

std::optional<ProfileFileContent> ReadProfileXml(const std::wstring& text)
{
    XmlDocument doc;
    if (!doc.SetText(text) || !doc.FindElement(L"profile")) return std::nullopt;
    Reader r(doc);
    const int info = r.Child(doc.GetCurrent(), L"info");
    if (info == 0) return std::nullopt;
    ProfileFileContent content;
    content.name = r.Text(info, L"name");
    ReadAdvancedKeys(r, r.Child(info, L"adv_keys"), content);
    ReadMacros(r, r.Child(info, L"macro_info"), content);
    ReadKeys(r, r.Child(info, L"key_info"), content);
    ReadPerfs(r, r.Child(info, L"perf_info"), content);
    ReadLights(r, r.Child(info, L"light_mode"), content);
    ReadColors(r, r.Child(info, L"key_light"), content);
    ReadMusic(r, r.Child(info, L"music_layer"), content);
    ReadConfig(r, r.Child(info, L"config_info"), content);
    if (!r.Ok()) return std::nullopt;
    return content;
}
