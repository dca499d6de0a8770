// The engine's board against the project's judge: forbidden points, fives and
// the incremental shape data after random play and take-backs.
#include "board/ChkStat.h"
#include "kumo98/KumoBoard.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

using namespace korvana;
using namespace korvana::kumo;

namespace {

// A random game crowded into a small square, so shapes (and forbidden points) are common.
void randomCrowdedGame(KumoBoard &board, std::mt19937 &random, int stones, int size)
{
    board.reset();
    const int lo = 7 - size / 2;
    std::uniform_int_distribution<int> coord(lo, lo + size - 1);
    int guard = 0;
    while (board.count() < stones && guard++ < 10000) {
        const int p = coord(random) + 15 * coord(random);
        if (board.isEmpty(p))
            board.play(p);
    }
}

TEST(KumoBoardTest, ForbiddenAndFivesAgreeWithTheJudge)
{
    std::mt19937 random(1998);
    int forbiddenSeen = 0, fivesSeen = 0;
    for (int game = 0; game < 400; ++game) {
        KumoBoard board;
        randomCrowdedGame(board, random, 8 + game % 30, 7 + game % 3);
        BanArray ban = board.banArray();
        ChkStat judge(ban);
        for (int p = 0; p < 225; ++p) {
            if (!board.isEmpty(p))
                continue;
            const POS_STAT black = judge.judgeBlack(p), white = judge.judgeWhite(p);
            ASSERT_EQ(board.isForbidden(p), isForbidden(black)) << "game " << game << " point " << writtenPoint(p);
            ASSERT_EQ(board.combo(0, p) == C_Five, black == Stat::Five) << writtenPoint(p);
            ASSERT_EQ(board.combo(1, p) == C_Five, isWin(white)) << writtenPoint(p);
            forbiddenSeen += isForbidden(black);
            fivesSeen += isWin(white);
        }
    }
    // The sample must exercise what it claims to check.
    EXPECT_GT(forbiddenSeen, 50);
    EXPECT_GT(fivesSeen, 50);
}

TEST(KumoBoardTest, UndoRestoresEveryPointsShapes)
{
    std::mt19937 random(7);
    for (int round = 0; round < 50; ++round) {
        KumoBoard board;
        randomCrowdedGame(board, random, 20, 9);
        // Play on, then take back those stones and some of the game's own (stones that
        // were there before the new ones): the shapes must match a board built directly.
        const int extra = 1 + round % 6, older = round % 4;
        KumoBoard fresh;
        for (int i = 0; i < board.count() - older; ++i)
            fresh.play(board.history()[static_cast<size_t>(i)]);
        for (int i = 0; i < extra; ++i) {
            int p;
            do
                p = static_cast<int>(random() % 225);
            while (!board.isEmpty(p));
            board.play(p);
        }
        for (int i = 0; i < extra + older; ++i)
            board.undo();
        ASSERT_EQ(board.hash(), fresh.hash());
        ASSERT_EQ(board.evaluate(), fresh.evaluate());
        // The same stones put down in another order (Black's first): the incremental
        // sums pass through other positions and must end at the same values.
        KumoBoard reordered;
        for (int colour = 0; colour < 2; ++colour)
            for (int i = colour; i < board.count(); i += 2)
                reordered.place(board.history()[static_cast<size_t>(i)], colour);
        ASSERT_EQ(reordered.evaluate(), board.evaluate());
        for (int p = 0; p < 225; ++p) {
            int near = 0;
            for (int q = 0; q < 225; ++q)
                near += q != p && !board.isEmpty(q) && std::abs(q % 15 - p % 15) <= 2 && std::abs(q / 15 - p / 15) <= 2;
            ASSERT_EQ(board.nearCount(p), near) << p;
            for (int c = 0; c < 2; ++c) {
                ASSERT_EQ(board.combo(c, p), fresh.combo(c, p));
                ASSERT_EQ(board.score(c, p), fresh.score(c, p));
                ASSERT_EQ(board.countAtLeast(c, static_cast<Combo>(p % C_Count)),
                          fresh.countAtLeast(c, static_cast<Combo>(p % C_Count)));
                for (int d = 0; d < 4; ++d)
                    ASSERT_EQ(board.pattern(c, p, d), fresh.pattern(c, p, d));
            }
        }
    }
}

// A pass (the search's null move) hands the turn over: the next stone is the
// other colour's, the position hashes apart, and a second pass restores both.
TEST(KumoBoardTest, PassHandsTheTurnOverAndBack)
{
    std::mt19937 random(3);
    for (int round = 0; round < 20; ++round) {
        KumoBoard board;
        randomCrowdedGame(board, random, 10 + round, 9);
        const int side = board.sideToMove();
        const uint64_t hash = board.hash();
        board.pass();
        ASSERT_EQ(board.sideToMove(), 1 - side);
        ASSERT_NE(board.hash(), hash);
        int p = 0;
        while (!board.isEmpty(p))
            ++p;
        board.play(p);
        ASSERT_EQ(board.cell(p), side == 0 ? CellWhite : CellBlack);
        board.undo();
        board.pass();
        ASSERT_EQ(board.sideToMove(), side);
        ASSERT_EQ(board.hash(), hash);
    }
}

// Right after a move that leaves its colour a five to make (and none before),
// the look along the move's lines finds the same points as the whole-board scan.
TEST(KumoBoardTest, FivePointsThroughTheLastMoveMatchTheWholeBoard)
{
    std::mt19937 random(15);
    int checked = 0;
    for (int game = 0; game < 300; ++game) {
        KumoBoard board;
        randomCrowdedGame(board, random, 10 + game % 25, 7 + game % 3);
        const int me = board.sideToMove();
        if (board.countAtLeast(me, C_Five) > 0)
            continue;
        for (int p = 0; p < 225; ++p) {
            if (!board.isEmpty(p) || board.combo(me, p) < C_B4 || board.combo(me, p) == C_Five)
                continue;
            board.place(p, me);
            std::vector<int> all(8), near(8);
            all.resize(static_cast<size_t>(board.fivePoints(me, all.data(), 8)));
            near.resize(static_cast<size_t>(board.fivePointsThrough(me, p, near.data(), 8)));
            std::sort(all.begin(), all.end());
            std::sort(near.begin(), near.end());
            ASSERT_EQ(near, all) << writtenPoint(p);
            checked += !all.empty();
            board.undo();
        }
    }
    EXPECT_GT(checked, 100);
}

struct LineCase {
    const char *line; // 11 cells, centre (index 5) is the judged empty point: X Black, O White, . empty
    int colour;       // 0 Black, 1 White
    LinePattern expected;
};
std::string nameOf(const LineCase &c)
{
    std::string name = c.colour ? "White_" : "Black_";
    // An empty cell reads '_' and the board's edge 'E' in the name.
    for (const char *cell = c.line; *cell; ++cell)
        name += *cell == '.' ? '_' : *cell == '#' ? 'E' : *cell;
    return name;
}
[[maybe_unused]] void PrintTo(const LineCase &c, std::ostream *os) { *os << nameOf(c); }

class LinePatternTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(LinePatternTest, ShapeOfTheCentre)
{
    const LineCase &c = GetParam();
    uint32_t key = 0;
    for (int i = 0; i < 11; ++i) {
        if (i == 5)
            continue;
        const uint32_t cell = c.line[i] == 'X'   ? CellBlack
                              : c.line[i] == 'O' ? CellWhite
                              : c.line[i] == '#' ? CellOff
                                                 : CellEmpty;
        key |= cell << keyShift(i - 5);
    }
    EXPECT_EQ(linePattern(c.colour, key), c.expected) << c.line;
}

INSTANTIATE_TEST_SUITE_P(Shapes, LinePatternTest,
                         ::testing::Values(LineCase{"...XX.XX...", 0, P_Five}, LineCase{"..XXX.XX...", 0, P_Overline},
                                           LineCase{"..OOO.OO...", 1, P_Five}, // White's six is a five
                                           LineCase{"....X.XX...", 0, P_F4},   // straight four
                                           LineCase{"...OX.XX...", 0, P_B4},
                                           LineCase{"..X.X.X.X..", 0, P_F4}, // in-line double four
                                           LineCase{"OOOO.O.....", 1, P_B4}, // for White six counts
                                           LineCase{"....X.X....", 0, P_F3},
                                           LineCase{"...#X.X....", 0, P_B3},    // the board's edge blocks like a stone
                                           LineCase{"XXXX...XXXX", 1, P_None}), // no room for five
                         [](const auto &info) { return nameOf(info.param); });

// A line read from the other end has the same shape: catches one side of the key
// being read differently from the other.
TEST(LinePatternKeys, EveryKeyMatchesItsMirror)
{
    for (int colour = 0; colour < 2; ++colour)
        for (uint32_t key = 0; key < (1u << KeyBits); ++key) {
            uint32_t mirror = 0;
            for (int k = 1; k <= 5; ++k)
                mirror |= ((key >> keyShift(k)) & 3) << keyShift(-k) | ((key >> keyShift(-k)) & 3) << keyShift(k);
            ASSERT_EQ(linePattern(colour, key), linePattern(colour, mirror)) << colour << " " << key;
        }
}

} // namespace
