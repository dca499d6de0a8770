// Workers: stopping the built-in search, stale answers, the GUI thread kept
// free, and the engine library's requests through a scripted library.
#include "FakeKumoLibrary.h"
#include "GameTestSupport.h"

#include "game/OpeningTable.h"
#include "game/ThinkingThread.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <array>
#include <atomic>
#include <chrono>
#include <thread>

using namespace korvana;
using namespace korvana::gametest;
using namespace std::chrono_literals;

namespace {

// A level that would search for minutes: only a stop ends it in time.
ThinkingLevel endlessLevel() { return ThinkingLevel(10, 5003, {20, 20, 20, 20, 20, 20, 20, 20, 20, 20}); }

BanHistory historyOf(const std::string &moves)
{
    BanHistory history;
    std::istringstream in(moves);
    std::string token;
    while (in >> token) {
        const auto [x, y] = at(token);
        history.appendJudged(x, y, colourToMove(history.count()));
    }
    return history;
}

// Nothing forced here: the endless level searches until stopped.
const char *const QuietMiddleGame = "h8 i9 j8";

TEST(ThinkingThread, StopDuringBuiltInSearchGivesNoMove)
{
    std::atomic<int> delivered{0};
    ThinkResult answer;
    std::mutex m;
    ThinkRequest request;
    request.level = endlessLevel();
    ThinkingThread worker(request, historyOf(QuietMiddleGame), 7, [&](uint64_t generation, const ThinkResult &a) {
        std::lock_guard<std::mutex> lock(m);
        EXPECT_EQ(generation, 7u);
        answer = a;
        ++delivered;
    });
    worker.Start();
    std::this_thread::sleep_for(200ms);
    ASSERT_FALSE(worker.finished()) << "the search ended before the stop; the level is too small";
    const auto stopAt = std::chrono::steady_clock::now();
    worker.Stop();
    worker.Join();
    EXPECT_LT(std::chrono::steady_clock::now() - stopAt, 5s);
    EXPECT_EQ(delivered.load(), 1);
    EXPECT_EQ(answer.failed, Failure::NoAnswer);
    EXPECT_EQ(answer.a, ThinkPoint{});
}

TEST(ThinkingThread, BuiltInAnswersOnlyMovesAndOnlyFreePoints)
{
    ThinkRequest request;
    // A fresh board: the centre.
    ThinkResult r = ThinkingThread::Think(request, BanHistory(), nullptr);
    EXPECT_TRUE(r.valid());
    EXPECT_EQ(r.codeA(), Centre);
    // A finished game has no move to offer.
    r = ThinkingThread::Think(request, historyOf("h8 a1 i8 c1 j8 e1 k8 g1 l8"), nullptr);
    EXPECT_EQ(r.failed, Failure::NoAnswer);
    // Other requests are never the built-in engine's.
    request.requestType = Request::WhichColour;
    r = ThinkingThread::Think(request, BanHistory(), nullptr);
    EXPECT_FALSE(r.valid());
}

TEST(GameFlowWorkers, GuiThreadServedWhileTheSearchRuns)
{
    Game g;
    g.play(QuietMiddleGame);
    g.flags.playing = 1;
    ASSERT_TRUE(g.flow.StartWorker(Engine::BuiltIn, Request::Move, endlessLevel()));
    // A "timer" on the GUI thread: it re-posts itself every millisecond.
    int ticks = 0;
    std::function<void()> tick = [&] {
        ++ticks;
        std::this_thread::sleep_for(1ms);
        g.window.postToGuiThread(tick);
    };
    g.window.postToGuiThread(tick);
    const auto until = std::chrono::steady_clock::now() + 300ms;
    g.window.runUntil([&] { return std::chrono::steady_clock::now() > until; }, 2s);
    EXPECT_GT(ticks, 20);
    EXPECT_EQ(g.flags.thinking, 1);
    EXPECT_EQ(g.count(), 3);
    g.flow.StopThinking();
    g.flow.WaitForWorkers();
    tick = [] {};
    g.window.runPending();
    g.window.runPending();
    EXPECT_EQ(g.count(), 3);
}

// --- the scripted engine library ---------------------------------------------

class LibraryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(fake.handle, nullptr) << dlerror();
        ASSERT_TRUE(library.Load(KORVANA_FAKE_KUMO98)) << library.lastError();
        request.engine = Engine::Library;
        request.library = &library;
    }
    FakeLibrary fake;
    Kumo98Dll library;
    ThinkRequest request;
};

