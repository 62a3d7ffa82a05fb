// A row of t_key_macro_data: one key's action on one layer of one profile.
#pragma once

#include <cstdint>
#include <string>

struct KeyMacroRecord {
    int32_t key_id = 0;
    int32_t profile = 0;
    int32_t fn_layer = 0;
    int32_t key_code = 0;
    int32_t macro_type = 0;  // 3: plays the macro whose id is macro_value
    int32_t macro_value = 0;
    int32_t macro_value2 = 0;
    int32_t macro_value3 = 0;
    std::wstring macro_desc;
};
