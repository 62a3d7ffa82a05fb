// A row of t_key_item_data: one binding of an advanced key.
#pragma once

#include <cstdint>
#include <string>

struct KeyItemRecord {
    int32_t keyitem_id = 0;
    int32_t macro_id = 0;  // the owning advanced key
    int32_t trigger_state1 = 0;
    int32_t trigger_state2 = 0;
    int32_t trigger_state3 = 0;
    int32_t trigger_state4 = 0;
    int32_t key_value = 0;
    std::wstring key_name;
    int32_t ui_value = 0;  // kept by the editor; never stored, 0 after a read
};
