#include "board/ChkStat.h"

#include "board/LineDirection.h"

#include <array>
#include <bit>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace korvana {

namespace {

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
                case 'B':
                case 'C': p.own |= bit; break;
                case '+': p.empty |= bit; break;
                case 'K':
                    p.empty |= bit;
                    p.key = w;
                    break;
                }
            }
            if (possible)
                out.push_back(p);
        }
    }
    return out;
}

// Black's pattern families, read along one direction. Each shape lists where the judged
// point may stand.

// A run of four whose completion through the gap makes six: no four at all.
const std::vector<Placement> overlineGapFours = compile({
    {"NBBBB+B", {1, 2, 3, 4}},
    {"B+BBBBN", {2, 3, 4, 5}},
});
// Two exact fives on one line: a double four by itself.
const std::vector<Placement> inLineDoubleFours = compile({
    {"NB+BBB+BN", {3, 4, 5}},
    {"NBB+BB+BBN", {4, 5}},
    {"NBBB+B+BBBN", {5}},
});
// One exact five through a gap.
const std::vector<Placement> brokenFours = compile({
    {"NB+BBBN", {1, 3, 4, 5}},
    {"NBB+BBN", {1, 2, 4, 5}},
    {"NBBB+BN", {1, 2, 3, 5}},
});
// Three in a row; K makes the straight four + B B B B +.
const std::vector<Placement> contiguousThrees = compile({
    {"N+CBBK+N", {}},
    {"N+BCBK+N", {}},
    {"N+BBCK+N", {}},
    {"N+KCBB+N", {}},
    {"N+KBCB+N", {}},
    {"N+KBBC+N", {}},
});
// Three with a gap; K (the gap) makes the straight four.
const std::vector<Placement> splitThrees = compile({
    {"N+CKBB+N", {}},
    {"N+BKCB+N", {}},
    {"N+BKBC+N", {}},
    {"N+CBKB+N", {}},
    {"N+BCKB+N", {}},
    {"N+BBKC+N", {}},
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

inline uint16_t bitsFrom(int from, int n) { return static_cast<uint16_t>(((1u << n) - 1) << from); }

// Runs of `width` cells inside the stretch, tested by `test(windowStart)`.
template <class Test> bool anyRun(const LineScan &scan, int d, int width, Test test)
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
        return (empty & (1u << s)) && (empty & (1u << (s + 5))) &&
               std::popcount(static_cast<unsigned>(own & bitsFrom(s + 1, 4))) == inner;
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
                    while (k < 5 && onBoard(pointX(p) + sign * (k + 1) * LineDirections[d].dx,
                                            pointY(p) + sign * (k + 1) * LineDirections[d].dy))
                        ++k;
                    steps[p][d][side] = static_cast<uint8_t>(k);
                }
    }
};
const EdgeTable edges;
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
            const int stride = sign * LineDirections[d].stride();
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
    return anyRun(scan, d, 5, [&](int s) { return std::popcount(static_cast<unsigned>(own & bitsFrom(s, 5))) == 4; });
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

// --- The judge proper -----------------------------------------------------------------
//
// A direction's verdict depends only on its two half-lines, each read outward up to the
// first opponent stone or the edge (at most five cells): 63 shapes a side, 3969 a line.
// Every line fact the classification needs is worked out once per shape, with the
// functions above, into one 32-bit entry; a judgement then reads 40 cells and looks up
// four entries.

namespace {

// Line entry layout.
enum LineKind : uint32_t {
    KindNone,
    KindFive,
    KindOverline,
    KindStraightFour,
    KindFour,
    KindOpenThree,
    KindClosedThree
};
constexpr uint32_t KindMask = 7;
constexpr uint32_t HasFour = 1u << 3, HasThree = 1u << 4, HasTwo = 1u << 5;
constexpr uint32_t OverlineGapFour = 1u << 6, InLineDoubleFour = 1u << 7, BrokenFour = 1u << 8;
constexpr int ContiguousKeysShift = 9, SplitKeysShift = 15; // 6 bits each: K at -3..-1, +1..+3
constexpr int HalfShapes = 63;

// A half-line shape: cells outward up to the first opponent (length 0..5) and which of
// them are own; numbered (1 << length) - 1 + ownBits.
constexpr int halfShape(int length, unsigned ownBits) { return (1 << length) - 1 + static_cast<int>(ownBits); }

int keyBit(int offset) { return offset < 0 ? offset + 3 : offset + 2; }
int keyOffset(int bit) { return bit < 3 ? bit - 3 : bit - 2; }

struct JudgeTables {
    // Half-line shape from 5 own bits and 5 empty bits (own | empty << 5), nearest cell in
    // bit 0 (right side) or in bit 4 (left side, as the cells lie in the window).
    uint8_t right[1024];
    uint8_t left[1024];
    uint32_t line[HalfShapes * HalfShapes]; // [left * 63 + right]
    // Per point the 40 cells read (direction d, steps -5..-1 then +1..+5, at 10 d + i);
    // a cell off the board names the point itself and is masked off by `onBoard`.
    uint8_t neighbour[PointCount][40];
    uint64_t onBoard[PointCount];

