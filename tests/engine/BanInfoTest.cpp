#include "engine/BanInfo.h"

#include "board/ChkStat.h"
#include "EngineTestBoards.h"

#include <gtest/gtest.h>

using namespace korvana;

namespace {

TEST(BanInfo, FullCodesBelongToTheSideToMove)
{
    for (const char *moves : {"h8 i8 h9 i9 h7", "h8 i8 h9 i9 h7 i7"}) {
        BanArray board = testboards::fromMoves(moves);
        BanInfo info;
        EXPECT_EQ(info.computeFull(board), 2 * (PointCount - board.count()));
        const char mover = colourToMove(board.count());
        ChkStat judge(board);
        for (int p = 0; p < PointCount; ++p) {
            if (board.cells()[p] != Empty) {
                EXPECT_EQ(info.own[p], 20);
                EXPECT_EQ(info.other[p], 20);
                continue;
            }
            EXPECT_EQ(info.own[p], judge.judgeAt(p, mover)) << moves << " point " << p;
            EXPECT_EQ(info.other[p], judge.judgeAt(p, otherColour(mover))) << moves << " point " << p;
        }
    }
}

TEST(BanInfo, WinFlagsFollowFivePoints)
{
    // White to move; Black's open four h5..h8 leaves two five points.
    BanArray board = testboards::fromMoves("h8 a1 h7 c1 h6 a3 h5");
    BanInfo info;
    info.computeFull(board);
    EXPECT_FALSE(info.ownCanWin);
    EXPECT_TRUE(info.otherCanWin);
    EXPECT_EQ(info.other[pointOf(7, 3)], 1);
    EXPECT_EQ(info.other[pointOf(7, 8)], 1);
}

// After a stone, the points reached along its four lines (up to five steps,
// stopping before the other colour) are judged again for that colour;
// every other point keeps the parent's code, with the sides exchanged.
TEST(BanInfo, UpdateRejudgesTheLinesThroughTheNewStoneOnly)
{
    const auto positions = testboards::midGamePositions(12);
    for (const BanArray &start : positions) {
        BanArray parentBoard = start;
        BanInfo parent;
        parent.computeFull(parentBoard);
        // Play the first empty point near the middle.
        int move = -1;
        for (int p : spiralOrder())
            if (parentBoard.cells()[p] == Empty) {
                move = p;
                break;
            }
        BanArray board = parentBoard;
        ASSERT_TRUE(board.putStone(move));
        BanInfo child;
        child.takeSwapped(parent);
        child.updateAfter(board, move);

        // Which points each colour re-judges, found by walking the lines here.
        bool reached[2][PointCount] = {};
        const int dx[4] = {1, 1, 0, -1}, dy[4] = {0, 1, 1, 1};
        for (int c = 0; c < 2; ++c) {
            const char colour = c == 0 ? Black : White;
            for (int d = 0; d < 4; ++d)
                for (int s : {1, -1})
                    for (int k = 1; k <= 5; ++k) {
                        const int x = pointX(move) + s * k * dx[d], y = pointY(move) + s * k * dy[d];
                        if (!onBoard(x, y) || board.cells()[pointOf(x, y)] == otherColour(colour))
                            break;
                        reached[c][pointOf(x, y)] = true;
                    }
        }
        ChkStat judge(board);
        const bool blackToMove = colourToMove(board.count()) == Black;
        for (int p = 0; p < PointCount; ++p) {
            const int blackCode = blackToMove ? child.own[p] : child.other[p];
            const int whiteCode = blackToMove ? child.other[p] : child.own[p];
            const int parentBlack = blackToMove ? parent.other[p] : parent.own[p];
            const int parentWhite = blackToMove ? parent.own[p] : parent.other[p];
            if (p == move || board.cells()[p] != Empty) {
                EXPECT_EQ(blackCode, 20);
                EXPECT_EQ(whiteCode, 20);
                continue;
            }
            EXPECT_EQ(blackCode, reached[0][p] ? judge.judgeBlack(p) : parentBlack) << "point " << p;
            EXPECT_EQ(whiteCode, reached[1][p] ? judge.judgeWhite(p) : parentWhite) << "point " << p;
        }
    }
}

} // namespace
