// libkumo98.so through dlopen/dlsym, as the program loads it: the six entries'
// contracts, bad input, and the opening answers on all 26 openings.
#include "board/ChkStat.h"
#include "kumo98/OpeningStones.h"

#include "support/CaseName.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <random>
#include <set>
#include <string>
#include <vector>

using namespace korvana;

namespace {

using ThinkingFn = int (*)(int, unsigned char *, int);
using WhichRemoveFn = int (*)(unsigned char *, unsigned char, unsigned char, unsigned char *, int);
using ShowTwoPointFn = int (*)(unsigned char *, unsigned char *, unsigned char *, int);
using WhichColorFn = int (*)(unsigned char *, char *, int);
using SelectOpeningFn = int (*)(unsigned char *, int);
using AboutFn = int (*)(char *);

constexpr unsigned char Untouched = 0xA5;

class Kumo98LibraryTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        // Short answers keep the suite fast; the library reads this at every call.
        setenv("KUMO98_MOVE_TIME_MS", "40", 1);
        handle = dlopen(KORVANA_BIN_DIR "/libkumo98.so", RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(handle, nullptr) << dlerror();
        thinking = reinterpret_cast<ThinkingFn>(dlsym(handle, "Thinking"));
        whichRemove = reinterpret_cast<WhichRemoveFn>(dlsym(handle, "ThinkingWhichRemove"));
        showTwoPoint = reinterpret_cast<ShowTwoPointFn>(dlsym(handle, "ThinkingShowTwoPoint"));
        whichColor = reinterpret_cast<WhichColorFn>(dlsym(handle, "ThinkingWhichColor"));
        selectOpening = reinterpret_cast<SelectOpeningFn>(dlsym(handle, "ThinkingSelectOpeningPattern"));
        about = reinterpret_cast<AboutFn>(dlsym(handle, "About"));
    }
    static void TearDownTestSuite()
    {
        if (handle)
            dlclose(handle);
        handle = nullptr;
    }
    void SetUp() override
    {
        ASSERT_TRUE(thinking && whichRemove && showTwoPoint && whichColor && selectOpening && about);
    }

    // The caller's buffer: 228 codes, the moves first, the rest filled with junk.
    static std::vector<unsigned char> buffer(std::initializer_list<int> moves)
    {
        std::vector<unsigned char> b(228, 0);
        size_t i = 0;
        for (int m : moves)
            b[i++] = static_cast<unsigned char>(m);
        return b;
    }

    static BanArray boardOf(const std::vector<unsigned char> &moves, size_t count)
    {
        BanArray ban;
        for (size_t i = 0; i < count; ++i)
            ban.putStone(moves[i]);
        return ban;
    }

    static inline void *handle = nullptr;
    static inline ThinkingFn thinking = nullptr;
    static inline WhichRemoveFn whichRemove = nullptr;
    static inline ShowTwoPointFn showTwoPoint = nullptr;
    static inline WhichColorFn whichColor = nullptr;
    static inline SelectOpeningFn selectOpening = nullptr;
    static inline AboutFn about = nullptr;
};

TEST_F(Kumo98LibraryTest, OnlyTheSixEntriesAreExported)
{
    // The engine's C++ symbols stay inside the module.
    EXPECT_EQ(dlsym(handle, "_ZN7korvana4kumo9KumoBoard5resetEv"), nullptr);
}

TEST_F(Kumo98LibraryTest, AboutStaysInsideItsBuffer)
{
    char text[300];
    std::memset(text, 0x7f, sizeof text);
    about(text);
    EXPECT_LT(std::strlen(text), 256u);
    EXPECT_GT(std::strlen(text), 0u);
    for (size_t i = 256; i < sizeof text; ++i)
        ASSERT_EQ(text[i], 0x7f);
}

