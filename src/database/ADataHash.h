#pragma once
// ADataHash: the records of one database in chains by key. The chains keep
// their entries in the order they were added, and the sequential walk visits
// chains in number order, oldest entry first: that is the file's record order.

#include "board/tdlist.h"
#include "board/tvector.h"
#include "database/ADataHashElement.h"

#include <cstdint>

namespace korvana {

class AData;

class ADataHash {
public:
    using Chain = tdlist<ADataHashElement>;

    explicit ADataHash(int32_t chainCount);
    ADataHash(const ADataHash &) = delete;
    ADataHash &operator=(const ADataHash &) = delete;

    /// Chain number (0..chainCount()-1) of a key.
    virtual int32_t chainOf(int32_t key) const = 0;
    /// Destroys every record.
    virtual ~ADataHash();

    /// Number of records held.
    int32_t count() const { return count_; }
    int32_t chainCount() const { return chains_.length(); }

    /// Puts the walk before the first record.
    void resetWalk();
    /// Next record of the walk (chains in number order, oldest first); false
    /// and reset after the last one.
    bool nextRecord(int32_t &key, const AData *&record);

protected:
    /// Takes ownership of the record and puts it at the end of its key's chain.
    void insertRecord(int32_t key, AData *record);
    /// Unlinks the entry with this key and record and destroys the record;
    /// false when there is none.
    bool destroyRecord(int32_t key, const AData *record);
    /// Destroys every record and chain and makes fresh empty chains.
    void destroyAll();
    /// Exchanges chains and counter with a stash (no record is copied).
    void swapChains(tvector<Chain> &chains, int32_t &count);

private:
    tvector<Chain> chains_;
    int32_t count_ = 0;     ///< records held
    int32_t walkChain_ = 0; ///< chain the sequential walk is in
};

} // namespace korvana
