// The built-in search at level 1 on 50 fixed mid-game positions: time per
// Think, judgements per search, peak memory of one search, and how fast a
// search returns once its stop flag is set.
#include "engine/PhaseIter.h"

#include "../tests/engine/EngineTestBoards.h"

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <new>
#include <thread>
#include <time.h>
#include <vector>

using namespace korvana;
using Clock = std::chrono::steady_clock;

// Heap bytes in use and their high-water mark, for the memory figure.
namespace {
std::atomic<long long> liveBytes{0};
std::atomic<long long> peakBytes{0};

void *counted(void *p)
{
    if (!p)
        throw std::bad_alloc();
    const long long now = liveBytes += static_cast<long long>(malloc_usable_size(p));
    long long peak = peakBytes.load();
    while (now > peak && !peakBytes.compare_exchange_weak(peak, now)) {
    }
    return p;
}
void release(void *p)
{
    if (p) {
        liveBytes -= static_cast<long long>(malloc_usable_size(p));
        std::free(p);
    }
}
} // namespace

void *operator new(size_t n) { return counted(std::malloc(n ? n : 1)); }
void *operator new[](size_t n) { return counted(std::malloc(n ? n : 1)); }
void *operator new(size_t n, const std::nothrow_t &) noexcept
{
    void *p = std::malloc(n ? n : 1);
    return p ? counted(p) : nullptr;
}
void *operator new[](size_t n, const std::nothrow_t &) noexcept
{
    void *p = std::malloc(n ? n : 1);
    return p ? counted(p) : nullptr;
}
void operator delete(void *p) noexcept { release(p); }
void operator delete[](void *p) noexcept { release(p); }
void operator delete(void *p, size_t) noexcept { release(p); }
void operator delete[](void *p, size_t) noexcept { release(p); }

namespace {

const std::vector<BanArray> &positions()
{
    static const std::vector<BanArray> all = testboards::midGamePositions(50);
    return all;
}

std::unique_ptr<PhaseIter> request(const BanArray &board, int levelNumber = 1)
{
    const ThinkingLevel &level = ThinkingLevel::preset(levelNumber);
    auto iter = std::make_unique<PhaseIter>(std::make_unique<Phase>(board), level, level.depth, level.hashSize, "");
    iter->setBookLookup(nullptr);
    return iter;
}

// CPU time of this thread: other work on the machine does not count.
double threadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// One position per argument.
void BM_ThinkLevel1(benchmark::State &state)
{
    const BanArray &board = positions()[static_cast<size_t>(state.range(0))];
    uint64_t judgements = 0;
    int32_t nodes = 0;
    for (auto _ : state) {
        auto iter = request(board);
        benchmark::DoNotOptimize(iter->Think());
        judgements = iter->judgements();
        nodes = iter->nodes();
    }
    state.counters["stones"] = board.count();
    state.counters["judgeAt"] = static_cast<double>(judgements);
    state.counters["nodes"] = nodes;
}
BENCHMARK(BM_ThinkLevel1)->DenseRange(0, 49)->Unit(benchmark::kMillisecond);

// All 50 in one pass: median and slowest time per Think, judgements per search.
void BM_ThinkLevel1Summary(benchmark::State &state)
{
    std::vector<std::vector<double>> times(positions().size()), cpu(positions().size());
    std::vector<double> judgements(positions().size());
    for (auto _ : state) {
        for (size_t i = 0; i < positions().size(); ++i) {
            const auto start = Clock::now();
            const double cpuStart = threadCpuMs();
            auto iter = request(positions()[i]);
            benchmark::DoNotOptimize(iter->Think());
            cpu[i].push_back(threadCpuMs() - cpuStart);
            times[i].push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
            judgements[i] = static_cast<double>(iter->judgements());
        }
    }
    std::vector<double> perPosition, cpuPerPosition;
    for (size_t i = 0; i < times.size(); ++i) {
        perPosition.push_back(median(times[i]));
        cpuPerPosition.push_back(median(cpu[i]));
    }
    state.counters["median_ms"] = median(perPosition);
    state.counters["slowest_ms"] = *std::max_element(perPosition.begin(), perPosition.end());
    state.counters["cpu_median_ms"] = median(cpuPerPosition);
    state.counters["cpu_slowest_ms"] = *std::max_element(cpuPerPosition.begin(), cpuPerPosition.end());
    state.counters["judgeAt_median"] = median(judgements);
    state.counters["judgeAt_max"] = *std::max_element(judgements.begin(), judgements.end());
}
BENCHMARK(BM_ThinkLevel1Summary)->Unit(benchmark::kMillisecond)->Iterations(5);

// Peak heap of one search over the bytes in use before it, largest of the 50.
void BM_PeakMemoryLevel1(benchmark::State &state)
{
    double worst = 0;
    for (auto _ : state) {
        for (const BanArray &board : positions()) {
            const long long before = liveBytes.load();
            peakBytes.store(before);
            {
                auto iter = request(board);
                benchmark::DoNotOptimize(iter->Think());
            }
            worst = std::max(worst, static_cast<double>(peakBytes.load() - before));
        }
    }
    state.counters["peak_MB"] = worst / (1024.0 * 1024.0);
}
BENCHMARK(BM_PeakMemoryLevel1)->Unit(benchmark::kMillisecond)->Iterations(1);

// Time from setting the stop flag to Think's return. Level 5 keeps the search
// busy long enough to be caught at any delay; argument: level.
void BM_StopLatency(benchmark::State &state)
{
    const int levelNumber = static_cast<int>(state.range(0));
    std::vector<double> latencies;
    int notCaught = 0;
    for (auto _ : state) {
        for (size_t i = 0; i < positions().size(); ++i) {
            StopFlag flag{0};
            setThinkStopFlag(&flag);
            auto iter = request(positions()[i], levelNumber);
            std::atomic<long long> returnedAt{0};
            std::thread worker([&] {
                const int answer = iter->Think();
                returnedAt = Clock::now().time_since_epoch().count();
                benchmark::DoNotOptimize(answer);
            });
            // Delays from 0.2 to 10 ms spread over the positions.
            std::this_thread::sleep_for(std::chrono::microseconds(200 + static_cast<long>(i * 9800 / 49)));
            const long long setAt = Clock::now().time_since_epoch().count();
            flag.store(1);
            worker.join();
            setThinkStopFlag(nullptr);
            if (returnedAt.load() < setAt) {
                ++notCaught; // finished before the flag was set
                continue;
            }
            latencies.push_back(static_cast<double>(returnedAt.load() - setAt) / 1e3);
        }
    }
    state.counters["stopped"] = static_cast<double>(latencies.size());
    state.counters["finished_first"] = notCaught;
    if (!latencies.empty()) {
        state.counters["median_us"] = median(latencies);
        state.counters["max_us"] = *std::max_element(latencies.begin(), latencies.end());
    }
}
BENCHMARK(BM_StopLatency)->Arg(5)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