    JudgeTables()
    {
        for (unsigned bits = 0; bits < 1024; ++bits) {
            const unsigned own = bits & 31, empty = bits >> 5;
            right[bits] = static_cast<uint8_t>(shapeOf(own, empty, false));
            left[bits] = static_cast<uint8_t>(shapeOf(own, empty, true));
        }
        for (int l = 0; l < HalfShapes; ++l)
            for (int r = 0; r < HalfShapes; ++r)
                line[l * HalfShapes + r] = entryFor(l, r);
        for (int p = 0; p < PointCount; ++p) {
            onBoard[p] = 0;
            for (int d = 0; d < 4; ++d) {
                for (int i = 0; i < 10; ++i) {
                    const int step = i < 5 ? i - 5 : i - 4;
                    const int x = pointX(p) + step * LineDirections[d].dx, y = pointY(p) + step * LineDirections[d].dy;
                    const bool inside = korvana::onBoard(x, y);
                    neighbour[p][10 * d + i] = static_cast<uint8_t>(inside ? pointOf(x, y) : p);
                    if (inside)
                        onBoard[p] |= uint64_t{1} << (10 * d + i);
                }
            }
        }
    }

    static int shapeOf(unsigned own, unsigned empty, bool reversed)
    {
        int length = 0;
        unsigned ownBits = 0;
        for (int k = 0; k < 5; ++k) {
            const int bit = reversed ? 4 - k : k;
            const bool isOwn = (own >> bit) & 1, isEmpty = !isOwn && ((empty >> bit) & 1);
            if (!isOwn && !isEmpty)
                break;
            ownBits |= static_cast<unsigned>(isOwn) << k;
            ++length;
        }
        return halfShape(length, ownBits);
    }

    // The scan of a line made of two half-line shapes, as LineScan::build would fill it.
    static LineScan scanOf(int leftShape, int rightShape)
    {
        LineScan scan;
        std::memset(scan.window[0], 'W', 11);
        scan.window[0][5] = 'B';
        scan.ownCount[0] = 1;
        scan.emptyCount[0] = 0;
        for (int side = 0; side < 2; ++side) {
            const int shape = side ? leftShape : rightShape;
            const int length = std::bit_width(static_cast<unsigned>(shape + 1)) - 1;
            const unsigned ownBits = static_cast<unsigned>(shape + 1 - (1 << length));
            for (int k = 1; k <= length; ++k) {
                const bool isOwn = (ownBits >> (k - 1)) & 1;
                scan.window[0][side ? 5 - k : 5 + k] = isOwn ? 'B' : Empty;
                ++(isOwn ? scan.ownCount[0] : scan.emptyCount[0]);
            }
            (side ? scan.lo[0] : scan.hi[0]) = side ? -length : length;
        }
        scan.blocked[0] = 11 - scan.ownCount[0] - scan.emptyCount[0];
        unsigned own = 0, empty = 0;
        for (int i = 0; i < 11; ++i) {
            own |= static_cast<unsigned>(scan.window[0][i] == 'B') << i;
            empty |= static_cast<unsigned>(scan.window[0][i] == Empty) << i;
        }
        scan.ownMask[0] = static_cast<uint16_t>(own);
        scan.emptyMask[0] = static_cast<uint16_t>(empty);
        return scan;
    }

    static uint32_t keysOf(const std::vector<Placement> &family, const LineScan &scan)
    {
        uint32_t keys = 0;
        for (const Placement &p : family)
            if (fits(p, scan.ownMask[0], scan.emptyMask[0]))
                keys |= 1u << keyBit(p.key - 5);
        return keys;
    }

