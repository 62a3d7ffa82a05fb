// A row of t_profile_data: one user profile.
#pragma once

#include <cstdint>
#include <string>

struct ProfileRecord {
    int32_t profile = 0;
    int32_t type = 0;  // 1 for a user profile
    std::wstring name;
    int32_t status = 0;  // 1 for the active profile
};
