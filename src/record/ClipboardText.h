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
    /// Reads a game into `moves` (emptied first), each move judged as appended. Three forms:
    /// - an SGF record (text starting "(;"): its main line, with the record's colours;
    /// - tokens from the first one on, skipping anything else, until "**,", "xx," or "XX,";
    /// - nothing but moves ("h8", "H8", "h12", "hA"), separated by blanks, commas or line
    ///   breaks, each maybe after a move number ("1.h8", "1. h8"); not ending in a comma.
    /// The last two alternate colours, Black first. False when none of them fits. Moves
    /// beyond the board's 225 points are read but not kept.
    static bool ParseText(std::string_view text, BanHistory &moves);

private:
    /// The token form alone.
    static bool parseTokens(std::string_view text, BanHistory &moves);
};

} // namespace korvana
