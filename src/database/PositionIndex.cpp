#include "database/PositionIndex.h"

#include "database/AData.h"

#include <array>
#include <cstring>

namespace korvana {

namespace {

// Cells by point byte: 0 empty, 1 Black, 2 White. 256 cells so that any byte
// indexes safely.
using Cells = std::array<uint8_t, 256>;

void putStones(const uint8_t *stones, int count, Cells &cells)
{
    cells.fill(0);
    for (int i = 0; i < count; ++i)
        if (!cells[stones[i]])
            cells[stones[i]] = static_cast<uint8_t>(1 + (i & 1));
}

uint64_t splitMix(uint64_t &state)
{
    uint64_t z = (state += 0x9e3779b97f4a7c15ull);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
    return z ^ (z >> 31);
}

struct ZobristTable {
    uint64_t stone[2][256];
    uint64_t count[256];
    ZobristTable()
    {
        uint64_t state = 0x4b756d6f39384442ull;
        for (auto &colour : stone)
            for (uint64_t &v : colour)
                v = splitMix(state);
        for (uint64_t &v : count)
            v = splitMix(state);
    }
};

const ZobristTable &zobristTable()
{
    static const ZobristTable table;
    return table;
}

} // namespace

uint64_t PositionIndex::hashOf(const uint8_t *stones, int count)
{
    const ZobristTable &zobrist = zobristTable();
    Cells cells;
    cells.fill(0);
    uint64_t hash = zobrist.count[count & 0xff] ^ static_cast<uint64_t>(count);
    for (int i = 0; i < count; ++i) {
        const uint8_t point = stones[i];
        if (cells[point])
            continue;
        cells[point] = 1;
        hash ^= zobrist.stone[i & 1][point];
    }
    return hash;
}

bool samePosition(const uint8_t *a, int countA, const uint8_t *b, int countB)
{
    if (countA != countB)
        return false;
    Cells cellsA, cellsB;
    putStones(a, countA, cellsA);
    putStones(b, countB, cellsB);
    return cellsA == cellsB;
}

void PositionIndex::insert(const AData *record)
{
    const uint64_t hash = hashOf(record->stones().data(), record->stoneCount());
    entries_.emplace(hash, Entry{nextOrder_++, record});
}

bool PositionIndex::erase(const AData *record)
{
    const uint64_t hash = hashOf(record->stones().data(), record->stoneCount());
    auto [first, last] = entries_.equal_range(hash);
    for (auto it = first; it != last; ++it) {
        if (it->second.record == record) {
            entries_.erase(it);
            return true;
        }
    }
    return false;
}

const AData *PositionIndex::find(const uint8_t *stones, int count) const
{
    auto [first, last] = entries_.equal_range(hashOf(stones, count));
    const Entry *oldest = nullptr;
    for (auto it = first; it != last; ++it) {
        const Entry &entry = it->second;
        if (oldest && entry.order > oldest->order)
            continue;
        if (samePosition(stones, count, entry.record->stones().data(), entry.record->stoneCount()))
            oldest = &entry;
    }
    return oldest ? oldest->record : nullptr;
}

void PositionIndex::clear()
{
    entries_.clear();
    nextOrder_ = 0;
}

} // namespace korvana
