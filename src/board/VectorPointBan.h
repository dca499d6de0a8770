#pragma once
// VectorPointBan: per point of one direction, a list of moves. The program never
// fills these lists; they are sized, cleared, copied and read by the line density.

#include <vector>

namespace korvana {

class BanMove;

/// The moves listed at one point.
using PointBan = std::vector<const BanMove *>;

class VectorPointBan {
public:
    /// size x size empty lists.
    void resize(int size)
    {
        size_ = size;
        entries_.assign(static_cast<size_t>(size * size), PointBan{});
    }
    int size() const { return size_; }
    /// The list at a point index; requires 0 <= point < size * size.
    const PointBan &at(int point) const { return entries_[static_cast<size_t>(point)]; }
    PointBan &at(int point) { return entries_[static_cast<size_t>(point)]; }

private:
    int size_ = 0;
    std::vector<PointBan> entries_;
};

} // namespace korvana
