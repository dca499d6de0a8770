// Positions from games the engine lost as Black by having to block a four on a
// point forbidden to Black. As Black it must steer clear of the trap; as White
// it must spring it. The search is bounded by nodes, not time, so the answers
// do not depend on the machine's load. Also a long win of Black's own from a
// lost match game, which the helper thread must find, and a win by fours that
// a block making a four of its own stops.
#include "board/Point.h"
#include "kumo98/KumoSearch.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

using namespace korvana;
using namespace korvana::kumo;

namespace {

struct TrapCase {
    const char *name;
    const char *moves; // whole game record up to the position
    const char *trap;  // Black's losing move here, or "" when White is to move and wins
};
[[maybe_unused]] void PrintTo(const TrapCase &c, std::ostream *os) { *os << c.name; }

int parsed(const std::string &word)
{
    int x = 0, y = 0;
    EXPECT_TRUE(parseWrittenPoint(word, x, y)) << word;
    return pointOf(x, y);
}

KumoBoard boardOf(const char *moves)
{
    KumoBoard board;
    std::istringstream words(moves);
    std::string w;
    while (words >> w)
        EXPECT_TRUE(board.play(parsed(w))) << w;
    return board;
}

class ForbiddenTrapTest : public ::testing::TestWithParam<TrapCase> {};

TEST_P(ForbiddenTrapTest, BlackAvoidsTheTrapAndWhiteSpringsIt)
{
    const TrapCase &c = GetParam();
    KumoBoard board = boardOf(c.moves);
    KumoSearch search(18);
    SearchLimits limits;
    limits.timeMs = 600000;
    limits.maxNodes = 150000;
    const SearchResult r = search.think(board, limits);
    ASSERT_GE(r.move, 0);
    if (*c.trap) {
        ASSERT_EQ(board.sideToMove(), 0);
        const int trap = parsed(c.trap);
        EXPECT_NE(r.move, trap) << writtenPoint(r.move);
        EXPECT_GT(r.score, -WinBound) << writtenPoint(r.move);
        // The trap is real: after it, White's threat search wins.
        board.play(trap);
        EXPECT_NE(search.findForcedWin(board, 60000).kind, 0);
    } else {
        ASSERT_EQ(board.sideToMove(), 1);
        EXPECT_GT(r.score, WinBound) << writtenPoint(r.move);
        EXPECT_NE(search.findForcedWin(board, 60000).kind, 0);
    }
}

// A search with or without the helper thread beside it. A node limit keeps a
// search on one thread, so this one is bounded by depth instead.
SearchResult thinkToDepth(KumoBoard &board, int maxDepth, int threads)
{
    KumoSearch search(18);
    search.setThreads(threads);
    SearchLimits limits;
    limits.timeMs = 600000;
    limits.maxDepth = maxDepth;
    return search.think(board, limits);
}

SearchResult thinkWithHelper(KumoBoard &board, int maxDepth) { return thinkToDepth(board, maxDepth, 2); }

TEST_P(ForbiddenTrapTest, TheHelperThreadKeepsTheAnswer)
{
    const TrapCase &c = GetParam();
    KumoBoard board = boardOf(c.moves);
    const std::vector<uint8_t> before = board.history();
    const SearchResult r = thinkWithHelper(board, 5);
    EXPECT_EQ(board.history(), before);
    ASSERT_GE(r.move, 0);
    EXPECT_TRUE(board.isEmpty(r.move) && board.isLegal(r.move, board.sideToMove())) << writtenPoint(r.move);
    if (*c.trap)
        EXPECT_NE(r.move, parsed(c.trap)) << writtenPoint(r.move);
    else
        EXPECT_GT(r.score, WinBound) << writtenPoint(r.move);
}

// Here Black's d8 loses to a win by threes and fours six threats deep; the
// checks with the helper thread beside the search find it.
TEST(ForbiddenTrapDeepTest, TheHelperThreadSeesATrapSixThreatsDeep)
{
    KumoBoard board = boardOf("h8 h7 i9 g7 i7 g9 i8 iA g8 j8 k6 i5 j6 k5 j5 l7 j4 j3 f8 e8 j9 l9 l6 m6 j7 l5 k4 i4 i6 "
                              "h6 gA h9 h5 g4 fA kA jB kB eA dA fB f9 d9 gC jA jC kC n5 k8 d7 e6 g5 l3 m2 g3 d5");
    const int trap = parsed("d8");
    const SearchResult r = thinkWithHelper(board, 4);
    EXPECT_NE(r.move, trap) << writtenPoint(r.move);
    board.play(trap);
    KumoSearch search(18);
    EXPECT_NE(search.findForcedWin(board, 60000).kind, 0);
}

// Black's e9 here loses to threes and fours five threats deep; the search alone
// takes it at depth seven, the checks with the helper thread beside it do not.
TEST(ForbiddenTrapDeepTest, TheHelperThreadSeesATrapTheSearchAloneTakes)
{
    const char *moves = "h8 i7 i9 g7 j7 j9 j8 hA k8 i8 kA l9 l8 k9 m9 n8 mB k7 kB lC jC iD h7 h6 i5 g5 mA mC g4 f4 "
                        "e3 i6 j6 jD kD f8 e7 f7 f6 fA";
    const int trap = parsed("e9");
    KumoBoard board = boardOf(moves);
    EXPECT_EQ(thinkToDepth(board, 7, 1).move, trap);
    EXPECT_NE(thinkWithHelper(board, 7).move, trap);
    board.play(trap);
    KumoSearch search(18);
    EXPECT_NE(search.findForcedWin(board, 60000).kind, 0);
}

// Black wins here by threes and fours in nineteen moves (iA first), beyond
// the main thread's own threat search: the helper's finds it.
TEST(HelperThreatWinTest, TheHelperThreadFindsALongThreatWin)
{
    KumoBoard board = boardOf("h8 h7 j8 g8 i6 j9 i7 i8 kA h6 g9 j6 hA iB");
    EXPECT_LT(thinkToDepth(board, 3, 1).score, WinBound);
    const SearchResult r = thinkWithHelper(board, 3);
    EXPECT_GT(r.score, WinBound) << writtenPoint(r.move);
    EXPECT_EQ(r.move, parsed("iA")) << writtenPoint(r.move);
}

// From a match game lost as White. After h7, White wins by the fours f9 and eA
// unless Black's forced block at e9 makes a four of its own, which Black's f8
// prepares. A search that answered the fours only on their line saw a win in h7.
TEST(CounterFourTest, ABlockThatMakesAFourStopsAWinByFours)
{
    KumoBoard board = boardOf("h8 h9 h6 iA i7 g9 j8 k9 g7 i9 j9 iB i8 g8 f7");
    const SearchResult r = thinkToDepth(board, 11, 1);
    EXPECT_LT(r.score, WinBound) << writtenPoint(r.move);
    board.play(parsed("h7"));
    board.play(parsed("f8"));
    KumoSearch search(18);
    EXPECT_EQ(search.findForcedWin(board, 60000).kind, 0);
}

INSTANTIATE_TEST_SUITE_P(
    BaselineGames, ForbiddenTrapTest,
    ::testing::Values(
        TrapCase{"Sangetsu", "h8 h7 iA g8 f9 g9 gA hB fB hA iB g6 iC i9 fC g7 g5 f8", "e7"},
        TrapCase{"Sosei",
                 "h8 h7 j6 i7 g7 i9 i6 h6 g5 j8 g6 g4 e8 k9 lA h9 g8 g9 j9 f8 h5 f7 f6 f5 e7 e9 f9 h4 d7 c6 e5 d4 "
                 "d8 c9 e4 e6 d6 d9 b8 c7 c8 a8 l9 i8 gA hB hA j7 l7 l8 k8 l5 k6 m6 iB",
                 ""},
        TrapCase{"Kinsei", "h8 h7 j8 g8 j6 g9 g7 f9 eA f8 j9 jA hA j5 i6 fA fB e9 d9 gC c8 b7 gA", ""},
        TrapCase{"Suisei",
                 "h8 i7 fA h7 g7 i9 iA j9 g8 h9 g9 gA i8 f8 j8 k8 l9 l7 k7 fB eC eB dB f6 f5 e6 g6 g5 h4 c9 "
                 "d8 cA fC gC cC eA d9 dA i5 j6 c7 e9 bC dC",
                 "j4"},
        TrapCase{"Ungetsu", "h8 i7 i8 h9 j9 j8 k9 kA iB jA iA hB l9 m9 iC i9 hA g9 eA mA iD iE", "e9"},
        // Eight threats deep, but narrow: a few hundred nodes one threat deeper at a time.
        TrapCase{"Meigetsu", "h8 i7 gA j9 jA h7 i8 j7 k7 g8", "i6"},
        // Seven threats deep: the first, undeepened search finds it; deepening alone ran out of nodes
        // on wide shallow trees.
        TrapCase{"UngetsuLate",
                 "h8 i7 i8 h9 g7 i9 j9 j8 k7 g6 kA lB k9 k8 l8 l9 mA lA h5 h6 f6 f5 g5 e4 d3 h4 lC g4 f4 j6 e5 d4 "
                 "k6 h3 i2 j4 j5 i3 j3 k5 l6 g3 f2 l5 i4 m7 d7 g8 kB f7 kD kC e6 jE e9 c6 e3 jD jB d8 iE hC nA mB "
                 "e2 c2 e8 e7 c4 b5 hD gB iD iC gC fB hB fC hA fD fA eA oB m9 dB m5 m3 eD mD nE fE dD cD b3 eE cF "
                 "dE cE k2 l1 gA f9 h2 g2 l2 j2 b4 c9",
                 "c8"},
        // Six threats deep, lost in a later match: searches ten or more threats deep miss it.
        TrapCase{"SoseiLate",
                 "h8 h7 j6 i7 i5 k7 g7 h6 g5 f6 g6 g8 j5 j7 l7 h5 k6 i4 m6 l6 k8 j9 m5 m7 n8 n9 j3 h3 h4 k4 k5 "
                 "l5 l4 k3 m3 n2 j2 j4 n5 o4 k2 m4 j8 g3",
                 "kB"}),
    [](const ::testing::TestParamInfo<TrapCase> &info) { return std::string(info.param.name); });

} // namespace
