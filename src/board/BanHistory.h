#pragma once
// BanHistory: the moves that led to a position, each with the judge's code,
// and a cursor for walking them.

#include "board/BanArray.h"
#include "board/PosStat.h"

#include <cstdint>
#include <vector>

namespace korvana {

/// One move as played: 4 bytes.
struct MovedPos {
    uint8_t x = 0;     ///< column 0..14
    uint8_t y = 0;     ///< row 0..14
    char colour = 'B'; ///< 'B' or 'W'
    uint8_t code = 20; ///< the move's classification; 20 until computed
    bool operator==(const MovedPos &) const = default;
};
static_assert(sizeof(MovedPos) == 4);

class BanHistory {
public:
    BanHistory() = default;
    BanHistory(const BanHistory &) = default;
    BanHistory &operator=(const BanHistory &) = default;
    virtual ~BanHistory() = default;

    /// Cursor to the end marker.
    void resetCursor() { cursor_ = -1; }
    /// Steps forward; false (cursor on the end marker) after the last move.
    bool next(MovedPos &moved);
    /// Steps backward; false (cursor on the end marker) before the first move.
    bool previous(MovedPos &moved);
    /// Code of the move under the cursor; 20 when the history is empty.
    uint8_t currentCode() const;

    /// Appends and advances the cursor; refused when x or y is above 14.
    bool append(int x, int y, char colour, uint8_t code);
    /// Appends with the code the judge gives the move on the replayed history.
    /// Requires the cursor on the last move.
    bool appendJudged(int x, int y, char colour);
    /// Appends the next colour's move at a point index.
    bool appendPoint(int point);
    /// Steps the cursor back one move and drops the last move.
    void removeLast();

    int count() const { return static_cast<int>(moves_.size()); }
    /// The board of these moves: count = moves, last = final point (225 when none).
    BanArray toBoard() const;
    void toBoard(BanArray &board) const;

    /// Direct read access in playing order.
    const std::vector<MovedPos> &moves() const { return moves_; }
    const MovedPos &operator[](int i) const { return moves_[static_cast<size_t>(i)]; }
    /// Sets the code of the last move (the game board judges it itself).
    void setLastCode(uint8_t code);

private:
    std::vector<MovedPos> moves_;
    int cursor_ = -1; ///< index of the move under the cursor; -1 is the end marker
};

} // namespace korvana
