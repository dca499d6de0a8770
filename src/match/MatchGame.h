#pragma once
// MatchGame: one game between two Gomocup engines from a three-stone opening,
// with a per-move time limit, judged by MatchReferee.

#include "match/EngineProcess.h"
#include "match/MatchReferee.h"

#include <string>
#include <vector>

namespace korvana::match {

/// How a game ended.
struct GameResult {
    int winner = -1;            ///< 0 Black, 1 White, -1 draw
    std::string reason;         ///< e.g. "five", "forbidden move d5 (double three)", "time-out"
    std::vector<uint8_t> moves; ///< every stone, opening included
};

struct MatchGameSettings {
    int moveTimeMs = 1000;      ///< told to the engines as timeout_turn
    int graceMs = 500;          ///< extra wait before a move counts as a time-out
    int startTimeoutMs = 10000; ///< for START to be answered
};

class MatchGame {
public:
    MatchGame(EngineProcess &black, EngineProcess &white, const MatchGameSettings &settings)
        : engines_{&black, &white}, settings_(settings)
    {}

    /// Plays from the opening stones (in order, Black first) to the end.
    GameResult play(const std::vector<uint8_t> &opening);

    /// SGF text of a finished game.
    static std::string toSgf(const GameResult &result, const std::string &blackName, const std::string &whiteName,
                             const std::string &openingName);

private:
    bool start(int side, std::string &why);
    /// The engine's move, or -1 with `why` set.
    int ask(int side, const MatchReferee &referee, std::string &why);

    EngineProcess *engines_[2];
    MatchGameSettings settings_;
    bool hasBoard_[2] = {false, false}; ///< the engine has been sent the position once
};

} // namespace korvana::match
