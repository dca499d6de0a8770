#pragma once
// pos_value: one candidate move of the search with its ordering value.

#include <cstdint>

namespace korvana {

struct pos_value {
    uint8_t point = 0; ///< point index 0..224
    int16_t value = 0; ///< ordering value; larger comes out of a tdbtree_max first
};

} // namespace korvana
