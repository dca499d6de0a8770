#pragma once
// Board: the game's board. Knows the move on every point, keeps the move history,
// and keeps for every point the code a Black and a White stone would get there,
// updated after each move and restored on take-back (no judgement), so that displays and
// candidate scans only read tables. A move re-judges exactly the points whose judgement
// reads its point: those on its lines up to five steps, and those whose Black judgement
// judged a point on the way that does.

#include "board/BanArray.h"
#include "board/BanHistory.h"
#include "board/BanMove.h"
#include "board/BanMoveFactory.h"
#include "board/GoBanBase.h"
#include "board/HanteiBoard.h"
#include "board/PointSet.h"
#include "board/VectorPointBan.h"

#include <array>

namespace korvana {

class Board : public GoBanBase {
public:
    /// An empty 15 x 15 board; new moves come from `factory` (may be set later).
    explicit Board(BanMoveFactory *factory = nullptr);
    Board(const Board &) = delete;
    Board &operator=(const Board &) = delete;

    /// While on, new moves are only placed: neither they nor the points around them are
    /// judged, and the code tables go stale. Each such move is judged, exactly as it would
    /// have been, when it is first replayed. For bulk reading of records; callers reset
    /// the board after turning it off.
    void setDeferredJudging(bool on) { deferred_ = on; }
    bool deferredJudging() const { return deferred_; }

    /// Who creates the moves of playNewMove; not owned.
    void setMoveFactory(BanMoveFactory *factory) { factory_ = factory; }

    // --- Modifiers -------------------------------------------------------

    /// Empty board: grid cleared, history emptied, line lists emptied, both code tables 20.
    /// The moves themselves are untouched (the tree owns them and keeps their records).
    void reset();
    /// Plays a move never played before: creates it through the factory, judges it
    /// (its code goes into the move and the history) and re-judges the points whose codes
    /// it can change.
    /// Null, with nothing changed, when the point is off the board or occupied, the colour
    /// is not 'B'/'W', or there is no factory.
    BanMove *playNewMove(int x, int y, char colour, BanMove *parent);
    /// Puts a move played before back on the board (walking forward in the tree): its own
    /// code goes into the history and its recorded codes into the tables, without judging.
    /// False, with nothing changed, when its point is not empty.
    bool replayMove(BanMove *move);
    /// Takes the last move off the board and restores the tables from its records.
    /// False, with nothing changed, when `move` is not the last move played.
    bool takeBack(BanMove *move);

    // --- Point queries ---------------------------------------------------

    /// Code a stone of pos.colour would get at (pos.x, pos.y); 20 off the board.
    POS_STAT codeAt(const Pos &pos) const;
    /// pointValue of codeAt.
    int valueAt(const Pos &pos) const;
    /// Value of pos.colour's code minus value of the other colour's code at the point.
    int balanceAt(const Pos &pos) const;
    /// Line-density product at a point: over the four directions, the difference of the
    /// Black and White list lengths, a zero difference counting as 1. Requires 0 <= point < 225.
    int lineDensity(int point) const;

    // --- Whole-board state -----------------------------------------------

    /// Code table of a colour ('B' Black, anything else White).
    const HanteiBoard &codes(char colour) const { return colour == Black ? blackCodes_ : whiteCodes_; }
    const HanteiBoard &blackCodes() const { return blackCodes_; }
    const HanteiBoard &whiteCodes() const { return whiteCodes_; }
    /// Per-direction move lists (direction 0..3) of a colour.
    const VectorPointBan &lines(char colour, int direction) const
    {
        return colour == Black ? blackLines_[direction & 3] : whiteLines_[direction & 3];
    }
    /// Moves on the board, in playing order, each with its code.
    const BanHistory &history() const { return history_; }
    /// Number of moves on the board.
    int moveCount() const { return history_.count(); }
    /// The stones as a judge's board (cells, count and last kept in step with the history).
    const BanArray &banArray() const { return ban_; }

    /// Judgements run since construction (a replay or take-back runs none).
    long long judgementCount() const { return judgements_; }

private:
    void placeStone(BanMove *move);
    void judgeMove(BanMove *move);
    void updateCodes(BanMove *move);
    void judgeAround(BanMove *move);
    void writeRecords(const BanMove *move, bool after);
    void setNested(int point, const PointSet &set);

    BanMoveFactory *factory_ = nullptr;
    BanHistory history_;
    std::array<VectorPointBan, 4> blackLines_;
    std::array<VectorPointBan, 4> whiteLines_;
    HanteiBoard blackCodes_;
    HanteiBoard whiteCodes_;
    BanArray ban_; ///< the same stones as the grid, for the judge
    /// Per point, the points its Black judgement judged on the way, and the points for
    /// which that set is not empty.
    std::array<PointSet, PointCount> nested_;
    PointSet withNested_;
    long long judgements_ = 0;
    bool deferred_ = false; ///< see setDeferredJudging
};

} // namespace korvana
