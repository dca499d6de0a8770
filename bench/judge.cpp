// Speed of the rule judge on mid-game positions, and proof that a judgement
// allocates nothing on the heap.
#include "board/BanArray.h"
#include "board/ChkStat.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <random>
#include <vector>

using namespace korvana;

namespace {
std::atomic<long> allocations{0};
}

#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void *operator new(std::size_t size)
{
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void *p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void operator delete(void *p) noexcept { std::free(p); }
void operator delete(void *p, std::size_t) noexcept { std::free(p); }

namespace {

// Games played by a greedy random player near the existing stones: they are
// full of threes and fours for both colours. No five is ever completed.
std::vector<BanArray> midGamePositions()
{
    std::mt19937 rng(20261207);
    std::vector<BanArray> out;
    while (out.size() < 200) {
        BanArray board;
        board.putStone(112);
        const int target = 20 + static_cast<int>(rng() % 41);
        bool ok = true;
        while (board.count() < target && ok) {
            const char colour = colourToMove(board.count());
            ChkStat judge(board);
            int best = -1, bestValue = -1000000;
            for (int tries = 0; tries < 6; ++tries) {
                // A random empty point within two steps of a random stone.
                int p = -1;
                for (int guard = 0; guard < 200 && p < 0; ++guard) {
                    int q = static_cast<int>(rng() % 225);
                    if (board.cell(q) == Empty)
                        continue;
                    int x = pointX(q) + static_cast<int>(rng() % 5) - 2;
                    int y = pointY(q) + static_cast<int>(rng() % 5) - 2;
                    if (onBoard(x, y) && board.cell(pointOf(x, y)) == Empty)
                        p = pointOf(x, y);
                }
                if (p < 0)
                    continue;
                int code = judge.judgeAt(p, colour);
                if (code <= 1 || code >= 21)
                    continue;
                int value = pointValue(code) + static_cast<int>(rng() % 30);
                if (value > bestValue)
                    bestValue = value, best = p;
            }
            if (best < 0)
                ok = false;
            else
                board.putStone(best);
        }
        if (ok)
            out.push_back(board);
    }
    return out;
}

void BM_JudgeAt(benchmark::State &state)
{
    std::vector<BanArray> positions = midGamePositions();
    std::vector<std::vector<int>> empties;
    for (BanArray &b : positions) {
        std::vector<int> e;
        for (int p = 0; p < PointCount; ++p)
            if (b.cell(p) == Empty)
                e.push_back(p);
        empties.push_back(e);
    }
    long judged = 0;
    const long before = allocations.load();
    for (auto _ : state) {
        for (size_t i = 0; i < positions.size(); ++i) {
            ChkStat judge(positions[i]);
            for (int p : empties[i]) {
                benchmark::DoNotOptimize(judge.judgeBlack(p));
                benchmark::DoNotOptimize(judge.judgeWhite(p));
            }
            judged += 2 * static_cast<long>(empties[i].size());
        }
    }
    const long allocated = allocations.load() - before;
    if (allocated != 0)
        state.SkipWithError("a judgement allocated on the heap");
    state.counters["judgements_per_s"] = benchmark::Counter(static_cast<double>(judged), benchmark::Counter::kIsRate);
    state.counters["ns_per_judgement"] =
        benchmark::Counter(static_cast<double>(judged), benchmark::Counter::kIsRate | benchmark::Counter::kInvert,
                           benchmark::Counter::kIs1000);
    state.counters["heap_allocations"] = static_cast<double>(allocated);
}
BENCHMARK(BM_JudgeAt)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
