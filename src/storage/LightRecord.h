// A row of t_light_data: one lighting mode of one profile.
#pragma once

#include <cstdint>
#include <string>

struct LightRecord {
    int32_t light_id = 0;
    int32_t profile = 0;
    std::wstring name;
    int32_t mode = 0;
    int32_t brightness = 0;
    int32_t speed = 0;
    int32_t direction = 0;
    int32_t colorful = 0;
    int32_t colorindex = 0;
    int32_t color_value = 0;
    int32_t config_func = 0;
    int32_t reserved = 0;
    int32_t status = 0;  // 1 marks the profile's active mode
};
