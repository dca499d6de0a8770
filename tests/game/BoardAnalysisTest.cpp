// The engine's view on the board as the window gets it: reports for the shown
// position only, candidates marked on request, forced wins as ghost stones
// with their status texts, and Escape.
#include "FakeKumoLibrary.h"
#include "GameTestSupport.h"

#include "game/BoardAnalysis.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

using namespace korvana;
using namespace korvana::gametest;

namespace {

class ReportingWindow : public FakeGameWindow {
public:
    std::vector<std::pair<AnalysisReport, int>> shown;
    void showAnalysis(const AnalysisReport &report, int moveCount) override { shown.emplace_back(report, moveCount); }
};

class BoardAnalysisTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(fake.handle, nullptr) << dlerror();
        ASSERT_TRUE(library.Load(KORVANA_FAKE_KUMO98)) << library.lastError();
    }
    BanHistory history(const std::string &moves)
    {
        BanHistory h;
        std::istringstream in(moves);
        std::string token;
        while (in >> token) {
            const auto [x, y] = at(token);
            h.appendJudged(x, y, colourToMove(h.count()));
        }
        return h;
    }

    FakeLibrary fake;
    Kumo98Dll library;
    KvParam settings;
    ReportingWindow window;
    std::unique_ptr<BoardAnalysis> analysis = std::make_unique<BoardAnalysis>(window, library, settings);
    void TearDown() override
    {
        analysis.reset();
        window.runPending();
    }
};

TEST_F(BoardAnalysisTest, ReportsAndMarksFollowTheBoard)
{
    analysis->PositionChanged(history("h8 i9"));
    analysis->SetEnabled(true);
    ASSERT_TRUE(window.runUntil([&] { return !window.shown.empty(); }));
    EXPECT_EQ(window.shown.back().second, 2);
    EXPECT_TRUE(analysis->marks().empty()) << "not shown on the board yet";
    analysis->SetShowOnBoard(true);
    EXPECT_EQ(analysis->marks(), (std::vector<uint8_t>{0, 1, 2}));

    // A new position: the old candidates go at once, new ones follow.
    analysis->PositionChanged(history("h8 i9 a1"));
    EXPECT_TRUE(analysis->marks().empty());
    ASSERT_TRUE(window.runUntil([&] { return !analysis->marks().empty(); }));
    EXPECT_EQ(analysis->marks(), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(window.shown.back().second, 3);

    analysis->SetEnabled(false);
    EXPECT_TRUE(analysis->marks().empty());
}

TEST_F(BoardAnalysisTest, ForcedWinsInTheStatusLineAndAsGhostStones)
{
    settings.SetInt("Option", "ForcedWinTime", 2500);
    const uint8_t line[] = {pointOf(3, 0), pointOf(4, 1), pointOf(4, 0)};
    struct Case {
        const char *name;
        int result, length;
        std::string status;
        size_t ghosts;
    };
    const Case cases[] = {
        {"vcf", 1, 3, "VCF: White wins in 2 moves: d1 e2 e1", 3},
        {"vct", 2, 1, "VCT: White wins in 1 move: d1", 1},
        {"none", 0, 0, "No forced win found", 0},
        {"finished game", 255, 0, "No forced win to search for in this position", 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        fake.forcedWin(c.result, line, c.length, 0);
        analysis->FindForcedWin(history("h8"));
        EXPECT_EQ(window.status, "Searching for a forced win");
        EXPECT_TRUE(analysis->ghostLine().empty()) << "the old line goes at once";
        ASSERT_TRUE(window.runUntil([&] { return window.status != "Searching for a forced win"; }));
        EXPECT_EQ(window.status, c.status);
        EXPECT_EQ(analysis->ghostLine().size(), c.ghosts);
    }
    int timeMs = 0;
    fake.forcedWinCalls(&timeMs);
    EXPECT_EQ(timeMs, 2500);

    // Escape clears the line; so does another position.
    fake.forcedWin(1, line, 3, 0);
    analysis->FindForcedWin(history("h8"));
    ASSERT_TRUE(window.runUntil([&] { return !analysis->ghostLine().empty(); }));
    EXPECT_TRUE(analysis->ClearForcedWin());
    EXPECT_FALSE(analysis->ClearForcedWin());
    analysis->FindForcedWin(history("h8"));
    ASSERT_TRUE(window.runUntil([&] { return !analysis->ghostLine().empty(); }));
    analysis->PositionChanged(history("h8 a1"));
    EXPECT_TRUE(analysis->ghostLine().empty());
}

TEST_F(BoardAnalysisTest, ForcedWinTimeFallsBackToItsDefault)
{
    for (auto [stored, used] : {std::pair{0, BoardAnalysis::DefaultForcedWinMs},
                                {-5, BoardAnalysis::DefaultForcedWinMs},
                                {50, 100},
                                {9'000'000, 600'000},
                                {1234, 1234}}) {
        settings.SetInt("Option", "ForcedWinTime", stored);
        EXPECT_EQ(analysis->ForcedWinMs(), used) << stored;
    }
}

} // namespace
