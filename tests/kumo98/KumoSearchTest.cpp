// The search's threat handling on small constructed positions.
#include "kumo98/KumoSearch.h"

#include "support/CaseName.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

using namespace korvana;
using namespace korvana::kumo;

namespace {

struct ThreatCase {
    const char *what;
    std::vector<std::pair<int, int>> black, white; // (x, y); stones are placed alternately
    int expected;                                  // the only sensible move, or -1
    int avoid;                                     // a move that must not be played, or -1
    bool win;                                      // the score must say the mover wins
};
[[maybe_unused]] std::string nameOf(const ThreatCase &c) { return korvana::test::caseName(c.what); }
[[maybe_unused]] void PrintTo(const ThreatCase &c, std::ostream *os) { *os << nameOf(c); }

class KumoSearchTest : public ::testing::TestWithParam<ThreatCase> {};

TEST_P(KumoSearchTest, FindsTheMove)
{
    const ThreatCase &c = GetParam();
    KumoBoard board;
    for (size_t i = 0; i < std::max(c.black.size(), c.white.size()); ++i) {
        if (i < c.black.size()) {
            ASSERT_TRUE(board.place(c.black[i].first + 15 * c.black[i].second, 0));
        }
        if (i < c.white.size()) {
            ASSERT_TRUE(board.place(c.white[i].first + 15 * c.white[i].second, 1));
        }
    }
    KumoSearch search(16);
    SearchLimits limits;
    limits.timeMs = 500;
    const SearchResult r = search.think(board, limits);
    ASSERT_GE(r.move, 0) << c.what;
    EXPECT_TRUE(board.isEmpty(r.move));
    if (c.expected >= 0) {
        EXPECT_EQ(r.move, c.expected) << c.what << ": " << r.move % 15 << "," << r.move / 15;
    }
    EXPECT_NE(r.move, c.avoid) << c.what;
    if (c.win) {
        EXPECT_GT(r.score, WinBound) << c.what;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Positions, KumoSearchTest,
    ::testing::Values(
        // White (to move) makes two open threes at h8: Black cannot stop both.
        ThreatCase{"White double three wins",
                   {{0, 0}, {14, 0}, {0, 14}, {14, 14}, {2, 12}},
                   {{8, 7}, {9, 7}, {7, 8}, {7, 9}},
                   7 + 15 * 7,
                   -1,
                   true},
        // The same shape for Black (to move) is a forbidden double three at h8.
        ThreatCase{"Black does not play its double three",
                   {{8, 7}, {9, 7}, {7, 8}, {7, 9}},
                   {{0, 0}, {14, 0}, {0, 14}, {14, 14}},
                   -1,
                   7 + 15 * 7,
                   false},
        // Black's four (h8-k8, closed by White g8) must be blocked at l8 even though White has a three.
        ThreatCase{"White blocks a four before its own three",
                   {{7, 7}, {8, 7}, {9, 7}, {10, 7}, {0, 14}},
                   {{6, 7}, {3, 3}, {4, 3}, {5, 3}},
                   11 + 15 * 7,
                   -1,
                   false}),
    [](const auto &info) { return nameOf(info.param); });

TEST(KumoSearchThreads, TextOfTheSetting)
{
    const std::pair<const char *, int> cases[] = {{nullptr, 1}, {"", 1},  {"1", 1},  {"2", 2},
                                                  {"16", 2},    {"0", 1}, {"-2", 1}, {"2x", 1}};
    for (const auto &[text, threads] : cases)
        EXPECT_EQ(KumoSearch::threadsFrom(text), threads) << (text ? text : "(none)");
}

// Black's columns d, e, i, j hold five stones around an empty row 8, capped by
// White: a Black stone on row 8 there makes six. White's h8 makes the three
// f8-h8, none of whose blocks Black may play: a win one ply deep, not an even node.
TEST(KumoSearchNoDefence, ThreeWhoseEveryBlockIsForbiddenWins)
{
    KumoBoard board;
    for (int x : {3, 4, 8, 9}) {
        for (int y : {4, 5, 6, 8, 9})
            ASSERT_TRUE(board.place(x + 15 * y, 0));
        ASSERT_TRUE(board.place(x + 15 * 3, 1));
        ASSERT_TRUE(board.place(x + 15 * 10, 1));
    }
    for (int p :
         {5 + 15 * 7, 6 + 15 * 7, 14, 10, 6, 14 + 15 * 7, 14 + 15 * 11, 14 + 15 * 3, 15 * 14, 4 + 15 * 14, 8 + 15 * 14})
        ASSERT_TRUE(board.place(p, 1));
    KumoSearch search(16);
    EXPECT_GT(search.scoreMoves(board, {7 + 15 * 7}, 1, 600000).front(), WinBound);
}

// Black faces White's open three f8-h8. Blocking White's closed three m2-m4 at
// m5 or m6 does not stop it, so those points are not answers; the three's own
// points and Black's fours c13-e13 (at f13, g13) are.
TEST(KumoSearchDefence, AThreeIsAnsweredOnItsLineOrByAFour)
{
    KumoBoard board;
    for (auto [x, y] : {std::pair{12, 0}, {2, 12}, {3, 12}, {4, 12}, {0, 0}, {14, 14}, {14, 9}})
        ASSERT_TRUE(board.place(x + 15 * y, 0));
    for (auto [x, y] : {std::pair{5, 7}, {6, 7}, {7, 7}, {12, 1}, {12, 2}, {12, 3}, {1, 12}})
        ASSERT_TRUE(board.place(x + 15 * y, 1));
    KumoSearch search(16);
    const std::vector<int> moves = search.candidates(board, 40);
    auto has = [&](int x, int y) { return std::find(moves.begin(), moves.end(), x + 15 * y) != moves.end(); };
    for (auto [x, y] : {std::pair{4, 7}, {8, 7}, {5, 12}, {6, 12}})
        EXPECT_TRUE(has(x, y)) << x << "," << y;
    EXPECT_FALSE(has(12, 4));
    EXPECT_FALSE(has(12, 5));
}

} // namespace
