// The switch precision handed to the travel controls: seven values, of which field 1 is the
// step in 0.01 mm and fields 4 and 5 the slider minimum and maximum; the controls keep the
// others as given.
#pragma once

#include <cstdint>

namespace MUI {

struct PRECISION {
    std::int32_t value[7] = {2, 2, 1, 5, 1, 110, 25};

    std::int32_t Step() const { return value[1]; }
    std::int32_t Minimum() const { return value[4]; }
    std::int32_t Maximum() const { return value[5]; }
    friend bool operator==(const PRECISION&, const PRECISION&) = default;
};

}  // namespace MUI
