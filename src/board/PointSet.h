#pragma once
// PointSet: a fixed-size set of board points (one bit each), cheap to copy and compare.

#include "board/Point.h"

#include <array>
#include <bit>
#include <cstdint>

namespace korvana {

class PointSet {
public:
    void add(int point) { words_[point >> 6] |= uint64_t{1} << (point & 63); }
    void remove(int point) { words_[point >> 6] &= ~(uint64_t{1} << (point & 63)); }
    bool contains(int point) const { return (words_[point >> 6] >> (point & 63)) & 1; }
    bool empty() const { return !(words_[0] | words_[1] | words_[2] | words_[3]); }
    bool intersects(const PointSet &other) const
    {
        return (words_[0] & other.words_[0]) | (words_[1] & other.words_[1]) | (words_[2] & other.words_[2]) |
               (words_[3] & other.words_[3]);
    }
    int size() const
    {
        return std::popcount(words_[0]) + std::popcount(words_[1]) + std::popcount(words_[2]) +
               std::popcount(words_[3]);
    }
    void clear() { words_ = {}; }
    /// Calls f(point) for every member, in increasing order.
    template <class F> void forEach(F f) const
    {
        for (int w = 0; w < 4; ++w)
            for (uint64_t bits = words_[w]; bits; bits &= bits - 1)
                f(w * 64 + std::countr_zero(bits));
    }
    bool operator==(const PointSet &) const = default;

private:
    std::array<uint64_t, 4> words_{};
};

} // namespace korvana
