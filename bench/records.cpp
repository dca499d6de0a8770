// Record files: loading and saving a large SGF with variations, and reading junk.

#include "record/MOveTree.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

using namespace korvana;

namespace {

/// A game tree of `nodes` moves: lines of up to 60 moves branching off each other.
void growTree(MOveTree &tree, int nodes)
{
    std::mt19937 rng(2024);
    int made = 0;
    while (made < nodes) {
        tree.GotoRoot();
        const int shared = static_cast<int>(rng() % 50);
        for (int d = 0; d < shared && tree.current()->childCount() > 0; ++d) {
            const MOve *kid = tree.current()->child(static_cast<int>(rng() % tree.current()->childCount()));
            tree.AddMove(kid->x(), kid->y(), kid->colour());
        }
        const int fresh = 1 + static_cast<int>(rng() % 15);
        for (int d = 0; d < fresh && made < nodes; ++d) {
            const int before = tree.current()->childCount();
            MOve *m = nullptr;
            for (int attempt = 0; attempt < 50 && !m; ++attempt)
                m = tree.AddMoveAlternating(static_cast<int>(rng() % 15), static_cast<int>(rng() % 15));
            if (!m)
                break;
            if (tree.current()->parent()->childCount() > before) {
                ++made;
                tree.SetValue(static_cast<int32_t>(rng() % 2001) - 1000);
            }
        }
    }
    tree.Rewind();
}

int countNodes(const MOve *node)
{
    int n = 1;
    for (const MOve *kid : node->children())
        n += countNodes(kid);
    return n;
}

const std::string &bigSgf()
{
    static const std::string text = [] {
        MOveTree tree;
        growTree(tree, 10000);
        std::ostringstream out;
        tree.WriteSgf(out);
        return out.str();
    }();
    return text;
}

std::string tempPath(const char *name)
{
    return (std::filesystem::temp_directory_path() /
            (std::string("korvana-bench-") + name + "-" + std::to_string(getpid())))
        .string();
}

void BM_SgfRead10k(benchmark::State &state)
{
    const std::string &text = bigSgf();
    MOveTree tree;
    for (auto _ : state) {
        std::istringstream in(text);
        tree.ReadSgf(in);
    }
    state.counters["nodes"] = countNodes(tree.root()) - 1;
    state.counters["bytes"] = static_cast<double>(text.size());
}
BENCHMARK(BM_SgfRead10k)->Unit(benchmark::kMillisecond);

// The same tree built by AddMove and Back without any text: what the board's judging
// of each new move costs, which reading cannot avoid.
void collectSteps(const MOve *node, std::vector<Pos> &steps)
{
    for (const MOve *kid : node->children()) {
        steps.push_back(Pos{kid->x(), kid->y(), kid->colour()});
        collectSteps(kid, steps);
        steps.push_back(Pos{0, 0, 0}); // Back
    }
}

void BM_AddMoves10k(benchmark::State &state)
{
    std::vector<Pos> steps;
    {
        MOveTree tree;
        std::istringstream in(bigSgf());
        tree.ReadSgf(in);
        collectSteps(tree.root(), steps);
    }
    MOveTree tree;
    for (auto _ : state) {
        tree.Reset();
        for (const Pos &p : steps) {
            if (p.colour)
                tree.AddMove(p.x, p.y, p.colour);
            else
                tree.Back();
        }
    }
    state.counters["nodes"] = countNodes(tree.root()) - 1;
}
BENCHMARK(BM_AddMoves10k)->Unit(benchmark::kMillisecond);

void BM_SgfWrite10k(benchmark::State &state)
{
    MOveTree tree;
    std::istringstream in(bigSgf());
    tree.ReadSgf(in);
    for (auto _ : state) {
        std::ostringstream out;
        tree.WriteSgf(out);
        benchmark::DoNotOptimize(out.tellp());
    }
    state.counters["nodes"] = countNodes(tree.root()) - 1;
}
BENCHMARK(BM_SgfWrite10k)->Unit(benchmark::kMillisecond);

// Whole commands as the program runs them: Load from a file (format detection included),
// and Save (snapshot, write, replay, temporary file, fsync, rename) from a position deep in the tree.
void BM_SgfLoadFile10k(benchmark::State &state)
{
    const std::string path = tempPath("load.sgf");
    std::ofstream(path, std::ios::binary) << bigSgf();
    MOveTree tree;
    for (auto _ : state)
        tree.Load(path);
    std::remove(path.c_str());
}
BENCHMARK(BM_SgfLoadFile10k)->Unit(benchmark::kMillisecond);

void BM_SgfSaveFile10k(benchmark::State &state)
{
    const std::string path = tempPath("save.sgf");
    MOveTree tree;
    std::istringstream in(bigSgf());
    tree.ReadSgf(in);
    while (tree.Forward())
        ;
    for (auto _ : state)
        tree.Save(path);
    std::remove(path.c_str());
}
BENCHMARK(BM_SgfSaveFile10k)->Unit(benchmark::kMillisecond);

// 50 MB files of junk, each aimed at one reader: random bytes, one long property,
// deep nesting, numbers for .ban, and a long run of move nodes.
std::string junk(int kind)
{
    const size_t size = 50u << 20;
    std::string text;
    text.reserve(size + 16);
    std::mt19937 rng(7);
    switch (kind) {
    case 0:
        while (text.size() < size)
            text += static_cast<char>(rng());
        break;
    case 1:
        text = "(;GM[4]GC[";
        text.append(size, 'x');
        break;
    case 2: text.assign(size, '('); break;
    case 3:
        while (text.size() < size)
            text += "808\n";
        break;
    default:
        text = "(;GM[4]";
        while (text.size() < size)
            text += ";B[hh]C[12]";
        break;
    }
    return text;
}

void BM_LoadJunk50MB(benchmark::State &state)
{
    const std::string path = tempPath("junk");
    std::ofstream(path, std::ios::binary) << junk(static_cast<int>(state.range(0)));
    std::fputs("", stderr);
    MOveTree tree;
    FILE *quiet = std::freopen("/dev/null", "w", stderr); // "error : Illegal move" per node
    for (auto _ : state)
        tree.Load(path);
    (void)quiet;
    std::remove(path.c_str());
    state.counters["moves"] = tree.board().moveCount();
}
BENCHMARK(BM_LoadJunk50MB)->DenseRange(0, 4)->Iterations(2)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
