#pragma once
// Builds judge boards from short diagrams for table-driven tests.

#include "board/BanArray.h"
#include "board/LineDirection.h"

#include <string>

namespace korvana::test {

/// Lays `cells` along direction d from (x, y): 'B', 'W', '.' (empty) and 'C',
/// the judged point, left empty. Returns the point of 'C' (or NoPoint).
inline int layLine(BanArray &board, int x, int y, int d, const std::string &cells)
{
    int judged = NoPoint;
    for (size_t k = 0; k < cells.size(); ++k) {
        int px = x + static_cast<int>(k) * LineDirections[d].dx, py = y + static_cast<int>(k) * LineDirections[d].dy;
        if (!onBoard(px, py))
            continue;
        int p = pointOf(px, py);
        switch (cells[k]) {
        case 'B':
        case 'W': board.cell(p) = cells[k]; break;
        case 'C': judged = p; break;
        default: break;
        }
    }
    return judged;
}

} // namespace korvana::test
