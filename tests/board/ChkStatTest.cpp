// The judge on hand-made positions: each row is a set of lines laid on an
// empty board and the code expected at the judged point C.
#include "BoardDiagram.h"

#include "board/ChkStat.h"

#include <gtest/gtest.h>

#include <random>

using namespace korvana;
using korvana::test::layLine;

namespace {

struct Line {
    int x, y, d;
    const char *cells;
};

struct JudgeCase {
    const char *name;
    std::vector<Line> lines;
    char colour;
    int expected;
};

void PrintTo(const JudgeCase &c, std::ostream *os) { *os << c.name; }

class JudgeCases : public ::testing::TestWithParam<JudgeCase> {};

TEST_P(JudgeCases, CodeAtJudgedPoint)
{
    const JudgeCase &c = GetParam();
    BanArray board;
    int judged = NoPoint;
    for (const Line &line : c.lines) {
        int p = layLine(board, line.x, line.y, line.d, line.cells);
        if (p != NoPoint) {
            ASSERT_TRUE(judged == NoPoint || judged == p) << "diagram lines disagree on C";
            judged = p;
        }
    }
    ASSERT_NE(judged, NoPoint);
    const BanArray before = board;
    ChkStat judge(board);
    EXPECT_EQ(judge.judgeAt(judged, c.colour), c.expected);
    EXPECT_TRUE(board == before);
    EXPECT_EQ(board.cell(judged), Empty);
}

// Coordinates: rows run down, so direction 2 lays a column from the top.
const JudgeCase cases[] = {
    {"BlackStraightFour", {{3, 7, 0, "..BBBC.."}}, 'B', 2},
    {"WhiteStraightFour", {{3, 7, 0, "..WWWC.."}}, 'W', 2},
    {"BlackFourAtEdge", {{0, 7, 0, "CBBB."}}, 'B', 8},
    {"BlackStraightFourOneInFromEdge", {{0, 7, 0, ".CBBB."}}, 'B', 2},
    {"BlackFiveBesideSixIsFive", {{3, 7, 0, "BBBBC"}, {7, 2, 2, "BBBBBC"}}, 'B', 1},
    {"BlackSixIsForbidden", {{3, 7, 0, "BBBBBC"}}, 'B', 23},
    {"WhiteSixWins", {{3, 7, 0, "WWWWWC"}}, 'W', 0},
    {"BlackFourWhoseGapMakesSixIsNoFour", {{3, 7, 0, ".CBBB.B"}}, 'B', 20},
    {"WhiteSameShapeIsStraightFour", {{3, 7, 0, ".CWWW.W"}}, 'W', 2},
    {"BlackInLineDoubleFour", {{3, 7, 0, "B.BCB.B"}}, 'B', 22},
    {"BlackInLineDoubleFourPairs", {{3, 7, 0, "BB.CB.BB"}}, 'B', 22},
    {"BlackBrokenFour", {{3, 7, 0, "WB.BCB."}}, 'B', 8},
    {"BlackDoubleThree", {{2, 7, 0, "..BCB.."}, {5, 4, 2, "..BCB.."}}, 'B', 21},
    {"WhiteDoubleThreeIsAllowed", {{2, 7, 0, "..WCW.."}, {5, 4, 2, "..WCW.."}}, 'W', 11},
    {"BlackSplitDoubleThree", {{2, 7, 0, "..B.CB.."}, {6, 2, 2, "..BB.C.."}}, 'B', 21},
    {"BlackOpenThree", {{3, 7, 0, "W.CBB..W"}}, 'B', 15},
    // The three's only straight-four point is itself a four-three-three for Black.
    {"BlackThreeWhoseKeyIsForbiddenIsNoThree",
     {{3, 7, 0, "W.CBB..W"}, {8, 4, 2, ".BB..."}, {5, 4, 1, ".BB..."}},
     'B',
     20},
    {"BlackFourThree", {{3, 7, 0, "WBBBC.."}, {7, 4, 2, ".BBC.."}}, 'B', 4},
    {"BlackFourThreeThree", {{3, 7, 0, "WBBBC.."}, {7, 4, 2, ".BBC.."}, {4, 4, 1, ".BBC.."}}, 'B', 21},
    {"BlackStraightFourBesideThree", {{3, 7, 0, "..BBBC.."}, {8, 4, 2, ".BBC.."}}, 'B', 2},
    {"WhiteDoubleFour", {{3, 7, 0, "BWWWC."}, {7, 3, 2, "BWWWC."}}, 'W', 3},
    // The two beyond the closed three would count were the direction not closed.
    {"BlackClosedThreeCountsNoTwo", {{3, 7, 0, "WBBC..B.B."}}, 'B', 20},
    {"BlackTwoBesideNothing", {{3, 7, 0, "W..C..B.B."}}, 'B', 19},
    {"BlackLoneStone", {{7, 7, 0, "C"}}, 'B', 20},
    {"BlackTwoTwos", {{4, 7, 0, "..BC..."}, {7, 4, 2, "..BC..."}}, 'B', 18},
};

INSTANTIATE_TEST_SUITE_P(Renju, JudgeCases, ::testing::ValuesIn(cases),
                         [](const auto &info) { return std::string(info.param.name); });

// Judging every point of random positions leaves the board byte-for-byte as it was.
TEST(ChkStat, LeavesBoardUntouched)
{
    std::mt19937 rng(7);
    for (int game = 0; game < 200; ++game) {
        BanArray board;
        int stones = 10 + static_cast<int>(rng() % 50);
        while (board.count() < stones)
            board.putStone(static_cast<int>(rng() % 225));
        const BanArray before = board;
        const uint8_t last = board.last();
        ChkStat judge(board);
        for (int p = 0; p < PointCount; ++p) {
            judge.judgeBlack(p);
            judge.judgeWhite(p);
        }
        judge.judgeLast();
        ASSERT_TRUE(board == before);
        ASSERT_EQ(board.last(), last);
    }
}

// The other ways to the same codes: both colours at once, and White's classification of a
// scan built by hand.
TEST(ChkStat, JudgeBothAndLineScanAgreeWithSingleJudgements)
{
    std::mt19937 rng(8);
    for (int game = 0; game < 100; ++game) {
        BanArray board;
        const int stones = 10 + static_cast<int>(rng() % 50);
        while (board.count() < stones)
            board.putStone(static_cast<int>(rng() % 225));
        ChkStat judge(board);
        for (int p = 0; p < PointCount; ++p) {
            if (board.cell(p) != Empty)
                continue;
            POS_STAT black = 99, white = 99;
            judge.judgeBoth(p, black, white);
            ASSERT_EQ(black, judge.judgeBlack(p)) << p;
            ASSERT_EQ(white, judge.judgeWhite(p)) << p;
            board.cell(p) = White;
            LineScan scan;
            scan.build(board, p, White);
            board.cell(p) = Empty;
            ASSERT_EQ(classifyWhite(scan), white) << p;
        }
    }
}

// The trace names the straight-four point the three was checked with, and nothing for White.
TEST(ChkStat, TraceNamesTheStraightFourPointJudgedOnTheWay)
{
    BanArray board;
    const int c = korvana::test::layLine(board, 3, 7, 0, "W.CBB..W");
    ChkStat judge(board);
    PointSet trace;
    judge.setTrace(&trace);
    EXPECT_EQ(judge.judgeWhite(c), Stat::Nothing);
    EXPECT_TRUE(trace.empty());
    EXPECT_EQ(judge.judgeBlack(c), 15);
    PointSet expected;
    expected.add(pointOf(8, 7));
    EXPECT_TRUE(trace == expected);
}

TEST(ChkStat, JudgeLastUsesParity)
{
    BanArray board;
    for (int p : {112, 0, 113, 1, 114, 2, 115})
        board.putStone(p);
    ChkStat judge(board);
    EXPECT_EQ(judge.judgeLast(), 2); // Black's four in a row, open both ends
    board.putStone(116 + 15);
    EXPECT_EQ(judge.judgeLast(), 20);
}

// A bad point reports and does not crash or change the board.
TEST(ChkStat, PointOffTheBoardIsReportedNotFatal)
{
    BanArray board;
    board.putStone(112);
    const BanArray before = board;
    ChkStat judge(board);
    ::testing::internal::CaptureStderr();
    judge.judgeBlack(300);
    std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("(300)/(225)\nOut of array index"), std::string::npos);
    EXPECT_TRUE(board == before);
}

} // namespace
