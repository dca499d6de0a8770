#include "engine/PhaseIter.h"

#include "board/ChkStat.h"
#include "EngineTestBoards.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>

using namespace korvana;

namespace {

// One request at level 1, book off unless a lookup is given.
int think(const BanArray &board, uint32_t seed = 1, BookLookup book = nullptr, const std::string &dir = "")
{
    const ThinkingLevel &level = ThinkingLevel::preset(1);
    PhaseIter iter(std::make_unique<Phase>(board), level, level.depth, level.hashSize, dir);
    iter.setRandomSeed(seed);
    iter.setBookLookup(std::move(book));
    return iter.Think();
}

int think(const std::string &moves, uint32_t seed = 1) { return think(testboards::fromMoves(moves), seed); }

TEST(ThinkingLevel, PresetsMatchTheFiveLevels)
{
    for (int level = 1; level <= 4; ++level) {
        const ThinkingLevel &l = ThinkingLevel::preset(level);
        EXPECT_EQ(l.depth, 4);
        EXPECT_EQ(l.hashSize, 5003);
        const int widths[] = {10, 8, 8, 6};
        for (int d = 0; d < ThinkingLevel::WidthCount; ++d)
            EXPECT_EQ(l.widths[d], d < 4 ? widths[d] : 1) << "level " << level << " depth " << d;
    }
    const ThinkingLevel &five = ThinkingLevel::preset(5);
    EXPECT_EQ(five.depth, 8);
    const int widths[] = {8, 8, 8, 6, 6, 6, 4, 4, 2};
    for (int d = 0; d < ThinkingLevel::WidthCount; ++d)
        EXPECT_EQ(five.widths[d], d < 9 ? widths[d] : 1) << "depth " << d;
}

TEST(PhaseIterOpening, EmptyBoardIsTheCentre)
{
    for (uint32_t seed : {0u, 1u, 99u})
        EXPECT_EQ(think("", seed), 112);
}

TEST(PhaseIterOpening, SecondStoneLiesNextToTheCentre)
{
    std::set<int> seen;
    for (uint32_t i = 0; i < 100; ++i) {
        const int p = think("h8", i * 2654435761u);
        EXPECT_LE(std::abs(pointX(p) - 7), 1);
        EXPECT_LE(std::abs(pointY(p) - 7), 1);
        EXPECT_NE(p, 112);
        seen.insert(p);
    }
    EXPECT_EQ(seen.size(), 8u); // every neighbour turns up
}

TEST(PhaseIterOpening, SecondStoneNeverLandsOnAnOffCentreFirstStone)
{
    for (uint32_t i = 0; i < 100; ++i)
        EXPECT_NE(think("g7", i * 2654435761u), pointOf(6, 6)) << "seed " << i * 2654435761u;
}

TEST(PhaseIterOpening, ThirdStoneIsAnEmptyPointOfTheCentralSquare)
{
    std::set<int> seen;
    for (uint32_t i = 0; i < 200; ++i) {
        const BanArray board = testboards::fromMoves("h8 i9");
        const int p = think(board, i * 2654435761u);
        EXPECT_GE(pointX(p), 5);
        EXPECT_LE(pointX(p), 9);
        EXPECT_GE(pointY(p), 5);
        EXPECT_LE(pointY(p), 9);
        EXPECT_EQ(board.cells()[p], Empty);
        seen.insert(p);
    }
    EXPECT_EQ(seen.size(), 23u); // 25 points less the two stones
}

TEST(PhaseIterOpening, SameSeedSameOpeningMove)
{
    for (uint32_t seed : {3u, 12345u, 4000000000u}) {
        EXPECT_EQ(think("h8", seed), think("h8", seed));
        EXPECT_EQ(think("h8 i8", seed), think("h8 i8", seed));
    }
}

TEST(PhaseIterOpening, FinishedGameAnswersZero)
{
    // Black's h4..h8 is five; White would be to move.
    EXPECT_EQ(think("h8 a1 h7 b1 h6 c1 h5 d1 h4"), 0);
}

struct ShortcutCase {
    const char *name;
    const char *moves;
    const char *answer;
};
// Printed by name: gtest would otherwise show a byte dump that changes between runs.
[[maybe_unused]] void PrintTo(const ShortcutCase &c, std::ostream *os) { *os << c.name; }

class PhaseIterShortcut : public testing::TestWithParam<ShortcutCase> {};

TEST_P(PhaseIterShortcut, ForcedPointIsAnswered)
{
    const ShortcutCase &c = GetParam();
    int x = 0, y = 0;
    ASSERT_TRUE(parseWrittenPoint(c.answer, x, y));
    EXPECT_EQ(think(c.moves), pointOf(x, y));
}

// Answers derived from the expansion rules: own five first, then the block of
// the other side's five, then an own straight four; the lowest point index
// wins among equals.
INSTANTIATE_TEST_SUITE_P(Table, PhaseIterShortcut,
                         testing::Values(
                             // Black's open four h5..h8: h4 (52) before h9 (127).
                             ShortcutCase{"ownFiveLowestIndex", "h8 a1 h7 c1 h6 a3 h5 c3", "h4"},
                             // White's four a1..d1 threatens e1 (4), yet Black's own five comes first.
                             ShortcutCase{"ownFiveBeforeBlock", "h8 a1 h7 b1 h6 c1 h5 d1", "h4"},
                             // No own five: block e1 even though h5/h9 would make a straight four.
                             ShortcutCase{"blockBeforeStraightFour", "h8 a1 h7 b1 h6 c1 lC d1", "e1"},
                             // White to move, Black's four h5..h8 with h4 taken: the block is h9.
                             ShortcutCase{"whiteBlocks", "h8 h4 h7 a1 h6 c1 h5", "h9"},
                             // White's open four: Black blocks at the lower of the two points.
                             ShortcutCase{"blockOpenFourLowest", "a1 h8 c1 h7 a3 h6 lC h5", "h4"},
                             // Open three h6..h8: the straight four at h5 (67) before h9 (127).
                             ShortcutCase{"ownStraightFour", "h8 a1 h7 c1 h6 a3", "h5"},
                             // White's open three: White makes the straight four.
                             ShortcutCase{"whiteStraightFour", "a1 h8 c1 h7 a3 h6 lC", "h5"}),
                         [](const testing::TestParamInfo<ShortcutCase> &info) { return std::string(info.param.name); });

TEST(PhaseIterBook, ConsultedFromThreeStonesWithTheGivenDirectory)
{
    int calls = 0;
    std::string seenDir;
    int seenCount = -1;
    BookLookup book = [&](const BanArray &board, const std::string &dir) {
        ++calls;
        seenDir = dir;
        seenCount = board.count();
        return pointOf(3, 3);
    };
    EXPECT_EQ(think(testboards::fromMoves("h8 i9 h9"), 1, book, "/books/"), pointOf(3, 3));
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(seenDir, "/books/");
    EXPECT_EQ(seenCount, 3);

    think(testboards::fromMoves("h8 i9"), 1, book, "/books/");
    think(testboards::fromMoves("h8"), 1, book, "/books/");
    EXPECT_EQ(calls, 1); // openings never ask the book
}

TEST(PhaseIterBook, MissOrUnplayableBookMoveFallsBackToTheSearch)
{
    const BanArray board = testboards::fromMoves("h8 a1 h7 c1 h6 a3");
    const int searched = think(board);
    EXPECT_EQ(think(board, 1, [](const BanArray &, const std::string &) { return 255; }), searched);
    // A damaged book pointing at a stone is not played.
    EXPECT_EQ(think(board, 1, [](const BanArray &, const std::string &) { return pointOf(7, 7); }), searched);
    EXPECT_EQ(think(board, 1, [](const BanArray &, const std::string &) { return 300; }), searched);
}

TEST(PhaseIterSearch, AnswersAnEmptyPointAndRepeatsItself)
{
    const auto positions = testboards::midGamePositions(10);
    for (size_t i = 0; i < positions.size(); ++i) {
        const int a = think(positions[i]);
        ASSERT_LT(a, PointCount) << "position " << i;
        EXPECT_EQ(positions[i].cells()[a], Empty) << "position " << i;
        // Seeds only touch the openings; the search itself is fixed.
        EXPECT_EQ(think(positions[i], 777), a) << "position " << i;
    }
}

TEST(PhaseIterSearch, FullBoardAnswersNoPoint)
{
    // Pairs of columns alternate and rows shift by one: no line of five anywhere.
    BanArray board;
    for (int p = 0; p < PointCount; ++p)
        board.cells()[p] = ((pointX(p) / 2 + pointY(p)) % 2) ? White : Black;
    board.setCount(225);
    board.setLast(0);
    EXPECT_EQ(think(board), 255);
}

TEST(PhaseIterSearch, CountsJudgementsAndNodes)
{
    const auto positions = testboards::midGamePositions(3);
    const ThinkingLevel &level = ThinkingLevel::preset(1);
    PhaseIter iter(std::make_unique<Phase>(positions[2]), level, level.depth, level.hashSize, "");
    iter.setBookLookup(nullptr);
    iter.Think();
    // The root's full codes alone are two judgements per empty point.
    EXPECT_GT(iter.judgements(), static_cast<uint64_t>(2 * (PointCount - positions[2].count())));
    EXPECT_GT(iter.nodes(), 10);
    EXPECT_LE(iter.nodes(), 10 + 10 * 8 + 10 * 8 * 8 + 10 * 8 * 8 * 6);
}

TEST(PhaseIterSearch, ThinkOnHistoryUsesTheHistoryBoard)
{
    BanHistory history;
    for (const char *w : {"h8", "a1", "h7", "c1", "h6", "a3", "h5", "c3"}) {
        int x = 0, y = 0;
        ASSERT_TRUE(parseWrittenPoint(w, x, y));
        history.appendPoint(pointOf(x, y));
    }
    setThinkStopFlag(nullptr);
    EXPECT_EQ(thinkOnHistory(history, ThinkingLevel::preset(1), ""), pointOf(7, 3));
}

} // namespace

