#include "board/BanArray.h"
#include "board/Point.h"

#include <gtest/gtest.h>

#include <set>

using namespace korvana;

namespace {

TEST(Point, WrittenForm)
{
    const struct {
        int point;
        const char *text;
    } table[] = {{112, "h8"}, {0, "a1"}, {224, "oF"}, {14, "o1"}, {210, "aF"}, {8 + 15 * 9, "iA"}};
    for (const auto &row : table) {
        EXPECT_EQ(writtenPoint(row.point), row.text);
        int x = -1, y = -1;
        ASSERT_TRUE(parseWrittenPoint(row.text, x, y));
        EXPECT_EQ(pointOf(x, y), row.point);
    }
    int x, y;
    for (const char *bad : {"", "h", "p1", "aG", "h8 ", "H8"})
        EXPECT_FALSE(parseWrittenPoint(bad, x, y)) << bad;
    EXPECT_EQ(writtenPoint(225), "");
    EXPECT_EQ(writtenPoint(15, 0), "");
}

TEST(Point, SpiralStartsAtCentreAndCoversEveryPointOnce)
{
    const auto &order = spiralOrder();
    const int start[] = {112, 113, 98, 97, 96, 111, 126, 127, 128, 129, 114, 99, 84};
    for (size_t i = 0; i < std::size(start); ++i)
        EXPECT_EQ(order[i], start[i]) << i;
    for (int i = 0; i < 15; ++i)
        EXPECT_EQ(order[210 + i], 210 + i);
    std::set<int> seen(order.begin(), order.end());
    EXPECT_EQ(seen.size(), 225u);
    EXPECT_EQ(*seen.rbegin(), 224);
}

TEST(Point, SymmetryTable)
{
    // b3 is u = -6, v = -5 from the centre.
    const int b3 = pointOf(1, 2);
    const int expected[8] = {
        pointOf(1, 2),   // (u, v)
        pointOf(12, 13), // (-v, -u)
        pointOf(13, 12), // (-u, -v)
        pointOf(2, 13),  // (v, -u)
        pointOf(12, 1),  // (-v, u)
        pointOf(13, 2),  // (-u, v)
        pointOf(2, 1),   // (v, u)
        pointOf(1, 12),  // (u, -v)
    };
    for (int kind = 0; kind < 8; ++kind)
        EXPECT_EQ(symmetryTransform(kind, b3), expected[kind]) << kind;
    EXPECT_EQ(symmetryTransform(2, 0), 224);
}

TEST(Point, InverseUndoesEveryKindOnEveryPoint)
{
    for (int kind = 0; kind < 8; ++kind)
        for (int p = 0; p < PointCount; ++p) {
            int q = symmetryTransform(kind, p);
            ASSERT_GE(q, 0);
            ASSERT_LT(q, PointCount);
            ASSERT_EQ(inverseSymmetryTransform(kind, q), p) << kind << " " << p;
        }
}

TEST(BanArray, PutStoneAlternatesAndRefusesOccupied)
{
    BanArray board;
    EXPECT_EQ(board.last(), NoPoint);
    EXPECT_EQ(board.putStone(112), 1);
    EXPECT_EQ(board.putStone(113), 1);
    EXPECT_EQ(board.cell(112), Black);
    EXPECT_EQ(board.cell(113), White);
    EXPECT_EQ(board.putStone(112), 0);
    EXPECT_EQ(board.count(), 2);
    EXPECT_EQ(board.last(), 113);
}

TEST(BanArray, EqualityIgnoresLast)
{
    BanArray a, b;
    a.putStone(112);
    a.putStone(0);
    b.putStone(112);
    b.putStone(0);
    b.setLast(5);
    EXPECT_TRUE(a == b);
    b.setCount(3);
    EXPECT_FALSE(a == b);
    b.setCount(2);
    b.cell(7) = White;
    EXPECT_FALSE(a == b);
}

} // namespace
