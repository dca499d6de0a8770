#include "engine/PhaseHash.h"

#include "EngineTestBoards.h"

#include "support/CaseName.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>

using namespace korvana;

namespace {

struct KeyCase {
    const char *moves;
    int key;
};
[[maybe_unused]] std::string nameOf(const KeyCase &c) { return korvana::test::caseName(c.moves); }
[[maybe_unused]] void PrintTo(const KeyCase &c, std::ostream *os) { *os << nameOf(c); }

class PositionKey : public testing::TestWithParam<KeyCase> {};

TEST_P(PositionKey, SumsColumnPowersPerColour)
{
    EXPECT_EQ(PhaseHash::positionKey(testboards::fromMoves(GetParam().moves)), GetParam().key);
}

INSTANTIATE_TEST_SUITE_P(Table, PositionKey,
                         testing::Values(KeyCase{"", 0}, KeyCase{"h8", 1 << 7},        // Black in column h (x 7)
                                         KeyCase{"h8 i8", (1 << 7) + (1 << (8 + 15))}, // White in column i
                                         KeyCase{"a1 a2 a3", 1 + (1 << 15) + 1},       // rows do not count
                                         // Five White stones in column o wrap past 2^31: 5 * 2^29 = 2^31 + 2^29,
                                         // plus 87 for Black: negative as 32 bits; the key is its absolute value.
                                         KeyCase{"a1 o1 b1 o2 c1 o3 e1 o4 g1 o5", 1610612649}),
                         [](const auto &info) { return nameOf(info.param); });

TEST(PhaseHash, KeyOfMinusTwoToThe31GetsAChainInRange)
{
    // Four White stones in column o sum to exactly 2^31: abs leaves it negative.
    BanArray board = testboards::fromMoves("a1 o1 b2 o2 c3 o3 d4 o4");
    board.cells()[pointOf(0, 0)] = Empty; // keep only the four White stones
    board.cells()[pointOf(1, 1)] = Empty;
    board.cells()[pointOf(2, 2)] = Empty;
    board.cells()[pointOf(3, 3)] = Empty;
    const int key = PhaseHash::positionKey(board);
    EXPECT_EQ(key, INT_MIN);
    PhaseHash hash(5003);
    const int32_t chain = hash.chainOf(key);
    EXPECT_GE(chain, 0);
    EXPECT_LT(chain, 5003);
    EXPECT_EQ(chain, static_cast<int32_t>(2147483648u % 5003u));
}

// Owns the Phases a hash points at.
struct Nodes {
    std::vector<std::unique_ptr<Phase>> all;
    Phase *make(const std::string &moves, int16_t value)
    {
        all.push_back(std::make_unique<Phase>(testboards::fromMoves(moves)));
        all.back()->value = value;
        return all.back().get();
    }
};

TEST(PhaseHash, LookupMatchesOnlyValuedNodesOfTheSamePosition)
{
    Nodes n;
    PhaseHash hash(1); // one chain: every entry is walked
    const BanArray target = testboards::fromMoves("h8 i8 h9");
    const int key = PhaseHash::positionKey(target);
    hash.add(key, n.make("h8 i8 h9", Phase::NoValue)); // the node itself, no value yet
    hash.add(key, n.make("h9 i8 h8", 40));             // same stones, other order: same position
    EXPECT_EQ(hash.findValued(key, target), n.all[1].get());

    PhaseHash other(1);
    other.add(key, n.make("h8 i9 h9", 30)); // same key (rows ignored), other position
    EXPECT_EQ(other.findValued(key, target), nullptr);
    other.add(key, n.make("h8 i8 h9", 50));
    EXPECT_EQ(other.findValued(key, target), n.all[3].get());
}

TEST(PhaseHash, WalkSkipsAnOldestEntryWithAnotherKeyButStopsAtALaterOne)
{
    Nodes n;
    const BanArray target = testboards::fromMoves("h8 i8 h9");
    const int key = PhaseHash::positionKey(target);

    PhaseHash oldestDiffers(1);
    oldestDiffers.add(key + 1, n.make("a1", 10));
    oldestDiffers.add(key, n.make("h8 i8 h9", 20));
    EXPECT_EQ(oldestDiffers.findValued(key, target), n.all[1].get());

    PhaseHash laterDiffers(1);
    laterDiffers.add(key, n.make("h8 i8 h9", Phase::NoValue));
    laterDiffers.add(key + 1, n.make("a1", 10));
    laterDiffers.add(key, n.make("h8 i8 h9", 20));
    EXPECT_EQ(laterDiffers.findValued(key, target), nullptr);
}

TEST(PhaseHash, LookupComparesStoneCount)
{
    Nodes n;
    PhaseHash hash(7);
    BanArray target = testboards::fromMoves("h8 i8 h9");
    Phase *stored = n.make("h8 i8 h9", 5);
    stored->board.setCount(4); // same cells, different count
    const int key = PhaseHash::positionKey(target);
    hash.add(key, stored);
    EXPECT_EQ(hash.findValued(key, target), nullptr);
}

} // namespace