namespace {

// Values in a finished tree: every node holds the best of its valued
// children for the side choosing there (the root's mover maximises).
void expectValuesPassedUp(Phase &node, int rootParity, int &checked)
{
    bool any = false;
    int16_t extreme = 0;
    node.children.forEachOldestFirst([&](Phase *child) {
        expectValuesPassedUp(*child, rootParity, checked);
        if (!child->hasValue())
            return true;
        const bool maximise = child->parity() != rootParity;
        if (!any || (maximise ? child->value > extreme : child->value < extreme))
            extreme = child->value;
        any = true;
        return true;
    });
    if (any && node.parent) {
        EXPECT_EQ(node.value, extreme) << "node of " << int(node.board.count()) << " stones";
        ++checked;
    }
}

TEST(PhaseIterSearch, TreeValuesAreTheChoosersBestAndTheAnswerIsTheBestRootChild)
{
    const auto positions = testboards::midGamePositions(8);
    for (const BanArray &board : positions) {
        const ThinkingLevel &level = ThinkingLevel::preset(1);
        PhaseIter iter(std::make_unique<Phase>(board), level, level.depth, level.hashSize, "");
        iter.setBookLookup(nullptr);
        const int answer = iter.Think();
        int checked = 0;
        expectValuesPassedUp(iter.root(), iter.root().parity(), checked);
        EXPECT_GT(checked, 10);
        int16_t best = Phase::NoValue;
        int first = -1;
        iter.root().children.forEachOldestFirst([&](Phase *child) {
            if (child->hasValue() && (first < 0 || child->value > best)) {
                best = child->value;
                first = child->board.last();
            }
            return true;
        });
        EXPECT_EQ(answer, first);
    }
}

struct DefenceCase {
    const char *name;
    const char *moves;
    std::set<std::string> defences;
};
// Printed by name: gtest would otherwise show a byte dump that changes between runs.
[[maybe_unused]] void PrintTo(const DefenceCase &c, std::ostream *os) { *os << c.name; }

class PhaseIterDefence : public testing::TestWithParam<DefenceCase> {};

// An open three must be answered at once: otherwise the straight four that
// follows wins within the search's four plies, so every other move scores
// -10000 and one of the blocking points is chosen.
TEST_P(PhaseIterDefence, OpenThreeIsBlocked)
{
    const int p = think(GetParam().moves);
    EXPECT_EQ(GetParam().defences.count(writtenPoint(p)), 1u) << writtenPoint(p);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PhaseIterDefence,
    testing::Values(DefenceCase{"blackBlocksWhiteThree", "a1 h8 c1 h7 a3 h6", {"h5", "h9", "h4", "hA"}},
                    DefenceCase{"whiteBlocksBlackThree", "h8 a1 h7 c1 h6 a3 lC", {"h5", "h9", "h4", "hA"}},
                    DefenceCase{"blackBlocksDiagonalThree", "a1 f6 c1 g7 a3 h8", {"e5", "i9", "d4", "jA"}}),
    [](const testing::TestParamInfo<DefenceCase> &info) { return std::string(info.param.name); });

} // namespace
