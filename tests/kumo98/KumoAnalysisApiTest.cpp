// The analysis entries of libkumo98.so through dlopen, as the program loads them:
// what Analyse reports, that StopAnalysis ends an open-ended analysis, bad input.
#include "board/ChkStat.h"
#include "kumo98/KumoAnalysisApi.h"

#include <gtest/gtest.h>

#include <atomic>
#include <dlfcn.h>
#include <set>
#include <thread>
#include <vector>

using namespace korvana;

namespace {

class KumoAnalysisApiTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        handle = dlopen(KORVANA_BIN_DIR "/libkumo98.so", RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(handle, nullptr) << dlerror();
        analyse = reinterpret_cast<decltype(&Analyse)>(dlsym(handle, "Analyse"));
        stop = reinterpret_cast<decltype(&StopAnalysis)>(dlsym(handle, "StopAnalysis"));
        forcedWin = reinterpret_cast<decltype(&FindForcedWin)>(dlsym(handle, "FindForcedWin"));
    }
    static void TearDownTestSuite()
    {
        if (handle)
            dlclose(handle);
        handle = nullptr;
    }
    void SetUp() override { ASSERT_TRUE(analyse && stop && forcedWin); }

    struct Reports {
        std::vector<KumoAnalysisInfo> infos;
        std::atomic<int> count{0};
        int stopAtDepth = 0; // > 0: the callback stops the analysis once this depth is done
        static void add(const KumoAnalysisInfo *info, void *user)
        {
            auto *self = static_cast<Reports *>(user);
            self->infos.push_back(*info);
            ++self->count;
            if (self->stopAtDepth > 0 && info->depth >= self->stopAtDepth)
                stop();
        }
    };

    static inline void *handle = nullptr;
    static inline decltype(&Analyse) analyse = nullptr;
    static inline decltype(&StopAnalysis) stop = nullptr;
    static inline decltype(&FindForcedWin) forcedWin = nullptr;
};

// A quiet middle game: the opening CHOSEI and twelve further moves.
const std::vector<unsigned char> MiddleGame = {112, 98, 84, 85, 100, 116, 114, 128, 113, 111, 69, 99, 67, 97, 95};

TEST_F(KumoAnalysisApiTest, ReportsDepthLineAndCandidatesOfTheBestMove)
{
    // Open-ended and stopped by depth, not time, so a busy machine gives the same checks.
    Reports reports;
    reports.stopAtDepth = 2;
    const int best = analyse(static_cast<int>(MiddleGame.size()), MiddleGame.data(), 0, &Reports::add, &reports);
    ASSERT_GE(best, 0);
    ASSERT_LT(best, 225);
    ASSERT_GE(reports.infos.size(), 2u); // an iteration, and the end
    const KumoAnalysisInfo &last = reports.infos.back();
    EXPECT_GE(last.depth, 2);
    EXPECT_GE(last.winPermille, 0);
    EXPECT_LE(last.winPermille, 1000);
    EXPECT_GT(last.nodes, 0u);
    ASSERT_GE(last.pvLength, 1);
    EXPECT_EQ(last.pv[0], best);
    ASSERT_GE(last.candidateCount, 2);
    EXPECT_EQ(last.candidates[0], best);
    BanArray ban;
    for (unsigned char m : MiddleGame)
        ban.putStone(m);
    for (int i = 0; i < last.pvLength; ++i) {
        ASSERT_EQ(ban.cell(last.pv[i]), Empty) << "pv move " << i;
        ban.putStone(last.pv[i]);
    }
    std::set<int> distinct;
    for (int i = 0; i < last.candidateCount; ++i) {
        distinct.insert(last.candidates[i]);
        if (i > 0) {
            EXPECT_GE(last.candidateScores[i - 1], last.candidateScores[i]) << "candidate " << i;
        }
    }
    EXPECT_EQ(distinct.size(), static_cast<size_t>(last.candidateCount));
    for (size_t i = 1; i < reports.infos.size(); ++i)
        EXPECT_GE(reports.infos[i].elapsedMs, reports.infos[i - 1].elapsedMs);
}

TEST_F(KumoAnalysisApiTest, StopAnalysisEndsAnOpenEndedAnalysisAndASecondOneIsRefused)
{
    Reports reports;
    std::atomic<int> result{-1};
    std::thread worker(
        [&] { result = analyse(static_cast<int>(MiddleGame.size()), MiddleGame.data(), 0, &Reports::add, &reports); });
    while (reports.count == 0)
        std::this_thread::yield();
    EXPECT_EQ(analyse(static_cast<int>(MiddleGame.size()), MiddleGame.data(), 50, nullptr, nullptr), 255);
    stop();
    worker.join();
    EXPECT_GE(result.load(), 0);
    EXPECT_LT(result.load(), 225);
    stop(); // nothing runs: harmless, and the next analysis is not cut short
    Reports again;
    again.stopAtDepth = 1;
    EXPECT_LT(analyse(static_cast<int>(MiddleGame.size()), MiddleGame.data(), 0, &Reports::add, &again), 225);
    ASSERT_FALSE(again.infos.empty());
    EXPECT_GE(again.infos.back().depth, 1);
}

TEST_F(KumoAnalysisApiTest, BadBuffersAndFinishedGamesAnswer255)
{
    const std::vector<std::vector<unsigned char>> bad = {
        {112, 113, 225},                       // off the board
        {112, 113, 112},                       // a repeat
        {112, 0, 113, 1, 114, 2, 115, 3, 116}, // Black has five
    };
    for (const auto &moves : bad) {
        unsigned char line[8];
        int length = -1;
        EXPECT_EQ(analyse(static_cast<int>(moves.size()), moves.data(), 50, nullptr, nullptr), 255);
        EXPECT_EQ(forcedWin(static_cast<int>(moves.size()), moves.data(), 50, line, 8, &length), 255);
        EXPECT_EQ(length, -1);
    }
}

TEST_F(KumoAnalysisApiTest, FindForcedWinFindsAWinByThrees)
{
    // White to move with two open twos crossing on h8: a double three there wins, no four exists.
    const std::vector<unsigned char> moves = {0, 110, 14, 111, 210, 82, 224, 97, 4};
    unsigned char line[32];
    int length = 0;
    const int kind = forcedWin(static_cast<int>(moves.size()), moves.data(), 2000, line, 32, &length);
    EXPECT_EQ(kind, 2);
    ASSERT_GE(length, 3);
    EXPECT_EQ(line[0], 112);
    EXPECT_EQ(length % 2, 1);
    // The quiet position has no forced win.
    EXPECT_EQ(forcedWin(3, MiddleGame.data(), 300, line, 32, &length), 0);
    EXPECT_EQ(length, 0);
}

} // namespace
