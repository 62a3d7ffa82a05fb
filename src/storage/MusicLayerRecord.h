// A row of t_musiclayer_data: the music mode's settings of a profile (the sel column is not kept).
#pragma once

#include <cstdint>
#include <string>

struct MusicLayerRecord {
    int32_t layer_id = 0;
    int32_t profile = 0;
    std::wstring name;
    int32_t deviceindex = 0;
    int32_t foremode = 0;
    int32_t fore_amplitude = 0;
    int32_t backmode = 0;
    int32_t backb_right = 0;
};
