// A row of t_macro_data: a macro's header. The field order is not the column order.
#pragma once

#include <cstdint>
#include <string>

struct MacroRecord {
    int32_t macro_id = 0;
    std::wstring name;
    int32_t link_count = 0;
    int32_t play_times = 0;
    int32_t delay_type = 0;
    int32_t delay_time = 0;
};
