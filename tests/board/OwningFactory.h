#pragma once
// A move factory for board tests that have no game record to own the moves.

#include "board/BanMoveFactory.h"

#include <memory>
#include <vector>

namespace korvana::test {

/// Keeps every move it makes alive for the whole test.
struct OwningFactory : BanMoveFactory {
    std::vector<std::unique_ptr<BanMove>> made;
    BanMove *createMove(int x, int y, char colour, BanMove *) override
    {
        made.push_back(std::make_unique<BanMove>(x, y, colour));
        return made.back().get();
    }
};

} // namespace korvana::test
