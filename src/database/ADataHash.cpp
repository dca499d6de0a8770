#include "database/ADataHash.h"

#include "database/AData.h"

#include <utility>

namespace korvana {

ADataHash::ADataHash(int32_t chainCount) : chains_(chainCount) {}

ADataHash::~ADataHash()
{
    for (int32_t c = 0; c < chains_.length(); ++c)
        chains_.data()[c].forEachOldestFirst([](ADataHashElement &entry) {
            delete entry.data;
            return true;
        });
}

void ADataHash::resetWalk()
{
    walkChain_ = 0;
    if (chains_.length() > 0)
        chains_.data()[0].reset();
}

bool ADataHash::nextRecord(int32_t &key, const AData *&record)
{
    while (walkChain_ < chains_.length()) {
        Chain &chain = chains_.data()[walkChain_];
        if (chain.next()) {
            key = chain.current().key;
            record = chain.current().data;
            return true;
        }
        if (++walkChain_ < chains_.length())
            chains_.data()[walkChain_].reset();
    }
    resetWalk();
    return false;
}

void ADataHash::insertRecord(int32_t key, AData *record)
{
    chains_[chainOf(key)].insert(ADataHashElement{key, record});
    ++count_;
}

bool ADataHash::destroyRecord(int32_t key, const AData *record)
{
    Chain &chain = chains_[chainOf(key)];
    chain.reset();
    while (chain.next()) {
        if (chain.current().key == key && chain.current().data == record) {
            delete chain.current().data;
            chain.removeAtCursor();
            chain.reset();
            --count_;
            return true;
        }
    }
    return false;
}

void ADataHash::destroyAll()
{
    tvector<Chain> fresh(chains_.length());
    int32_t none = 0;
    swapChains(fresh, none);
    for (int32_t c = 0; c < fresh.length(); ++c)
        fresh.data()[c].forEachOldestFirst([](ADataHashElement &entry) {
            delete entry.data;
            return true;
        });
}

void ADataHash::swapChains(tvector<Chain> &chains, int32_t &count)
{
    std::swap(chains_, chains);
    std::swap(count_, count);
    walkChain_ = 0;
    resetWalk();
}

} // namespace korvana
