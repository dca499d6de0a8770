#include "board/ChkStat.h"

#include <array>
#include <bit>
#include <cstring>
#include <vector>

namespace korvana {

namespace {

constexpr int DX[4] = {1, 1, 0, -1};
constexpr int DY[4] = {0, 1, 1, 1};

// One placement of a pattern on the 11-cell window, as bit masks.
struct Placement {
    uint16_t own = 0;    // cells that must be Black
    uint16_t empty = 0;  // cells that must be empty
    uint16_t notOwn = 0; // cells that must not be Black (inside the window)
    int key = -1;        // window index of K for the true-three families
};

// Shapes: 'N' not Black, 'B' Black, '+' empty, 'C' the judged point, 'K' the
// empty point that would make the straight four.
struct Shape {
    const char *cells;
    std::vector<int> judgedAt; // positions of C; empty when the shape spells C itself
};

std::vector<Placement> compile(std::initializer_list<Shape> shapes)
{
    std::vector<Placement> out;
    for (const Shape &shape : shapes) {
        std::string cells = shape.cells;
        std::vector<int> at = shape.judgedAt;
        if (at.empty())
            at.push_back(static_cast<int>(cells.find('C')));
        for (int c : at) {
            Placement p;
            bool possible = true;
            for (int j = 0; j < static_cast<int>(cells.size()); ++j) {
                int w = 5 - c + j;
                char ch = cells[j];
                bool inside = w >= 0 && w <= 10;
                if (!inside) {
                    // Outside the window every cell reads as the opponent.
                    if (ch != 'N')
                        possible = false;
                    continue;
                }
                uint16_t bit = static_cast<uint16_t>(1u << w);
                switch (ch) {
                case 'N': p.notOwn |= bit; break;
                case 'B': case 'C': p.own |= bit; break;
                case '+': p.empty |= bit; break;
                case 'K': p.empty |= bit; p.key = w; break;
                }
            }
            if (possible)
                out.push_back(p);
        }
    }
    return out;
}

const std::vector<Placement> familyA = compile({
    {"NBBBB+B", {1, 2, 3, 4}},
    {"B+BBBBN", {2, 3, 4, 5}},
});
const std::vector<Placement> familyB = compile({
    {"NB+BBB+BN", {3, 4, 5}},
    {"NBB+BB+BBN", {4, 5}},
    {"NBBB+B+BBBN", {5}},
});
const std::vector<Placement> familyC = compile({
    {"NB+BBBN", {1, 3, 4, 5}},
    {"NBB+BBN", {1, 2, 4, 5}},
    {"NBBB+BN", {1, 2, 3, 5}},
});
const std::vector<Placement> familyD = compile({
    {"N+CBBK+N", {}}, {"N+BCBK+N", {}}, {"N+BBCK+N", {}},
    {"N+KCBB+N", {}}, {"N+KBCB+N", {}}, {"N+KBBC+N", {}},
});
const std::vector<Placement> familyE = compile({
    {"N+CKBB+N", {}}, {"N+BKCB+N", {}}, {"N+BKBC+N", {}},
    {"N+CBKB+N", {}}, {"N+BCKB+N", {}}, {"N+BBKC+N", {}},
});

inline bool fits(const Placement &p, uint16_t own, uint16_t empty)
{
    return (own & p.own) == p.own && (empty & p.empty) == p.empty && (own & p.notOwn) == 0;
}

bool matches(const std::vector<Placement> &family, const LineScan &scan, int d)
{
    for (const Placement &p : family)
        if (fits(p, scan.ownMask[d], scan.emptyMask[d]))
            return true;
    return false;
}

inline uint16_t bitsFrom(int from, int n)
{
    return static_cast<uint16_t>(((1u << n) - 1) << from);
}

// Runs of `width` cells inside the stretch, tested by `test(windowStart)`.
template <class Test>
bool anyRun(const LineScan &scan, int d, int width, Test test)
{
    int first = scan.lo[d] + 5, last = scan.hi[d] + 5 - (width - 1);
    for (int s = first; s <= last; ++s)
        if (test(s))
            return true;
    return false;
}

bool openRunWithInner(const LineScan &scan, int d, int inner)
{
    const uint16_t own = scan.ownMask[d], empty = scan.emptyMask[d];
    return anyRun(scan, d, 6, [&](int s) {
        return (empty & (1u << s)) && (empty & (1u << (s + 5)))
            && std::popcount(static_cast<unsigned>(own & bitsFrom(s + 1, 4))) == inner;
    });
}

} // namespace

namespace {
// Steps to the board's edge, at most five, per point, direction and side.
struct EdgeTable {
    uint8_t steps[PointCount][4][2];
    EdgeTable()
    {
        for (int p = 0; p < PointCount; ++p)
            for (int d = 0; d < 4; ++d)
                for (int side = 0; side < 2; ++side) {
                    const int sign = side ? -1 : 1;
                    int k = 0;
                    while (k < 5 && onBoard(pointX(p) + sign * (k + 1) * DX[d], pointY(p) + sign * (k + 1) * DY[d]))
                        ++k;
                    steps[p][d][side] = static_cast<uint8_t>(k);
                }
    }
};
const EdgeTable edges;
constexpr int Stride[4] = {1, 16, 15, 14};
} // namespace

void LineScan::build(const BanArray &b, int point, char ownColour)
{
    own = ownColour;
    opponent = ownColour == 'B' ? 'W' : 'B';
    board = &b;
    x = point % BoardSize;
    y = point / BoardSize;
    const char *cells = b.cells();
    const bool inside = onBoard(x, y);
    for (int d = 0; d < 4; ++d) {
        char *w = window[d];
        std::memset(w, opponent, 11);
        w[5] = own;
        hi[d] = lo[d] = emptyCount[d] = 0;
        ownCount[d] = 1;
        unsigned ownBits = 1u << 5, emptyBits = 0;
        for (int side = 0; side < 2 && inside; ++side) {
            const int sign = side ? -1 : 1;
            const int limit = edges.steps[point][d][side];
            const int stride = sign * Stride[d];
            int q = point;
            for (int k = 1; k <= limit; ++k) {
                q += stride;
                const char c = cells[q];
                if (c == opponent)
                    break;
                const int idx = 5 + sign * k;
                if (c == Empty) {
                    ++emptyCount[d];
                    emptyBits |= 1u << idx;
                } else {
                    ++ownCount[d];
                    ownBits |= 1u << idx;
                }
                w[idx] = c;
                if (sign > 0)
                    hi[d] = k;
                else
                    lo[d] = -k;
            }
        }
        blocked[d] = 11 - ownCount[d] - emptyCount[d];
        ownMask[d] = static_cast<uint16_t>(ownBits);
        emptyMask[d] = static_cast<uint16_t>(emptyBits);
    }
}

char LineScan::at(int d, int step) const
{
    if (step < -5 || step > 5)
        return opponent;
    return window[d][5 + step];
}

int lineKind(const LineScan &scan, int d)
{
    // Own stones contiguous with the judged point, read off the masks.
    const unsigned own = scan.ownMask[d];
    const int up = std::countr_one(own >> 6);
    const int down = std::countl_one(static_cast<uint16_t>(own << 11));
    const int run = up + down + 1;
    if (run >= 5)
        return run;
    if (run == 4 || run == 3) {
        const unsigned empty = scan.emptyMask[d];
        const int after = 5 + up + 1, before = 5 - down - 1; // both within 0..10 here
        const int open = ((empty >> after) & 1) + ((empty >> before) & 1);
        if (open == 2)
            return -run;
        if (open == 1)
            return run;
        return -1;
    }
    return 0;
}

bool hasFour(const LineScan &scan, int d)
{
    if (scan.ownCount[d] < 4 || scan.emptyCount[d] < 1 || scan.hi[d] - scan.lo[d] + 1 < 5)
        return false;
    const uint16_t own = scan.ownMask[d];
    return anyRun(scan, d, 5, [&](int s) {
        return std::popcount(static_cast<unsigned>(own & bitsFrom(s, 5))) == 4;
    });
}

bool hasThree(const LineScan &scan, int d)
{
    if (scan.ownCount[d] < 3 || scan.emptyCount[d] < 3 || scan.hi[d] - scan.lo[d] + 1 < 6)
        return false;
    return openRunWithInner(scan, d, 3);
}

bool hasTwo(const LineScan &scan, int d)
{
    if (scan.ownCount[d] < 2 || scan.emptyCount[d] < 2 || scan.hi[d] - scan.lo[d] + 1 < 6)
        return false;
    return openRunWithInner(scan, d, 2);
}

POS_STAT classifyWhite(const LineScan &scan)
{
    int overlines = 0, fives = 0, straightFours = 0;
    for (int d = 0; d < 4; ++d) {
        int k = lineKind(scan, d);
        if (k >= 6)
            ++overlines;
        else if (k == 5)
            ++fives;
        else if (k == -4)
            ++straightFours;
    }
    if (overlines)
        return 0;
    if (fives)
        return 1;
    if (straightFours)
        return 2;
    int fours = 0, threes = 0, twos = 0;
    for (int d = 0; d < 4; ++d) {
        if (hasFour(scan, d))
            ++fours;
        else if (hasThree(scan, d))
            ++threes;
        else if (hasTwo(scan, d))
            ++twos;
    }
    if (fours >= 2)
        return 3;
    if (threes >= 1 && fours == 1)
        return 4;
    if (fours == 1)
        return static_cast<POS_STAT>(8 - twos);
    if (threes >= 2)
        return static_cast<POS_STAT>(11 - twos);
    if (threes == 1)
        return static_cast<POS_STAT>(15 - twos);
    return static_cast<POS_STAT>(20 - twos);
}

bool ChkStat::trueThree(const LineScan &scan, int d, bool contiguous)
{
    const std::vector<Placement> &family = contiguous ? familyD : familyE;
    for (const Placement &p : family) {
        if (!fits(p, scan.ownMask[d], scan.emptyMask[d]))
            continue;
        int step = p.key - 5;
        int key = (scan.x + step * DX[d]) + BoardSize * (scan.y + step * DY[d]);
        // The straight-four point must not itself be forbidden; the judged
        // point still holds its stone during this nested judgement.
        ChkStat nested(*board_);
        if (nested.judgeBlack(key) < Stat::NgDoubleThree)
            return true;
    }
    return false;
}

POS_STAT ChkStat::classifyBlack(const LineScan &scan)
{
    bool straightFour[4] = {}, four[4] = {}, openThree[4] = {}, closedThree[4] = {};
    int overlines = 0;
    for (int d = 0; d < 4; ++d) {
        int k = lineKind(scan, d);
        if (k == 5)
            return Stat::Five;
        if (k >= 6)
            ++overlines;
        else if (k == -4)
            straightFour[d] = true;
        else if (k == 4)
            four[d] = true;
        else if (k == -3)
            openThree[d] = true;
        else if (k == 3)
            closedThree[d] = true;
    }
    if (overlines)
        return Stat::NgOverline;
    for (int d = 0; d < 4; ++d)
        if (scan.ownCount[d] >= 5 && matches(familyB, scan, d))
            return Stat::NgDoubleFour;

    bool gapFour[4] = {};
    for (int d = 0; d < 4; ++d) {
        if (scan.ownCount[d] >= 5 && matches(familyA, scan, d)) {
            straightFour[d] = four[d] = false;
            gapFour[d] = true;
        }
    }
    int fours[4] = {};
    int F = 0;
    for (int d = 0; d < 4; ++d) {
        bool brokenFour = false;
        if (!gapFour[d] && !straightFour[d] && !four[d])
            brokenFour = scan.ownCount[d] >= 4 && matches(familyC, scan, d);
        fours[d] = straightFour[d] + four[d] + brokenFour;
        F += fours[d];
    }
    if (F >= 2)
        return Stat::NgDoubleFour;

    int T = 0, twos = 0;
    for (int d = 0; d < 4; ++d) {
        if (gapFour[d] || fours[d])
            continue;
        if (openThree[d]) {
            T += trueThree(scan, d, true);
        } else if (!closedThree[d]) {
            if (scan.ownCount[d] >= 3 && trueThree(scan, d, false))
                ++T;
            else
                twos += hasTwo(scan, d);
        }
    }
    if (T >= 2)
        return Stat::NgDoubleThree;
    int straightDirections = straightFour[0] + straightFour[1] + straightFour[2] + straightFour[3];
    if (straightDirections == 1)
        return Stat::StraightFour;
    if (T == 1 && F == 1)
        return Stat::FourThree;
    if (F == 1)
        return static_cast<POS_STAT>(8 - twos);
    if (T == 1)
        return static_cast<POS_STAT>(15 - twos);
    return static_cast<POS_STAT>(20 - twos);
}

POS_STAT ChkStat::judgeBlack(int point)
{
    char &cell = board_->cell(point);
    const char saved = cell;
    cell = 'B';
    LineScan scan;
    scan.build(*board_, point, 'B');
    POS_STAT code = classifyBlack(scan);
    // The nested judgements may have handed out the same scratch cell; write
    // back through a fresh reference.
    board_->cell(point) = saved;
    return code;
}

POS_STAT ChkStat::judgeWhite(int point)
{
    char &cell = board_->cell(point);
    const char saved = cell;
    cell = 'W';
    LineScan scan;
    scan.build(*board_, point, 'W');
    POS_STAT code = classifyWhite(scan);
    board_->cell(point) = saved;
    return code;
}

POS_STAT ChkStat::judgeLast()
{
    return (board_->count() & 1) ? judgeBlack(board_->last()) : judgeWhite(board_->last());
}

} // namespace korvana
