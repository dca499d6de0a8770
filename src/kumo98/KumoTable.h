#pragma once
// KumoTable: the search's transposition table. The search and its helper
// thread share it without locks.

#include <atomic>
#include <cstdint>
#include <memory>

namespace korvana::kumo {

class KumoTable {
public:
    /// 2^bits entries of 16 bytes (at least two).
    explicit KumoTable(int bits);

    struct Probe {
        int score = 0;
        int depth = -1;
        int flag = 0; ///< 0 none, 1 exact, 2 lower bound, 3 upper bound
        int move = -1;
    };
    Probe probe(uint64_t key) const;
    void store(uint64_t key, int score, int depth, int flag, int move);
    /// Starts loading the pair of entries `key` falls in: the search asks before
    /// it makes a move, so the memory latency overlaps the board's update.
    void prefetch(uint64_t key) const { __builtin_prefetch(&pairOf(key)); }
    /// A new request begins: what earlier ones stored gives way to anything of this one.
    /// Call it while no other thread stores.
    void newRequest() { age_ = static_cast<uint8_t>(age_ + 1); }

private:
    // The key is stored XOR-ed with the data, so an entry torn by a write of
    // the other thread reads as a miss.
    struct Entry {
        std::atomic<uint64_t> check{0};
        std::atomic<uint64_t> data{0};
    };
    // Aligned so that a pair never straddles two cache lines.
    struct alignas(32) Pair {
        Entry slot[2];
    };
    std::unique_ptr<Pair[]> pairs_;
    uint64_t mask_;
    Pair &pairOf(uint64_t key) const { return pairs_[(key & mask_) >> 1]; }
    uint8_t age_ = 0;
};

} // namespace korvana::kumo