TEST_F(Kumo98LibraryTest, TheEnvironmentsMoveTimeWinsOverTheProgramsChoice)
{
    auto setMoveTime = reinterpret_cast<void (*)(int)>(dlsym(handle, "SetMoveTime"));
    ASSERT_NE(setMoveTime, nullptr);
    auto budget = [] {
        char text[256];
        about(text);
        return std::string(text);
    };
    setMoveTime(2500);
    EXPECT_NE(budget().find(", 40 ms"), std::string::npos) << budget();
    unsetenv("KUMO98_MOVE_TIME_MS");
    EXPECT_NE(budget().find(", 2500 ms"), std::string::npos) << budget();
    setMoveTime(5); // out of range: the default
    EXPECT_NE(budget().find(", 1000 ms"), std::string::npos) << budget();
    setenv("KUMO98_MOVE_TIME_MS", "40", 1);
}

struct BadInput {
    const char *what;
    std::vector<int> moves; // the buffer's first codes
    int count;              // for Thinking
    int faultAt;            // index of the first bad code; -1 when only the count is wrong
};
[[maybe_unused]] std::string nameOf(const BadInput &c) { return korvana::test::caseName(c.what); }
[[maybe_unused]] void PrintTo(const BadInput &c, std::ostream *os) { *os << nameOf(c); }

class BadInputTest : public Kumo98LibraryTest, public ::testing::WithParamInterface<BadInput> {};

TEST_P(BadInputTest, EveryEntryFailsWithoutWritingItsOuts)
{
    const BadInput &bad = GetParam();
    std::vector<unsigned char> b(228, 0);
    for (size_t i = 0; i < bad.moves.size(); ++i)
        b[i] = static_cast<unsigned char>(bad.moves[i]);
    EXPECT_EQ(thinking(bad.count, b.data(), 0) & 0xff, 255) << bad.what;
    unsigned char out = Untouched, out2 = Untouched;
    char colour = static_cast<char>(Untouched);
    // The opening entries read 4 (removal, proposals) or 3 (colour) codes.
    if (bad.faultAt >= 0 && bad.faultAt < 4) {
        EXPECT_EQ(whichRemove(b.data(), 40, 41, &out, 0) & 0xff, 255) << bad.what;
        EXPECT_EQ(out, Untouched);
        EXPECT_EQ(showTwoPoint(b.data(), &out, &out2, 0) & 0xff, 255) << bad.what;
        EXPECT_EQ(out, Untouched);
        EXPECT_EQ(out2, Untouched);
    }
    if (bad.faultAt >= 0 && bad.faultAt < 3) {
        EXPECT_EQ(whichColor(b.data(), &colour, 0) & 0xff, 255) << bad.what;
        EXPECT_EQ(static_cast<unsigned char>(colour), Untouched);
    }
}

INSTANTIATE_TEST_SUITE_P(Buffers, BadInputTest,
                         ::testing::Values(BadInput{"repeated first stone", {112, 112, 113}, 3, 1},
                                           BadInput{"repeat in the fourth code", {112, 96, 113, 96}, 4, 3},
                                           BadInput{"code 225", {112, 225, 113}, 3, 1},
                                           BadInput{"code 255", {255, 96, 113}, 3, 0},
                                           BadInput{"off board in the fourth code", {112, 96, 113, 240}, 4, 3},
                                           BadInput{"negative count", {112, 96, 113}, -1, -1},
                                           BadInput{"count beyond the board", {112, 96, 113}, 226, -1}),
                         [](const auto &info) { return nameOf(info.param); });

TEST_F(Kumo98LibraryTest, ProposalsOnTakenOrOffBoardPointsFail)
{
    std::vector<unsigned char> b = buffer({112, 96, 114, 97});
    for (auto [a, c] : std::vector<std::pair<int, int>>{{112, 50}, {50, 97}, {225, 50}, {50, 255}}) {
        unsigned char out = Untouched;
        EXPECT_EQ(whichRemove(b.data(), static_cast<unsigned char>(a), static_cast<unsigned char>(c), &out, 0) & 0xff,
                  255);
        EXPECT_EQ(out, Untouched);
    }
}

TEST_F(Kumo98LibraryTest, ThinkingCompletesFiveAndBlocksFour)
{
    // Black h8 i8 j8 k8 against White stones elsewhere: Black to move plays five.
    std::vector<unsigned char> win = buffer({112, 20, 113, 21, 114, 22, 115, 200});
    const int five = thinking(8, win.data(), 0);
    EXPECT_TRUE(five == 111 || five == 116) << five;
    // White to move must block Black's four h8-k8 closed on the left by White.
    std::vector<unsigned char> block = buffer({112, 111, 113, 20, 114, 21, 115});
    EXPECT_EQ(thinking(7, block.data(), 0), 116);
}

