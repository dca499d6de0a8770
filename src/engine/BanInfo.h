#pragma once
// BanInfo: the judge's code of every point for both sides of one position.

#include "board/BanArray.h"
#include "board/tvector.h"

#include <cstdint>

namespace korvana {

class BanInfo {
public:
    BanInfo();
    BanInfo(const BanInfo &) = default;
    BanInfo &operator=(const BanInfo &) = default;
    virtual ~BanInfo() = default;

    /// Judges every empty point for both colours; occupied points get 20.
    /// The side to move follows from the board's stone count.
    /// Returns the number of judgements made.
    int computeFull(BanArray &board);
    /// Starts from the parent position's codes: the two sides exchange places.
    void takeSwapped(const BanInfo &parent);
    /// After a stone at `move` (already on `board`): re-judges, for each colour,
    /// the empty points up to five steps along the four lines through it,
    /// stopping before the other colour's stones. Returns the judgements made.
    int updateAfter(BanArray &board, int move);

    tvector<unsigned char> own;   ///< codes a stone of the side to move would get; 20 when occupied
    tvector<unsigned char> other; ///< the same for the other side
    uint8_t ownCanWin = 0;        ///< some empty point has own code 0 or 1
    uint8_t otherCanWin = 0;      ///< some empty point has other code 0 or 1

private:
    void recomputeFlags(const BanArray &board);
};

} // namespace korvana
