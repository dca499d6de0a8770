#include "kumo98/KumoBoard.h"

#include "board/ChkStat.h"

#include <algorithm>
#include <random>

namespace korvana::kumo {

namespace {

constexpr int DX[4] = {1, 1, 0, -1};
constexpr int DY[4] = {0, 1, 1, 1};

// Values of one line shape for the ordering score and the evaluation.
constexpr int16_t PatternValue[P_Count] = {0, 1, 2, 4, 12, 12, 40, 45, 300, 2000, 0};

// The points that see a stone on p in their line windows, precomputed.
struct Geometry {
    struct Ref {
        uint8_t point;
        uint8_t d;
        uint8_t shift; // where p sits in that point's key
    };
    std::array<std::vector<Ref>, 225> refs;
    std::array<std::vector<uint8_t>, 225> square;       // points within two lines and columns
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
            }
            for (int dy = -2; dy <= 2; ++dy)
                for (int dx = -2; dx <= 2; ++dx) {
                    const int qx = x + dx, qy = y + dy;
                    if ((dx || dy) && qx >= 0 && qx < 15 && qy >= 0 && qy < 15)
                        square[p].push_back(static_cast<uint8_t>(qx + 15 * qy));
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
    if (c == C_B4F3 || c == C_F3x2)
        score = static_cast<int16_t>(score + 250);
    return c;
}

} // namespace

// comboOf for every set of four line shapes, indexed by comboIndex.
struct ComboTable {
    static constexpr int Size = P_Count * P_Count * P_Count * P_Count;
    std::array<uint8_t, Size> combo;
    std::array<int16_t, Size> score;
    ComboTable()
    {
        for (int i = 0; i < Size; ++i) {
            std::array<uint8_t, 4> p;
            int v = i;
            for (int d = 3; d >= 0; --d) {
                p[d] = static_cast<uint8_t>(v % P_Count);
                v /= P_Count;
            }
            combo[i] = comboOf(p, score[i]);
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
    areas_.assign(1, Area{});
    hash_ = 0;
    ban_.reset();
    comboCount_ = {};
    scoreSum_ = {};
    for (int p = 0; p < 225; ++p) {
        keys_[p] = g.emptyKeys[p];
        combo_[0][p] = combo_[1][p] = C_None;
        score_[0][p] = score_[1][p] = 0;
        refresh(p);
        for (int c = 0; c < 2; ++c) {
            ++comboCount_[c][combo_[c][p]];
            scoreSum_[c] += score_[c][p];
        }
    }
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
        score_[c][point] = comboTable_->score[i];
    }
}

void KumoBoard::update(int point, int colour, bool add)
{
    static const Geometry &g = geometry();
    const uint32_t code = colour == 0 ? CellBlack : CellWhite;
    const uint8_t *pairs = pairTable_;
    const ComboTable &table = *comboTable_;
    for (const Geometry::Ref &r : g.refs[point]) {
        const int q = r.point;
        uint32_t &key = keys_[q][r.d];
        key = add ? key + (code << r.shift) : key - (code << r.shift);
        // Shapes of occupied points are left as they were; they hold again once the point empties.
        if (cells_[q] != CellEmpty)
            continue;
        const uint8_t pair = pairs[key];
        const uint8_t old = pat_[q][r.d];
        if (pair == old)
            continue;
        pat_[q][r.d] = pair;
        for (int c = 0; c < 2; ++c) {
            const int np = (pair >> (4 * c)) & 15, op = (old >> (4 * c)) & 15;
            if (np == op)
                continue;
            const int i = comboIndex_[c][q] + (np - op) * ComboWeight[r.d];
            comboIndex_[c][q] = static_cast<uint16_t>(i);
            --comboCount_[c][combo_[c][q]];
            scoreSum_[c] -= score_[c][q];
            combo_[c][q] = table.combo[i];
            score_[c][q] = table.score[i];
            ++comboCount_[c][combo_[c][q]];
            scoreSum_[c] += score_[c][q];
        }
    }
    for (uint8_t q : g.square[point])
        near_[q] = static_cast<uint8_t>(near_[q] + (add ? 1 : -1));
}

bool KumoBoard::place(int point, int colour)
{
    if (point < 0 || point >= 225 || cells_[point] != CellEmpty)
        return false;
    for (int c = 0; c < 2; ++c) {
        --comboCount_[c][combo_[c][point]];
        scoreSum_[c] -= score_[c][point];
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
    update(point, colour, true);
    return true;
}

void KumoBoard::undo()
{
    const int point = history_.back();
    const int colour = colours_.back();
    history_.pop_back();
    colours_.pop_back();
    areas_.pop_back();
    cells_[point] = CellEmpty;
    ban_.cells()[point] = Empty;
    hash_ ^= zobrist(colour, point);
    update(point, colour, false);
    // The point's own shapes are as they were when the stone went down: its keys
    // only changed with later stones, all taken back by now, and shapes of occupied
    // points are never touched.
    for (int c = 0; c < 2; ++c) {
        ++comboCount_[c][combo_[c][point]];
        scoreSum_[c] += score_[c][point];
    }
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
    for (int c = combo; c < C_Count; ++c)
        n += comboCount_[colour][c];
    return n;
}

int KumoBoard::findFive(int colour) const
{
    if (comboCount_[colour][C_Five] == 0)
        return -1;
    int found = -1;
    forArea([&](int p) {
        if (found < 0 && cells_[p] == CellEmpty && combo_[colour][p] == C_Five)
            found = p;
    });
    return found;
}

int KumoBoard::fivePoints(int colour, int *out, int max) const
{
    if (comboCount_[colour][C_Five] == 0)
        return 0;
    int n = 0;
    forArea([&](int p) {
        if (n < max && cells_[p] == CellEmpty && combo_[colour][p] == C_Five)
            out[n++] = p;
    });
    return n;
}

int KumoBoard::evaluate() const
{
    const int me = sideToMove();
    // The side to move gets to use its chances first.
    return scoreSum_[me] - scoreSum_[1 - me] * 4 / 5;
}

int KumoBoard::fivePointsThrough(int colour, int point, int *out, int max) const
{
    if (comboCount_[colour][C_Five] == 0)
        return 0;
    int n = 0;
    const int x = point % 15, y = point / 15;
    for (int d = 0; d < 4; ++d)
        for (int k = -4; k <= 4; ++k) {
            const int qx = x + k * DX[d], qy = y + k * DY[d];
            if (k == 0 || qx < 0 || qx > 14 || qy < 0 || qy > 14)
                continue;
            const int q = qx + 15 * qy;
            if (n < max && cells_[q] == CellEmpty && combo_[colour][q] == C_Five)
                out[n++] = q;
        }
    return n;
}

} // namespace korvana::kumo
