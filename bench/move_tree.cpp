// Move tree and game board: playing new moves (with judging), walking known moves,
// the candidate scans, and the memory of a large tree.

#include "StudyRecord.h"
#include "board/CandidateScan.h"
#include "record/MOveTree.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <malloc.h>
#include <random>
#include <vector>

using namespace korvana;

namespace {

constexpr int GameCount = 20;
constexpr int GameLength = 60;

/// A fixed set of 60-move games: each move a random free point next to the stones
/// already played (within two lines), as real games grow.
const std::vector<std::vector<Pos>> &games()
{
    static const std::vector<std::vector<Pos>> set = [] {
        std::mt19937 rng(1998);
        std::vector<std::vector<Pos>> all;
        for (int g = 0; g < GameCount; ++g) {
            MOveTree tree;
            std::vector<Pos> game;
            tree.AddMoveAlternating(7, 7);
            game.push_back(Pos{7, 7, 'B'});
            while (static_cast<int>(game.size()) < GameLength) {
                const Pos &near = game[rng() % game.size()];
                const int x = near.x + static_cast<int>(rng() % 5) - 2, y = near.y + static_cast<int>(rng() % 5) - 2;
                if (MOve *m = tree.AddMoveAlternating(x, y))
                    game.push_back(Pos{m->x(), m->y(), m->colour()});
            }
            all.push_back(game);
        }
        return all;
    }();
    return set;
}

/// Mean time of AddMove for a move never played before (node creation, the judge's verdict,
/// the judgements of the points it can change), over the moves of the whole game set.
void BM_AddMoveNew(benchmark::State &state)
{
    MOveTree tree;
    size_t g = 0;
    long long moves = 0;
    for (auto _ : state) {
        state.PauseTiming();
        tree.Reset();
        const std::vector<Pos> &game = games()[g];
        g = (g + 1) % games().size();
        state.ResumeTiming();
        for (const Pos &p : game)
            benchmark::DoNotOptimize(tree.AddMove(p.x, p.y, p.colour));
        moves += GameLength;
    }
    state.counters["per_move"] =
        benchmark::Counter(static_cast<double>(moves), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_AddMoveNew)->Unit(benchmark::kMicrosecond);

/// Back or Forward over the 60 known moves of each game, timed per call.
template <bool Forward> void BM_Walk(benchmark::State &state)
{
    std::vector<MOveTree *> trees;
    for (const std::vector<Pos> &game : games()) {
        auto *tree = new MOveTree;
        for (const Pos &p : game)
            tree->AddMove(p.x, p.y, p.colour);
        trees.push_back(tree);
    }
    size_t g = 0;
    long long steps = 0;
    for (auto _ : state) {
        MOveTree &tree = *trees[g];
        g = (g + 1) % trees.size();
        if (Forward) {
            tree.GotoRoot();
            const auto start = std::chrono::steady_clock::now();
            while (tree.Forward())
                ++steps;
            state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        } else {
            const auto start = std::chrono::steady_clock::now();
            while (tree.Back())
                ++steps;
            state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
            while (tree.Forward()) {
            }
        }
    }
    state.counters["per_step"] =
        benchmark::Counter(static_cast<double>(steps), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    for (MOveTree *tree : trees)
        delete tree;
}
BENCHMARK_TEMPLATE(BM_Walk, false)->Name("BM_Back")->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK_TEMPLATE(BM_Walk, true)->Name("BM_Forward")->UseManualTime()->Unit(benchmark::kMicrosecond);

/// Positions after 20 and 40 moves of every game, for the scans.
struct ScanPositions {
    std::vector<MOveTree *> trees;
    ScanPositions()
    {
        for (int length : {20, 40}) {
            for (const std::vector<Pos> &game : games()) {
                auto *tree = new MOveTree;
                for (int i = 0; i < length; ++i)
                    tree->AddMove(game[static_cast<size_t>(i)].x, game[static_cast<size_t>(i)].y,
                                  game[static_cast<size_t>(i)].colour);
                trees.push_back(tree);
            }
        }
    }
    ~ScanPositions()
    {
        for (MOveTree *tree : trees)
            delete tree;
    }
};

template <class Scan> void runScan(benchmark::State &state, Scan scan)
{
    ScanPositions positions;
    PosList out;
    out.reserve(PointCount);
    size_t i = 0;
    for (auto _ : state) {
        const Board &board = positions.trees[i]->board();
        i = (i + 1) % positions.trees.size();
        benchmark::DoNotOptimize(scan(board, colourToMove(board.moveCount()), out));
    }
}

void BM_WinningPoints(benchmark::State &state)
{
    runScan(state, [](const Board &b, char c, PosList &out) { return winningPoints(b, c, out); });
}
void BM_ForcedCandidates(benchmark::State &state)
{
    runScan(state, [](const Board &b, char c, PosList &out) { return forcedCandidates(b, c, out); });
}
void BM_ExpandCandidates(benchmark::State &state)
{
    runScan(state, [](const Board &b, char c, PosList &out) { return expandCandidates(b, 9, c, out); });
}
void BM_ExpandCandidatesAll(benchmark::State &state)
{
    runScan(state, [](const Board &b, char c, PosList &out) { return expandCandidates(b, 224, c, out); });
}
void BM_EvaluatePosition(benchmark::State &state)
{
    runScan(state, [](const Board &b, char c, PosList &) { return evaluatePosition(b, c); });
}
BENCHMARK(BM_WinningPoints);
BENCHMARK(BM_ForcedCandidates);
BENCHMARK(BM_ExpandCandidates);
BENCHMARK(BM_ExpandCandidatesAll);
BENCHMARK(BM_EvaluatePosition);

/// Studying a 10,000-node record: Forward to the end of a branch and Back to the root,
/// timed per step (goal: under 1 ms). Each round first picks a random leaf's branch.
void BM_StudyForwardBack(benchmark::State &state)
{
    MOveTree tree;
    bench::growStudyRecord(tree, 10000);
    std::vector<MOve *> leaves;
    for (MOve *node : bench::allNodes(tree))
        if (node->childCount() == 0)
            leaves.push_back(node);
    std::mt19937 rng(3);
    long long steps = 0;
    for (auto _ : state) {
        tree.GotoNode(leaves[rng() % leaves.size()]);
        tree.GotoRoot();
        const auto start = std::chrono::steady_clock::now();
        while (tree.Forward())
            ++steps;
        while (tree.Back())
            ++steps;
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    state.counters["nodes"] = static_cast<double>(bench::allNodes(tree).size());
    state.counters["per_step"] =
        benchmark::Counter(static_cast<double>(steps), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_StudyForwardBack)->UseManualTime()->Unit(benchmark::kMicrosecond);

/// A click in the game tree or the move list: from one random node of the record to another.
void BM_StudyGotoNode(benchmark::State &state)
{
    MOveTree tree;
    bench::growStudyRecord(tree, 10000);
    const std::vector<MOve *> nodes = bench::allNodes(tree);
    std::mt19937 rng(4);
    for (auto _ : state)
        benchmark::DoNotOptimize(tree.GotoNode(nodes[rng() % nodes.size()]));
}
BENCHMARK(BM_StudyGotoNode)->Unit(benchmark::kMicrosecond);

long residentBytes()
{
    long pages = 0, resident = 0;
    if (FILE *f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return resident * 4096;
}

/// Resident memory of a tree of 100,000 nodes with many variations: random walks that
/// branch off at random depths of the game set.
void BM_TreeMemory(benchmark::State &state)
{
    for (auto _ : state) {
        std::mt19937 rng(7);
        const long before = residentBytes();
        const size_t heapBefore = mallinfo2().uordblks;
        const long long liveBefore = MOve::liveCount();
        auto *tree = new MOveTree;
        while (MOve::liveCount() - liveBefore < 100000) {
            const std::vector<Pos> &game = games()[rng() % games().size()];
            tree->GotoRoot();
            const int shared = static_cast<int>(rng() % GameLength);
            for (int i = 0; i < shared; ++i)
                tree->AddMove(game[static_cast<size_t>(i)].x, game[static_cast<size_t>(i)].y,
                              game[static_cast<size_t>(i)].colour);
            // Then a fresh line of random play to depth 60.
            while (tree->depth() < GameLength && MOve::liveCount() - liveBefore < 100000)
                tree->AddMoveAlternating(static_cast<int>(rng() % 15), static_cast<int>(rng() % 15));
        }
        const long after = residentBytes();
        const size_t heapAfter = mallinfo2().uordblks;
        const long long nodes = MOve::liveCount() - liveBefore;
        state.counters["nodes"] = static_cast<double>(nodes);
        state.counters["resident_MB"] = static_cast<double>(after - before) / 1e6;
        state.counters["bytes_per_node"] = static_cast<double>(after - before) / static_cast<double>(nodes);
        // Heap in use counts the same on a repeat run, when resident memory is already there.
        state.counters["heap_bytes_per_node"] =
            static_cast<double>(heapAfter - heapBefore) / static_cast<double>(nodes);
        state.counters["sizeof_MOve"] = sizeof(MOve);
        delete tree;
    }
}
BENCHMARK(BM_TreeMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
