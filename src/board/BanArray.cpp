#include "board/BanArray.h"

#include <cstring>

namespace korvana {

BanArray::BanArray() : cells_(PointCount) { reset(); }

void BanArray::reset()
{
    std::memset(cells_.data(), Empty, PointCount);
    count_ = 0;
    last_ = NoPoint;
}

int BanArray::putStone(int point)
{
    char &c = cells_[point];
    if (c != Empty)
        return 0;
    c = colourToMove(count_);
    last_ = static_cast<uint8_t>(point);
    ++count_;
    return 1;
}

bool BanArray::operator==(const BanArray &other) const
{
    return count_ == other.count_ && std::memcmp(cells_.data(), other.cells_.data(), PointCount) == 0;
}

} // namespace korvana
