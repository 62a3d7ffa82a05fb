#include "storage/DefaultConfig.h"

namespace storage {
namespace {

constexpr DefaultConfigEntry kRows[] = {
    {"version", "1.0.1"},
    {"keyboard_layout", "1"},
    {"fn_layer", "0"},
    {"fn_switch", "0"},
    {"lightmode", "6"},
    {"sleep_time", "2"},
    {"key_respondtime", "2"},
    {"sleep_light", "0"},
    {"userlight", "0"},
    {"customlight", "0"},
    {"customlight_run", "0"},
    {"enable_light", "1"},
    {"enable_music", "0"},
    {"gamemode", "0"},
    {"disable_alttab", "0"},
    {"disable_altf4", "0"},
    {"disable_win", "0"},
    {"default_color1", "8331093"},
    {"default_color2", "4114939"},
    {"default_color3", "65280"},
    {"default_color4", "16776960"},
    {"default_color5", "255"},
    {"default_color6", "14237951"},
    {"default_color7", "14237951"},
    {"default_color8", "16777215"},
    {"perf_rapidtrigger_mode", "1"},
    {"perf_sensitivity_mode", "1"},
    {"perf_continuerapidtrigger_mode", "0"},
    {"global_key_actuation", "75"},
    {"global_sensitivity_pos", "5"},
    {"global_rt1_pos", "5"},
    {"global_rt2_pos", "5"},
    {"tick_rate", "0"},
    {"debounce_level", "0"},
    {"reporte_rate", "1"},
    {"perf_tachyon_mode", "0"},
    {"perf_bottomrapidtrigger_mode", "0"},
    {"dead_zone", "0"},
    {"dead_zone_topvalue", "0"},
    {"dead_zone_bottomvalue", "10"},
    {"actuation_check", "0"},
    {"debug_mode", "0"},
    {"switch_type", "3"},
    {"key_profile_preset", "0"},
};
static_assert(sizeof(kRows) / sizeof(kRows[0]) == 44);

}  // namespace

std::span<const DefaultConfigEntry> DefaultConfigRows() { return kRows; }

}  // namespace storage
