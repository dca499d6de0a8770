#pragma once
// PhaseHash: the positions made at one depth of the search, by position key,
// so that a position reached twice is valued once. Does not own the Phases.

#include "board/thash.h"
#include "engine/Phase.h"

namespace korvana {

class PhaseHash : public thash<int, Phase *> {
public:
    /// `chains` chains (at least one).
    explicit PhaseHash(int32_t chains);
    /// Key modulo the chain count.
    int32_t chainOf(const int &key) const override;
    ~PhaseHash() override = default;

    /// |sum of 2^x per Black stone and 2^(x + 15) per White stone| in wrapping
    /// 32-bit arithmetic, x being the column. Mirror images share keys, hence
    /// the full board comparison on lookup.
    static int positionKey(const BanArray &board);

    /// The entry for the same position that already has a value, or null.
    /// Walks the key's chain oldest first and gives up at the first entry
    /// after the oldest whose key differs.
    Phase *findValued(int key, const BanArray &board);
};

} // namespace korvana
