// A row of t_key_perf_data: one key's switch settings in one profile.
#pragma once

#include <cstdint>

struct KeyPerfRecord {
    int32_t perf_id = 0;
    int32_t profile = 0;
    int32_t key_code = 0;
    int32_t switch_type = 0;
    int32_t key_mode = 0;
    int32_t key_actuation = 0;
    int32_t rt_press = 0;
    int32_t rt_release = 0;
    int32_t deadzone_state = 0;
    int32_t press_deadzone = 0;
    int32_t release_deadzone = 0;
};
