#pragma once
// ClipboardText: the line of play as short text for other programs: one token per
// move (column letter, row character, comma, e.g. "h8,") and the terminator "**,".

#include "board/BanHistory.h"

#include <string>
#include <string_view>

namespace korvana {

class ClipboardText {
public:
    /// Tokens of every move of `history` in order, then "**,": 3 * n + 3 characters.
    static std::string CopyText(const BanHistory &history);
    /// Reads tokens from the first one on, skipping anything else, until "**,", "xx," or
    /// "XX,". The moves go into `moves` (emptied first) with alternating colours, Black
    /// first, each judged as appended. False when there is no token or no terminator.
    /// Tokens beyond the board's 225 points are read but not kept.
    static bool ParseText(std::string_view text, BanHistory &moves);
};

} // namespace korvana
