#pragma once
// KumoBoard: the engine's board. Keeps, for every point and both colours, the
// line shapes a stone there would make, updated incrementally per move, so
// move ordering and evaluation cost table look-ups only. Black's forbidden
// moves are always decided by the project's judge (ChkStat).

#include "board/BanArray.h"
#include "kumo98/LinePattern.h"

#include <array>
#include <cstdint>
#include <vector>

namespace korvana::kumo {

/// Colour index inside the engine: 0 Black, 1 White.
constexpr int colourIndex(char colour) { return colour == 'B' ? 0 : 1; }
constexpr char colourChar(int index) { return index == 0 ? 'B' : 'W'; }

/// What a stone of one colour makes on a point, all four lines together;
/// stronger threats have larger values.
enum Combo : uint8_t {
    C_None,
    C_Two,  ///< some open two or closed three
    C_F3,   ///< one open three
    C_F3x2, ///< two open threes (forbidden double three for Black, if real)
    C_B4,   ///< a four (exactly one completion point); this and above make a four
    C_B4F3, ///< four-three
    C_F4,   ///< straight four or double four
    C_Five,
    C_Count
};

struct ComboTable;

class KumoBoard {
public:
    KumoBoard();
    KumoBoard(const KumoBoard &) = default;
    KumoBoard &operator=(const KumoBoard &) = default;

    // --- modifiers --------------------------------------------------------
    /// Empty board.
    void reset();
    /// Puts a stone of `colour` (0/1) on an empty point; false when the point is taken or off the board.
    bool place(int point, int colour);
    /// Puts the next colour's stone (Black after an even count).
    bool play(int point) { return place(point, sideToMove()); }
    /// Takes back the last placed stone. Requires count() > 0.
    void undo();

    // --- point queries ----------------------------------------------------
    /// Cell code of a point: CellEmpty, CellBlack or CellWhite.
    uint8_t cell(int point) const { return cells_[point]; }
    bool isEmpty(int point) const { return cells_[point] == CellEmpty; }
    /// Shape a stone of `colour` on empty `point` makes along direction d.
    uint8_t pattern(int colour, int point, int d) const { return (pat_[point][d] >> (4 * colour)) & 15; }
    /// All four lines together, for an empty point (an occupied one keeps the
    /// value it had when the stone went down: ask isEmpty first).
    Combo combo(int colour, int point) const { return static_cast<Combo>(combo_[colour][point]); }
    /// Ordering value of a stone of `colour` on empty `point` (stale when occupied, as combo).
    int score(int colour, int point) const { return score_[colour][point]; }
    /// True when a Black stone on empty `point` is forbidden; decided by the judge.
    bool isForbidden(int point);
    /// True when `colour` may play on the empty point (never forbidden for White).
    bool isLegal(int point, int colour) { return colour == 1 || !isForbidden(point); }
    /// Stones within two lines and columns of the point.
    int nearCount(int point) const { return near_[static_cast<size_t>(nearIndex(point))]; }