    static uint32_t entryFor(int leftShape, int rightShape)
    {
        const LineScan scan = scanOf(leftShape, rightShape);
        const int k = lineKind(scan, 0);
        uint32_t e = k >= 6    ? KindOverline
                     : k == 5  ? KindFive
                     : k == -4 ? KindStraightFour
                     : k == 4  ? KindFour
                     : k == -3 ? KindOpenThree
                     : k == 3  ? KindClosedThree
                               : KindNone;
        e |= hasFour(scan, 0) ? HasFour : 0;
        e |= hasThree(scan, 0) ? HasThree : 0;
        e |= hasTwo(scan, 0) ? HasTwo : 0;
        const int own = scan.ownCount[0];
        e |= own >= 5 && matches(overlineGapFours, scan, 0) ? OverlineGapFour : 0;
        e |= own >= 5 && matches(inLineDoubleFours, scan, 0) ? InLineDoubleFour : 0;
        e |= own >= 4 && matches(brokenFours, scan, 0) ? BrokenFour : 0;
        e |= keysOf(contiguousThrees, scan) << ContiguousKeysShift;
        e |= own >= 3 ? keysOf(splitThrees, scan) << SplitKeysShift : 0;
        return e;
    }
};

const JudgeTables tables;

// The 40 cells around a point as bit masks (bit 10 d + i as in JudgeTables::neighbour).
struct Around {
    uint64_t black, white, empty;
};

inline Around readAround(const char *cells, int point)
{
    alignas(16) char local[48] = {};
    const uint8_t *n = tables.neighbour[point];
    for (int i = 0; i < 40; ++i)
        local[i] = cells[n[i]];
    Around a{0, 0, 0};
#if defined(__SSE2__)
    const __m128i b = _mm_set1_epi8(Black), w = _mm_set1_epi8(White), e = _mm_set1_epi8(Empty);
    for (int k = 0; k < 3; ++k) {
        const __m128i v = _mm_load_si128(reinterpret_cast<const __m128i *>(local + 16 * k));
        a.black |= static_cast<uint64_t>(static_cast<uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, b)))) << (16 * k);
        a.white |= static_cast<uint64_t>(static_cast<uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, w)))) << (16 * k);
        a.empty |= static_cast<uint64_t>(static_cast<uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, e)))) << (16 * k);
    }
#else
    for (int i = 0; i < 40; ++i) {
        a.black |= static_cast<uint64_t>(local[i] == Black) << i;
        a.white |= static_cast<uint64_t>(local[i] == White) << i;
        a.empty |= static_cast<uint64_t>(local[i] == Empty) << i;
    }
#endif
    const uint64_t inside = tables.onBoard[point];
    a.black &= inside;
    a.white &= inside;
    a.empty &= inside;
    return a;
}

inline void lineEntries(uint64_t own, uint64_t empty, uint32_t out[4])
{
    for (int d = 0; d < 4; ++d) {
        const unsigned o = static_cast<unsigned>(own >> (10 * d)), e = static_cast<unsigned>(empty >> (10 * d));
        const int l = tables.left[(o & 31) | (e & 31) << 5];
        const int r = tables.right[((o >> 5) & 31) | ((e >> 5) & 31) << 5];
        out[d] = tables.line[l * HalfShapes + r];
    }
}

POS_STAT classifyWhiteLines(const uint32_t lines[4])
{
    bool overline = false, five = false, straightFour = false;
    for (int d = 0; d < 4; ++d) {
        const uint32_t kind = lines[d] & KindMask;
        overline |= kind == KindOverline;
        five |= kind == KindFive;
        straightFour |= kind == KindStraightFour;
    }
    if (overline)
        return Stat::Overline;
    if (five)
        return Stat::Five;
    if (straightFour)
        return Stat::StraightFour;
    int fours = 0, threes = 0, twos = 0;
    for (int d = 0; d < 4; ++d) {
        if (lines[d] & HasFour)
            ++fours;
        else if (lines[d] & HasThree)
            ++threes;
        else if (lines[d] & HasTwo)
            ++twos;
    }
    if (fours >= 2)
        return Stat::DoubleFour;
    if (threes >= 1 && fours == 1)
        return Stat::FourThree;
    if (fours == 1)
        return Stat::FourBand.withTwos(twos);
    if (threes >= 2)
        return Stat::DoubleThreeBand.withTwos(twos);
    if (threes == 1)
        return Stat::ThreeBand.withTwos(twos);
    return Stat::NothingBand.withTwos(twos);
}

// A point off the board: the checked accessor reports it, and every line reads as the opponent's.
POS_STAT offBoardCode(BanArray &board, int point)
{
    char &cell = board.cell(point);
    const char saved = cell;
    board.cell(point) = saved;
    return Stat::Nothing;
}

} // namespace

POS_STAT classifyWhite(const LineScan &scan)
{
    uint32_t lines[4];
    for (int d = 0; d < 4; ++d) {
        // Drop the judged point's bit to get the 10-cell layout of readAround.
        const auto tenCells = [](unsigned mask) { return (mask & 31) | ((mask >> 6) << 5); };
        uint64_t own = tenCells(scan.ownMask[d]), empty = tenCells(scan.emptyMask[d]);
        uint32_t one[4];
        lineEntries(own, empty, one);
        lines[d] = one[0];
    }
    return classifyWhiteLines(lines);
}

