// Properties over thousands of random steps: the board's code tables depend only on the
// path shown, take-back restores them exactly, refused moves change nothing, and every
// node is freed.

#include "board/ChkStat.h"
#include "record/MOveTree.h"

#include <gtest/gtest.h>

#include <random>
#include <unordered_map>
#include <vector>

namespace korvana {
namespace {

struct Shown {
    HanteiBoard black, white;
    std::vector<MovedPos> history;
    int depth = 0;
    explicit Shown(const MOveTree &t)
        : black(t.board().blackCodes()), white(t.board().whiteCodes()), history(t.board().history().moves()),
          depth(t.depth())
    {}
    bool operator==(const Shown &) const = default;
};

std::vector<MovedPos> pathOf(const MOve *node)
{
    std::vector<MovedPos> path;
    for (; node->parent(); node = node->parent())
        path.insert(path.begin(), MovedPos{node->x(), node->y(), node->colour(), node->code()});
    return path;
}

class RandomWalk {
public:
    explicit RandomWalk(unsigned seed) : rng_(seed) {}

    int below(int n) { return static_cast<int>(rng_() % static_cast<unsigned>(n)); }

    /// Records what the current node shows the first time, compares every later time.
    void checkShown()
    {
        const Shown now(tree);
        auto [it, first] = seen.try_emplace(tree.current(), now);
        if (!first) {
            ASSERT_TRUE(it->second == now) << "node at depth " << tree.depth() << " shows other tables";
        }
        ASSERT_EQ(pathOf(tree.current()), now.history);
        ASSERT_EQ(tree.board().moveCount(), tree.depth());
        for (const MOve *n = tree.current(); n->parent(); n = n->parent())
            ASSERT_EQ(tree.board().moveAt(n->x(), n->y()), n);
    }

    /// A new move's records are the judge's verdicts on the position it made.
    void checkFreshRecords(const MOve *m)
    {
        BanArray ban = tree.board().history().toBoard();
        ChkStat judge(ban);
        for (CodeList list : {CodeList::BlackAfter, CodeList::WhiteAfter})
            for (const MovedPos &r : m->codeList(list))
                ASSERT_EQ(r.code, judge.judgeAt(pointOf(r.x, r.y), r.colour));
    }

    void addMove()
    {
        const Shown before(tree);
        const long long created = MOve::createdCount();
        const int x = 3 + below(9), y = 3 + below(9); // a crowded middle: many refusals and re-entries
        const char colour = below(10) == 0 ? (below(2) ? 'B' : 'W') : colourToMove(tree.board().moveCount());
        const bool free = tree.board().cellAt(x, y) == '+';
        const MOve *parent = tree.current();
        MOve *m = tree.AddMove(x, y, colour);
        if (!free) {
            ++refused;
            ASSERT_EQ(m, nullptr);
            ASSERT_EQ(tree.current(), parent);
            ASSERT_TRUE(Shown(tree) == before);
            ASSERT_EQ(MOve::createdCount(), created);
            return;
        }
        ASSERT_NE(m, nullptr);
        ASSERT_EQ(m->parent(), parent);
        if (MOve::createdCount() > created) {
            ++fresh;
            checkFreshRecords(m);
        } else {
            ++reentered;
        }
        if (below(3) == 0) { // take it straight back: the exact previous tables
            ASSERT_EQ(tree.Back(), 1);
            ASSERT_TRUE(Shown(tree) == before);
        }
    }

    void step()
    {
        const int op = below(100);
        if (op < 40) {
            if (tree.depth() >= 50)
                tree.Back();
            else
                addMove();
        } else if (op < 62) {
            tree.Back();
        } else if (op < 77) {
            tree.Forward();
        } else if (op < 80) {
            tree.NextVariation();
        } else if (op < 83) {
            tree.PrevVariation();
        } else if (op < 85) {
            tree.FirstVariation();
        } else if (op < 87) {
            tree.LastVariation();
        } else if (op < 92) {
            tree.GotoRoot();
            checkShown();
            for (int k = below(40); k > 0 && tree.Forward(); --k)
                checkShown();
        } else if (op < 96) {
            const MOve *where = tree.current();
            tree.Snapshot();
            if (below(2))
                tree.Rewind();
            else
                tree.GotoRoot();
            tree.ReplaySnapshot();
            ASSERT_EQ(tree.current(), where);
        } else {
            tree.Rewind();
        }
    }

    std::mt19937 rng_;
    MOveTree tree;
    std::unordered_map<const MOve *, Shown> seen;
    int refused = 0, fresh = 0, reentered = 0;
};

TEST(MOveTreeProperty, TablesDependOnlyOnThePathShown)
{
    const long long liveBefore = MOve::liveCount();
    const long long createdBefore = MOve::createdCount();
    {
        RandomWalk walk(20240917);
        for (int i = 0; i < 20000; ++i) {
            walk.step();
            if (::testing::Test::HasFatalFailure())
                FAIL() << "at step " << i;
            walk.checkShown();
            if (::testing::Test::HasFatalFailure())
                FAIL() << "at step " << i;
        }
        // The walk really did all three kinds of AddMove.
        EXPECT_GT(walk.fresh, 1000);
        EXPECT_GT(walk.reentered, 200);
        EXPECT_GT(walk.refused, 200);
        EXPECT_EQ(MOve::liveCount() - liveBefore, MOve::createdCount() - createdBefore);

        // A fresh document playing the same path judges everything anew and must agree.
        std::vector<const MOve *> nodes;
        for (const auto &entry : walk.seen)
            nodes.push_back(entry.first);
        for (int k = 0; k < 200; ++k) {
            const MOve *node = nodes[static_cast<size_t>(walk.below(static_cast<int>(nodes.size())))];
            MOveTree again;
            for (const MovedPos &m : pathOf(node))
                ASSERT_NE(again.AddMove(m.x, m.y, m.colour), nullptr);
            ASSERT_TRUE(Shown(again) == walk.seen.at(node));
        }
    }
    EXPECT_EQ(MOve::liveCount(), liveBefore);
}

TEST(MOveTreeProperty, ResetAndDeleteChildrenFreeEveryNode)
{
    const long long liveBefore = MOve::liveCount();
    RandomWalk walk(99);
    for (int round = 0; round < 20; ++round) {
        for (int i = 0; i < 500; ++i)
            walk.step();
        ASSERT_FALSE(::testing::Test::HasFatalFailure());
        walk.seen.clear();
        if (round % 2) {
            walk.tree.GotoRoot();
            walk.tree.DeleteChildren();
            EXPECT_EQ(walk.tree.root()->childCount(), 0);
        } else {
            walk.tree.Reset();
        }
        EXPECT_EQ(MOve::liveCount(), liveBefore + 1); // the root alone
        EXPECT_EQ(walk.tree.board().moveCount(), 0);
        for (int p = 0; p < PointCount; ++p)
            ASSERT_EQ(walk.tree.board().blackCodes().at(p), Stat::Nothing);
    }
}

} // namespace
} // namespace korvana
