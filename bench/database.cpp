// The position database on a big book: 100,000 distinct 20-stone positions
// with 1-4 candidates each. Figures: cold load, the main window's refresh of
// an unchanged file (reload + look-up in all eight orientations), a missing
// look-up, resident memory of the loaded file, and a save.
#include "database/ADataBase.h"

#include "board/Point.h"

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <string>
#include <vector>

using namespace korvana;

namespace {

constexpr int Stones = 20;
constexpr int Positions = 100000;

// Black and White point sets, smallest over the eight orientations: equal
// for two records exactly when they are one position.
std::string canonical(const std::vector<uint8_t> &stones)
{
    std::string best;
    for (int kind = 0; kind < 8; ++kind) {
        std::array<std::vector<uint8_t>, 2> colours;
        for (size_t i = 0; i < stones.size(); ++i)
            colours[i & 1].push_back(static_cast<uint8_t>(symmetryTransform(kind, stones[i])));
        std::string form;
        for (auto &c : colours) {
            std::sort(c.begin(), c.end());
            form.append(c.begin(), c.end());
            form += '|';
        }
        if (best.empty() || form < best)
            best = form;
    }
    return best;
}

struct Book {
    std::string dir;
    std::vector<std::vector<uint8_t>> positions; // in file order
    std::set<std::string> known;

    Book()
    {
        char pattern[] = "/tmp/korvana-bench-db-XXXXXX";
        dir = std::string(::mkdtemp(pattern)) + "/";
        std::mt19937 rng(20240601);
        std::string text = "210 " + std::to_string(Positions) + " " + std::to_string(Stones) + "\r\n";
        while (static_cast<int>(positions.size()) < Positions) {
            std::vector<uint8_t> points(PointCount);
            for (int p = 0; p < PointCount; ++p)
                points[static_cast<size_t>(p)] = static_cast<uint8_t>(p);
            std::shuffle(points.begin(), points.end(), rng);
            std::vector<uint8_t> stones(points.begin(), points.begin() + Stones);
            if (!known.insert(canonical(stones)).second)
                continue;
            text += std::to_string(1024 + rng() % 3);
            for (uint8_t s : stones)
                text += ' ' + std::to_string(s);
            const int candidates = 1 + static_cast<int>(rng() % 4);
            for (int c = 0; c < candidates; ++c)
                text += ' ' + std::to_string(points[static_cast<size_t>(Stones + c)]) + ' ' +
                        std::to_string(static_cast<int>(rng() % 200) - 100);
            text += "\r\n";
            positions.push_back(std::move(stones));
        }
        std::ofstream(dir + "kumo020.adb", std::ios::binary) << text;
        // Books are read long after they were written; let the file's clock
        // tick pass so that its stamp is trusted, as it would be in use.
        ::usleep(1100 * 1000);
    }
    ~Book() { std::filesystem::remove_all(dir); }

    AData record(const std::vector<uint8_t> &stones) const
    {
        AData r;
        r.setStones(stones.data(), static_cast<int>(stones.size()));
        return r;
    }

    // A stored position seen under kind 7 (its own inverse): the look-up
    // tries orientations 0..6 before it hits.
    AData lastOrientationHit() const { return record(positions[Positions / 2]).transformed(7); }

    AData miss()
    {
        std::mt19937 rng(99);
        for (;;) {
            std::vector<uint8_t> points(PointCount);
            for (int p = 0; p < PointCount; ++p)
                points[static_cast<size_t>(p)] = static_cast<uint8_t>(p);
            std::shuffle(points.begin(), points.end(), rng);
            std::vector<uint8_t> stones(points.begin(), points.begin() + Stones);
            if (!known.count(canonical(stones)))
                return record(stones);
        }
    }
};

Book &book()
{
    static Book b;
    return b;
}

long residentKiB()
{
    long pages = 0, resident = 0;
    if (FILE *f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return resident * (::sysconf(_SC_PAGESIZE) / 1024);
}

void BM_ResidentMemory(benchmark::State &state)
{
    Book &b = book();
    double residentMiB = 0, heapMiB = 0;
    for (auto _ : state) {
        ::malloc_trim(0);
        const long before = residentKiB();
        const size_t heapBefore = ::mallinfo2().uordblks;
        ADataBase db(Stones, b.dir);
        residentMiB = static_cast<double>(residentKiB() - before) / 1024.0;
        heapMiB = static_cast<double>(::mallinfo2().uordblks - heapBefore) / (1024.0 * 1024.0);
        if (db.count() != Positions)
            state.SkipWithError("book not loaded");
    }
    state.counters["resident_MiB"] = residentMiB;
    state.counters["heap_MiB"] = heapMiB;
}
BENCHMARK(BM_ResidentMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_ColdLoad(benchmark::State &state)
{
    Book &b = book();
    for (auto _ : state) {
        auto *db = new ADataBase(Stones, b.dir);
        state.PauseTiming();
        if (db->count() != Positions)
            state.SkipWithError("book not loaded");
        delete db;
        state.ResumeTiming();
    }
    state.counters["records"] = Positions;
}
BENCHMARK(BM_ColdLoad)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The main window after a move: set the stone count, Load, look up.
void BM_RefreshUnchanged(benchmark::State &state)
{
    Book &b = book();
    ADataBase db(ADataBase::NothingLoaded, b.dir);
    db.Load(Stones);
    const AData query = b.lastOrientationHit();
    if (db.FindOrientation(query) != 7)
        state.SkipWithError("expected a hit in orientation 7");
    AData current;
    for (auto _ : state) {
        db.setStoneCount(Stones);
        db.Load();
        benchmark::DoNotOptimize(db.CopyFromAnyOrientation(query, current));
    }
}
BENCHMARK(BM_RefreshUnchanged)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

// Going back one move and forward again: two files, both parked.
void BM_RefreshBackAndForth(benchmark::State &state)
{
    Book &b = book();
    ADataBase db(ADataBase::NothingLoaded, b.dir);
    db.Load(Stones);
    const AData query = b.lastOrientationHit();
    AData current;
    for (auto _ : state) {
        db.Load(Stones - 1); // no such file: an empty database
        db.Load(Stones);
        benchmark::DoNotOptimize(db.CopyFromAnyOrientation(query, current));
    }
}
BENCHMARK(BM_RefreshBackAndForth)->Unit(benchmark::kMicrosecond);

void BM_MissLookup(benchmark::State &state)
{
    Book &b = book();
    ADataBase db(Stones, b.dir);
    const AData query = b.miss();
    for (auto _ : state)
        benchmark::DoNotOptimize(db.FindAnyOrientation(query));
    if (db.FindAnyOrientation(query) != NoPointCode)
        state.SkipWithError("expected a miss");
}
BENCHMARK(BM_MissLookup)->Unit(benchmark::kMicrosecond);

void BM_UpdateAndSave(benchmark::State &state)
{
    Book &b = book();
    const std::string dir = b.dir + "copy/";
    std::filesystem::create_directories(dir);
    std::filesystem::copy_file(b.dir + "kumo020.adb", dir + "kumo020.adb",
                               std::filesystem::copy_options::overwrite_existing);
    ADataBase db(Stones, dir);
    AData current = b.lastOrientationHit();
    int round = 0;
    for (auto _ : state) {
        AData scratch;
        db.CopyFromAnyOrientation(current, scratch);
        scratch.clearCandidates();
        scratch.addCandidate(symmetryTransform(7, 0) + (round++ % 2));
        db.Update(scratch);
        if (!db.Save())
            state.SkipWithError("save failed");
    }
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_UpdateAndSave)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
