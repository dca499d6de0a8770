// Which worker's answer counts: the latest start's, until it is stopped.
#include "game/ThinkingWorkers.h"

#include <gtest/gtest.h>

#include <mutex>
#include <vector>

using namespace korvana;

namespace {

struct Delivered {
    std::mutex mutex;
    std::vector<uint64_t> generations;
    ThinkingThread::Delivery sink()
    {
        return [this](uint64_t g, const ThinkResult &) {
            std::lock_guard<std::mutex> lock(mutex);
            generations.push_back(g);
        };
    }
};

// No engine library: every worker answers at once.
ThinkRequest quickRequest()
{
    ThinkRequest request;
    request.engine = Engine::Library;
    return request;
}

TEST(ThinkingWorkers, OnlyTheLatestUnstoppedAnswerCounts)
{
    struct Case {
        const char *name;
        bool stopSecond;
        bool firstCounts, secondCounts;
    };
    const Case cases[] = {
        {"superseded", false, false, true},
        {"stopped", true, false, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Delivered delivered;
        ThinkingWorkers workers;
        workers.Start(quickRequest(), BanHistory(), delivered.sink());
        const uint64_t first = workers.generation();
        workers.Start(quickRequest(), BanHistory(), delivered.sink());
        const uint64_t second = workers.generation();
        if (c.stopSecond)
            workers.StopCurrent();
        workers.WaitAll();
        EXPECT_EQ(delivered.generations.size(), 2u);
        EXPECT_EQ(workers.TakeAnswer(first), c.firstCounts);
        EXPECT_EQ(workers.TakeAnswer(second), c.secondCounts);
        EXPECT_EQ(workers.count(), 0u) << "ended workers are reaped";
    }
}

} // namespace
