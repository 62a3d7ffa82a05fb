#include "storage/DatabaseSchema.h"

#include <initializer_list>
#include <string_view>
#include <utility>

namespace storage {
namespace {

struct Column {
    const char* name;
    const char* type;
};

// "CREATE TABLE IF NOT EXISTS <table>(<key> INTEGER PRIMARY KEY AUTOINCREMENT, <columns>)"
std::string CreateTable(const char* table, const char* key, std::initializer_list<Column> columns)
{
    std::string sql = std::string("CREATE TABLE IF NOT EXISTS ") + table + "(" + key +
                      " INTEGER PRIMARY KEY AUTOINCREMENT";
    for (const Column& column : columns) {
        sql += std::string(", ") + column.name + " " + column.type;
    }
    return sql + ")";
}

constexpr const char* I = "INTEGER";
constexpr const char* T = "TEXT";

std::vector<std::string> BuildStatements()
{
    return {
        CreateTable("t_config_data", "config_id", {{"profile", I}, {"key", T}, {"value", T}}),
        CreateTable("t_profile_data", "profile", {{"type", I}, {"name", T}, {"status", I}}),
        "CREATE INDEX IF NOT EXISTS profileindex ON t_profile_data(profile)",
        CreateTable("t_key_macro_data", "key_id",
                    {{"profile", I},
                     {"fn_layer", I},
                     {"key_code", I},
                     {"macro_type", I},
                     {"macro_value", I},
                     {"macro_value2", I},
                     {"macro_value3", I},
                     {"macro_desc", T}}),
        "CREATE INDEX IF NOT EXISTS keyindex ON t_key_macro_data(key_id)",
        CreateTable("t_key_perf_data", "perf_id",
                    {{"profile", I},
                     {"key_code", I},
                     {"switch_type", I},
                     {"key_mode", I},
                     {"key_actuation", I},
                     {"rt_press", I},
                     {"rt_release", I},
                     {"deadzone_state", I},
                     {"press_deadzone", I},
                     {"release_deadzone", I}}),
        "CREATE INDEX IF NOT EXISTS keyperfindex ON t_key_perf_data(perf_id)",
        CreateTable("t_key_otherdata", "macro_value",
                    {{"macro_desc", T}, {"param", T}, {"type", I}}),
        "CREATE INDEX IF NOT EXISTS otheridindex ON t_key_otherdata(macro_value)",
        CreateTable("t_magnetic_key_data", "macro_id",
                    {{"profile", I},
                     {"name", T},
                     {"key_value", I},
                     {"fn_layer", I},
                     {"macro_type", I},
                     {"key1_value", I},
                     {"key2_value", I},
                     {"key1_name", T},
                     {"key2_name", T},
                     {"reserved", I}}),
        "CREATE INDEX IF NOT EXISTS magnetic_keyindex ON t_magnetic_key_data(macro_id)",
        CreateTable("t_key_item_data", "keyitem_id",
                    {{"macro_id", I},
                     {"trigger_state1", I},
                     {"trigger_state2", I},
                     {"trigger_state3", I},
                     {"trigger_state4", I},
                     {"key_value", I},
                     {"key_name", T}}),
        "CREATE INDEX IF NOT EXISTS key_itemindex ON t_key_item_data(macro_id)",
        CreateTable("t_macro_data", "macro_id",
                    {{"play_times", I},
                     {"delay_type", I},
                     {"delay_time", I},
                     {"link_count", I},
                     {"name", T}}),
        "CREATE INDEX IF NOT EXISTS macroidindex ON t_macro_data(macro_id)",
        CreateTable("t_macrorecord", "record_id",
                    {{"macro_id", I},
                     {"type", I},
                     {"record_index", I},
                     {"desc", T},
                     {"value", I},
                     {"delay_time", I}}),
        "CREATE INDEX IF NOT EXISTS macrorecordindex ON t_macrorecord(record_id)",
        CreateTable("t_light_data", "light_id",
                    {{"profile", I},
                     {"name", T},
                     {"mode", I},
                     {"brightness", I},
                     {"speed", I},
                     {"direction", I},
                     {"colorful", I},
                     {"colorindex", I},
                     {"color_value", I},
                     {"config_func", I},
                     {"reserved", I},
                     {"status", I}}),
        "CREATE INDEX IF NOT EXISTS lightindex ON t_light_data(light_id)",
        CreateTable("t_userlight_data", "userlight_id",
                    {{"profile", I}, {"name", T}, {"speed", I}, {"brightness", I}, {"status", I}}),
        "CREATE INDEX IF NOT EXISTS userlightindex ON t_userlight_data(userlight_id)",
        CreateTable("t_userlightrgb_data", "userlightrgb_id",
                    {{"profile", I}, {"userlight_id", I}, {"key_code", I}, {"key_rgb", I}}),
        "CREATE INDEX IF NOT EXISTS userlightrgbindex ON t_userlightrgb_data(userlightrgb_id)",
        CreateTable("t_customlight_data", "customlight_id",
                    {{"profile", I}, {"name", T}, {"speed", I}, {"brightness", I}, {"status", I}}),
        "CREATE INDEX IF NOT EXISTS customlightindex ON t_customlight_data(customlight_id)",
        CreateTable("t_customrgb_data", "customrgb_id",
                    {{"customlight_id", I},
                     {"keycode", I},
                     {"rgbvalue", I},
                     {"light_mode", I},
                     {"colortype", I},
                     {"light_type", I}}),
        "CREATE INDEX IF NOT EXISTS customrgbindex ON t_customrgb_data(customrgb_id)",
        CreateTable("t_musiclayer_data", "layer_id",
                    {{"profile", I},
                     {"name", T},
                     {"deviceindex", I},
                     {"foremode", I},
                     {"fore_amplitude", I},
                     {"backmode", I},
                     {"backb_right", I},
                     {"sel", I}}),
        "CREATE INDEX IF NOT EXISTS musiclayerindex ON t_musiclayer_data(layer_id)",
        CreateTable("t_ledlayer_data", "led_id",
                    {{"profile", I},
                     {"type", I},
                     {"name", T},
                     {"frame_size", I},
                     {"file_dir", T},
                     {"first_file", T}}),
        CreateTable(
            "t_ledframe_data", "frame_id",
            {{"led_id", I}, {"name", T}, {"delay_time", I}, {"frame_index", I}, {"file_name", T}}),
    };
}

}  // namespace

const std::vector<std::string>& SchemaStatements()
{
    static const std::vector<std::string> statements = BuildStatements();
    return statements;
}

const std::vector<std::string>& LookupIndexStatements()
{
    static const std::vector<std::string> statements = {
        "CREATE INDEX IF NOT EXISTS lookup_config ON t_config_data(profile, key)",
        "CREATE INDEX IF NOT EXISTS lookup_key_macro ON t_key_macro_data(profile, fn_layer)",
        "CREATE INDEX IF NOT EXISTS lookup_key_perf ON t_key_perf_data(profile)",
        "CREATE INDEX IF NOT EXISTS lookup_magnetic_key ON t_magnetic_key_data(profile)",
        "CREATE INDEX IF NOT EXISTS lookup_macro_step ON t_macrorecord(macro_id, record_index)",
        "CREATE INDEX IF NOT EXISTS lookup_light ON t_light_data(profile)",
        "CREATE INDEX IF NOT EXISTS lookup_user_rgb ON t_userlightrgb_data(userlight_id)",
        "CREATE INDEX IF NOT EXISTS lookup_music_layer ON t_musiclayer_data(profile)",
    };
    return statements;
}

const std::vector<std::string>& SchemaObjectNames()
{
    static const std::vector<std::string> names = [] {
        constexpr std::string_view kMark = "IF NOT EXISTS ";
        std::vector<std::string> found;
        for (const std::string& sql : SchemaStatements()) {
            const size_t start = sql.find(kMark) + kMark.size();
            found.push_back(sql.substr(start, sql.find_first_of(" (", start) - start));
        }
        return found;
    }();
    return names;
}

}  // namespace storage
