#pragma once
// MatchReferee: judges each move of a match game with the project's Renju
// judge: five wins, White's overline wins, Black's forbidden moves and
// moves on taken or off-board points lose, a full board is a draw.

#include "board/BanArray.h"

#include <cstdint>
#include <vector>

namespace korvana::match {

enum class Verdict {
    Continue,  ///< the game goes on
    Five,      ///< the mover made five (for White also six or more): the mover wins
    Forbidden, ///< Black's double three, double four or overline: Black loses
    Illegal,   ///< off the board or on a taken point: the mover loses
    Draw,      ///< the board is full
};

class MatchReferee {
public:
    MatchReferee() = default;
    /// Empty board.
    void reset();
    /// Plays the side to move at `point` and judges it. After a verdict other
    /// than Continue the move is kept on the board unless Illegal.
    Verdict play(int point);

    const BanArray &board() const { return board_; }
    const std::vector<uint8_t> &moves() const { return moves_; }
    /// The judge's code of the last move played (20 before any).
    uint8_t lastCode() const { return lastCode_; }
    /// 'B' or 'W': who moves next.
    char sideToMove() const { return (moves_.size() & 1) ? 'W' : 'B'; }

private:
    BanArray board_;
    std::vector<uint8_t> moves_;
    uint8_t lastCode_ = 20;
};

} // namespace korvana::match
