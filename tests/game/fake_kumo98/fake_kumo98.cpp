// A stand-in engine library for the tests: the six entries answer from a
// script the test sets through the FakeKumo* controls, and remember what they
// were given; the analysis entries report made-up progress. Built as a
// partial library too, without `Thinking` and the analysis entries.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>

#define EXPORT extern "C" __attribute__((visibility("default")))

namespace {

struct Answer {
    int result = 0;
    int out1 = 0;
    int out2 = 0;
    int delayMs = 0;
};

std::mutex mutex;
std::deque<Answer> script[6]; // by entry: 0 Thinking .. 5 About
Answer fallback[6];
int calls[6];
int lastCount = -1;
uint8_t lastMoves[228];
uint8_t lastCodeA = 0, lastCodeB = 0;

Answer next(int entry)
{
    Answer a;
    {
        std::lock_guard<std::mutex> lock(mutex);
        ++calls[entry];
        if (script[entry].empty()) {
            a = fallback[entry];
        } else {
            a = script[entry].front();
            script[entry].pop_front();
        }
    }
    if (a.delayMs > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(a.delayMs));
    return a;
}

void remember(const uint8_t *moves, int count)
{
    std::lock_guard<std::mutex> lock(mutex);
    lastCount = count;
    std::memcpy(lastMoves, moves, sizeof lastMoves);
}

} // namespace

// --- controls ---

EXPORT void FakeKumoReset()
{
    std::lock_guard<std::mutex> lock(mutex);
    for (int i = 0; i < 6; ++i) {
        script[i].clear();
        fallback[i] = Answer{};
        calls[i] = 0;
    }
    lastCount = -1;
    std::memset(lastMoves, 0xee, sizeof lastMoves);
}

/// Queues one answer for an entry (0 Thinking, 1 WhichRemove, 2 ShowTwoPoint,
/// 3 WhichColor, 4 SelectOpeningPattern, 5 About).
EXPORT void FakeKumoQueue(int entry, int result, int out1, int out2, int delayMs)
{
    std::lock_guard<std::mutex> lock(mutex);
    script[entry].push_back(Answer{result, out1, out2, delayMs});
}

EXPORT int FakeKumoCalls(int entry)
{
    std::lock_guard<std::mutex> lock(mutex);
    return calls[entry];
}

/// The move count the last Thinking call got (-1: none) and its buffer.
EXPORT int FakeKumoLastMoves(uint8_t *out)
{
    std::lock_guard<std::mutex> lock(mutex);
    std::memcpy(out, lastMoves, sizeof lastMoves);
    return lastCount;
}

EXPORT int FakeKumoLastProposals()
{
    std::lock_guard<std::mutex> lock(mutex);
    return lastCodeA * 256 + lastCodeB;
}

// --- the library's entries ---

#ifndef FAKE_KUMO_PARTIAL
EXPORT int Thinking(int count, uint8_t *moves, int)
{
    remember(moves, count);
    return next(0).result;
}
#endif

EXPORT int ThinkingWhichRemove(uint8_t *moves, uint8_t codeA, uint8_t codeB, uint8_t *removed, int)
{
    remember(moves, -2);
    {
        std::lock_guard<std::mutex> lock(mutex);
        lastCodeA = codeA;
        lastCodeB = codeB;
    }
    const Answer a = next(1);
    *removed = static_cast<uint8_t>(a.out1);
    return a.result;
}

EXPORT int ThinkingShowTwoPoint(uint8_t *moves, uint8_t *first, uint8_t *second, int)
{
    remember(moves, -3);
    const Answer a = next(2);
    *first = static_cast<uint8_t>(a.out1);
    *second = static_cast<uint8_t>(a.out2);
    return a.result;
}

EXPORT int ThinkingWhichColor(uint8_t *moves, char *colour, int)
{
    remember(moves, -4);
    const Answer a = next(3);
    *colour = static_cast<char>(a.out1);
    return a.result;
}

EXPORT int ThinkingSelectOpeningPattern(uint8_t *index, int)
{
    const Answer a = next(4);
    *index = static_cast<uint8_t>(a.out1);
    return a.result;
}

EXPORT int About(char *text)
{
    next(5);
    std::strncpy(text, "fake kumo98", 255);
    text[255] = '\0';
    return 0;
}

// --- analysis: reports every few milliseconds until stopped or out of time ---

#ifndef FAKE_KUMO_PARTIAL
#include "kumo98/KumoAnalysisApi.h"

namespace {

std::atomic<bool> analysisStop{false};
std::atomic<int> analysing{0};
std::atomic<int> mostAtOnce{0};
std::atomic<int> analyseCalls{0};
std::atomic<int> reportEveryMs{20};
std::atomic<int> moveTimeSet{-1};
int analysedCount = -1;
uint8_t analysedMoves[228];
int forcedResult = 0;
int forcedDelayMs = 0;
std::deque<uint8_t> forcedLine;
int forcedCalls = 0;
int forcedTimeMs = -1;

bool validMoves(int count, const uint8_t *moves)
{
    bool seen[225] = {};
    for (int i = 0; i < count; ++i) {
        if (moves[i] >= 225 || seen[moves[i]])
            return false;
        seen[moves[i]] = true;
    }
    return count >= 0 && count < 225;
}

// Waits `ms` unless a stop comes first; true when stopped.
bool waitOrStop(int ms)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < until) {
        if (analysisStop.load())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return analysisStop.load();
}

} // namespace

