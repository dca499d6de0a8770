#include "kumo98/KumoBoard.h"

#include "board/ChkStat.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <random>
#include <type_traits>

namespace korvana::kumo {

namespace {

constexpr int DX[4] = {1, 1, 0, -1};
constexpr int DY[4] = {0, 1, 1, 1};

// The evaluation sums a value over the empty points for both colours; a
// point's class is its best two line shapes. The values were fitted (logistic
// regression) to quiet positions of the engine's self-play games, the target
// being a short search's score of the position (20000 nodes). They differ by
// the colour to move, since Black is restricted.
constexpr int PointClasses = P_Count * P_Count;
// Values of one line shape, the other half of the evaluation: first set by hand,
// then fitted (logistic regression on the game's result) to the quiet positions
// of 6000 self-play games; the four-three bonus below kept its hand-set value,
// since those positions have no four-three points.
constexpr int16_t PatternValue[P_Count] = {0, 0, 0, 9, 12, 24, 38, 44, 300, 2000, 0};
struct EvalWeights {
    int16_t point[2][PointClasses]; ///< [side to move, opponent][best shape * P_Count + second]
    int bias;
};
// Rows by a point's best line shape (none, B1, F1, B2, F2, B3, F3, B4, F4, five,
// overline), columns by the second best.
// clang-format off
constexpr EvalWeights Weights[2] = {
    // Black to move: the side to move's points, then the opponent's.
    {{{
             2,     1,     2,     4,    12,    12,    40,    45,   300,  2000,     0,
            16,     7,     3,     5,    13,    13,    41,    46,   301,  2001,     1,
             4,     0,     9,     6,    14,    14,    42,    47,   302,  2002,     2,
            10,     6,     2,     4,    16,    16,    44,    49,   304,  2004,     4,
             7,     8,     5,     6,     7,    24,    52,    57,   312,  2012,    12,
             5,     1,    -5,    -1,    27,    35,    52,    57,   312,  2012,    12,
             0,    15,    45,    53,   154,   179,   241,    85,   340,  2040,    40,
            23,     4,    37,    33,   176,    83,   328,    79,   345,  2045,    45,
           300,   301,   295,   304,   311,   312,   590,   339,   600,  2300,   300,
          2000,  2001,  2002,  2004,  2012,  2012,  2040,  2045,  2300,  4000,  2000,
             7,    -3,     2,    -3,    12,    11,    42,    41,   300,  2000,     0,
      },
      {
            -2,    -1,    -2,    -3,   -10,   -10,   -32,   -36,  -240, -1600,     0,
             4,    -3,    -2,    -4,   -10,   -10,   -33,   -37,  -241, -1601,    -1,
            -5,     7,   -11,    -5,   -11,   -11,   -34,   -38,  -242, -1602,    -2,
            -3,    -2,    -5,    -5,   -13,   -13,   -35,   -39,  -243, -1603,    -3,
           -10,   -10,    -6,   -12,     2,   -19,   -42,   -46,  -250, -1610,   -10,
            -9,   -16,     5,   -14,    -3,   -33,   -42,   -46,  -250, -1610,   -10,
           -16,    44,   -24,    -9,    -2,   -37,   -45,   -68,  -272, -1632,   -32,
           -34,   -19,   -77,   -78,  -146,  -133,  -415,   -72,  -276, -1636,   -36,
          -240,  -241,  -242,  -243,  -250,  -250,  -472,  -276,  -480, -1840,  -240,
         -1600, -1601, -1602, -1603, -1610, -1610, -1632, -1636, -1840, -3200, -1600,
             0,    -1,    -2,    -3,   -10,   -10,   -32,   -36,  -240, -1600,     0,
      }},
     -4},
    // White to move: the side to move's points, then the opponent's.
    {{{
             2,     1,     2,     4,    12,    12,    40,    45,   300,  2000,     0,
            -5,    28,     3,     5,    13,    13,    41,    46,   301,  2001,     1,
             0,     6,     5,     6,    14,    14,    42,    47,   302,  2002,     2,
             0,   -14,     6,     0,    16,    16,    44,    49,   304,  2004,     4,
            15,     3,    10,     9,     2,    24,    52,    57,   312,  2012,    12,
            14,    -2,     3,    -2,    35,    36,    52,    57,   312,  2012,    12,
            18,   -11,    52,    35,   118,   193,   370,    85,   340,  2040,    40,
            32,    34,    46,    62,   133,   105,   336,    90,   345,  2045,    45,
           300,   301,   302,   304,   312,   312,   590,   345,   600,  2300,   300,
          2000,  2001,  2002,  2004,  2012,  2012,  2040,  2045,  2300,  4000,  2000,
             0,     1,     2,     4,    12,    12,    40,    45,   300,  2000,     0,
      },
      {
            -2,    -1,    -2,    -3,   -10,   -10,   -32,   -36,  -240, -1600,     0,
           -14,    -6,    -2,    -4,   -10,   -10,   -33,   -37,  -241, -1601,    -1,
            -1,    -2,   -10,    -5,   -11,   -11,   -34,   -38,  -242, -1602,    -2,
             2,    -4,    -8,    -7,   -13,   -13,   -35,   -39,  -243, -1603,    -3,
            -9,    10,    -5,    -3,     7,   -19,   -42,   -46,  -250, -1610,   -10,
            -3,     4,    -1,    -9,    -1,    -7,   -42,   -46,  -250, -1610,   -10,
           -19,    20,   -19,    -9,    -2,   -26,    -6,   -68,  -272, -1632,   -32,
            -4,   -22,   -72,   -92,  -121,  -137,  -380,   -58,  -276, -1636,   -36,
          -240,  -241,  -241,  -243,  -255,  -250,  -471,  -271,  -480, -1840,  -240,
         -1600, -1601, -1602, -1603, -1610, -1610, -1632, -1636, -1840, -3200, -1600,
            -4,    -3,    -3,    -7,   -12,    -3,   -26,   -33,  -240, -1600,    -1,
      }},
     2},
};
// clang-format on
constexpr int MaxEval = 20000; // far from the search's forced-result scores
constexpr int FittedFrom = 8;  // stones on the board from which the fitted values count

// Move ordering values per point class, per colour of the stone (the search
// weighs the side to move's one and a half times the opponent's), fitted to
// the moves the engine chose in its self-play games.
// clang-format off
constexpr int16_t OrderValue[2][PointClasses] = {
    // Black.
    {
         -259,     0,     0,     0,     0,     0,     0,     0,     0,     0,     0,
         -215,  -198,     0,     0,     0,     0,     0,     0,     0,     0,     0,
         -221,  -221,  -221,     0,     0,     0,     0,     0,     0,     0,     0,
         -208,  -198,  -198,  -198,     0,     0,     0,     0,     0,     0,     0,
         -178,  -162,  -162,  -162,  -125,     0,     0,     0,     0,     0,     0,
         -156,  -132,  -132,  -132,  -106,   -86,     0,     0,     0,     0,     0,
          -41,   -41,   -41,   -41,    43,    54,    54,     0,     0,     0,     0,
           13,    14,    66,    72,   162,   189,   361,   361,     0,     0,     0,
          341,   341,   436,   455,   509,   526,   542,   542,   542,     0,     0,
          642,   642,   642,   642,   642,   642,   642,   642,   642,   642,   642,
         -131,    -1,     8,   -18,     0,   -16,    -1,     0,    21,     0,   -57,
    },
    // White.
    {
         -294,     0,     0,     0,     0,     0,     0,     0,     0,     0,     0,
         -227,  -180,     0,     0,     0,     0,     0,     0,     0,     0,     0,
         -227,  -219,  -219,     0,     0,     0,     0,     0,     0,     0,     0,
         -227,  -202,  -202,  -202,     0,     0,     0,     0,     0,     0,     0,
         -171,  -153,  -153,  -153,  -127,     0,     0,     0,     0,     0,     0,
         -173,  -155,  -155,  -155,  -104,   -70,     0,     0,     0,     0,     0,
          -45,   -45,   -32,   -32,    11,    26,    71,     0,     0,     0,     0,
          -24,    26,    81,    81,   173,   173,   335,   335,     0,     0,     0,
          358,   358,   419,   419,   427,   439,   439,   439,   439,     0,     0,
          539,   539,   539,   539,   539,   539,   539,   539,   539,   539,   539,
            0,     0,     0,     0,     0,     0,     0,     0,     0,     0,     0,
    },
};
// clang-format on

// The points that see a stone on p in their line windows, precomputed.
struct Geometry {
    struct Ref {
        uint8_t point;
        uint8_t d;
        uint8_t shift; // where p sits in that point's key
    };
    std::array<std::vector<Ref>, 225> refs;
    std::array<std::vector<uint8_t>, 225> lines;        // points up to four away along each line
    std::array<std::array<uint32_t, 4>, 225> emptyKeys; // off-board cells marked
    std::array<std::array<uint64_t, 225>, 2> zobrist;