bool ChkStat::anyTrueThree(int point, int d, unsigned keys)
{
    const int stride = LineDirections[d].stride();
    for (; keys; keys &= keys - 1) {
        const int key = point + keyOffset(std::countr_zero(keys)) * stride;
        if (trace_)
            trace_->add(key);
        // The straight-four point must not itself be forbidden; the judged point holds its
        // stone meanwhile (the caller put it there).
        if (blackAt(key) < Stat::NgDoubleThree)
            return true;
    }
    return false;
}

POS_STAT ChkStat::classifyBlackLines(int point, const uint32_t lines[4])
{
    bool straightFour[4] = {}, four[4] = {}, openThree[4] = {}, closedThree[4] = {};
    bool overline = false;
    for (int d = 0; d < 4; ++d) {
        switch (lines[d] & KindMask) {
        case KindFive: return Stat::Five; // a five wins even beside an overline
        case KindOverline: overline = true; break;
        case KindStraightFour: straightFour[d] = true; break;
        case KindFour: four[d] = true; break;
        case KindOpenThree: openThree[d] = true; break;
        case KindClosedThree: closedThree[d] = true; break;
        }
    }
    if (overline)
        return Stat::NgOverline;
    for (int d = 0; d < 4; ++d)
        if (lines[d] & InLineDoubleFour)
            return Stat::NgDoubleFour;

    int fours[4] = {}, F = 0;
    bool gapFour[4] = {};
    for (int d = 0; d < 4; ++d) {
        if (lines[d] & OverlineGapFour) {
            straightFour[d] = four[d] = false;
            gapFour[d] = true;
            continue;
        }
        const bool brokenFour = !straightFour[d] && !four[d] && (lines[d] & BrokenFour);
        fours[d] = straightFour[d] + four[d] + brokenFour;
        F += fours[d];
    }
    if (F >= 2)
        return Stat::NgDoubleFour;

    int T = 0, twos = 0;
    char &cell = board_->cells()[point];
    const char saved = cell;
    for (int d = 0; d < 4 && T < 2; ++d) {
        if (gapFour[d] || fours[d])
            continue;
        const unsigned keys = openThree[d]      ? (lines[d] >> ContiguousKeysShift) & 63
                              : !closedThree[d] ? (lines[d] >> SplitKeysShift) & 63
                                                : 0;
        if (keys) {
            cell = Black;
            const bool three = anyTrueThree(point, d, keys);
            T += three;
            if (three || openThree[d])
                continue;
        } else if (openThree[d] || closedThree[d]) {
            continue;
        }
        twos += (lines[d] & HasTwo) != 0;
    }
    cell = saved;
    if (T >= 2)
        return Stat::NgDoubleThree;
    const int straightDirections = straightFour[0] + straightFour[1] + straightFour[2] + straightFour[3];
    if (straightDirections == 1)
        return Stat::StraightFour;
    if (T == 1 && F == 1)
        return Stat::FourThree;
    if (F == 1)
        return Stat::FourBand.withTwos(twos);
    if (T == 1)
        return Stat::ThreeBand.withTwos(twos);
    return Stat::NothingBand.withTwos(twos);
}

POS_STAT ChkStat::blackAt(int point)
{
    const Around a = readAround(board_->cells(), point);
    uint32_t lines[4];
    lineEntries(a.black, a.empty, lines);
    return classifyBlackLines(point, lines);
}

POS_STAT ChkStat::judgeBlack(int point)
{
    if (point < 0 || point >= PointCount)
        return offBoardCode(*board_, point);
    return blackAt(point);
}

POS_STAT ChkStat::judgeWhite(int point)
{
    if (point < 0 || point >= PointCount)
        return offBoardCode(*board_, point);
    const Around a = readAround(board_->cells(), point);
    uint32_t lines[4];
    lineEntries(a.white, a.empty, lines);
    return classifyWhiteLines(lines);
}

void ChkStat::judgeBoth(int point, POS_STAT &black, POS_STAT &white)
{
    if (point < 0 || point >= PointCount) {
        black = white = offBoardCode(*board_, point);
        return;
    }
    const Around a = readAround(board_->cells(), point);
    uint32_t lines[4];
    lineEntries(a.white, a.empty, lines);
    white = classifyWhiteLines(lines);
    lineEntries(a.black, a.empty, lines);
    black = classifyBlackLines(point, lines);
}

POS_STAT ChkStat::judgeLast()
{
    return (board_->count() & 1) ? judgeBlack(board_->last()) : judgeWhite(board_->last());
}

} // namespace korvana