/// Report interval of Analyse in milliseconds.
EXPORT void FakeKumoReportEvery(int ms) { reportEveryMs.store(ms); }

/// Analyse calls so far, the most that ran at once and how many run now.
EXPORT int FakeKumoAnalyseCalls(int *mostConcurrent, int *runningNow)
{
    *mostConcurrent = mostAtOnce.load();
    *runningNow = analysing.load();
    return analyseCalls.load();
}

EXPORT void FakeKumoResetAnalysis()
{
    std::lock_guard<std::mutex> lock(mutex);
    analysisStop.store(false);
    moveTimeSet.store(-1);
    mostAtOnce.store(0);
    analyseCalls.store(0);
    reportEveryMs.store(20);
    analysedCount = -1;
    forcedResult = 0;
    forcedDelayMs = 0;
    forcedLine.clear();
    forcedCalls = 0;
    forcedTimeMs = -1;
}

EXPORT int FakeKumoAnalysedMoves(uint8_t *out)
{
    std::lock_guard<std::mutex> lock(mutex);
    std::memcpy(out, analysedMoves, sizeof analysedMoves);
    return analysedCount;
}

/// The next FindForcedWin answers `result` with `line` after `delayMs` (unless stopped).
EXPORT void FakeKumoForcedWin(int result, const uint8_t *line, int length, int delayMs)
{
    std::lock_guard<std::mutex> lock(mutex);
    forcedResult = result;
    forcedDelayMs = delayMs;
    forcedLine.assign(line, line + length);
}

/// FindForcedWin calls so far and the time limit the last one got.
EXPORT int FakeKumoForcedWinCalls(int *timeMs)
{
    std::lock_guard<std::mutex> lock(mutex);
    *timeMs = forcedTimeMs;
    return forcedCalls;
}

EXPORT int Analyse(int count, const unsigned char *moves, int timeMs, KumoAnalysisCallback callback, void *user)
{
    ++analyseCalls;
    const int now = ++analysing;
    for (int most = mostAtOnce.load(); now > most && !mostAtOnce.compare_exchange_weak(most, now);) {
    }
    struct Leave {
        ~Leave() { --analysing; }
    } leave;
    if (now > 1)
        return 255; // one at a time
    analysisStop.store(false);
    if (!validMoves(count, moves))
        return 255;
    {
        std::lock_guard<std::mutex> lock(mutex);
        analysedCount = count;
        if (count > 0) // an empty board may come as a null buffer
            std::memcpy(analysedMoves, moves, static_cast<size_t>(count));
    }
    // The candidates are the first free points; the line starts with the best.
    bool taken[225] = {};
    for (int i = 0; i < count; ++i)
        taken[moves[i]] = true;
    KumoAnalysisInfo info{};
    for (int p = 0; p < 225 && info.candidateCount < 3; ++p)
        if (!taken[p]) {
            info.candidates[info.candidateCount] = static_cast<unsigned char>(p);
            info.candidateScores[info.candidateCount] = 100 - 10 * info.candidateCount;
            ++info.candidateCount;
        }
    if (info.candidateCount == 0)
        return 255;
    info.pvLength = info.candidateCount;
    std::memcpy(info.pv, info.candidates, sizeof info.candidates);
    const auto start = std::chrono::steady_clock::now();
    for (;;) {
        const bool stopped = waitOrStop(reportEveryMs.load());
        info.elapsedMs = static_cast<int>(
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count());
        ++info.depth;
        info.nodes += 1000;
        info.score = info.depth;
        info.winPermille = 500 + info.depth;
        callback(&info, user);
        if (stopped || analysisStop.load() || (timeMs > 0 && info.elapsedMs >= timeMs))
            break;
    }
    return info.candidates[0];
}

/// The last time SetMoveTime got (-1: none).
EXPORT int FakeKumoMoveTime() { return moveTimeSet.load(); }

EXPORT void SetMoveTime(int ms) { moveTimeSet.store(ms); }

EXPORT void StopAnalysis() { analysisStop.store(true); }

EXPORT int FindForcedWin(int count, const unsigned char *moves, int timeMs, unsigned char *line, int maxLine,
                         int *lineLength)
{
    int result, delayMs;
    std::deque<uint8_t> answer;
    {
        std::lock_guard<std::mutex> lock(mutex);
        ++forcedCalls;
        forcedTimeMs = timeMs;
        result = forcedResult;
        delayMs = forcedDelayMs;
        answer = forcedLine;
    }
    analysisStop.store(false);
    if (!validMoves(count, moves))
        return 255;
    if (waitOrStop(delayMs))
        return 0;
    *lineLength = 0;
    for (uint8_t code : answer)
        if (*lineLength < maxLine)
            line[(*lineLength)++] = code;
    return result;
}
#endif