TEST_F(LibraryTest, MovesAreSentAsPointCodes)
{
    fake.queue(FakeLibrary::Thinking, 0x1234 * 256 + 40, 0, 0, 0); // judged by the low byte
    ThinkResult r = ThinkingThread::Think(request, historyOf("h8 i9 a1"), nullptr);
    ASSERT_TRUE(r.valid());
    EXPECT_EQ(r.codeA(), 40);
    std::array<uint8_t, 228> moves{};
    EXPECT_EQ(fake.lastMoves(moves.data()), 3);
    EXPECT_EQ(moves[0], 112);
    EXPECT_EQ(moves[1], 8 + 15 * 8);
    EXPECT_EQ(moves[2], 0);

    // An empty history: count 0.
    ThinkingThread::Think(request, BanHistory(), nullptr);
    EXPECT_EQ(fake.lastMoves(moves.data()), 0);

    // 255 and codes off the board fail.
    for (int code : {255, 225, 254}) {
        fake.queue(FakeLibrary::Thinking, code, 0, 0, 0);
        EXPECT_EQ(ThinkingThread::Think(request, BanHistory(), nullptr).failed, Failure::NoAnswer) << code;
    }
}

TEST_F(LibraryTest, WhichRemoveKeepsTheOtherProposal)
{
    request.requestType = Request::WhichRemove;
    request.current.a = {9, 9, 'B'}; // 144
    request.current.b = {5, 9, 'B'}; // 140
    struct Case {
        int removed;
        ThinkPoint a, b;
        int failed;
    };
    const Case cases[] = {
        {140, {5, 9, 'B'}, {9, 9, 'B'}, Failure::None},
        {144, {9, 9, 'B'}, {5, 9, 'B'}, Failure::None},
        {100, {9, 9, 'B'}, {5, 9, 'B'}, Failure::NoAnswer}, // neither proposal
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.removed);
        fake.queue(FakeLibrary::WhichRemove, 0, c.removed, 0, 0);
        const ThinkResult r = ThinkingThread::Think(request, historyOf("h8 i9 j8 a1"), nullptr);
        EXPECT_EQ(fake.lastProposals(), 144 * 256 + 140);
        EXPECT_EQ(r.failed, c.failed);
        EXPECT_EQ(r.requestType, Request::WhichRemove);
        if (c.failed == Failure::None) {
            EXPECT_EQ(r.a, c.a);
            EXPECT_EQ(r.b, c.b);
        }
    }
}

TEST_F(LibraryTest, RequestsWithoutAnEntryReturnAFreshRecord)
{
    for (uint8_t type : {uint8_t{1}, uint8_t{2}, uint8_t{7}}) {
        request.requestType = type;
        const ThinkResult r = ThinkingThread::Think(request, historyOf("h8"), nullptr);
        ThinkResult fresh;
        fresh.requestType = type;
        EXPECT_EQ(std::memcmp(&r, &fresh, sizeof r), 0) << int(type);
    }
    for (int entry = 0; entry < 6; ++entry)
        EXPECT_EQ(fake.calls(entry), 0);
}

TEST_F(LibraryTest, MissingLibraryOrEntryFailsWithoutACall)
{
    Kumo98Dll none;
    request.library = &none;
    EXPECT_EQ(ThinkingThread::Think(request, historyOf("h8"), nullptr).failed, Failure::LibraryMissing);
    request.library = nullptr;
    EXPECT_EQ(ThinkingThread::Think(request, historyOf("h8"), nullptr).failed, Failure::LibraryMissing);

    Kumo98Dll partial;
    ASSERT_TRUE(partial.Load(KORVANA_FAKE_KUMO98_PARTIAL)) << partial.lastError();
    EXPECT_FALSE(partial.hasEntry("Thinking"));
    uint8_t moves[228] = {};
    EXPECT_EQ(partial.Thinking(0, moves), Kumo98Dll::Unavailable);
    char colour = 'x';
    EXPECT_EQ(partial.ThinkingWhichColor(moves, colour), 0); // served by the library
    request.library = &partial;
    EXPECT_EQ(ThinkingThread::Think(request, historyOf("h8"), nullptr).failed, Failure::LibraryMissing);

    // Out values are not written when nothing is called.
    uint8_t index = 99;
    EXPECT_EQ(none.ThinkingSelectOpeningPattern(index), Kumo98Dll::Unavailable);
    EXPECT_EQ(index, 99);
    EXPECT_FALSE(none.Load("/nonexistent/libkumo98.so"));
    EXPECT_FALSE(none.lastError().empty());
    EXPECT_FALSE(none.Load("libkumo98.so")); // never searched for on the system paths
}