    // --- whole-board queries ----------------------------------------------
    int count() const { return static_cast<int>(history_.size()); }
    int sideToMove() const { return (count() + passed_) & 1; }
    /// Hands the turn to the other side without a stone (the search's null move);
    /// a second call hands it back.
    void pass()
    {
        passed_ ^= 1;
        hash_ ^= PassKey;
    }
    bool passed() const { return passed_ != 0; }
    int lastMove() const { return history_.empty() ? -1 : history_.back(); }
    const std::vector<uint8_t> &history() const { return history_; }
    uint64_t hash() const { return hash_; }
    /// Empty points where `colour` has at least `combo`.
    int countAtLeast(int colour, Combo combo) const;
    /// First empty point where `colour` makes a five, or -1.
    int findFive(int colour) const;
    /// Empty points where `colour` makes a five, at most `max`.
    int fivePoints(int colour, int *out, int max) const;
    /// As fivePoints, looking only along the four lines through `point`
    /// (enough right after `colour` played there without a five before).
    int fivePointsThrough(int colour, int point, int *out, int max) const;
    /// Rows and columns within two of some stone (whole board when empty): [x0, x1] x [y0, y1].
    struct Area {
        uint8_t x0 = 0, x1 = 14, y0 = 0, y1 = 14;
    };
    const Area &area() const { return areas_.back(); }
    /// Calls f(point) for every point of area(), row by row.
    template <class F> void forArea(F f) const
    {
        const Area &a = area();
        for (int y = a.y0; y <= a.y1; ++y)
            for (int p = y * 15 + a.x0, end = y * 15 + a.x1; p <= end; ++p)
                f(p);
    }
    /// Static value for the side to move.
    int evaluate() const;
    /// The judge's board, in step with this one (cells only).
    BanArray &banArray() { return ban_; }

private:
    /// Brings the lines through `point` up to date with a stone just put there, logging what changed.
    void update(int point, int colour);
    void refresh(int point);
    /// Adds (sign 1) or takes away (-1) the values of `colour`'s shapes at a point, given by its combo index.
    void addPointValue(int colour, int index, int sign);

    std::array<uint8_t, 225> cells_{};
    std::array<std::array<uint32_t, 4>, 225> keys_{};
    std::array<std::array<uint8_t, 4>, 225> pat_{};         ///< both colours' shapes, as in the pair table
    std::array<std::array<uint16_t, 225>, 2> comboIndex_{}; ///< the four shapes as one combo-table index
    std::array<std::array<uint8_t, 225>, 2> combo_{};
    std::array<std::array<int16_t, 225>, 2> score_{};
    /// Stone counts of nearCount() on a board with a margin of two around it (and
    /// room for an eight-byte access at the last point), so a stone adds to five runs of five.
    static constexpr int NearStride = 19;
    static constexpr int nearIndex(int point) { return (point / 15 + 2) * NearStride + point % 15 + 2; }
    std::array<uint8_t, NearStride * NearStride + 8> near_{};
    void addNear(int point, int sign);
    /// Empty points per colour and combo, one byte per combo (at most 225 each): one
    /// add moves a point from one combo to another.
    std::array<uint64_t, 2> comboCount_{};
    static constexpr uint64_t countUnit(int combo) { return uint64_t(1) << (8 * combo); }
    static_assert(C_Count <= 8, "one byte per combo in a 64-bit word");
    int countOf(int colour, Combo combo) const { return static_cast<int>((comboCount_[colour] >> (8 * combo)) & 255); }
    std::array<int, 2> scoreSum_{}; ///< line shape values (PatternValue sums), per colour
    std::array<int, 2> evalSum_{};  ///< fitted point values, per colour to move
    /// One line shape change of a point, with the point's data before it: undo copies it back.
    struct Change {
        uint8_t point, d, pair;
        std::array<uint8_t, 2> combo;
        std::array<uint16_t, 2> index;
        std::array<int16_t, 2> score;
    };
    /// Per stone: the counts and sums before it, and where its changes start.
    struct Saved {
        std::array<uint64_t, 2> comboCount;
        std::array<int, 2> scoreSum, evalSum;
        uint32_t changes;
    };
    std::vector<Change> changes_;
    std::vector<Saved> undoLog_;
    std::vector<uint8_t> history_;
    std::vector<uint8_t> colours_;
    std::vector<Area> areas_; ///< one per stone count, the current one last
    uint64_t hash_ = 0;
    int passed_ = 0;
    static constexpr uint64_t PassKey = 0x9d3c5a7e61f2b487ull;
    BanArray ban_;
    const uint8_t *pairTable_ = nullptr; ///< the line shape table of both colours, cached
    const ComboTable *comboTable_ = nullptr;
};

/// Zobrist key of a stone of `colour` on `point`.
uint64_t zobrist(int colour, int point);

} // namespace korvana::kumo
