// The six entries of libkumo98.so. Every entry validates its move buffer
// (codes 0..224, no repeats) and answers 255 on bad input without writing its
// out arguments; calls are serialised, so any thread may call.
//
// How many codes each entry reads: Thinking is told the count. The opening
// entries are asked at fixed points of the protocol, so the count follows from
// the request: ThinkingWhichColor after the three opening stones (3 codes),
// ThinkingShowTwoPoint after White's fourth move (4 codes), and
// ThinkingWhichRemove also after four moves (4 codes): the two proposed fifth
// moves are not in the game record; they come as the two byte arguments.
#include "kumo98/KumoEngine.h"

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

KUMO98_EXPORT int ThinkingWhichRemove(unsigned char *moves, unsigned char a, unsigned char b, unsigned char *out, int /*zero*/)
{
    std::lock_guard<std::mutex> lock(engineMutex());
    KumoBoard board;
    if (!out || !KumoEngine::loadMoves(board, moves, 4) || a >= 225 || b >= 225 || !board.isEmpty(a) || !board.isEmpty(b))
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
