// Game board: cell queries, the incremental code tables, take-back and replay.

#include "board/Board.h"
#include "board/ChkStat.h"

#include "OwningFactory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace korvana {
namespace {

using test::OwningFactory;

struct Tables {
    HanteiBoard black, white;
    explicit Tables(const Board &b) : black(b.blackCodes()), white(b.whiteCodes()) {}
    bool operator==(const Tables &) const = default;
};

class BoardTest : public ::testing::Test {
protected:
    OwningFactory factory;
    Board board{&factory};

    BanMove *play(int x, int y, char colour) { return board.playNewMove(x, y, colour, nullptr); }
};

TEST_F(BoardTest, CellAtReportsOffBoardEmptyAndStones)
{
    play(7, 7, 'B');
    play(0, 14, 'W');
    struct Case {
        int x, y;
        char cell;
    };
    const Case cases[] = {{-1, 0, '*'}, {15, 3, '*'},  {0, -1, '*'}, {3, 15, '*'},
                          {0, 0, '+'},  {14, 14, '+'}, {7, 7, 'B'},  {0, 14, 'W'}};
    for (const Case &c : cases)
        EXPECT_EQ(board.cellAt(c.x, c.y), c.cell) << c.x << "," << c.y;
}

TEST_F(BoardTest, EmptyBoardTablesAreNothingAndLinesEmpty)
{
    for (int p = 0; p < PointCount; ++p) {
        EXPECT_EQ(board.blackCodes().at(p), Stat::Nothing);
        EXPECT_EQ(board.whiteCodes().at(p), Stat::Nothing);
        EXPECT_EQ(board.lineDensity(p), 1);
    }
    for (int d = 0; d < 4; ++d) {
        EXPECT_EQ(board.lines('B', d).size(), 15);
        EXPECT_EQ(board.lines('W', d).size(), 15);
    }
}

// On an empty board every on-board point of the eight half-lines (five steps) is judged,
// once per colour.
TEST_F(BoardTest, FirstMoveJudgesOnlyOnBoardPointsOfItsLines)
{
    struct Case {
        int x, y, perColour;
    };
    const Case cases[] = {{7, 7, 40}, {0, 0, 15}, {7, 0, 25}, {1, 1, 20}, {14, 7, 25}};
    for (const Case &c : cases) {
        board.reset();
        BanMove *m = play(c.x, c.y, 'B');
        ASSERT_NE(m, nullptr);
        EXPECT_EQ(m->blackRecordCount(), c.perColour) << c.x << "," << c.y;
        EXPECT_EQ(m->whiteRecordCount(), c.perColour) << c.x << "," << c.y;
        for (const MovedPos &r : m->codeList(CodeList::BlackAfter)) {
            const int dx = r.x - c.x, dy = r.y - c.y;
            const bool onLine = dx == 0 || dy == 0 || dx == dy || dx == -dy;
            EXPECT_TRUE(onLine && std::max(std::abs(dx), std::abs(dy)) <= 5);
        }
    }
}

TEST_F(BoardTest, RefusedMovesChangeNothing)
{
    play(7, 7, 'B');
    play(8, 7, 'W');
    const Tables before(board);
    const int moves = board.moveCount();
    const long long judged = board.judgementCount();
    const size_t made = factory.made.size();
    struct Case {
        int x, y;
        char colour;
    };
    const Case cases[] = {{7, 7, 'B'},  {7, 7, 'W'},  {8, 7, 'B'}, {-1, 3, 'B'},
                          {15, 0, 'W'}, {0, 15, 'B'}, {3, 3, 'X'}, {3, 3, '+'}};
    for (const Case &c : cases)
        EXPECT_EQ(play(c.x, c.y, c.colour), nullptr) << c.x << "," << c.y << " " << c.colour;
    EXPECT_TRUE(Tables(board) == before);
    EXPECT_EQ(board.moveCount(), moves);
    EXPECT_EQ(board.judgementCount(), judged);
    EXPECT_EQ(factory.made.size(), made);

    Board noFactory;
    EXPECT_EQ(noFactory.playNewMove(7, 7, 'B', nullptr), nullptr);
    EXPECT_EQ(noFactory.cellAt(7, 7), '+');
}

TEST_F(BoardTest, MoveCodeIsTheJudgesVerdict)
{
    // Black h8 i8 j8 k8 with both ends open: a straight four.
    const int xs[] = {7, 0, 8, 0, 9, 0, 10};
    const int ys[] = {7, 0, 7, 1, 7, 2, 7};
    BanMove *last = nullptr;
    for (int i = 0; i < 7; ++i)
        last = play(xs[i], ys[i], colourToMove(i));
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(last->code(), Stat::StraightFour);
    EXPECT_EQ(board.history()[6].code, Stat::StraightFour);
}

// A record whose colours do not alternate (possible through explicit colours): the stone is
// judged as the colour it is, on the stones as they are.
TEST_F(BoardTest, VerdictUsesTheStonesRealColours)
{
    play(7, 7, 'W');
    play(8, 7, 'W');
    play(9, 7, 'W');
    BanMove *m = play(10, 7, 'W');
    EXPECT_EQ(m->code(), Stat::StraightFour);
    EXPECT_EQ(board.banArray().cell(pointOf(8, 7)), 'W');
}

TEST_F(BoardTest, TakeBackAndReplayRestoreTablesWithoutJudging)
{
    std::mt19937 rng(7);
    std::vector<BanMove *> played;
    std::vector<Tables> history{Tables(board)};
    for (int i = 0; i < 60; ++i) {
        BanMove *m = nullptr;
        while (!m)
            m = play(static_cast<int>(rng() % 15), static_cast<int>(rng() % 15), colourToMove(i));
        played.push_back(m);
        history.emplace_back(board);
    }
    const long long judged = board.judgementCount();
    for (int i = 59; i >= 0; --i) {
        ASSERT_TRUE(board.takeBack(played[i]));
        ASSERT_TRUE(Tables(board) == history[static_cast<size_t>(i)]) << "after taking back move " << i;
        EXPECT_EQ(board.moveCount(), i);
    }
    for (int i = 0; i < 60; ++i) {
        ASSERT_TRUE(board.replayMove(played[i]));
        ASSERT_TRUE(Tables(board) == history[static_cast<size_t>(i) + 1]) << "after replaying move " << i;
        EXPECT_EQ(board.history()[i].code, played[i]->code());
    }
    EXPECT_EQ(board.judgementCount(), judged);
}

TEST_F(BoardTest, TakeBackOfAMoveThatIsNotLastIsRefused)
{
    BanMove *a = play(7, 7, 'B');
    BanMove *b = play(8, 8, 'W');
    const Tables before(board);
    EXPECT_FALSE(board.takeBack(a));
    EXPECT_FALSE(board.takeBack(nullptr));
    EXPECT_TRUE(Tables(board) == before);
    EXPECT_EQ(board.moveCount(), 2);
    EXPECT_TRUE(board.takeBack(b));
    EXPECT_FALSE(board.replayMove(a)); // a still stands
}

// Every code a move records after it was played is the judge's verdict on that position,
// and the board's judge array always holds the same stones as the grid and the history.
TEST_F(BoardTest, RecordedCodesAreFreshJudgements)
{
    std::mt19937 rng(11);
    for (int game = 0; game < 20; ++game) {
        board.reset();
        for (int i = 0; i < 50; ++i) {
            BanMove *m = play(static_cast<int>(rng() % 15), static_cast<int>(rng() % 15), colourToMove(i));
            if (!m)
                continue;
            BanArray fresh = board.history().toBoard();
            ASSERT_TRUE(fresh == board.banArray());
            ChkStat judge(fresh);
            for (CodeList list : {CodeList::BlackAfter, CodeList::WhiteAfter}) {
                for (const MovedPos &r : m->codeList(list)) {
                    const int p = pointOf(r.x, r.y);
                    ASSERT_EQ(r.code, judge.judgeAt(p, r.colour));
                    ASSERT_EQ(board.codeAt(Pos{r.x, r.y, r.colour}), r.code);
                }
            }
        }
    }
}

// First difference between the tables and a full re-judge of every empty point, or "".
std::string staleCode(const Board &b)
{
    BanArray ban = b.banArray();
    ChkStat judge(ban);
    for (int p = 0; p < PointCount; ++p) {
        if (ban.cell(p) != Empty)
            continue;
        for (char colour : {Black, White}) {
            const int fresh = judge.judgeAt(p, colour), kept = b.codes(colour).at(p);
            if (fresh != kept)
                return writtenPoint(p) + " " + colour + ": table " + std::to_string(kept) + ", judge " +
                       std::to_string(fresh);
        }
    }
    return "";
}

// Random games close to the stones (dense threes and fours) with take-backs and replays: after
// every step each code in the tables is what a full re-judge gives, also for points the judge
// only reaches through a three's straight-four point.
TEST_F(BoardTest, TablesMatchAFullRejudgeThroughRandomGames)
{
    std::mt19937 rng(19);
    for (int game = 0; game < 60; ++game) {
        board.reset();
        std::vector<BanMove *> played, undone;
        for (int step = 0; step < 90 && board.moveCount() < 120; ++step) {
            const unsigned roll = rng() % 8;
            if (roll == 0 && !played.empty()) {
                ASSERT_TRUE(board.takeBack(played.back()));
                undone.push_back(played.back());
                played.pop_back();
            } else if (roll == 1 && !undone.empty()) {
                ASSERT_TRUE(board.replayMove(undone.back()));
                played.push_back(undone.back());
                undone.pop_back();
            } else {
                const int n = board.moveCount();
                const MovedPos near = n ? board.history()[static_cast<int>(rng() % n)] : MovedPos{7, 7, Black, 20};
                const int x = near.x + static_cast<int>(rng() % 5) - 2, y = near.y + static_cast<int>(rng() % 5) - 2;
                if (BanMove *m = play(x, y, colourToMove(n))) {
                    played.push_back(m);
                    undone.clear();
                }
            }
            const std::string stale = staleCode(board);
            ASSERT_EQ(stale, "") << "game " << game << ", step " << step;
        }
    }
}

TEST_F(BoardTest, ValueAndBalanceReadTheTables)
{
    // Black h8 i8 j8 (open three); White far away.
    play(7, 7, 'B');
    play(0, 0, 'W');
    play(8, 7, 'B');
    play(0, 2, 'W');
    play(9, 7, 'B');
    const Pos g8{6, 7, 'B'};
    EXPECT_TRUE(isPlainFour(board.codeAt(g8)) || board.codeAt(g8) == Stat::StraightFour);
    EXPECT_EQ(board.valueAt(g8), pointValue(board.codeAt(g8)));
    const Pos g8w{6, 7, 'W'};
    EXPECT_EQ(board.balanceAt(g8), board.valueAt(g8) - board.valueAt(g8w));
    EXPECT_EQ(board.balanceAt(g8w), -board.balanceAt(g8));
    EXPECT_EQ(board.codeAt(Pos{15, 0, 'B'}), Stat::Nothing);
}

} // namespace
} // namespace korvana