    Geometry()
    {
        for (int p = 0; p < 225; ++p) {
            const int x = p % 15, y = p / 15;
            for (int d = 0; d < 4; ++d) {
                uint32_t key = 0;
                for (int k = -5; k <= 5; ++k) {
                    if (k == 0)
                        continue;
                    const int qx = x + k * DX[d], qy = y + k * DY[d];
                    if (qx < 0 || qx > 14 || qy < 0 || qy > 14) {
                        key |= uint32_t(CellOff) << keyShift(k);
                        continue;
                    }
                    // p sits at step -k from q.
                    refs[p].push_back({static_cast<uint8_t>(qx + 15 * qy), static_cast<uint8_t>(d),
                                       static_cast<uint8_t>(keyShift(-k))});
                }
                emptyKeys[p][d] = key;
                for (int k = -4; k <= 4; ++k) {
                    const int qx = x + k * DX[d], qy = y + k * DY[d];
                    if (k != 0 && qx >= 0 && qx <= 14 && qy >= 0 && qy <= 14)
                        lines[p].push_back(static_cast<uint8_t>(qx + 15 * qy));
                }
            }
        }
        std::mt19937_64 random(0x6b756d6f3938ull);
        for (auto &side : zobrist)
            for (auto &z : side)
                z = random();
    }
};

const Geometry &geometry()
{
    static const Geometry instance;
    return instance;
}

Combo comboOf(const std::array<uint8_t, 4> &p, int16_t &score)
{
    int n[P_Count] = {};
    score = 0;
    for (int d = 0; d < 4; ++d) {
        ++n[p[d]];
        score = static_cast<int16_t>(score + PatternValue[p[d]]);
    }
    if (n[P_Five])
        return C_Five;
    if (n[P_Overline]) {
        score = 0; // a Black overline is forbidden: worth nothing to Black
        return C_None;
    }
    Combo c = C_None;
    if (n[P_F4] || n[P_B4] >= 2)
        c = C_F4;
    else if (n[P_B4] && n[P_F3])
        c = C_B4F3;
    else if (n[P_F3] >= 2)
        c = C_F3x2;
    else if (n[P_B4])
        c = C_B4;
    else if (n[P_F3])
        c = C_F3;
    else if (n[P_B3] || n[P_F2])
        c = C_Two;
    // A double three adds nothing beyond its threes in that fit.
    if (c == C_B4F3)
        score = static_cast<int16_t>(score + 250);
    return c;
}

int pointClassOf(std::array<uint8_t, 4> p)
{
    std::sort(p.begin(), p.end(), std::greater<>());
    return p[0] * P_Count + p[1];
}

} // namespace

// comboOf for every set of four line shapes, indexed by comboIndex, and per
// colour what those shapes are worth: one look-up per changed point.
struct ComboTable {
    static constexpr int Size = P_Count * P_Count * P_Count * P_Count;
    struct Value {
        int16_t order;   ///< ordering value of the point class
        int16_t score;   ///< line shape value (PatternValue sum)
        int16_t eval[2]; ///< fitted value of the point class, per colour to move
    };
    std::array<uint8_t, Size> combo;
    std::array<std::array<Value, Size>, 2> value;
    ComboTable()
    {
        for (int i = 0; i < Size; ++i) {
            std::array<uint8_t, 4> p;
            int v = i;
            for (int d = 3; d >= 0; --d) {
                p[d] = static_cast<uint8_t>(v % P_Count);
                v /= P_Count;
            }
            int16_t score = 0;
            combo[i] = comboOf(p, score);
            const int cls = pointClassOf(p);
            for (int c = 0; c < 2; ++c)
                value[c][i] = {
                    OrderValue[c][cls], score, {Weights[0].point[c != 0][cls], Weights[1].point[c != 1][cls]}};
        }
    }
};

namespace {

const ComboTable &comboTable()
{
    static const ComboTable instance;
    return instance;
}

// comboIndex is sum(p[d] * ComboWeight[d]): a change on one line moves it by a multiple.
constexpr int ComboWeight[4] = {P_Count * P_Count * P_Count, P_Count *P_Count, P_Count, 1};

inline int comboIndex(const std::array<uint8_t, 4> &p)
{
    return p[0] * ComboWeight[0] + p[1] * ComboWeight[1] + p[2] * ComboWeight[2] + p[3] * ComboWeight[3];
}

} // namespace

uint64_t zobrist(int colour, int point) { return geometry().zobrist[colour & 1][point]; }

KumoBoard::KumoBoard() { reset(); }

void KumoBoard::reset()
{
    const Geometry &g = geometry();
    pairTable_ = linePairTable();
    comboTable_ = &comboTable();
    cells_.fill(CellEmpty);
    near_.fill(0);
    history_.clear();
    colours_.clear();
    changes_.clear();
    undoLog_.clear();
    areas_.assign(1, Area{});
    hash_ = 0;
    passed_ = 0;
    ban_.reset();
    comboCount_ = {};
    evalSum_ = {};
    scoreSum_ = {};
    for (int p = 0; p < 225; ++p) {
        keys_[p] = g.emptyKeys[p];
        combo_[0][p] = combo_[1][p] = C_None;
        score_[0][p] = score_[1][p] = 0;
        refresh(p);
        for (int c = 0; c < 2; ++c) {
            comboCount_[c] += countUnit(combo_[c][p]);
            addPointValue(c, comboIndex_[c][p], 1);
        }
    }
}

void KumoBoard::addPointValue(int colour, int index, int sign)
{
    const ComboTable::Value &v = comboTable_->value[colour][index];
    scoreSum_[colour] += sign * v.score;
    for (int m = 0; m < 2; ++m)
        evalSum_[m] += sign * v.eval[m];
}

void KumoBoard::refresh(int point)
{
    for (int d = 0; d < 4; ++d)
        pat_[point][d] = pairTable_[keys_[point][d]];
    for (int c = 0; c < 2; ++c) {
        std::array<uint8_t, 4> p;
        for (int d = 0; d < 4; ++d)
            p[d] = pattern(c, point, d);
        const int i = comboIndex(p);
        comboIndex_[c][point] = static_cast<uint16_t>(i);
        combo_[c][point] = comboTable_->combo[i];
        score_[c][point] = comboTable_->value[c][i].order;
    }
}

void KumoBoard::update(int point, int colour)
{
    static const Geometry &g = geometry();
    const uint32_t code = colour == 0 ? CellBlack : CellWhite;
    const uint8_t *pairs = pairTable_;
    const ComboTable &table = *comboTable_;
    // The sums change in registers and are stored once: in memory every byte store
    // below (uint8_t aliases anything) would make the compiler reload them.
    int scoreSum0 = scoreSum_[0], scoreSum1 = scoreSum_[1], evalSum0 = evalSum_[0], evalSum1 = evalSum_[1];
    uint64_t counts0 = comboCount_[0], counts1 = comboCount_[1];
    // One colour's share of a line shape change at q, written out per colour so every sum stays in a register.
    auto change = [&](auto colour, int q, int weight, int np, int op, uint64_t &counts, int &scoreSum) {
        constexpr int c = decltype(colour)::value;
        const int oldIndex = comboIndex_[c][q];
        const int i = oldIndex + (np - op) * weight;
        const ComboTable::Value &v = table.value[c][i], &oldValue = table.value[c][oldIndex];
        const uint8_t combo = table.combo[i];
        comboIndex_[c][q] = static_cast<uint16_t>(i);
        counts += countUnit(combo) - countUnit(combo_[c][q]);
        combo_[c][q] = combo;
        score_[c][q] = v.order;
        scoreSum += v.score - oldValue.score;
        evalSum0 += v.eval[0] - oldValue.eval[0];
        evalSum1 += v.eval[1] - oldValue.eval[1];
    };
    for (const Geometry::Ref &r : g.refs[point]) {
        const int q = r.point;
        // Keys and shapes of occupied points are left as they were: every stone put down
        // after q's is taken back before q's (undo is LIFO), so they hold again once q empties.
        if (cells_[q] != CellEmpty)
            continue;
        uint32_t &key = keys_[q][r.d];
        key += code << r.shift;
        const uint8_t pair = pairs[key];
        const uint8_t old = pat_[q][r.d];
        if (pair == old)
            continue;
        changes_.push_back({static_cast<uint8_t>(q),
                            r.d,
                            old,
                            {combo_[0][q], combo_[1][q]},
                            {comboIndex_[0][q], comboIndex_[1][q]},
                            {score_[0][q], score_[1][q]}});
        pat_[q][r.d] = pair;
        const int weight = ComboWeight[r.d];
        if ((pair & 15) != (old & 15))
            change(std::integral_constant<int, 0>{}, q, weight, pair & 15, old & 15, counts0, scoreSum0);
        if ((pair >> 4) != (old >> 4))
            change(std::integral_constant<int, 1>{}, q, weight, pair >> 4, old >> 4, counts1, scoreSum1);
    }
    comboCount_ = {counts0, counts1};
    scoreSum_ = {scoreSum0, scoreSum1};
    evalSum_ = {evalSum0, evalSum1};
    addNear(point, 1);
}

void KumoBoard::addNear(int point, int sign)
{
    // Five bytes of each of the five rows at once (counts stay below 25, so no byte
    // carries into the next), the point itself kept out. It is taken out after an add
    // and put back before a subtraction, so no byte ever goes below zero and borrows.
    constexpr uint64_t Five = 0x0101010101ull;
    const int x = point % 15, y = point / 15;
    uint8_t &self = near_[static_cast<size_t>(nearIndex(point))];
    if (sign < 0)
        ++self;
    for (int row = y; row < y + 5; ++row) {
        uint8_t *at = near_.data() + row * NearStride + x;
        uint64_t v;
        std::memcpy(&v, at, sizeof v);
        v = sign > 0 ? v + Five : v - Five;
        std::memcpy(at, &v, sizeof v);
    }
    if (sign > 0)
        --self;
}

bool KumoBoard::place(int point, int colour)
{
    if (point < 0 || point >= 225 || cells_[point] != CellEmpty)
        return false;
    undoLog_.push_back({comboCount_, scoreSum_, evalSum_, static_cast<uint32_t>(changes_.size())});
    for (int c = 0; c < 2; ++c) {
        comboCount_[c] -= countUnit(combo_[c][point]);
        addPointValue(c, comboIndex_[c][point], -1);
    }
    cells_[point] = colour == 0 ? CellBlack : CellWhite;
    ban_.cells()[point] = colourChar(colour);
    hash_ ^= zobrist(colour, point);
    history_.push_back(static_cast<uint8_t>(point));
    colours_.push_back(static_cast<uint8_t>(colour));
    {
        const int x = point % 15, y = point / 15;
        Area a;
        if (history_.size() > 1)
            a = areas_.back();
        else
            a = {static_cast<uint8_t>(x), static_cast<uint8_t>(x), static_cast<uint8_t>(y), static_cast<uint8_t>(y)};
        a.x0 = static_cast<uint8_t>(std::min<int>(a.x0, std::max(0, x - 2)));
        a.x1 = static_cast<uint8_t>(std::max<int>(a.x1, std::min(14, x + 2)));
        a.y0 = static_cast<uint8_t>(std::min<int>(a.y0, std::max(0, y - 2)));
        a.y1 = static_cast<uint8_t>(std::max<int>(a.y1, std::min(14, y + 2)));
        areas_.push_back(a);
    }
    update(point, colour);
    return true;
}

void KumoBoard::undo()
{
    static const Geometry &g = geometry();
    const int point = history_.back();
    const int colour = colours_.back();
    history_.pop_back();
    colours_.pop_back();
    areas_.pop_back();
    cells_[point] = CellEmpty;
    ban_.cells()[point] = Empty;
    hash_ ^= zobrist(colour, point);
    // Keys lose the stone; shapes, combo indices and sums come back from the log
    // instead of being looked up again. The point's own shapes are as they were
    // when the stone went down (its keys were frozen meanwhile).
    const uint32_t code = colour == 0 ? CellBlack : CellWhite;
    for (const Geometry::Ref &r : g.refs[point]) {
        // Without a branch: which neighbours are occupied is hard to predict.
        const uint32_t keep = cells_[r.point] == CellEmpty ? ~0u : 0u;
        keys_[r.point][r.d] -= (code << r.shift) & keep;
    }
    const Saved &saved = undoLog_.back();
    for (size_t i = saved.changes; i < changes_.size(); ++i) {
        const Change &ch = changes_[i];
        pat_[ch.point][ch.d] = ch.pair;
        for (int c = 0; c < 2; ++c) {
            combo_[c][ch.point] = ch.combo[c];
            comboIndex_[c][ch.point] = ch.index[c];
            score_[c][ch.point] = ch.score[c];
        }
    }
    changes_.resize(saved.changes);
    comboCount_ = saved.comboCount;
    scoreSum_ = saved.scoreSum;
    evalSum_ = saved.evalSum;
    undoLog_.pop_back();
    addNear(point, -1);
}

bool KumoBoard::isForbidden(int point)
{
    if (cells_[point] != CellEmpty)
        return false;
    int n[P_Count] = {};
    for (int d = 0; d < 4; ++d)
        ++n[pattern(0, point, d)];
    if (n[P_Five])
        return false;
    // Only shapes that could be forbidden go to the judge.
    const bool suspect = n[P_Overline] || n[P_F4] || n[P_B4] + n[P_F4] >= 2 || n[P_F3] >= 2;
    if (!suspect)
        return false;
    ChkStat judge(ban_);
    return korvana::isForbidden(judge.judgeBlack(point));
}

int KumoBoard::countAtLeast(int colour, Combo combo) const
{
    int n = 0;
    for (uint64_t counts = comboCount_[colour] >> (8 * combo); counts; counts >>= 8)
        n += static_cast<int>(counts & 255);
    return n;
}

int KumoBoard::findFive(int colour) const
{
    int p;
    return fivePoints(colour, &p, 1) ? p : -1;
}

int KumoBoard::fivePoints(int colour, int *out, int max) const
{
    // Every five point lies in the area; the scan ends once all of them are found.
    const int wanted = std::min(max, countOf(colour, C_Five));
    if (wanted <= 0)
        return 0;
    int n = 0;
    const Area &a = area();
    for (int y = a.y0; y <= a.y1; ++y)
        for (int p = y * 15 + a.x0, end = y * 15 + a.x1; p <= end; ++p)
            if (cells_[p] == CellEmpty && combo_[colour][p] == C_Five) {
                out[n++] = p;
                if (n == wanted)
                    return n;
            }
    return n;
}

int KumoBoard::evaluate() const
{
    const int me = sideToMove();
    const int fitted = evalSum_[me] + Weights[me].bias;
    // The line shape sum: the side to move gets to use its chances first, so the
    // opponent's count a little less (0.86 in the fit).
    const int shapeSum = scoreSum_[me] - scoreSum_[1 - me] * 86 / 100;
    // Each alone plays about equally well; a blend beats both, and one with the
    // line shape sum weighing more (7:3) beat the plain mean. The line shape sum is
    // brought to the fitted one's scale (the logistic fits' slopes differ by 20/11).
    // The fitted values never saw the first moves of a game (their positions start at
    // five stones and at the end of the opening): there the line shape sum decides alone.
    if (count() < FittedFrom)
        return shapeSum * 11 / 20;
    return std::clamp((fitted * 3 + shapeSum * 11 / 20 * 7) / 10, -MaxEval, MaxEval);
}

int KumoBoard::fivePointsThrough(int colour, int point, int *out, int max) const
{
    static const Geometry &g = geometry();
    const int wanted = std::min(max, countOf(colour, C_Five));
    if (wanted <= 0)
        return 0;
    int n = 0;
    for (uint8_t q : g.lines[point])
        if (cells_[q] == CellEmpty && combo_[colour][q] == C_Five) {
            out[n++] = q;
            if (n == wanted)
                break;
        }
    return n;
}

} // namespace korvana::kumo
