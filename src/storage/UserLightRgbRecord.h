// A row of t_userlightrgb_data: one key's colour in one user lighting layout.
#pragma once

#include <cstdint>

struct UserLightRgbRecord {
    int32_t userlightrgb_id = 0;
    int32_t profile = 0;
    int32_t userlight_id = 0;  // the layout's number
    int32_t key_code = 0;
    int32_t key_rgb = 0;
};
