// A row of t_magnetic_key_data: one advanced key of a profile.
#pragma once

#include <cstdint>
#include <string>

struct MagneticKeyRecord {
    int32_t macro_id = 0;
    int32_t profile = 0;
    std::wstring name;
    int32_t key_value = 0;
    int32_t fn_layer = 0;
    int32_t macro_type = 0;  // 14 DKS, 15 MT, 16 TGL, 17 RS, 18 SOCD, 19 OKS
    int32_t key1_value = 0;
    int32_t key2_value = 0;
    // Filled by the editors for their own use; never stored, 0 after a read.
    int32_t ui_value1 = 0;
    int32_t ui_value2 = 0;
    std::wstring key1_name;
    std::wstring key2_name;
    int32_t reserved = 0;
};
