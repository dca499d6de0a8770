// Candidate scans over the game board's code tables.

#include "board/Board.h"
#include "board/CandidateScan.h"

#include "OwningFactory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace korvana {
namespace {

using test::OwningFactory;

class CandidateScanTest : public ::testing::Test {
protected:
    OwningFactory factory;
    Board board{&factory};

    /// Plays written points ("h8") of one colour.
    void stones(char colour, std::initializer_list<const char *> points)
    {
        for (const char *w : points) {
            int x = 0, y = 0;
            ASSERT_TRUE(parseWrittenPoint(w, x, y)) << w;
            ASSERT_NE(board.playNewMove(x, y, colour, nullptr), nullptr) << w;
        }
    }
    static int rank(int point)
    {
        const auto &s = spiralOrder();
        return static_cast<int>(std::find(s.begin(), s.end(), point) - s.begin());
    }
};

TEST_F(CandidateScanTest, OpenFourGivesTheMoreCentralWinningPointOnly)
{
    stones('B', {"h8", "i8", "j8", "k8"});
    stones('W', {"a1", "a3", "a5"});
    PosList out;
    ASSERT_EQ(winningPoints(board, 'B', out), 1);
    ASSERT_EQ(out.size(), 1u);
    // g8 and l8 both win; g8 comes first in the spiral.
    EXPECT_EQ(out[0], (Pos{6, 7, 'B'}));
    EXPECT_LT(rank(pointOf(6, 7)), rank(pointOf(11, 7)));
}

TEST_F(CandidateScanTest, UrgentPointsAreCollectedInSpiralOrder)
{
    // Black open three h8 i8 j8: g8 and k8 make straight fours (urgent, not winning).
    stones('B', {"h8", "i8", "j8"});
    PosList out;
    ASSERT_EQ(winningPoints(board, 'B', out), 2);
    ASSERT_GE(out.size(), 2u);
    for (size_t i = 0; i < out.size(); ++i) {
        EXPECT_TRUE(isUrgent(board.codeAt(out[i])));
        if (i > 0) {
            EXPECT_LT(rank(pointOf(out[i - 1].x, out[i - 1].y)), rank(pointOf(out[i].x, out[i].y)));
        }
    }
    EXPECT_EQ(winningPoints(board, 'W', out), 0);
    EXPECT_TRUE(out.empty());
}

TEST_F(CandidateScanTest, BlackWhoseOnlyDefenceIsForbiddenGetsTwo)
{
    // White straight four h3 i3 j3 k3; g3 would be a Black double three (g4 g5 and h4 i5).
    stones('W', {"h3", "i3", "j3", "k3"});
    stones('B', {"g4", "g5", "h4", "i5"});
    ASSERT_EQ(board.codeAt(Pos{6, 2, 'B'}), Stat::NgDoubleThree);
    ASSERT_TRUE(isDecisive(board.codeAt(Pos{6, 2, 'W'})));
    PosList out;
    EXPECT_EQ(forcedCandidates(board, 'B', out), 2);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0], (Pos{6, 2, 'B'}));
    // White itself has decisive points: it answers 1 with its five.
    EXPECT_EQ(forcedCandidates(board, 'W', out), 1);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_TRUE(isWin(board.codeAt(out[0])));
}

TEST_F(CandidateScanTest, OrdinaryDefencesAreCollected)
{
    // White straight four; Black may block either end.
    stones('W', {"h3", "i3", "j3", "k3"});
    stones('B', {"h8"});
    PosList out;
    EXPECT_EQ(forcedCandidates(board, 'B', out), 0);
    // The top of the spiral's ring runs westward: l3 comes before g3.
    ASSERT_LT(rank(pointOf(11, 2)), rank(pointOf(6, 2)));
    EXPECT_EQ(out, (PosList{{11, 2, 'B'}, {6, 2, 'B'}}));
    // expandCandidates keeps those defences first and leaves them out of the rest.
    EXPECT_EQ(expandCandidates(board, 2, 'B', out), 0);
    ASSERT_EQ(out.size(), 5u);
    EXPECT_EQ(out[0], (Pos{11, 2, 'B'}));
    EXPECT_EQ(out[1], (Pos{6, 2, 'B'}));
    EXPECT_EQ(std::count(out.begin(), out.end(), Pos{6, 2, 'B'}), 1);
    EXPECT_EQ(out[2], (Pos{8, 7, 'B'})); // h8 is taken: i8 is the first free point of the spiral
}

TEST_F(CandidateScanTest, QuietBoardExpandsInSpiralOrder)
{
    stones('B', {"h8"});
    stones('W', {"i9"});
    PosList out;
    EXPECT_EQ(forcedCandidates(board, 'B', out), 0);
    EXPECT_TRUE(out.empty());
    struct Case {
        int limit;
        size_t expected;
    };
    for (Case c : {Case{-1, 0}, Case{0, 1}, Case{9, 10}, Case{400, 223}}) {
        EXPECT_EQ(expandCandidates(board, c.limit, 'B', out), 0);
        ASSERT_EQ(out.size(), c.expected) << c.limit;
        size_t i = 0;
        for (uint8_t p : spiralOrder()) {
            if (i == out.size())
                break;
            if (board.banArray().cell(p) != Empty)
                continue;
            EXPECT_EQ(pointOf(out[i].x, out[i].y), p);
            EXPECT_EQ(out[i].colour, 'B');
            ++i;
        }
    }
}

TEST_F(CandidateScanTest, PosSortIsStableHighestFirst)
{
    std::vector<PosSort> list = {
        {{0, 0, 'B'}, 1}, {{1, 0, 'B'}, 3}, {{2, 0, 'B'}, 1}, {{3, 0, 'B'}, 3}, {{4, 0, 'B'}, 2}};
    sortPosSorts(list);
    std::string order;
    for (const PosSort &s : list)
        order += static_cast<char>('0' + s.pos.x);
    EXPECT_EQ(order, "13402");
}

TEST_F(CandidateScanTest, EvaluationLooksAtOwnWinFirst)
{
    // Both sides have a four; each side to judge scores its own five first.
    stones('B', {"h8", "i8", "j8", "k8"});
    stones('W', {"a1", "a2", "a3", "a4"});
    EXPECT_EQ(evaluatePosition(board, 'B'), 10000);
    EXPECT_EQ(evaluatePosition(board, 'W'), 10000);
}

TEST_F(CandidateScanTest, EvaluationOfAThreatIsMinusAndQuietIsAntisymmetric)
{
    stones('B', {"h8", "i8", "j8"});
    stones('W', {"b2"});
    EXPECT_EQ(evaluatePosition(board, 'W'), -10000);

    board.reset();
    stones('B', {"h8", "j9"});
    stones('W', {"i9", "g7"});
    const int black = evaluatePosition(board, 'B');
    EXPECT_EQ(evaluatePosition(board, 'W'), -black);
    int sum = 0;
    for (int p = 0; p < PointCount; ++p)
        if (board.banArray().cell(p) == Empty)
            sum += board.balanceAt(Pos{static_cast<uint8_t>(pointX(p)), static_cast<uint8_t>(pointY(p)), 'B'});
    EXPECT_EQ(black, sum);
    EXPECT_NE(black, 0);
}

} // namespace
} // namespace korvana
