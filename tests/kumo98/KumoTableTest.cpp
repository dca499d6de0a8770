// The transposition table: what it keeps when keys meet in one pair of entries.
#include "kumo98/KumoTable.h"

#include <gtest/gtest.h>

using namespace korvana::kumo;

namespace {

// With 2^4 entries, keys 16 apart land in the same pair.
constexpr uint64_t A = 0x1230, B = A + 16, C = A + 32;

TEST(KumoTable, KeepsWhatItStoresWhole)
{
    KumoTable table(4);
    table.store(A, -29985, -3, 3, 224);
    const KumoTable::Probe p = table.probe(A);
    EXPECT_EQ(p.score, -29985);
    EXPECT_EQ(p.depth, -3);
    EXPECT_EQ(p.flag, 3);
    EXPECT_EQ(p.move, 224);
    EXPECT_EQ(table.probe(B).flag, 0);
}

TEST(KumoTable, ADeepResultOutlivesShallowNeighboursUntilTheNextRequest)
{
    KumoTable table(4);
    table.newRequest();
    table.store(A, 10, 8, 1, 1);
    table.store(B, 20, 2, 1, 2);
    table.store(C, 30, 3, 1, 3); // takes B's place, not A's
    EXPECT_EQ(table.probe(A).depth, 8);
    EXPECT_EQ(table.probe(B).flag, 0);
    EXPECT_EQ(table.probe(C).score, 30);
    table.store(A, 11, 5, 2, 4); // a key's newer result replaces its older one
    EXPECT_EQ(table.probe(A).score, 11);
    table.newRequest();
    table.store(B, 21, 1, 1, 5); // the old request's deep result gives way
    EXPECT_EQ(table.probe(B).score, 21);
    EXPECT_EQ(table.probe(A).flag, 0);
    EXPECT_EQ(table.probe(C).score, 30);
}

} // namespace
