#include "engine/PhaseHash.h"

#include <cstring>

namespace korvana {

PhaseHash::PhaseHash(int32_t chains) : thash(chains > 0 ? chains : 1) {}

int32_t PhaseHash::chainOf(const int &key) const
{
    // The key of a board whose sum wraps to -2^31 stays negative after abs;
    // its magnitude taken unsigned keeps the chain number in range.
    const uint32_t magnitude = key < 0 ? 0u - static_cast<uint32_t>(key) : static_cast<uint32_t>(key);
    return static_cast<int32_t>(magnitude % static_cast<uint32_t>(chains_.length()));
}

int PhaseHash::positionKey(const BanArray &board)
{
    uint32_t sum = 0;
    const char *cells = board.cells();
    for (int p = 0; p < PointCount; ++p) {
        if (cells[p] == Black)
            sum += uint32_t{1} << pointX(p);
        else if (cells[p] == White)
            sum += uint32_t{1} << (pointX(p) + 15);
    }
    const int32_t signedSum = static_cast<int32_t>(sum);
    return signedSum < 0 ? static_cast<int32_t>(0u - sum) : signedSum;
}

Phase *PhaseHash::findValued(int key, const BanArray &board)
{
    Phase *found = nullptr;
    bool first = true;
    chains_[chainOf(key)].forEachOldestFirst([&](HashData<int, Phase *> &entry) {
        if (entry.key != key) {
            if (!first)
                return false;
        } else {
            const Phase *phase = entry.value;
            if (phase->hasValue() && phase->board.count() == board.count() &&
                std::memcmp(phase->board.cells(), board.cells(), PointCount) == 0) {
                found = entry.value;
                return false;
            }
        }
        first = false;
        return true;
    });
    return found;
}

} // namespace korvana