TEST_F(LibraryTest, SecondWorkersAnswerIsNeverOverwrittenByTheFirst)
{
    Game g(2);
    ASSERT_TRUE(g.library.Load(KORVANA_FAKE_KUMO98));
    g.play("h8 i9"); // placed by hand, play mode off
    // The first worker answers late with a valid move; the second at once.
    fake.queue(FakeLibrary::Thinking, pointOf(0, 0), 0, 0, 400);
    fake.queue(FakeLibrary::Thinking, pointOf(14, 14), 0, 0, 0);
    ASSERT_TRUE(g.flow.StartWorker(Engine::Library, Request::Move, ThinkingLevel::preset(1)));
    std::this_thread::sleep_for(50ms); // the first is inside its library call
    ASSERT_TRUE(g.flow.StartWorker(Engine::Library, Request::Move, ThinkingLevel::preset(1)));
    ASSERT_TRUE(g.settle());
    ASSERT_EQ(g.count(), 3);
    EXPECT_EQ(g.last().x, 14);
    EXPECT_EQ(g.last().y, 14);
    // Now the first one's answer arrives: dropped.
    g.flow.WaitForWorkers();
    EXPECT_GE(g.window.runPending(), 1);
    EXPECT_EQ(g.count(), 3);
    EXPECT_EQ(g.flow.result().codeA(), pointOf(14, 14));
    EXPECT_EQ(fake.calls(FakeLibrary::Thinking), 2);
}

TEST_F(LibraryTest, StoppedLibraryCallIsNotPlayed)
{
    Game g(2);
    ASSERT_TRUE(g.library.Load(KORVANA_FAKE_KUMO98));
    g.play("h8");
    fake.queue(FakeLibrary::Thinking, pointOf(3, 3), 0, 0, 200);
    g.flow.BeginWhite(); // one stone: the user's (White) turn
    EXPECT_EQ(g.window.status, "Your Turn");
    g.play("i9"); // the computer's turn: request 0 to the library
    ASSERT_EQ(g.flags.thinking, 1);
    g.flow.StopThinking();
    g.flow.WaitForWorkers();
    g.window.runPending();
    EXPECT_EQ(g.count(), 2);
    EXPECT_EQ(g.flags.thinking, 0);
}

TEST_F(LibraryTest, EngineFailureClearsThinking)
{
    struct Case {
        bool loaded;
        int answer;
        const char *status;
    };
    const Case cases[] = {
        {false, 0, "Engine library not available"},
        {true, 255, "Your Turn"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.status);
        Game g(2);
        if (c.loaded) {
            ASSERT_TRUE(g.library.Load(KORVANA_FAKE_KUMO98));
            fake.queue(FakeLibrary::Thinking, c.answer, 0, 0, 0);
        }
        g.play("h8");
        g.flow.BeginWhite();
        g.play("i9");
        ASSERT_TRUE(g.settle());
        EXPECT_EQ(g.count(), 2); // nothing played, in particular not b1
        EXPECT_EQ(g.flags.thinking, 0);
        EXPECT_EQ(g.window.status, c.status);
        EXPECT_EQ(g.flags.playing, 1);
        // The user can still play (either colour follows the move count).
        g.play("a1");
        EXPECT_EQ(g.count(), 3);
    }
}

TEST_F(LibraryTest, ComputerPlacesTheOpening)
{
    Game g(2);
    ASSERT_TRUE(g.library.Load(KORVANA_FAKE_KUMO98));
    fake.queue(FakeLibrary::Opening, 0, 14, 0, 0);
    g.window.colourIsBlack = false; // the user takes White
    g.flow.BeginWhite();
    EXPECT_EQ(g.window.status, "Now Thinking");
    ASSERT_TRUE(g.settle());
    ASSERT_EQ(g.count(), 3);
    const auto &h = g.flow.game().board().history();
    EXPECT_EQ(h[0], (MovedPos{7, 7, 'B', h[0].code}));
    EXPECT_EQ(h[1], (MovedPos{7, 6, 'W', h[1].code}));
    EXPECT_EQ(h[2], (MovedPos{9, 5, 'B', h[2].code}));
    EXPECT_EQ(g.window.colourAsked, 1);
    EXPECT_EQ(g.window.status, "You choose White. Your Turn.");
    EXPECT_EQ(g.flags.computerIsBlack, 1);

    // An index past the table places nothing.
    Game h2(2);
    ASSERT_TRUE(h2.library.Load(KORVANA_FAKE_KUMO98));
    fake.queue(FakeLibrary::Opening, 0, 26, 0, 0);
    h2.flow.BeginWhite();
    ASSERT_TRUE(h2.settle());
    EXPECT_EQ(h2.count(), 0);
    EXPECT_EQ(h2.window.colourAsked, 0);
}

