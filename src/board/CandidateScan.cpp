#include "board/CandidateScan.h"

#include <algorithm>
#include <array>

namespace korvana {

namespace {

Pos posOf(int point, char colour)
{
    return Pos{static_cast<uint8_t>(pointX(point)), static_cast<uint8_t>(pointY(point)), colour};
}

} // namespace

void sortPosSorts(std::vector<PosSort> &list)
{
    auto higher = [](const PosSort &a, const PosSort &b) { return a.value > b.value; };
    // Usually every value is equal: skip the sort (and its buffer) then.
    if (!std::is_sorted(list.begin(), list.end(), higher))
        std::stable_sort(list.begin(), list.end(), higher);
}

int winningPoints(const Board &board, char colour, PosList &out)
{
    out.clear();
    const char *cells = board.banArray().cells();
    const POS_STAT *codes = board.codes(colour).data();
    for (uint8_t p : spiralOrder()) {
        if (cells[p] != Empty)
            continue;
        const POS_STAT k = codes[p];
        if (isWin(k)) {
            out.assign(1, posOf(p, colour));
            return 1;
        }
        if (isUrgent(k))
            out.push_back(posOf(p, colour));
    }
    return out.empty() ? 0 : 2;
}

int forcedCandidates(const Board &board, char colour, PosList &out)
{
    out.clear();
    const char *cells = board.banArray().cells();
    const POS_STAT *own = board.codes(colour).data();
    for (uint8_t p : spiralOrder()) {
        if (cells[p] != Empty || !isDecisive(own[p]))
            continue;
        if (isWin(own[p])) {
            out.assign(1, posOf(p, colour));
            return 1;
        }
        out.push_back(posOf(p, colour));
    }
    if (!out.empty())
        return 1;
    const POS_STAT *theirs = board.codes(otherColour(colour == Black ? Black : White)).data();
    for (uint8_t p : spiralOrder()) {
        if (cells[p] != Empty || !isDecisive(theirs[p]))
            continue;
        if (colour == Black && isForbidden(own[p])) {
            out.assign(1, posOf(p, Black));
            return 2;
        }
        out.push_back(posOf(p, colour));
    }
    return 0;
}

int expandCandidates(const Board &board, int limit, char colour, PosList &out)
{
    const int r = forcedCandidates(board, colour, out);
    if (r != 0)
        return r;
    std::array<bool, PointCount> marked{};
    for (const Pos &pos : out)
        marked[pointOf(pos.x, pos.y)] = true;
    const char *cells = board.banArray().cells();
    std::vector<PosSort> candidates;
    candidates.reserve(PointCount);
    for (uint8_t p : spiralOrder()) {
        if (cells[p] != Empty || marked[p])
            continue;
        const int product = board.lineDensity(p);
        if (product > 0)
            candidates.push_back(PosSort{posOf(p, colour), product});
    }
    sortPosSorts(candidates);
    const long long wanted = static_cast<long long>(limit) + 1;
    for (size_t i = 0; i < candidates.size() && static_cast<long long>(i) < wanted; ++i)
        out.push_back(candidates[i].pos);
    return 0;
}

int evaluatePosition(const Board &board, char colour)
{
    const char own = colour == Black ? Black : White;
    const char other = otherColour(own);
    PosList scratch;
    scratch.reserve(16);
    if (winningPoints(board, own, scratch) == 1)
        return 10000;
    if (winningPoints(board, other, scratch) != 0)
        return -10000;
    const char *cells = board.banArray().cells();
    const POS_STAT *mine = board.codes(own).data();
    const POS_STAT *theirs = board.codes(other).data();
    int sum = 0;
    for (int p = 0; p < PointCount; ++p)
        if (cells[p] == Empty)
            sum += pointValue(mine[p]) - pointValue(theirs[p]);
    return sum;
}

} // namespace korvana
