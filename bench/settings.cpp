// Loading settings files that were never written by the program: the time per
// byte must stay flat as sections and keys grow (no rescans of what was read).
#include "settings/KvParam.h"

#include <benchmark/benchmark.h>

#include <sstream>

using namespace korvana;

namespace {

std::string manySections(int n)
{
    std::string text;
    for (int i = 0; i < n; ++i)
        text += "[S" + std::to_string(i) + "]\nk=" + std::to_string(i) + "\n";
    return text;
}

std::string manyKeys(int n)
{
    std::string text = "[System]\n";
    for (int i = 0; i < n; ++i)
        text += "key" + std::to_string(i) + "\n";
    return text;
}

std::string oneKeyRepeated(int n)
{
    std::string text = "[System]\n";
    for (int i = 0; i < n; ++i)
        text += "ViewToolBar=" + std::to_string(i) + "\n";
    return text;
}

void load(benchmark::State &state, const std::string &text)
{
    for (auto _ : state) {
        KvParam param;
        std::istringstream in(text);
        param.ReadSections(in);
        benchmark::DoNotOptimize(param.GetInt("System", "ViewToolBar"));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
    state.counters["ns_per_line"] =
        benchmark::Counter(static_cast<double>(state.range(0)) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_LoadManySections(benchmark::State &state) { load(state, manySections(static_cast<int>(state.range(0)))); }
void BM_LoadManyKeysWithoutEquals(benchmark::State &state) { load(state, manyKeys(static_cast<int>(state.range(0)))); }
void BM_LoadOneKeyRepeated(benchmark::State &state) { load(state, oneKeyRepeated(static_cast<int>(state.range(0)))); }

void BM_LoadMegabyteLine(benchmark::State &state)
{
    std::string text = "[Option]\nGameRule=" + std::string(static_cast<size_t>(state.range(0)), '7') + "\n";
    for (auto _ : state) {
        KvParam param;
        std::istringstream in(text);
        param.ReadSections(in);
        benchmark::DoNotOptimize(param.GetInt("Option", "GameRule"));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}

void BM_SaveDefaults(benchmark::State &state)
{
    KvParam param;
    for (auto _ : state) {
        std::ostringstream out;
        param.WriteSections(out);
        benchmark::DoNotOptimize(out.str().size());
    }
}

} // namespace

BENCHMARK(BM_LoadManySections)->RangeMultiplier(10)->Range(1000, 100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadManyKeysWithoutEquals)->RangeMultiplier(10)->Range(1000, 100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadOneKeyRepeated)->RangeMultiplier(10)->Range(1000, 100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadMegabyteLine)->Arg(1 << 20)->Arg(8 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveDefaults)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