TEST_F(LibraryTest, UserPlacesTheOpeningAndProposesTwoFifthMoves)
{
    Game g(2);
    ASSERT_TRUE(g.library.Load(KORVANA_FAKE_KUMO98));
    g.flow.BeginBlack();
    EXPECT_EQ(g.window.status, "Your Turn: Input Opening Pattern");
    // The computer takes White after the third stone and plays the fourth.
    fake.queue(FakeLibrary::WhichColor, 0, 'W', 0, 0);
    fake.queue(FakeLibrary::Thinking, pointOf(10, 10), 0, 0, 0);
    g.play("h8 i9 jA");
    ASSERT_TRUE(g.settle()); // colour answer, then the fourth move
    ASSERT_TRUE(g.settle());
    EXPECT_EQ(fake.calls(FakeLibrary::WhichColor), 1);
    ASSERT_EQ(g.count(), 4);
    EXPECT_EQ(g.window.status, "Your Turn: Show Two Points");
    EXPECT_EQ(g.flow.opening().colourChosen, 1);
    // Two proposals; the computer removes the first and the second is played.
    fake.queue(FakeLibrary::WhichRemove, 0, pointOf(2, 2), 0, 0);
    fake.queue(FakeLibrary::Thinking, pointOf(12, 12), 0, 0, 0);
    g.play("c3");
    EXPECT_EQ(g.flow.opening().openingStep, 1);
    EXPECT_EQ(g.window.status, "Your Turn: Show Another Point");
    EXPECT_EQ(g.count(), 4);
    g.play("m3");
    EXPECT_EQ(g.flow.opening().openingStep, 2);
    ASSERT_TRUE(g.settle()); // removal answer, then the computer's sixth move
    ASSERT_TRUE(g.settle());
    EXPECT_EQ(fake.lastProposals(), pointOf(2, 2) * 256 + pointOf(12, 2));
    ASSERT_EQ(g.count(), 6);
    const auto &h = g.flow.game().board().history();
    EXPECT_EQ(h[4].x, 12);
    EXPECT_EQ(h[4].y, 2);
    EXPECT_EQ(h[5].x, 12);
    EXPECT_EQ(h[5].y, 12);
    EXPECT_EQ(g.flow.opening().openingStep, 0);
    EXPECT_EQ(fake.calls(FakeLibrary::WhichColor), 1); // asked once only
}

TEST(OpeningTable, StonesOfTheOpenings)
{
    const OpeningTable &table = OpeningTable::instance();
    EXPECT_EQ(table.at(-1), nullptr);
    EXPECT_EQ(table.at(26), nullptr);
    struct Case {
        int index;
        const char *name;
        ThinkPoint second, third;
    };
    const Case cases[] = {
        {0, "CHOSEI", {8, 6, 'W'}, {9, 5, 'B'}}, {7, "ARASHITSUKI", {8, 6, 'W'}, {8, 9, 'B'}},
        {14, "SOSEI", {7, 6, 'W'}, {9, 5, 'B'}}, {24, "SUISEI", {8, 6, 'W'}, {5, 9, 'B'}},
        {25, "YUSEI", {7, 6, 'W'}, {9, 9, 'B'}},
    };
    for (const auto &c : cases) {
        const auto *o = table.at(c.index);
        ASSERT_NE(o, nullptr);
        EXPECT_STREQ(o->name, c.name);
        EXPECT_EQ(std::string(o->shortName), std::string(c.name).substr(0, 8));
        EXPECT_EQ(o->stones[0], (ThinkPoint{7, 7, 'B'}));
        EXPECT_EQ(o->stones[1], c.second);
        EXPECT_EQ(o->stones[2], c.third);
    }
}

} // namespace
