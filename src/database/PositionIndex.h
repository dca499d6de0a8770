#pragma once
// PositionIndex: finds the records of one exact position (orientation as
// stored) without walking the whole chain. All records of a database share one
// key, so the chains alone would make every look-up a scan of the book.

#include <cstdint>
#include <unordered_map>

namespace korvana {

class AData;

class PositionIndex {
public:
    /// Hash of the position the stones make (entry parity gives the colour;
    /// a point given twice keeps the first stone). Includes the stone count.
    static uint64_t hashOf(const uint8_t *stones, int count);

    /// Indexes a record; records added later count as newer.
    void insert(const AData *record);
    /// Forgets a record; false when it was not indexed.
    bool erase(const AData *record);
    /// The oldest indexed record with exactly this position, or null.
    const AData *find(const uint8_t *stones, int count) const;
    void clear();
    int32_t size() const { return static_cast<int32_t>(entries_.size()); }

private:
    struct Entry {
        uint64_t order; ///< insertion number: smaller is older
        const AData *record;
    };
    std::unordered_multimap<uint64_t, Entry> entries_;
    uint64_t nextOrder_ = 0;
};

/// Same position: same count and the same board (see PositionIndex::hashOf).
bool samePosition(const uint8_t *a, int countA, const uint8_t *b, int countB);

} // namespace korvana
