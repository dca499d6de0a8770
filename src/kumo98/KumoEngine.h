#pragma once
// KumoEngine: the answers the engine library gives, on top of KumoSearch:
// a move, and the four opening-protocol decisions.

#include "kumo98/KumoSearch.h"

#include <cstdint>
#include <mutex>

namespace korvana::kumo {

class KumoEngine {
public:
    /// A transposition table of 2^tableBits entries (16 bytes each).
    explicit KumoEngine(int tableBits = 22);

    /// Builds `board` from point codes in playing order; false when a code is
    /// off the board or repeated, or count is outside 0..225.
    static bool loadMoves(KumoBoard &board, const unsigned char *moves, int count);

    /// The move budget in milliseconds: KUMO98_MOVE_TIME_MS from the
    /// environment (10..600000), else the time the program set, else 1000.
    static int moveTimeMs();
    /// The program's own choice of move time; out of 10..600000 restores 1000.
    static void setMoveTimeMs(int ms);

    /// Best move for the side to move, within `timeMs`.
    SearchResult bestMove(KumoBoard &board, int timeMs);
    /// An opening index 0..25, varied from call to call.
    int chooseOpening();
    /// After three opening stones: 'B' when Black is the better side to take, else 'W'.
    char whichColour(KumoBoard &board, int timeMs);
    /// After four stones: Black's two best fifth moves, different, empty and not forbidden.
    bool showTwoPoints(KumoBoard &board, int timeMs, int &first, int &second);
    /// After four stones: which of Black's two proposals (a or b) White should remove, i.e. the stronger.
    int whichRemove(KumoBoard &board, int a, int b, int timeMs);

    KumoSearch &search() { return search_; }

private:
    KumoSearch search_;
    uint32_t seed_;
};

} // namespace korvana::kumo
