// Kumo98 engine speed: make/undo, search nodes per second on middle-game
// positions, nodes and time to a given depth, and the time to solve each
// position of the VCF set and the whole set.
#include "board/Point.h"
#include "kumo98/KumoSearch.h"

#include <benchmark/benchmark.h>

#include <ctime>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using namespace korvana;
using namespace korvana::kumo;

namespace {

std::vector<std::vector<uint8_t>> loadVcfPositions()
{
    std::vector<std::vector<uint8_t>> out;
    std::ifstream in(std::string(KORVANA_SOURCE_DIR) + "/tests/data/kumo98_vcf_positions.txt");
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream words(line);
        std::string w;
        std::vector<uint8_t> moves;
        while (words >> w && w != "|") {
            int x = 0, y = 0;
            if (parseWrittenPoint(w, x, y))
                moves.push_back(pointOf(x, y));
        }
        out.push_back(moves);
    }
    return out;
}

// A quiet middle game: the opening CHOSEI and twelve further moves.
const std::vector<uint8_t> MiddleGame = {112, 98, 84, 85, 100, 116, 114, 128, 113, 111, 69, 99, 67, 97, 95};

void BM_PlayUndo(benchmark::State &state)
{
    KumoBoard board;
    for (uint8_t m : MiddleGame)
        board.play(m);
    int p = 0;
    for (auto _ : state) {
        while (!board.isEmpty(p))
            p = (p + 1) % 225;
        board.play(p);
        board.undo();
        p = (p + 7) % 225;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PlayUndo);

// Of the whole process, so a helper thread's time counts too.
double cpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + t.tv_nsec * 1e-9;
}

// Search nodes (alpha-beta and threat search) per second of wall time and per
// second of the process's CPU time (the fair figure on a shared machine).
void BM_SearchNodesPerSecond(benchmark::State &state)
{
    KumoSearch search(20);
    search.setThreads(static_cast<int>(state.range(1)));
    uint64_t nodes = 0;
    double seconds = 0, cpu = 0;
    for (auto _ : state) {
        KumoBoard board;
        for (uint8_t m : MiddleGame)
            board.play(m);
        SearchLimits limits;
        limits.timeMs = static_cast<int>(state.range(0));
        const double cpuStart = cpuSeconds();
        const SearchResult r = search.think(board, limits);
        cpu += cpuSeconds() - cpuStart;
        nodes += r.nodes;
        seconds += r.seconds;
        benchmark::DoNotOptimize(r.move);
    }
    state.counters["nodes_per_s"] = seconds > 0 ? nodes / seconds : 0;
    state.counters["nodes_per_cpu_s"] = cpu > 0 ? nodes / cpu : 0;
}
// Arguments: the time, and the threads (the search alone, or with its helper).
BENCHMARK(BM_SearchNodesPerSecond)->Args({1000, 1})->Args({1000, 2})->Unit(benchmark::kMillisecond)->Iterations(3);

// Nodes and CPU time to finish a given depth on the middle game: what pruning
// changes (the nodes per second stay as they are). A fresh table each time.
void BM_SearchToDepth(benchmark::State &state)
{
    SearchResult r;
    for (auto _ : state) {
        state.PauseTiming();
        KumoSearch search(20);
        search.setThreads(1); // a helper would make the node count vary from run to run
        KumoBoard board;
        for (uint8_t m : MiddleGame)
            board.play(m);
        SearchLimits limits;
        limits.timeMs = 600000;
        limits.maxDepth = static_cast<int>(state.range(0));
        state.ResumeTiming();
        r = search.think(board, limits);
        benchmark::DoNotOptimize(r.move);
    }
    state.counters["nodes"] = static_cast<double>(r.nodes);
    state.counters["depth"] = r.depth;
}
BENCHMARK(BM_SearchToDepth)->DenseRange(6, 10)->Unit(benchmark::kMillisecond)->Iterations(3)->MeasureProcessCPUTime();

// Time to the winning first move of each VCF position (search with a 1 s budget).
void BM_VcfSuite(benchmark::State &state)
{
    static const std::vector<std::vector<uint8_t>> positions = loadVcfPositions();
    KumoSearch search(18);
    const std::vector<uint8_t> &moves = positions.at(static_cast<size_t>(state.range(0)));
    bool found = true;
    for (auto _ : state) {
        KumoBoard board;
        for (uint8_t m : moves)
            board.play(m);
        SearchLimits limits;
        limits.timeMs = 1000;
        const SearchResult r = search.think(board, limits);
        found = found && r.byVcf;
    }
    state.counters["found"] = found ? 1 : 0;
}
BENCHMARK(BM_VcfSuite)->DenseRange(0, 39)->Unit(benchmark::kMillisecond);

// The whole VCF set in one go: the winning line of every position by the threat
// search alone (what FindForcedWin does first), as one time for the suite.
void BM_VcfSuiteWhole(benchmark::State &state)
{
    static const std::vector<std::vector<uint8_t>> positions = loadVcfPositions();
    KumoSearch search(18);
    int solved = 0;
    for (auto _ : state) {
        solved = 0;
        for (const std::vector<uint8_t> &moves : positions) {
            KumoBoard board;
            for (uint8_t m : moves)
                board.play(m);
            solved += search.findForcedWin(board, 10000).kind == 1 ? 1 : 0;
        }
    }
    state.counters["positions"] = static_cast<double>(positions.size());
    state.counters["solved"] = solved;
}
BENCHMARK(BM_VcfSuiteWhole)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
