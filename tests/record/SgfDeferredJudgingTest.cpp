// A record read from SGF judges its nodes only when they are first shown; the
// codes it then shows must be exactly those of the same tree played move by move.
#include "record/MOveTree.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <sstream>

using namespace korvana;

namespace {

void growRandomTree(MOveTree &tree, std::mt19937 &rng, int nodes)
{
    for (int made = 0; made < nodes;) {
        if (tree.depth() > 0 && rng() % 5 == 0) {
            tree.Back();
            continue;
        }
        if (tree.depth() > 40) {
            tree.GotoRoot();
            continue;
        }
        const int p = static_cast<int>(rng() % 225);
        const char colour = colourToMove(tree.depth());
        if (tree.AddMove(pointX(p), pointY(p), colour))
            ++made;
    }
    tree.Rewind();
}

int countNodes(const MOve *node)
{
    int n = 1;
    for (const MOve *kid : node->children())
        n += countNodes(kid);
    return n;
}

// Walks both trees node by node, entering every child through AddMove.
void compareSubtrees(MOveTree &eager, MOveTree &read, int &visited)
{
    ++visited;
    const Board &a = eager.board(), &b = read.board();
    ASSERT_EQ(std::memcmp(a.blackCodes().data(), b.blackCodes().data(), PointCount), 0);
    ASSERT_EQ(std::memcmp(a.whiteCodes().data(), b.whiteCodes().data(), PointCount), 0);
    ASSERT_EQ(a.history().moves(), b.history().moves());
    const auto kids = eager.current()->children();
    ASSERT_EQ(static_cast<int>(kids.size()), read.current()->childCount());
    for (const MOve *kid : kids) {
        ASSERT_NE(eager.AddMove(kid->x(), kid->y(), kid->colour()), nullptr);
        MOve *twin = read.AddMove(kid->x(), kid->y(), kid->colour());
        ASSERT_NE(twin, nullptr);
        EXPECT_EQ(twin->code(), kid->code());
        compareSubtrees(eager, read, visited);
        eager.Back();
        read.Back();
    }
}

TEST(SgfDeferredJudging, ReadTreeShowsTheCodesOfThePlayedTree)
{
    std::mt19937 rng(4242);
    for (int round = 0; round < 5; ++round) {
        MOveTree eager;
        growRandomTree(eager, rng, 400);
        std::stringstream text;
        eager.WriteSgf(text);
        MOveTree read;
        ASSERT_TRUE(read.ReadSgf(text));
        EXPECT_FALSE(read.board().deferredJudging());
        int visited = 0;
        compareSubtrees(eager, read, visited);
        EXPECT_EQ(visited, countNodes(eager.root()));
        EXPECT_GT(visited, 300);
        // Both walks are back at the root, and the read tree took no more judgements
        // than the one played move by move.
        EXPECT_LE(read.board().judgementCount(), eager.board().judgementCount());
    }
}

} // namespace
