#pragma once
// CliMoves: a position given on the command line as clipboard text ("h8,i8,**,").

#include <cstdint>
#include <string>
#include <vector>

namespace korvana {

class CliMoves {
public:
    /// Whether the text must end its moves with "**,".
    enum class EndMark { Optional, Required };

    /// Points in playing order (Black first) from moves separated by commas, e.g.
    /// "h8,i8,**,"; blanks around a move and empty fields are skipped, "**" ends the
    /// moves and what follows it is ignored. Empty text or "**," alone is the empty board.
    /// False with a one-line reason in `why` on a bad move, a point given twice or, when
    /// `endMark` is Required, a missing end mark.
    static bool parse(const std::string &text, EndMark endMark, std::vector<uint8_t> &points, std::string &why);
};

} // namespace korvana
