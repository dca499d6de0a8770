#include "kumo98/KumoTable.h"

#include <algorithm>

namespace korvana::kumo {

namespace {

// Data word: score (16 bits), depth (8), flag (8), move (8), request age (8).
int depthOf(uint64_t data) { return static_cast<int8_t>((data >> 16) & 0xff); }
int flagOf(uint64_t data) { return static_cast<int>((data >> 24) & 0xff); }
uint8_t ageOf(uint64_t data) { return static_cast<uint8_t>((data >> 40) & 0xff); }

} // namespace

KumoTable::KumoTable(int bits)
    : pairs_(std::make_unique<Pair[]>(size_t(1) << (std::max(bits, 1) - 1))),
      mask_((uint64_t(1) << std::max(bits, 1)) - 1)
{}

// Entries come in pairs: the first keeps the deepest result of the current
// request, the second takes what the first turns away, so a deep result
// outlives the many shallow ones that land beside it.
KumoTable::Probe KumoTable::probe(uint64_t key) const
{
    const Entry *pair = pairOf(key).slot;
    Probe p;
    for (int i = 0; i < 2; ++i) {
        const uint64_t data = pair[i].data.load(std::memory_order_relaxed);
        if ((pair[i].check.load(std::memory_order_relaxed) ^ data) != key || flagOf(data) == 0)
            continue;
        p.score = static_cast<int16_t>(data & 0xffff);
        p.depth = depthOf(data);
        p.flag = flagOf(data);
        p.move = static_cast<int>((data >> 32) & 0xff);
        break;
    }
    return p;
}

void KumoTable::store(uint64_t key, int score, int depth, int flag, int move)
{
    const uint64_t data = uint64_t(static_cast<uint16_t>(static_cast<int16_t>(score))) |
                          uint64_t(static_cast<uint8_t>(static_cast<int8_t>(std::clamp(depth, -100, 100)))) << 16 |
                          uint64_t(flag & 0xff) << 24 | uint64_t(move & 0xff) << 32 | uint64_t(age_) << 40;
    Entry *pair = pairOf(key).slot;
    const uint64_t first = pair[0].data.load(std::memory_order_relaxed);
    const bool same = (pair[0].check.load(std::memory_order_relaxed) ^ first) == key;
    // The probe reads the first entry first, so a key kept in both has its newer result there.
    Entry &e = same || flagOf(first) == 0 || ageOf(first) != age_ || depth >= depthOf(first) ? pair[0] : pair[1];
    e.data.store(data, std::memory_order_relaxed);
    e.check.store(key ^ data, std::memory_order_relaxed);
}

} // namespace korvana::kumo
