// The entries of libkumo98.so: the six move and opening entries, and the
// analysis entries declared in KumoAnalysisApi.h. Every entry validates its move buffer
// (codes 0..224, no repeats) and answers 255 on bad input without writing its
// out arguments; calls are serialised, so any thread may call.
//
// How many codes each entry reads: Thinking is told the count. The opening
// entries are asked at fixed points of the protocol, so the count follows from
// the request: ThinkingWhichColor after the three opening stones (3 codes),
// ThinkingShowTwoPoint after White's fourth move (4 codes), and
// ThinkingWhichRemove also after four moves (4 codes): the two proposed fifth
// moves are not in the game record; they come as the two byte arguments.
#include "kumo98/KumoAnalysisApi.h"
#include "kumo98/KumoEngine.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>

#define KUMO98_EXPORT extern "C" __attribute__((visibility("default")))

using namespace korvana::kumo;

namespace {

constexpr int Failure = 255;

std::mutex &engineMutex()
{
    static std::mutex m;
    return m;
}

KumoEngine &engine()
{
    static KumoEngine instance;
    return instance;
}

} // namespace

KUMO98_EXPORT int Thinking(int count, unsigned char *moves, int /*zero*/)
{
    std::lock_guard<std::mutex> lock(engineMutex());
    KumoBoard board;
    if (!KumoEngine::loadMoves(board, moves, count) || count >= 225)
        return Failure;
    const SearchResult r = engine().bestMove(board, KumoEngine::moveTimeMs());
    return r.move >= 0 && r.move < 225 ? r.move : Failure;
}

KUMO98_EXPORT int ThinkingWhichRemove(unsigned char *moves, unsigned char a, unsigned char b, unsigned char *out,
                                      int /*zero*/)
{
    std::lock_guard<std::mutex> lock(engineMutex());
    KumoBoard board;
    if (!out || !KumoEngine::loadMoves(board, moves, 4) || a >= 225 || b >= 225 || !board.isEmpty(a) ||
        !board.isEmpty(b))
        return Failure;
    const int removed = engine().whichRemove(board, a, b, KumoEngine::moveTimeMs());
    *out = static_cast<unsigned char>(removed);
    return removed;
}

KUMO98_EXPORT int ThinkingShowTwoPoint(unsigned char *moves, unsigned char *out1, unsigned char *out2, int /*zero*/)
{
    std::lock_guard<std::mutex> lock(engineMutex());
    KumoBoard board;
    if (!out1 || !out2 || !KumoEngine::loadMoves(board, moves, 4))
        return Failure;
    int first = -1, second = -1;
    if (!engine().showTwoPoints(board, KumoEngine::moveTimeMs(), first, second))
        return Failure;
    *out1 = static_cast<unsigned char>(first);
    *out2 = static_cast<unsigned char>(second);
    return first;
}

KUMO98_EXPORT int ThinkingWhichColor(unsigned char *moves, char *out, int /*zero*/)
{
    std::lock_guard<std::mutex> lock(engineMutex());
    KumoBoard board;
    if (!out || !KumoEngine::loadMoves(board, moves, 3))
        return Failure;
    const char colour = engine().whichColour(board, KumoEngine::moveTimeMs());
    *out = colour;
    return colour;
}

KUMO98_EXPORT int ThinkingSelectOpeningPattern(unsigned char *out, int /*zero*/)
{
    std::lock_guard<std::mutex> lock(engineMutex());
    if (!out)
        return Failure;
    const int index = engine().chooseOpening();
    *out = static_cast<unsigned char>(index);
    return index;
}

KUMO98_EXPORT int About(char *text256)
{
    if (!text256)
        return Failure;
    std::snprintf(text256, 256, "Kumo98 Renju engine: threat-space search and PVS alpha-beta, %d ms a move",
                  KumoEngine::moveTimeMs());
    return 0;
}

// The move time the program's options choose; KUMO98_MOVE_TIME_MS still wins.
KUMO98_EXPORT void SetMoveTime(int ms) { KumoEngine::setMoveTimeMs(ms); }

