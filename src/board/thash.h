#pragma once
// thash: chained hash over tvector and tdlist. Concrete hashes say which chain
// a key belongs to.

#include "board/tdlist.h"
#include "board/tvector.h"

template <class K, class V> struct HashData {
    K key{};
    V value{};
};

template <class K, class V> class thash {
public:
    using Chain = tdlist<HashData<K, V>>;

    explicit thash(int32_t chains) : chains_(chains) {}
    thash(const thash &) = delete;
    thash &operator=(const thash &) = delete;

    /// Chain number (0..chainCount()-1) of a key.
    virtual int32_t chainOf(const K &key) const = 0;
    virtual ~thash() = default;

    /// Adds an entry; equal keys are kept side by side in insertion order.
    void add(const K &key, const V &value)
    {
        chains_[chainOf(key)].insert(HashData<K, V>{key, value});
        ++entries_;
    }

    /// The value of the oldest entry with this key, or null.
    V *find(const K &key)
    {
        V *found = nullptr;
        chains_[chainOf(key)].forEachOldestFirst([&](HashData<K, V> &entry) {
            if (entry.key == key) {
                found = &entry.value;
                return false;
            }
            return true;
        });
        return found;
    }

    /// Empties every chain.
    void clear()
    {
        for (int32_t i = 0; i < chains_.length(); ++i)
            chains_[i].clear();
        entries_ = 0;
    }

    int32_t entries() const { return entries_; }
    int32_t chainCount() const { return chains_.length(); }
    Chain &chain(int32_t i) { return chains_[i]; }

protected:
    tvector<Chain> chains_;
    int32_t entries_ = 0;
};
