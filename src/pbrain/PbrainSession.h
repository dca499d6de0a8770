#pragma once
// PbrainSession: the Gomocup (Piskvork) protocol on text lines. Each input
// line goes to handleLine, which writes the replies; the board is 15 x 15.

#include "pbrain/PbrainEngine.h"

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace korvana::pbrain {

class PbrainSession {
public:
    /// Drives `engine`, which is borrowed.
    explicit PbrainSession(PbrainEngine &engine) : engine_(engine) {}

    /// Handles one line of input (without its newline); false after END.
    bool handleLine(const std::string &line, std::ostream &out);

    /// The move budget for the next move, from the INFO values.
    int moveBudgetMs() const;
    /// Stones in playing order (Black first).
    const std::vector<uint8_t> &moves() const { return moves_; }
    /// True when the INFO rule asked for Renju.
    bool renju() const { return renju_; }

private:
    void reply(std::ostream &out);
    void finishBoard(std::ostream &out);
    bool parsePoint(const std::string &text, int &point) const;

    PbrainEngine &engine_;
    bool started_ = false;
    bool inBoard_ = false;
    std::vector<uint8_t> moves_;
    std::vector<uint8_t> boardOwn_, boardOther_; ///< BOARD stones by side, in the order given
    int timeoutTurn_ = -1;   ///< ms; -1 when not given
    int64_t timeLeft_ = -1;  ///< ms; -1 when not given
    int64_t timeoutMatch_ = -1;
    bool renju_ = false;
};

} // namespace korvana::pbrain
