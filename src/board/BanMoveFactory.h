#pragma once
// BanMoveFactory: how the game board gets a new move without knowing who owns it.

#include "board/BanMove.h"

namespace korvana {

class BanMoveFactory {
public:
    /// A new move (x, y, colour) that will follow `parent`; the factory's owner keeps it alive
    /// for as long as the board may point at it. Never null.
    virtual BanMove *createMove(int x, int y, char colour, BanMove *parent) = 0;

protected:
    ~BanMoveFactory() = default;
};

} // namespace korvana
