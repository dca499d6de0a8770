#pragma once
// Boards for the engine's tests and benchmarks: positions from written
// moves, and a fixed set of mid-game positions.

#include "board/BanArray.h"
#include "board/ChkStat.h"
#include "board/Point.h"

#include <cstdint>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace korvana::testboards {

/// Board after moves written as "h8 i8 h9" (Black first). Throws on a bad or taken point.
inline BanArray fromMoves(const std::string &moves)
{
    BanArray board;
    std::istringstream in(moves);
    std::string token;
    while (in >> token) {
        int x = 0, y = 0;
        if (!parseWrittenPoint(token, x, y) || !board.putStone(pointOf(x, y)))
            throw std::invalid_argument("bad move " + token);
    }
    return board;
}

/// True when either side could make a five or a straight four on some empty point.
inline bool anyStrongPoint(BanArray &board)
{
    ChkStat judge(board);
    for (int p = 0; p < PointCount; ++p)
        if (board.cells()[p] == Empty && (judge.judgeBlack(p) <= 2 || judge.judgeWhite(p) <= 2))
            return true;
    return false;
}

/// `count` positions of 10..40 stones, always the same: stones alternate on
/// the central 11 x 11 points drawn by a fixed generator; no stone makes five
/// or a forbidden move, and no empty point would make five or a straight four
/// for either side, so the search starts with full width.
inline std::vector<BanArray> midGamePositions(int count = 50)
{
    std::vector<BanArray> out;
    uint32_t state = 20240607u;
    auto next = [&state](int n) {
        state = state * 1664525u + 1013904223u;
        return static_cast<int>((state >> 8) % static_cast<uint32_t>(n));
    };
    while (static_cast<int>(out.size()) < count) {
        const int stones = 10 + static_cast<int>(out.size() * 31 / (count > 1 ? count - 1 : 1));
        BanArray board;
        std::vector<int> moves;
        int attempts = 0;
        while (board.count() < stones && attempts < 2000) {
            ++attempts;
            const int point = pointOf(2 + next(11), 2 + next(11));
            if (board.cells()[point] != Empty)
                continue;
            board.putStone(point);
            moves.push_back(point);
            const int code = ChkStat(board).judgeLast();
            if (code <= 1 || code >= 21 || anyStrongPoint(board)) {
                // Take the stone back.
                board.cells()[point] = Empty;
                board.setCount(static_cast<uint8_t>(board.count() - 1));
                moves.pop_back();
                board.setLast(moves.empty() ? NoPoint : static_cast<uint8_t>(moves.back()));
            }
        }
        if (board.count() == stones)
            out.push_back(board);
    }
    return out;
}

} // namespace korvana::testboards
