// pbrain-korvana's input thread: STOP, END and the end of input reach a
// running think. The fake engine thinks until it is stopped; a session whose
// stop never arrives gives up after ten seconds and answers no move, which
// fails the test.
#include "pbrain/PbrainSession.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

using namespace korvana::pbrain;

class EngineUntilStopped : public PbrainEngine {
public:
    int think(const std::vector<uint8_t> &, int) override
    {
        thinks.fetch_add(1);
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!stopRequested()) {
            if (std::chrono::steady_clock::now() > giveUp)
                return -1;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return 42;
    }
    const char *about() const override { return "fake"; }
    std::atomic<int> thinks{0};
};

struct StopCase {
    const char *name;
    const char *after; ///< written once the engine thinks; nullptr: the input is closed
    const char *replies;
};
[[maybe_unused]] void PrintTo(const StopCase &c, std::ostream *os) { *os << c.name; }

class PbrainInputThread : public testing::TestWithParam<StopCase> {};

TEST_P(PbrainInputThread, StopsARunningThink)
{
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    EngineUntilStopped engine;
    PbrainSession session(engine);
    std::ostringstream out;
    bool stuck = false;
    std::thread runner([&] { session.run(fds[0], out, [&] { stuck = true; }); });
    const std::string start = "START 15\nBEGIN\n";
    ASSERT_EQ(::write(fds[1], start.data(), start.size()), ssize_t(start.size()));
    while (engine.thinks.load() == 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    if (const char *after = GetParam().after)
        ASSERT_EQ(::write(fds[1], after, std::strlen(after)), ssize_t(std::strlen(after)));
    else
        ::close(fds[1]);
    runner.join();
    if (GetParam().after)
        ::close(fds[1]);
    // fds[0] stays open: the detached reader reads it until it sees the end.
    EXPECT_EQ(out.str(), GetParam().replies);
    EXPECT_FALSE(stuck);
}

// After STOP the session goes on: the second think is stopped by END.
INSTANTIATE_TEST_SUITE_P(Inputs, PbrainInputThread,
                         testing::Values(StopCase{"Stop", "STOP\nTAKEBACK 12,2\nBEGIN\nEND\n", "OK\n12,2\nOK\n12,2\n"},
                                         StopCase{"YxStop", "YXSTOP\nEND\n", "OK\n12,2\n"},
                                         StopCase{"End", "END\n", "OK\n12,2\n"},
                                         StopCase{"EndOfInput", nullptr, "OK\n12,2\n"}),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
