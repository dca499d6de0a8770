// The analysis worker against the scripted library: it follows the position,
// runs one search at a time, never floods the GUI thread, and reports forced
// wins only for the position they were asked about.
#include "FakeKumoLibrary.h"
#include "support/FakeGameWindow.h"

#include "game/AnalysisWorker.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <thread>

using namespace korvana;
using namespace korvana::gametest;
using namespace std::chrono_literals;

namespace {

class AnalysisWorkerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(fake.handle, nullptr) << dlerror();
        ASSERT_TRUE(library.Load(KORVANA_FAKE_KUMO98)) << library.lastError();
    }
    void TearDown() override
    {
        worker.reset();
        window.runPending();
    }
    void make()
    {
        worker = std::make_unique<AnalysisWorker>(
            library, [this](std::function<void()> call) { window.postToGuiThread(std::move(call)); },
            [this](const AnalysisReport &r) {
                EXPECT_EQ(r.position, worker->position()) << "a report about an older position";
                reports.push_back(r);
            },
            [this](const ForcedWinReport &r) { wins.push_back(r); });
    }
    /// Runs posted calls until `done` holds; polls, since `done` may not wait on a post.
    bool eventually(const std::function<bool()> &done, std::chrono::milliseconds timeout = 5s)
    {
        const auto until = std::chrono::steady_clock::now() + timeout;
        while (!done()) {
            if (std::chrono::steady_clock::now() > until)
                return false;
            window.runPending();
            std::this_thread::sleep_for(1ms);
        }
        return true;
    }
    int running()
    {
        int most = 0, now = 0;
        fake.analyseCalls(&most, &now);
        EXPECT_LE(most, 1) << "two searches at once";
        return now;
    }
    std::vector<uint8_t> analysed()
    {
        std::vector<uint8_t> moves(228);
        moves.resize(static_cast<size_t>(std::max(fake.analysedMoves(moves.data()), 0)));
        return moves;
    }

    FakeLibrary fake;
    Kumo98Dll library;
    FakeGameWindow window;
    std::vector<AnalysisReport> reports;
    std::vector<ForcedWinReport> wins;
    std::unique_ptr<AnalysisWorker> worker;
};

TEST_F(AnalysisWorkerTest, FollowsThePositionOneSearchAtATime)
{
    make();
    worker->SetPosition({112});
    EXPECT_EQ(running(), 0) << "analysis is off until switched on";
    worker->SetEnabled(true);
    for (const std::vector<uint8_t> &moves : {std::vector<uint8_t>{112, 113}, {112, 113, 97}, {112, 113, 97, 0}}) {
        worker->SetPosition(moves);
        reports.clear();
        ASSERT_TRUE(window.runUntil([&] { return reports.size() >= 2; }));
        EXPECT_EQ(analysed(), moves);
        const AnalysisReport &r = reports.back();
        EXPECT_EQ(r.state, AnalysisReport::State::Running);
        EXPECT_GT(r.depth, reports.front().depth);
        EXPECT_EQ(r.line.front(), r.candidates.front().point);
        // The fake proposes the first free points.
        EXPECT_EQ(r.candidates.front().point, moves.back() == 0 ? 1 : 0);
    }
    // Off: the search stops and nothing more is shown.
    worker->SetEnabled(false);
    ASSERT_TRUE(eventually([&] { return running() == 0; }));
    window.runPending();
    reports.clear();
    std::this_thread::sleep_for(60ms);
    window.runPending();
    EXPECT_TRUE(reports.empty());
}

TEST_F(AnalysisWorkerTest, ReportsAreCoalescedWhileTheGuiThreadIsBusy)
{
    fake.reportEvery(1);
    make();
    worker->SetEnabled(true);
    // The GUI thread does not look at its queue for a while.
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(window.pendingCount(), 1u);
    window.runPending();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_GT(reports[0].depth, 5) << "the newest report is shown, not the first";
}

TEST_F(AnalysisWorkerTest, PositionsThatCannotBeAnalysedFinishAtOnce)
{
    make();
    worker->SetEnabled(true);
    worker->SetPosition({112, 112}); // a repeated point: the library refuses it
    ASSERT_TRUE(window.runUntil([&] { return !reports.empty(); }));
    EXPECT_EQ(reports.back().state, AnalysisReport::State::Finished);
    EXPECT_EQ(reports.back().depth, 0);
}

TEST_F(AnalysisWorkerTest, ForcedWinAnswers)
{
    make();
    const uint8_t line[] = {3, 20, 4, 21, 5};
    struct Case {
        const char *name;
        int result, length, kind;
        size_t lineShown;
    };
    const Case cases[] = {
        {"vcf", 1, 5, ForcedWinReport::Vcf, 5},
        {"vct", 2 + 0x300, 3, ForcedWinReport::Vct, 3}, // judged by the low byte
        {"none", 0, 0, ForcedWinReport::None, 0},
        {"win without a line", 1, 0, ForcedWinReport::None, 0},
        {"bad position", 255, 0, ForcedWinReport::NoPosition, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        wins.clear();
        fake.forcedWin(c.result, line, c.length, 0);
        worker->FindForcedWin(1500);
        ASSERT_TRUE(window.runUntil([&] { return !wins.empty(); }));
        EXPECT_EQ(wins[0].kind, c.kind);
        EXPECT_EQ(wins[0].line, std::vector<uint8_t>(line, line + c.lineShown));
    }
    int timeMs = 0;
    EXPECT_EQ(fake.forcedWinCalls(&timeMs), 5);
    EXPECT_EQ(timeMs, 1500);
}

TEST_F(AnalysisWorkerTest, ForcedWinOfAnOldPositionIsDropped)
{
    make();
    worker->SetEnabled(true);
    const uint8_t line[] = {3, 20, 4};
    fake.forcedWin(1, line, 3, 10000);
    worker->FindForcedWin(20000);
    int timeMs = 0;
    ASSERT_TRUE(eventually([&] { return fake.forcedWinCalls(&timeMs) == 1; }));
    worker->SetPosition({112}); // stops the search, which then answers "none"
    reports.clear();
    ASSERT_TRUE(window.runUntil([&] { return !reports.empty(); }, 5s)) << "analysis did not resume";
    EXPECT_EQ(analysed(), std::vector<uint8_t>{112});
    EXPECT_TRUE(wins.empty());
}

TEST_F(AnalysisWorkerTest, MissingEntriesSayUnavailable)
{
    ASSERT_TRUE(library.Load(KORVANA_FAKE_KUMO98_PARTIAL));
    make();
    EXPECT_FALSE(worker->available());
    worker->SetEnabled(true);
    worker->FindForcedWin(100);
    ASSERT_TRUE(window.runUntil([&] { return !reports.empty() && !wins.empty(); }));
    EXPECT_EQ(reports[0].state, AnalysisReport::State::Unavailable);
    EXPECT_EQ(wins[0].kind, ForcedWinReport::Unavailable);
}

} // namespace
