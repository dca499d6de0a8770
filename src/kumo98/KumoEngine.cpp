#include "kumo98/KumoEngine.h"

#include "kumo98/OpeningStones.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <random>

namespace korvana::kumo {

namespace {
constexpr int OpeningDepth = 4; // plies after a proposed fifth move
}

KumoEngine::KumoEngine(int tableBits)
    : search_(tableBits),
      seed_(static_cast<uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^ std::random_device{}())
{}

bool KumoEngine::loadMoves(KumoBoard &board, const unsigned char *moves, int count)
{
    board.reset();
    if (count < 0 || count > 225 || (count > 0 && !moves))
        return false;
    for (int i = 0; i < count; ++i)
        if (moves[i] >= 225 || !board.play(moves[i]))
            return false;
    return true;
}

namespace {
std::atomic<int> chosenMoveTimeMs{1000};
}

int KumoEngine::moveTimeMs()
{
    const char *text = std::getenv("KUMO98_MOVE_TIME_MS");
    if (!text || !*text)
        return chosenMoveTimeMs.load();
    char *end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (*end != '\0' || value < 10 || value > 600000)
        return chosenMoveTimeMs.load();
    return static_cast<int>(value);
}

void KumoEngine::setMoveTimeMs(int ms) { chosenMoveTimeMs.store(ms >= 10 && ms <= 600000 ? ms : 1000); }

SearchResult KumoEngine::bestMove(KumoBoard &board, int timeMs)
{
    SearchLimits limits;
    limits.timeMs = timeMs;
    return search_.think(board, limits);
}

int KumoEngine::chooseOpening()
{
    seed_ = seed_ * 1664525u + 1013904223u;
    return static_cast<int>((seed_ >> 8) % OpeningCount);
}

char KumoEngine::whichColour(KumoBoard &board, int timeMs)
{
    // The score is White's (White plays the fourth stone): take White only when it looks better.
    const SearchResult r = bestMove(board, timeMs);
    const int whiteScore = board.sideToMove() == 1 ? r.score : -r.score;
    return whiteScore > 0 ? 'W' : 'B';
}

bool KumoEngine::showTwoPoints(KumoBoard &board, int timeMs, int &first, int &second)
{
    if (board.sideToMove() != 0)
        return false;
    std::vector<int> moves = search_.candidates(board, 12);
    for (int p = 0; p < 225 && moves.size() < 2; ++p)
        if (board.isEmpty(p) && std::find(moves.begin(), moves.end(), p) == moves.end() && board.isLegal(p, 0))
            moves.push_back(p);
    if (moves.size() < 2)
        return false;
    const std::vector<int> scores = search_.scoreMoves(board, moves, OpeningDepth, timeMs);
    std::vector<size_t> order(moves.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return scores[a] > scores[b]; });
    first = moves[order[0]];
    second = moves[order[1]];
    return true;
}

int KumoEngine::whichRemove(KumoBoard &board, int a, int b, int timeMs)
{
    if (a == b)
        return a;
    const std::vector<int> scores = search_.scoreMoves(board, {a, b}, OpeningDepth, timeMs);
    return scores[1] > scores[0] ? b : a;
}

} // namespace korvana::kumo
