// A row of t_macrorecord: one step of a macro. desc is the fifth column but the last field.
#pragma once

#include <cstdint>
#include <string>

struct MacroStepRecord {
    int32_t record_id = 0;
    int32_t macro_id = 0;
    int32_t type = 0;
    int32_t record_index = 0;
    int32_t value = 0;
    int32_t delay_time = 0;
    std::wstring desc;
};
