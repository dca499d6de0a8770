// Studying a record: walking to any node, promoting a line, deleting a variation,
// with the board always showing the current node's position.

#include "SgfTreeText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace korvana {
namespace {

// Main line h8 i9 j8; at move 2 the variations i8 (then j9) and g9; at move 3 k8.
constexpr const char *Record = "(;GM[4]SZ[15]RU[Renju 1998];B[hh](;W[ii](;B[jh])(;B[kh]))(;W[ih];B[ji])(;W[gi]))";

/// The node reached by taking child `i` at each level from the root.
MOve *nodeAt(const MOveTree &tree, const std::vector<int> &indices)
{
    MOve *node = tree.root();
    for (int i : indices)
        node = node ? node->child(i) : nullptr;
    return node;
}

/// The board agrees with the current node: its history is the node's path, stone by stone.
void expectBoardShowsCurrent(const MOveTree &tree)
{
    std::vector<const MOve *> path;
    for (const MOve *n = tree.current(); n->parent(); n = n->parent())
        path.insert(path.begin(), n);
    const auto &moves = tree.board().history().moves();
    ASSERT_EQ(moves.size(), path.size());
    for (size_t i = 0; i < path.size(); ++i) {
        EXPECT_EQ(moves[i].x, path[i]->x());
        EXPECT_EQ(moves[i].y, path[i]->y());
        EXPECT_EQ(tree.board().cellAt(path[i]->x(), path[i]->y()), path[i]->colour());
    }
    EXPECT_EQ(tree.depth(), static_cast<int>(path.size()));
}

TEST(MOveTreeVariation, GotoNodeReachesEveryNodeAndForwardFollowsIt)
{
    MOveTree tree;
    ASSERT_TRUE(test::readSgfText(tree, Record));
    const std::vector<std::vector<int>> targets = {{0, 1, 0}, {0, 0, 1}, {}, {0, 2}, {0, 0, 0}, {0}};
    for (const auto &target : targets) {
        MOve *node = nodeAt(tree, target);
        ASSERT_NE(node, nullptr);
        ASSERT_TRUE(tree.GotoNode(node));
        EXPECT_EQ(tree.current(), node);
        expectBoardShowsCurrent(tree);
        // Home then End comes back along the same branch.
        tree.GotoRoot();
        tree.GotoBranchEnd();
        EXPECT_TRUE(MOveTree::IsInSubtree(tree.current(), node));
    }
    MOveTree other;
    other.AddMove(7, 7, 'B');
    MOve *before = tree.current();
    EXPECT_FALSE(tree.GotoNode(other.current()));
    EXPECT_FALSE(tree.GotoNode(nullptr));
    EXPECT_EQ(tree.current(), before);
}

struct EditCase {
    const char *name;
    bool promote;             ///< else delete
    std::vector<int> target;  ///< the node promoted or deleted
    std::vector<int> current; ///< where the cursor stands before
    bool accepted;
    const char *tree;         ///< the tree afterwards
    const char *currentAfter; ///< colour and letters of the current node afterwards ("" = root)
};

TEST(MOveTreeVariation, PromoteAndDelete)
{
    const EditCase cases[] = {
        {"promote a second-level variation",
         true,
         {0, 0, 1},
         {0, 0, 1},
         true,
         "Bhh [Wii [Bkh | Bjh] | Wih Bji | Wgi]",
         "Bkh"},
        {"promote a line below a variation",
         true,
         {0, 1, 0},
         {0, 2},
         true,
         "Bhh [Wih Bji | Wii [Bjh | Bkh] | Wgi]",
         "Wgi"},
        {"promote the main line changes nothing",
         true,
         {0, 0, 0},
         {},
         true,
         "Bhh [Wii [Bjh | Bkh] | Wih Bji | Wgi]",
         ""},
        {"delete a variation elsewhere", false, {0, 1}, {0, 0, 1}, true, "Bhh [Wii [Bjh | Bkh] | Wgi]", "Bkh"},
        {"delete the variation holding the cursor",
         false,
         {0, 1},
         {0, 1, 0},
         true,
         "Bhh [Wii [Bjh | Bkh] | Wgi]",
         "Bhh"},
        {"delete the main line's move", false, {0, 0}, {0, 0}, true, "Bhh [Wih Bji | Wgi]", "Bhh"},
        {"delete the root is refused", false, {}, {0, 2}, false, "Bhh [Wii [Bjh | Bkh] | Wih Bji | Wgi]", "Wgi"},
    };
    for (const EditCase &c : cases) {
        SCOPED_TRACE(c.name);
        MOveTree tree;
        ASSERT_TRUE(test::readSgfText(tree, Record));
        ASSERT_TRUE(tree.GotoNode(nodeAt(tree, c.current)));
        MOve *target = nodeAt(tree, c.target);
        const bool done = c.promote ? tree.PromoteToMainLine(target) : tree.DeleteVariation(target);
        EXPECT_EQ(done, c.accepted);
        EXPECT_EQ(test::describe(tree), c.tree);
        const MOve *now = tree.current();
        const std::string at = now->parent() ? std::string{now->colour(), now->xLetter(), now->yLetter()} : "";
        EXPECT_EQ(at, c.currentAfter);
        expectBoardShowsCurrent(tree);
        if (c.promote && c.accepted) {
            EXPECT_TRUE(MOveTree::IsOnMainLine(target));
        }
        // Every cursor still points at a child, so End ends on a leaf.
        tree.GotoBranchEnd();
        EXPECT_EQ(tree.current()->childCount(), 0);
    }
}

TEST(MOveTreeVariation, DeletingTheCursorChildFallsBackToTheFirst)
{
    MOveTree tree;
    ASSERT_TRUE(test::readSgfText(tree, Record));
    ASSERT_TRUE(tree.GotoNode(nodeAt(tree, {0, 2})));
    tree.GotoRoot();
    ASSERT_TRUE(tree.DeleteVariation(nodeAt(tree, {0, 2})));
    tree.GotoBranchEnd();
    EXPECT_EQ(tree.current(), nodeAt(tree, {0, 0, 0}));
    // The last child of a node goes: the node has nothing to enter.
    ASSERT_TRUE(tree.DeleteVariation(nodeAt(tree, {0, 1, 0})));
    ASSERT_TRUE(tree.GotoNode(nodeAt(tree, {0, 1})));
    EXPECT_EQ(tree.Forward(), 0);
}

} // namespace
} // namespace korvana
