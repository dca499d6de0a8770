// A stand-in engine library for the tests: the six entries answer from a
// script the test sets through the FakeKumo* controls, and remember what they
// were given. Built without `Thinking` as a partial library too.
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
