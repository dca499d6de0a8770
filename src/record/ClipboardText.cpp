#include "record/ClipboardText.h"

#include "board/Point.h"

namespace korvana {

namespace {

/// Row character of y: '1'..'9', then 'A'..'F'.
char rowCharacter(int y)
{
    return AxisCharacters[BoardSize + y];
}

/// The point of a token starting at i, or -1 when no token starts there.
int tokenAt(std::string_view text, size_t i)
{
    if (i + 2 >= text.size() || text[i + 2] != ',')
        return -1;
    const char column = text[i];
    const char row = text[i + 1];
    if (column < 'a' || column > 'o')
        return -1;
    int y;
    if (row >= '1' && row <= '9')
        y = row - '1';
    else if (row >= 'A' && row <= 'F')
        y = row - 'A' + 9;
    else
        return -1;
    return pointOf(column - 'a', y);
}

bool terminatorAt(std::string_view text, size_t i)
{
    const std::string_view rest = text.substr(i, 3);
    return rest == "**," || rest == "xx," || rest == "XX,";
}

} // namespace

std::string ClipboardText::CopyText(const BanHistory &history)
{
    std::string text;
    text.reserve(3 * static_cast<size_t>(history.count()) + 3);
    for (const MovedPos &m : history.moves()) {
        text += static_cast<char>('a' + m.x);
        text += rowCharacter(m.y);
        text += ',';
    }
    text += "**,";
    return text;
}

bool ClipboardText::ParseText(std::string_view text, BanHistory &moves)
{
    moves = BanHistory();
    size_t i = 0;
    while (i < text.size() && tokenAt(text, i) < 0)
        ++i;
    if (i >= text.size())
        return false;
    while (i < text.size()) {
        const int point = tokenAt(text, i);
        if (point >= 0) {
            // No game has more moves than points; a longer text only repeats points.
            if (moves.count() < PointCount)
                moves.appendPoint(point);
            i += 3;
        } else if (terminatorAt(text, i)) {
            return true;
        } else {
            ++i;
        }
    }
    return false;
}

} // namespace korvana
