#pragma once
// OpeningTable: the 26 named openings of the WC1998 rule, each three stones.

#include "game/ThinkResult.h"

#include <array>

namespace korvana {

class OpeningTable {
public:
    static constexpr int Count = 26;

    struct Opening {
        char shortName[9];    ///< the name cut to 8 characters
        char name[33];        ///< the whole name
        ThinkPoint stones[3]; ///< first, second and third stone with their colours
    };

    OpeningTable();
    /// The program's table.
    static const OpeningTable &instance();

    /// Entry `index`; null outside 0..25.
    const Opening *at(int index) const;

private:
    std::array<Opening, Count> openings_{};
};

} // namespace korvana
