// Stopping a search from another thread (these tests also run under
// ThreadSanitizer).
#include "engine/PhaseIter.h"

#include "EngineTestBoards.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <memory>
#include <thread>

using namespace korvana;
using namespace std::chrono_literals;

namespace {

std::unique_ptr<PhaseIter> deepSearch(const BanArray &board)
{
    // Level 5 searches twice as deep: long enough to be caught mid-search.
    const ThinkingLevel &level = ThinkingLevel::preset(5);
    auto iter = std::make_unique<PhaseIter>(std::make_unique<Phase>(board), level, level.depth, level.hashSize, "");
    iter->setBookLookup(nullptr);
    return iter;
}

TEST(PhaseIterStop, StopFromAnotherThreadAnswers255)
{
    const auto positions = testboards::midGamePositions(4);
    for (const BanArray &board : positions) {
        StopFlag flag{0};
        setThinkStopFlag(&flag);
        auto iter = deepSearch(board);
        std::future<int> answer = std::async(std::launch::async, [&] { return iter->Think(); });
        std::this_thread::sleep_for(5ms);
        flag.store(1);
        // A hang check only; the latency itself is measured by bench_engine.
        ASSERT_EQ(answer.wait_for(10s), std::future_status::ready);
        EXPECT_EQ(answer.get(), 255);
        setThinkStopFlag(nullptr);
    }
}

TEST(PhaseIterStop, FlagSetBeforehandStopsBeforeSearching)
{
    StopFlag flag{1};
    setThinkStopFlag(&flag);
    auto iter = deepSearch(testboards::midGamePositions(1)[0]);
    EXPECT_EQ(iter->Think(), 255);
    EXPECT_EQ(iter->nodes(), 0);
    setThinkStopFlag(nullptr);
}

TEST(PhaseIterStop, SearchKeepsTheFlagItStartedWith)
{
    // A later request repointing the process-wide flag must neither stop nor
    // rescue a search already running.
    StopFlag first{0}, second{0};
    setThinkStopFlag(&first);
    auto iter = deepSearch(testboards::midGamePositions(2)[1]);
    // The book is asked after the search took its flag: repointing before
    // that (a late thread under load) would test nothing.
    std::promise<void> flagTaken;
    iter->setBookLookup([&](const BanArray &, const std::string &) {
        flagTaken.set_value();
        return 255;
    });
    std::future<int> answer = std::async(std::launch::async, [&] { return iter->Think(); });
    ASSERT_EQ(flagTaken.get_future().wait_for(10s), std::future_status::ready);
    setThinkStopFlag(&second);
    first.store(1);
    ASSERT_EQ(answer.wait_for(10s), std::future_status::ready);
    EXPECT_EQ(answer.get(), 255);
    setThinkStopFlag(nullptr);
}

TEST(PhaseIterStop, UnsetFlagLetsTheSearchFinish)
{
    StopFlag flag{0};
    setThinkStopFlag(&flag);
    const BanArray board = testboards::midGamePositions(1)[0];
    const ThinkingLevel &level = ThinkingLevel::preset(1);
    PhaseIter iter(std::make_unique<Phase>(board), level, level.depth, level.hashSize, "");
    iter.setBookLookup(nullptr);
    const int p = iter.Think();
    EXPECT_LT(p, PointCount);
    setThinkStopFlag(nullptr);
}

} // namespace