namespace {

// A row of five or more of one colour anywhere: the game is over.
bool hasFive(const KumoBoard &board)
{
    constexpr int DX[4] = {1, 1, 0, -1}, DY[4] = {0, 1, 1, 1};
    for (int p = 0; p < 225; ++p) {
        if (board.isEmpty(p))
            continue;
        for (int d = 0; d < 4; ++d) {
            int run = 1;
            for (int x = p % 15 + DX[d], y = p / 15 + DY[d];
                 x >= 0 && x < 15 && y < 15 && board.cell(y * 15 + x) == board.cell(p); x += DX[d], y += DY[d])
                ++run;
            if (run >= 5)
                return true;
        }
    }
    return false;
}

bool loadPosition(KumoBoard &board, int count, const unsigned char *moves)
{
    return KumoEngine::loadMoves(board, moves, count) && count < 225 && !hasFive(board);
}

// StopAnalysis bumps the epoch; a request stops when the epoch moved since it began.
std::atomic<unsigned> &stopEpoch()
{
    static std::atomic<unsigned> epoch{0};
    return epoch;
}

std::atomic<bool> &analysing()
{
    static std::atomic<bool> busy{false};
    return busy;
}

KumoSearch &analysisSearch()
{
    static KumoSearch instance(20);
    return instance;
}

KumoAnalysisInfo infoOf(const SearchResult &r, std::chrono::steady_clock::time_point start)
{
    KumoAnalysisInfo info{};
    info.depth = r.depth;
    info.score = r.score;
    if (r.score > WinBound) {
        info.winPermille = 1000;
        info.mateIn = (Win - r.score + 1) / 2;
    } else if (r.score < -WinBound) {
        info.winPermille = 0;
        info.mateIn = -std::max(1, (Win + r.score) / 2);
    } else {
        // A logistic curve over the evaluation's scale.
        info.winPermille = static_cast<int>(std::lround(1000.0 / (1.0 + std::exp(-r.score / 600.0))));
    }
    info.nodes = r.nodes;
    info.elapsedMs = static_cast<int>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count());
    for (int m : r.pv) {
        if (info.pvLength >= 32 || m < 0 || m >= 225)
            break;
        info.pv[info.pvLength++] = static_cast<unsigned char>(m);
    }
    for (const auto &[m, v] : r.candidates) {
        if (info.candidateCount >= 8 || m < 0 || m >= 225)
            break;
        info.candidates[info.candidateCount] = static_cast<unsigned char>(m);
        info.candidateScores[info.candidateCount++] = v;
    }
    return info;
}

} // namespace

KUMO98_EXPORT int Analyse(int count, const unsigned char *moves, int timeMs, KumoAnalysisCallback callback, void *user)
{
    const unsigned epoch = stopEpoch().load();
    if (analysing().exchange(true))
        return Failure;
    struct Release {
        ~Release() { analysing() = false; }
    } release;
    KumoBoard board;
    if (timeMs < 0 || !loadPosition(board, count, moves))
        return Failure;
    const auto start = std::chrono::steady_clock::now();
    SearchLimits limits;
    limits.timeMs = timeMs == 0 ? 24 * 3600 * 1000 : timeMs;
    limits.multiPv = 4;
    limits.stopWhen = [epoch] { return stopEpoch().load(std::memory_order_relaxed) != epoch; };
    if (callback)
        limits.report = [&](const SearchResult &r) {
            const KumoAnalysisInfo info = infoOf(r, start);
            callback(&info, user);
        };
    const SearchResult r = analysisSearch().think(board, limits);
    if (callback) {
        const KumoAnalysisInfo info = infoOf(r, start);
        callback(&info, user);
    }
    return r.move >= 0 && r.move < 225 ? r.move : Failure;
}

KUMO98_EXPORT void StopAnalysis(void) { stopEpoch().fetch_add(1); }

KUMO98_EXPORT int FindForcedWin(int count, const unsigned char *moves, int timeMs, unsigned char *line, int maxLine,
                                int *lineLength)
{
    const unsigned epoch = stopEpoch().load();
    KumoBoard board;
    if (!loadPosition(board, count, moves) || timeMs < 0 || maxLine < 0 || (maxLine > 0 && !line) || !lineLength)
        return Failure;
    // Its own small search: it may run beside Analyse and the move entries.
    KumoSearch search(16);
    const ForcedWin win = search.findForcedWin(
        board, std::max(1, timeMs), [epoch] { return stopEpoch().load(std::memory_order_relaxed) != epoch; });
    const int n = win.kind ? std::min<int>(maxLine, static_cast<int>(win.line.size())) : 0;
    for (int i = 0; i < n; ++i)
        line[i] = static_cast<unsigned char>(win.line[static_cast<size_t>(i)]);
    *lineLength = n;
    return win.kind;
}
