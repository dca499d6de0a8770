#pragma once
// HanteiBoard: for every point, the code a stone of one colour would get there.

#include "board/Point.h"
#include "board/PosStat.h"

#include <array>
#include <cstring>

namespace korvana {

class HanteiBoard {
public:
    HanteiBoard() { reset(); }

    /// Every point back to 20 (nothing), as on an empty board.
    void reset() { codes_.fill(Stat::Nothing); }

    /// Code at a point; 20 for a point off the board.
    POS_STAT at(int point) const { return point >= 0 && point < PointCount ? codes_[point] : Stat::Nothing; }
    /// Stores a code; a point off the board is ignored.
    void set(int point, POS_STAT code)
    {
        if (point >= 0 && point < PointCount)
            codes_[point] = code;
    }

    /// The 225 codes, for scans that have their points in range already.
    const POS_STAT *data() const { return codes_.data(); }
    POS_STAT *data() { return codes_.data(); }

    bool operator==(const HanteiBoard &other) const { return codes_ == other.codes_; }

private:
    std::array<POS_STAT, PointCount> codes_;
};

} // namespace korvana
