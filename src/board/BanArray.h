#pragma once
// BanArray: the plain 15 x 15 board of cell characters the judge works on.

#include "board/Point.h"
#include "board/tvector.h"

namespace korvana {

class BanArray {
public:
    BanArray();
    BanArray(const BanArray &) = default;
    BanArray &operator=(const BanArray &) = default;
    virtual ~BanArray() = default;

    /// 225 empty cells, count 0, last NoPoint.
    void reset();
    /// Places the next stone (Black on even counts); 0 without change when occupied.
    int putStone(int point);

    /// Checked cell access: a bad point reports and yields a scratch cell.
    char &cell(int point) { return cells_[point]; }
    char cell(int point) const { return cells_[point]; }
    /// Unchecked cells for hot loops; point must be 0..224.
    char *cells() { return cells_.data(); }
    const char *cells() const { return cells_.data(); }

    uint8_t count() const { return count_; }
    uint8_t last() const { return last_; }
    void setCount(uint8_t count) { count_ = count; }
    void setLast(uint8_t last) { last_ = last; }

    /// Same count and same cells; last is not compared.
    bool operator==(const BanArray &other) const;

private:
    tvector<char> cells_;
    uint8_t count_ = 0;      ///< stones played
    uint8_t last_ = NoPoint; ///< point of the last stone
};

} // namespace korvana
