#pragma once
// Builds judge boards from short diagrams for table-driven tests.

#include "board/BanArray.h"

#include <string>

namespace korvana::test {

/// Lays `cells` along direction d from (x, y): 'B', 'W', '.' (empty) and 'C',
/// the judged point, left empty. Returns the point of 'C' (or NoPoint).
inline int layLine(BanArray &board, int x, int y, int d, const std::string &cells)
{
    static constexpr int dx[4] = {1, 1, 0, -1}, dy[4] = {0, 1, 1, 1};
    int judged = NoPoint;
    for (size_t k = 0; k < cells.size(); ++k) {
        int px = x + static_cast<int>(k) * dx[d], py = y + static_cast<int>(k) * dy[d];
        if (!onBoard(px, py))
            continue;
        int p = pointOf(px, py);
        switch (cells[k]) {
        case 'B': case 'W': board.cell(p) = cells[k]; break;
        case 'C': judged = p; break;
        default: break;
        }
    }
    return judged;
}

} // namespace korvana::test