TEST_F(Kumo98LibraryTest, ThinkingAnswersAnEmptyPointNeverForbiddenForBlack)
{
    std::mt19937 random(98);
    for (int game = 0; game < 12; ++game) {
        std::vector<unsigned char> b(228, 0);
        BanArray ban;
        std::uniform_int_distribution<int> coord(4, 10);
        int count = 0;
        const int stones = 6 + 2 * (game % 8); // even: Black to move
        while (count < stones) {
            const int p = coord(random) + 15 * coord(random);
            if (ban.cell(p) != Empty)
                continue;
            ban.putStone(p);
            b[static_cast<size_t>(count++)] = static_cast<unsigned char>(p);
        }
        const int move = thinking(count, b.data(), 0);
        ASSERT_GE(move, 0);
        ASSERT_LT(move, 225);
        ASSERT_EQ(ban.cell(move), Empty);
        ChkStat judge(ban);
        EXPECT_FALSE(isForbidden(judge.judgeBlack(move))) << "game " << game << " " << writtenPoint(move);
    }
}

TEST_F(Kumo98LibraryTest, OpeningAnswersOnAllOpenings)
{
    for (int i = 0; i < kumo::OpeningCount; ++i) {
        const auto &o = kumo::Openings[i];
        std::vector<unsigned char> b = buffer({o.stones[0], o.stones[1], o.stones[2]});
        char colour = static_cast<char>(Untouched);
        const int r = whichColor(b.data(), &colour, 0);
        EXPECT_TRUE(colour == 'B' || colour == 'W') << o.name;
        EXPECT_EQ(r & 0xff, static_cast<unsigned char>(colour)) << o.name;

        // White's fourth move from the engine itself, then Black's two proposals.
        const int fourth = thinking(3, b.data(), 0);
        ASSERT_LT(fourth, 225) << o.name;
        b[3] = static_cast<unsigned char>(fourth);
        unsigned char first = Untouched, second = Untouched;
        ASSERT_NE(showTwoPoint(b.data(), &first, &second, 0) & 0xff, 255) << o.name;
        BanArray ban = boardOf(b, 4);
        ASSERT_LT(first, 225);
        ASSERT_LT(second, 225);
        EXPECT_NE(first, second) << o.name;
        EXPECT_EQ(ban.cell(first), Empty) << o.name;
        EXPECT_EQ(ban.cell(second), Empty) << o.name;
        ChkStat judge(ban);
        EXPECT_FALSE(isForbidden(judge.judgeBlack(first)));
        EXPECT_FALSE(isForbidden(judge.judgeBlack(second)));

        unsigned char removed = Untouched;
        const int rr = whichRemove(b.data(), first, second, &removed, 0);
        EXPECT_TRUE(removed == first || removed == second) << o.name;
        EXPECT_EQ(rr & 0xff, removed);
    }
}

TEST_F(Kumo98LibraryTest, WhichRemoveTakesAwayTheWinningProposal)
{
    // Black h8, i8; White in the corners a1, o1. Black's proposals: j8 (an open
    // three) or oF (a corner, worth nothing). White must remove j8 in either order.
    std::vector<unsigned char> b = buffer({112, 0, 113, 14});
    unsigned char removed = Untouched;
    whichRemove(b.data(), 114, 224, &removed, 0);
    EXPECT_EQ(removed, 114);
    removed = Untouched;
    whichRemove(b.data(), 224, 114, &removed, 0);
    EXPECT_EQ(removed, 114);
}

TEST_F(Kumo98LibraryTest, OpeningIndexIsInRangeAndVaries)
{
    std::set<int> seen;
    for (int i = 0; i < 60; ++i) {
        unsigned char index = Untouched;
        const int r = selectOpening(&index, 0);
        ASSERT_LT(index, kumo::OpeningCount);
        ASSERT_EQ(r, index);
        seen.insert(index);
    }
    EXPECT_GT(seen.size(), 5u);
}

} // namespace
