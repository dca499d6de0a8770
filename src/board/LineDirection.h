#pragma once
// The four line directions of the board, numbered 0..3 everywhere: a step of k along
// direction d from (x, y) reaches (x + k * dx, y + k * dy).

#include "board/Point.h"

#include <array>

namespace korvana {

struct LineDirection {
    int dx;
    int dy;
    /// Change of the point index per step.
    constexpr int stride() const { return dx + BoardSize * dy; }
};

/// 0: +x (row), 1: +x+y (diagonal), 2: +y (column), 3: -x+y (anti-diagonal).
inline constexpr std::array<LineDirection, 4> LineDirections = {{{1, 0}, {1, 1}, {0, 1}, {-1, 1}}};

} // namespace korvana
