#pragma once
// AData: one stored position, its stones in playing order and its candidate
// moves.

#include "board/BanArray.h"
#include "board/BanHistory.h"
#include "board/tvector.h"
#include "database/ADataElement.h"

#include <cstdint>

namespace korvana {

class AData {
public:
    /// Identifier of records the user makes when no setting says otherwise.
    static constexpr int32_t DefaultId = 1024;

    /// Id 1024, no stones, no candidates.
    AData();
    /// Room for stoneCount stones, all NoPoint until the caller fills them.
    explicit AData(int stoneCount);
    AData(const AData &) = default;
    AData &operator=(const AData &) = default;
    AData(AData &&) noexcept = default;
    AData &operator=(AData &&) noexcept = default;
    ~AData() = default;

    // --- filling -----------------------------------------------------------
    /// Stones = the history's moves in playing order. Id and candidates are kept.
    void setFromHistory(const BanHistory &history);
    /// Stones from a board: Black's on the even entries, White's on the odd
    /// ones, each colour column by column (x outer, y inner) until its entries
    /// are used up; entries a colour cannot fill stay NoPoint.
    void setFromBoard(const BanArray &board);
    /// Replaces the stones (entry i is Black when i is even).
    void setStones(const uint8_t *points, int count);

    // --- fields -------------------------------------------------------------
    int32_t id() const { return id_; }
    void setId(int32_t id) { id_ = id; }
    int stoneCount() const { return stones_.length(); }
    /// Stone entry i (checked: a bad index reports and answers 0).
    uint8_t stone(int i) const { return stones_[i]; }
    tvector<uint8_t> &stones() { return stones_; }
    const tvector<uint8_t> &stones() const { return stones_; }
    int candidateCount() const { return candidates_.length(); }
    /// Point of candidate i (checked: a bad index reports and answers 15).
    uint8_t candidatePoint(int i) const { return candidates_[i].point; }
    VectorADataElement &candidates() { return candidates_; }
    const VectorADataElement &candidates() const { return candidates_; }

    // --- candidates --------------------------------------------------------
    bool hasCandidate(int point) const;
    /// Appends the point with value 0 unless it is already a candidate or off the board.
    void addCandidate(int point);
    /// Removes the candidate at the point; the others keep their order.
    void removeCandidate(int point);
    /// Removes every candidate.
    void clearCandidates() { candidates_.resize(0); }
    /// The Shift-click edit: false when a stone of the record stands on the
    /// point (or it is off the board); otherwise removes or adds the candidate
    /// and answers true.
    bool toggleCandidate(int point);
    /// True when one of the record's stones stands on the point.
    bool hasStoneAt(int point) const;

    // --- position ----------------------------------------------------------
    /// The index key: depends only on the number of stones.
    int32_t key() const { return keyOf(stoneCount()); }
    static int32_t keyOf(int stoneCount);
    /// Same number of stones and the same board when the stones are put down
    /// in entry order, alternating Black and White (a point given twice keeps
    /// the first stone). The order within one colour does not matter.
    bool samePosition(const AData &other) const;
    /// True when every stone is a point of the board (0..224).
    bool stonesOnBoard() const;
    /// The record under board symmetry `kind` (0..7): every stone and
    /// candidate mapped, order and values kept.
    AData transformed(int kind) const;

private:
    int32_t id_ = DefaultId;        ///< who made the record; carried, never interpreted
    tvector<uint8_t> stones_;       ///< entry i: Black when i is even, White when odd
    VectorADataElement candidates_; ///< recommended moves in letter order
};

} // namespace korvana
