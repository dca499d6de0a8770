// What the game flow adds around the computer: its strength and time, "Your
// Turn" after its move, and the analysis following every position shown.
#include "FakeKumoLibrary.h"
#include "GameTestSupport.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

using namespace korvana;
using namespace korvana::gametest;

namespace {

TEST(GameFlowStrength, SettingsChooseLevelAndLibraryTime)
{
    Game g;
    struct Case {
        const char *stored;
        int level, libraryMs;
    };
    const Case cases[] = {
        {"", 1, GameFlow::DefaultLibraryMoveTimeMs},
        {"3", 3, 10}, // the library's shortest time
        {"5", 5, 10},
        {"6", 1, 10},
        {"2500", 1, 2500},
        {"-1", 1, GameFlow::DefaultLibraryMoveTimeMs},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.stored);
        g.flow.settings().SetText("Option", "Strength", c.stored);
        g.flow.settings().SetText("Option", "LibraryMoveTime", c.stored);
        EXPECT_EQ(g.flow.Strength(), c.level);
        EXPECT_EQ(g.flow.LibraryMoveTimeMs(), c.libraryMs);
    }
}

TEST(GameFlowStrength, LibraryGetsItsTimeBeforeEachRequest)
{
    FakeLibrary fake;
    ASSERT_NE(fake.handle, nullptr) << dlerror();
    Game g(2);
    ASSERT_TRUE(g.library.Load(KORVANA_FAKE_KUMO98));
    g.flow.settings().SetInt("Option", "LibraryMoveTime", 2500);
    fake.queue(FakeLibrary::Thinking, 0, 0, 0, 0);
    ASSERT_TRUE(g.flow.StartWorker(Engine::Library, Request::Move, ThinkingLevel::preset(1)));
    EXPECT_EQ(fake.moveTime(), 2500);
    g.settle();
}

TEST(GameFlowTurn, YourTurnAfterTheComputersMoveUnlessOver)
{
    Game g;
    g.flow.BeginBlack();
    g.play("h8");
    EXPECT_EQ(g.window.status, "Now Thinking");
    ASSERT_TRUE(g.settle());
    EXPECT_EQ(g.count(), 2);
    EXPECT_EQ(g.window.status, "Your Turn");

    // The computer completes its five: the result stays.
    Game over;
    over.play("a1 h8 a3 i8 a5 j8 a7 k8 c1");
    over.flow.BeginBlack(); // White, the computer, is to move and has a four
    ASSERT_TRUE(over.settle());
    EXPECT_EQ(over.window.status, "White Win by FIVE IN A ROW");
}

TEST(GameFlowAnalysis, FollowsEveryPositionTheBoardShows)
{
    FakeLibrary fake;
    ASSERT_NE(fake.handle, nullptr) << dlerror();
    Game g;
    ASSERT_TRUE(g.library.Load(KORVANA_FAKE_KUMO98));
    g.flow.analysis().SetEnabled(true);
    auto analysedNow = [&](std::vector<uint8_t> expected) {
        return g.window.runUntil([&] {
            std::vector<uint8_t> moves(228);
            moves.resize(static_cast<size_t>(std::max(fake.analysedMoves(moves.data()), 0)));
            return moves == expected && !g.flow.analysis().latest().candidates.empty();
        });
    };
    g.play("h8 i9");
    EXPECT_TRUE(analysedNow({112, 128}));
    g.flow.MoveBack();
    EXPECT_TRUE(analysedNow({112}));
    g.flow.NewGame();
    EXPECT_TRUE(analysedNow({}));

    // A forced win from the flow, cleared by Escape.
    const uint8_t line[] = {0, 1, 2};
    fake.forcedWin(1, line, 3, 0);
    g.flow.FindForcedWin();
    ASSERT_TRUE(g.window.runUntil([&] { return !g.flow.analysis().ghostLine().empty(); }));
    EXPECT_TRUE(g.flow.ClearForcedWin());
    EXPECT_TRUE(g.flow.analysis().ghostLine().empty());
}

} // namespace
