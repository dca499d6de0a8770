#pragma once
// MoveSort: orders moves by value, highest first, keeping the order of equals.

#include "record/MOve.h"

#include <vector>

namespace korvana {

struct MoveSort {
    MOve *move = nullptr;
    int32_t value = NoValue;
};

/// Stable sort of moves by GetValue, highest first.
void sortMoves(std::vector<MOve *> &moves);

} // namespace korvana
