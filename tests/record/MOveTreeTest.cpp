// The game document: tree operations kept in step with the board.

#include "record/MOveTree.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace korvana {
namespace {

struct Counters {
    long long created = MOve::createdCount();
    long long live = MOve::liveCount();
};

std::vector<MovedPos> pathOf(const MOve *node)
{
    std::vector<MovedPos> path;
    for (; node->parent(); node = node->parent())
        path.insert(path.begin(), MovedPos{node->x(), node->y(), node->colour(), node->code()});
    return path;
}

TEST(MOveTree, KnownMoveIsReenteredNotDuplicated)
{
    MOveTree tree;
    MOve *h8 = tree.AddMove(7, 7, 'B');
    ASSERT_NE(h8, nullptr);
    EXPECT_EQ(tree.current(), h8);
    EXPECT_EQ(tree.depth(), 1);
    ASSERT_EQ(tree.Back(), 1);
    const Counters before;
    EXPECT_EQ(tree.AddMove(7, 7, 'B'), h8);
    EXPECT_EQ(tree.root()->childCount(), 1);
    EXPECT_EQ(MOve::createdCount(), before.created);
    EXPECT_EQ(tree.board().cellAt(7, 7), 'B');
    // Same point, other colour: a new variation.
    tree.Back();
    MOve *w = tree.AddMove(7, 7, 'W');
    ASSERT_NE(w, nullptr);
    EXPECT_NE(w, h8);
    EXPECT_EQ(tree.root()->childCount(), 2);
}

TEST(MOveTree, RefusedMoveChangesNothing)
{
    MOveTree tree;
    tree.AddMove(7, 7, 'B');
    tree.AddMove(8, 8, 'W');
    tree.Back();
    const MOve *current = tree.current();
    const int children = current->childCount();
    const int cursor = current->cursorIndex();
    const HanteiBoard black = tree.board().blackCodes(), white = tree.board().whiteCodes();
    const BanHistory history = tree.board().history();
    const Counters before;
    struct Case {
        int x, y;
        char colour;
    };
    for (Case c : {Case{7, 7, 'B'}, Case{7, 7, 'W'}, Case{-1, 0, 'B'}, Case{15, 3, 'W'}, Case{2, 2, 'x'}}) {
        EXPECT_EQ(tree.AddMove(c.x, c.y, c.colour), nullptr);
        EXPECT_EQ(tree.current(), current);
        EXPECT_EQ(current->childCount(), children);
        EXPECT_EQ(current->cursorIndex(), cursor);
        EXPECT_EQ(tree.depth(), 1);
        EXPECT_TRUE(tree.board().blackCodes() == black);
        EXPECT_TRUE(tree.board().whiteCodes() == white);
        EXPECT_EQ(tree.board().history().moves(), history.moves());
        EXPECT_EQ(MOve::createdCount(), before.created);
        EXPECT_EQ(MOve::liveCount(), before.live);
    }
    EXPECT_EQ(tree.AddMoveLetters('p', 'a', 'B'), nullptr);
    EXPECT_EQ(tree.AddMoveLetters('h', 'h', 'W'), nullptr); // h8 is Black's
}

TEST(MOveTree, VariationsWrapAndReportIt)
{
    MOveTree tree;
    tree.AddMove(7, 7, 'B');
    MOve *a = tree.AddMove(8, 7, 'W');
    tree.Back();
    MOve *b = tree.AddMove(8, 8, 'W');
    tree.Back();
    MOve *c = tree.AddMove(7, 8, 'W');
    ASSERT_TRUE(a && b && c);

    EXPECT_EQ(tree.NextVariation(), 0); // from the last: wraps to the first
    EXPECT_EQ(tree.current(), a);
    EXPECT_EQ(tree.board().cellAt(8, 7), 'W');
    EXPECT_EQ(tree.board().cellAt(7, 8), '+');
    EXPECT_EQ(tree.NextVariation(), 1);
    EXPECT_EQ(tree.current(), b);
    EXPECT_EQ(tree.PrevVariation(), 1);
    EXPECT_EQ(tree.current(), a);
    EXPECT_EQ(tree.PrevVariation(), 0); // from the first: wraps to the last
    EXPECT_EQ(tree.current(), c);
    EXPECT_EQ(tree.FirstVariation(), 1);
    EXPECT_EQ(tree.current(), a);
    EXPECT_EQ(tree.LastVariation(), 1);
    EXPECT_EQ(tree.current(), c);
    EXPECT_EQ(tree.board().moveCount(), 2);

    tree.GotoRoot();
    EXPECT_EQ(tree.NextVariation(), 0);
    EXPECT_EQ(tree.FirstVariation(), 0);
    EXPECT_EQ(tree.current(), tree.root());
}

TEST(MOveTree, BackAtRootAndForwardAtLeafAnswerZero)
{
    MOveTree tree;
    EXPECT_EQ(tree.Back(), 0);
    EXPECT_EQ(tree.Forward(), 0);
    tree.AddMove(7, 7, 'B');
    EXPECT_EQ(tree.Forward(), 0);
    EXPECT_EQ(tree.Back(), 1);
    EXPECT_EQ(tree.Back(), 0);
    EXPECT_EQ(tree.depth(), 0);
    EXPECT_EQ(tree.board().moveCount(), 0);
    EXPECT_EQ(tree.Forward(), 1);
    EXPECT_EQ(tree.board().cellAt(7, 7), 'B');
}

TEST(MOveTree, AlternatingColoursFollowTheMoveCount)
{
    MOveTree tree;
    EXPECT_EQ(tree.AddMoveAlternating(7, 7)->colour(), 'B');
    EXPECT_EQ(tree.AddMoveAlternating(8, 7)->colour(), 'W');
    EXPECT_EQ(tree.AddMoveAlternating(9, 7)->colour(), 'B');
    tree.Back();
    EXPECT_EQ(tree.AddMoveAlternating(9, 8)->colour(), 'B');
}

TEST(MOveTree, RewindFollowsTheFirstBranchEverywhere)
{
    MOveTree tree;
    tree.AddMove(7, 7, 'B');
    tree.AddMove(8, 7, 'W');
    tree.AddMove(9, 7, 'B');
    tree.Back();
    tree.Back();
    tree.AddMove(8, 8, 'W');
    tree.AddMove(6, 6, 'B');
    tree.Rewind();
    EXPECT_EQ(tree.current(), tree.root());
    EXPECT_EQ(tree.board().moveCount(), 0);
    EXPECT_EQ(tree.depth(), 0);
    std::string line;
    while (tree.Forward())
        line += writtenPoint(tree.current()->x(), tree.current()->y());
    EXPECT_EQ(line, "h8i8j8");
    EXPECT_EQ(tree.board().moveCount(), 3);
    EXPECT_EQ(tree.depth(), 3);
}

TEST(MOveTree, SnapshotReplayReturnsToThePositionWithoutNewNodes)
{
    MOveTree tree;
    for (auto [x, y] : {std::pair{7, 7}, {8, 8}, {6, 8}, {9, 9}})
        tree.AddMoveAlternating(x, y);
    tree.Back();
    tree.AddMoveAlternating(5, 9);
    const MOve *where = tree.current();
    const HanteiBoard black = tree.board().blackCodes();
    tree.Snapshot();
    tree.Rewind();
    const Counters before;
    tree.ReplaySnapshot();
    EXPECT_EQ(tree.current(), where);
    EXPECT_TRUE(tree.board().blackCodes() == black);
    EXPECT_EQ(MOve::createdCount(), before.created);
    EXPECT_EQ(tree.snapshot().count(), 4);
}

TEST(MOveTree, NodeCountersReturnToZero)
{
    const long long liveBefore = MOve::liveCount();
    {
        MOveTree tree;
        EXPECT_EQ(MOve::liveCount(), liveBefore + 1); // the root
        for (int i = 0; i < 30; ++i)
            tree.AddMoveAlternating(i % 15, i / 15 * 4);
        tree.GotoRoot();
        tree.AddMove(14, 14, 'B');
        tree.AddMove(13, 13, 'W');
        EXPECT_EQ(MOve::liveCount(), liveBefore + 33);
        tree.GotoRoot();
        tree.Forward(); // into the last branch (cursor on 14,14)
        EXPECT_EQ(tree.current()->x(), 14);
        tree.DeleteChildren();
        EXPECT_EQ(MOve::liveCount(), liveBefore + 32);
        EXPECT_EQ(tree.current()->cursorIndex(), MOve::NoChild);
        tree.Reset();
        EXPECT_EQ(MOve::liveCount(), liveBefore + 1);
        EXPECT_EQ(tree.board().moveCount(), 0);
        EXPECT_EQ(tree.root()->childCount(), 0);
        tree.AddMove(7, 7, 'B');
    }
    EXPECT_EQ(MOve::liveCount(), liveBefore);
}

TEST(MOveTree, MaxAndMinOfChildrenStartFromTheFirstChild)
{
    struct Case {
        std::vector<int> values;
        int max, min;
    };
    const Case cases[] = {
        {{NoValue, 5, -3}, 5, NoValue},
        {{NoValue, NoValue}, NoValue, NoValue},
        {{7, NoValue, -3}, 7, -3},
        {{2}, 2, 2},
    };
    for (const Case &c : cases) {
        MOveTree tree;
        tree.AddMove(7, 7, 'B');
        for (size_t i = 0; i < c.values.size(); ++i) {
            tree.AddMove(static_cast<int>(i), 0, 'W');
            tree.SetValue(c.values[i]);
            tree.Back();
        }
        EXPECT_EQ(tree.MaxOfChildren(), c.max);
        EXPECT_EQ(tree.GetValue(), c.max);
        EXPECT_EQ(tree.MinOfChildren(), c.min);
        EXPECT_EQ(tree.GetValue(), c.min);
    }
    MOveTree leaf;
    EXPECT_EQ(leaf.MaxOfChildren(), NoValue);
}

TEST(MOveTree, SortChildrenIsStableHighestFirst)
{
    MOveTree tree;
    const int values[] = {3, 9, NoValue, 9, 4};
    for (int i = 0; i < 5; ++i) {
        tree.AddMove(i, 0, 'B');
        tree.SetValue(values[i]);
        tree.Back();
    }
    EXPECT_EQ(tree.SortChildren(), 9);
    std::string order;
    for (const MOve *m : tree.root()->children())
        order += static_cast<char>('0' + m->x());
    EXPECT_EQ(order, "13402");
    EXPECT_EQ(tree.root()->cursorIndex(), 0);
    EXPECT_EQ(tree.Forward(), 1);
    EXPECT_EQ(tree.current()->x(), 1);
}

TEST(MOveTree, ExpandKeepsOrAddsCandidates)
{
    MOveTree tree;
    tree.AddMove(7, 7, 'B');
    tree.SetExpandWidths({3, 4});
    // Depth 1 without children: expands 4 quiet candidates for White in spiral order.
    EXPECT_EQ(tree.Expand(), 0);
    ASSERT_EQ(tree.current()->childCount(), 4);
    EXPECT_EQ(tree.board().moveCount(), 1);
    std::string points;
    for (const MOve *m : tree.current()->children()) {
        EXPECT_EQ(m->colour(), 'W');
        points += writtenPoint(m->x(), m->y());
    }
    EXPECT_EQ(points, "i8i7h7g7");
    // Width 0 at depth 5: a node with children keeps one.
    tree.SetExpandWidths({});
    EXPECT_EQ(tree.Expand(), 0);
    ASSERT_EQ(tree.current()->childCount(), 1);
    EXPECT_EQ(tree.current()->child(0)->x(), 8);

    // A Black open four: Expand answers 1 with the winning point only.
    MOveTree win;
    for (auto [x, y] : {std::pair{7, 7}, {0, 0}, {8, 7}, {0, 2}, {9, 7}, {0, 4}, {10, 7}, {0, 6}})
        win.AddMoveAlternating(x, y);
    EXPECT_EQ(win.Expand(), 1);
    ASSERT_EQ(win.current()->childCount(), 1);
    EXPECT_EQ(win.current()->child(0)->colour(), 'B');
}

TEST(MOveTree, EvaluateScoresForTheColourOfTheCurrentMove)
{
    MOveTree tree;
    for (auto [x, y] : {std::pair{7, 7}, {0, 0}, {8, 7}, {0, 2}, {9, 7}, {0, 4}, {10, 7}})
        tree.AddMoveAlternating(x, y);
    EXPECT_EQ(tree.Evaluate(), 10000); // Black just made an open four
    EXPECT_EQ(tree.GetValue(), 10000);
    tree.AddMoveAlternating(0, 6);
    EXPECT_EQ(tree.Evaluate(), -10000); // White to be judged: Black has five points
}

TEST(MOveTree, DepthLimit)
{
    MOveTree tree;
    tree.SetDepthLimit(3);
    // The program-wide search limit is 0, so any depth past 0 counts as reached.
    EXPECT_FALSE(tree.DepthLimitReached());
    tree.AddMove(7, 7, 'B');
    EXPECT_TRUE(tree.DepthLimitReached());
}

TEST(MOveTree, SgfNodeTextAndValueComments)
{
    MOveTree tree;
    MOve *m = tree.AddMove(7, 7, 'B');
    std::string text;
    m->writeSgfNode(text, tree.commentMode());
    EXPECT_EQ(text, ";B[hh]C[-20000]");
    m->setComment("note");
    text.clear();
    m->writeSgfNode(text, 0);
    EXPECT_EQ(text, ";B[hh]C[note]");
    EXPECT_EQ(tree.AddMoveLetters('i', 'h', 'W')->x(), 8);

    struct Case {
        const char *comment;
        int value;
    };
    const Case cases[] = {{"150", 150},
                          {"abc", 0},
                          {"-20000", -20000},
                          {" 42 good", 42},
                          {"", 0},
                          {"99999999999999999999", INT_MAX},
                          {"-99999999999999999999", INT_MIN}};
    for (const Case &c : cases) {
        m->readValueComment(c.comment);
        EXPECT_EQ(m->GetValue(), c.value) << c.comment;
    }
}

TEST(MOveTree, HeaderPropertiesAreCheckedByTheirIdentifier)
{
    struct Case {
        const char *property;
        bool accepted;
    };
    const Case cases[] = {{"GM[4]", true},      {"GM[1]", true},  {"GM[5]", false},      {"GM[]", false},
                          {"GM", false},        {"SZ[19]", true}, {"RU[Gomoku]", false}, {"RU[Renju 1998 rules]", true},
                          {"PB[someone]", true}};
    MOveTree tree;
    EXPECT_TRUE(tree.CheckHeaderProperty());
    for (const Case &c : cases) {
        tree.rootProperties().push_back(c.property);
        EXPECT_EQ(tree.CheckHeaderProperty(), c.accepted) << c.property;
    }
    tree.SetDefaultHeader();
    EXPECT_EQ(tree.rootProperties(),
              (std::vector<std::string>{"GM[4]", "SZ[15]", "RU[Renju 1998]", "US[KORVANA 3.0]"}));
}

TEST(MOveTree, PathOfTheCurrentNodeIsTheBoardHistory)
{
    MOveTree tree;
    tree.AddMoveAlternating(7, 7);
    tree.AddMoveAlternating(8, 8);
    EXPECT_EQ(pathOf(tree.current()), tree.board().history().moves());
}

} // namespace
} // namespace korvana
