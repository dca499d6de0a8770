#include "board/BanHistory.h"

#include <gtest/gtest.h>

#include <vector>

using namespace korvana;

namespace {

std::vector<int> walkNext(BanHistory &h)
{
    std::vector<int> out;
    MovedPos m;
    h.resetCursor();
    while (h.next(m))
        out.push_back(pointOf(m.x, m.y));
    return out;
}

std::vector<int> walkPrevious(BanHistory &h)
{
    std::vector<int> out;
    MovedPos m;
    h.resetCursor();
    while (h.previous(m))
        out.push_back(pointOf(m.x, m.y));
    return out;
}

TEST(BanHistory, WalksBothWaysAndEndsOnTheMarker)
{
    BanHistory h;
    EXPECT_TRUE(walkNext(h).empty());
    EXPECT_EQ(h.currentCode(), 20);
    for (int p : {112, 113, 97})
        ASSERT_TRUE(h.appendPoint(p));
    EXPECT_EQ(walkNext(h), (std::vector<int>{112, 113, 97}));
    EXPECT_EQ(walkPrevious(h), (std::vector<int>{97, 113, 112}));
    // After the walk ended, the next step starts over.
    MovedPos m;
    ASSERT_TRUE(h.next(m));
    EXPECT_EQ(pointOf(m.x, m.y), 112);
}

TEST(BanHistory, AppendRefusesOffBoard)
{
    BanHistory h;
    EXPECT_FALSE(h.append(15, 3, Black, 20));
    EXPECT_FALSE(h.append(3, 15, Black, 20));
    EXPECT_EQ(h.count(), 0);
    EXPECT_TRUE(h.append(14, 14, Black, 20));
    EXPECT_EQ(h.count(), 1);
}

TEST(BanHistory, AppendJudgedStoresTheJudgesCode)
{
    // Black h8, i8 after White replies: the last Black move makes a double three.
    BanHistory h;
    const int moves[] = {pointOf(7, 7), pointOf(0, 0),  pointOf(8, 7), pointOf(0, 14),
                         pointOf(9, 8), pointOf(14, 0), pointOf(9, 9), pointOf(14, 14)};
    for (int p : moves)
        ASSERT_TRUE(h.appendPoint(p));
    // Black at j8 (9,7): h8 i8 j8 across and j8 j9 jA down.
    ASSERT_TRUE(h.appendPoint(pointOf(9, 7)));
    EXPECT_EQ(h.currentCode(), 21);
    EXPECT_EQ(h[h.count() - 1].code, 21);
    EXPECT_EQ(h[h.count() - 1].colour, Black);
    EXPECT_EQ(h[1].colour, White);
}

TEST(BanHistory, AppendJudgedCodesTheNewMoveWhereverTheCursorIs)
{
    BanHistory h;
    for (int p : {112, 0, 113, 1, 114, 2})
        h.appendPoint(p);
    h.resetCursor();
    ASSERT_TRUE(h.appendPoint(115)); // Black's open four
    EXPECT_EQ(h[6].code, 2);
    EXPECT_EQ(h[0].code, 20);
}

TEST(BanHistory, RemoveLast)
{
    BanHistory h;
    h.appendPoint(112);
    h.removeLast();
    EXPECT_EQ(h.count(), 0);
    EXPECT_EQ(h.currentCode(), 20);
    h.removeLast(); // on an empty history: nothing happens
    EXPECT_EQ(h.count(), 0);
}

TEST(BanHistory, ToBoard)
{
    BanHistory empty;
    BanArray board = empty.toBoard();
    EXPECT_EQ(board.count(), 0);
    EXPECT_EQ(board.last(), NoPoint);
    BanHistory h;
    h.appendPoint(112);
    h.appendPoint(20);
    board = h.toBoard();
    EXPECT_EQ(board.count(), 2);
    EXPECT_EQ(board.last(), 20);
    EXPECT_EQ(board.cell(112), Black);
    EXPECT_EQ(board.cell(20), White);
}

} // namespace
