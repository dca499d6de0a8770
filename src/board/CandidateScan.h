#pragma once
// Candidate scans: read the game board's code tables in spiral order (most central
// candidate first) to find winning points, forced replies and candidates to expand,
// and to score a position. They never judge.

#include "board/Board.h"
#include "board/Point.h"

#include <vector>

namespace korvana {

/// A point with a value; lists of them sort highest value first, stably.
struct PosSort {
    Pos pos;
    int value = 0;
};
/// Stable sort, highest value first, so equal values keep their spiral order.
void sortPosSorts(std::vector<PosSort> &list);

/// Points where `colour` wins or threatens at once. 1: out is the first point (spiral order)
/// with a five (or White overline). 2: out is every point with a straight four, double four
/// or four-three. 0: none; out is empty.
int winningPoints(const Board &board, char colour, PosList &out);

/// Moves `colour` must consider. 1: out is its own winning point or decisive points.
/// 2: out is one point where the opponent's decisive threat can only be stopped by a
/// forbidden Black move. 0: out is the defences against the opponent's decisive points
/// (possibly empty).
int forcedCandidates(const Board &board, char colour, PosList &out);

/// forcedCandidates; when that answers 0, appends up to limit + 1 other empty points by
/// line density (highest first, spiral order among equals). Returns forcedCandidates' answer.
int expandCandidates(const Board &board, int limit, char colour, PosList &out);

/// Score of the position for `colour`: 10000 when it has a winning point, -10000 when the
/// opponent has a winning or urgent point, else the sum over empty points of balanceAt.
int evaluatePosition(const Board &board, char colour);

} // namespace korvana
