#include "record/ClipboardText.h"

#include "board/Point.h"
#include "record/MOveTree.h"

#include <sstream>

namespace korvana {

namespace {

/// Row character of y: '1'..'9', then 'A'..'F'.
char rowCharacter(int y) { return AxisCharacters[BoardSize + y]; }

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

bool isSeparator(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == ','; }

bool isDigit(char c) { return c >= '0' && c <= '9'; }

/// A move written as a column letter (either case) and a row: "h8", "H12", "hA". -1 otherwise.
int movePoint(std::string_view word)
{
    if (word.size() < 2 || word.size() > 3)
        return -1;
    const char column = word[0];
    int x;
    if (column >= 'a' && column <= 'o')
        x = column - 'a';
    else if (column >= 'A' && column <= 'O')
        x = column - 'A';
    else
        return -1;
    const std::string_view row = word.substr(1);
    int y;
    if (row.size() == 1 && row[0] >= 'A' && row[0] <= 'F')
        y = row[0] - 'A' + 9;
    else if (isDigit(row[0]) && row[0] != '0' && (row.size() == 1 || isDigit(row[1])))
        y = (row.size() == 1 ? row[0] - '0' : (row[0] - '0') * 10 + (row[1] - '0')) - 1;
    else
        return -1;
    return y < BoardSize ? pointOf(x, y) : -1;
}

/// Moves separated by blanks, commas or line breaks, each maybe after a move number
/// ("1.h8 2.i9", "1. h8 i9"); nothing else may be in the text.
bool parseMoveList(std::string_view text, BanHistory &moves)
{
    moves = BanHistory();
    size_t i = 0;
    bool commaAtEnd = false;
    while (true) {
        commaAtEnd = false;
        for (; i < text.size() && isSeparator(text[i]); ++i)
            commaAtEnd = commaAtEnd || text[i] == ',';
        if (i >= text.size())
            break;
        size_t end = i;
        while (end < text.size() && !isSeparator(text[end]))
            ++end;
        std::string_view word = text.substr(i, end - i);
        i = end;
        size_t digits = 0;
        while (digits < word.size() && isDigit(word[digits]))
            ++digits;
        if (digits > 0) {
            size_t dots = digits;
            while (dots < word.size() && word[dots] == '.')
                ++dots;
            if (dots == digits)
                return false; // a bare number is no move
            word.remove_prefix(dots);
            if (word.empty())
                continue;
        }
        const int point = movePoint(word);
        if (point < 0)
            return false;
        if (moves.count() < PointCount)
            moves.appendPoint(point);
    }
    // "h8, i8," is the short form cut before its end mark: part of a game, not a whole one.
    return moves.count() > 0 && !commaAtEnd;
}

/// The main line of a pasted SGF record, with the colours it gives.
bool parseSgfRecord(std::string_view text, BanHistory &moves)
{
    const size_t open = text.find_first_not_of(" \t\r\n");
    if (open == std::string_view::npos || text[open] != '(')
        return false;
    const size_t node = text.find_first_not_of(" \t\r\n", open + 1);
    if (node == std::string_view::npos || text[node] != ';')
        return false;
    MOveTree tree;
    std::istringstream in{std::string(text)};
    if (!tree.ReadSgf(in))
        return false;
    while (tree.Forward())
        ;
    moves = tree.board().history();
    return moves.count() > 0;
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
    if (parseSgfRecord(text, moves) || parseTokens(text, moves))
        return true;
    return parseMoveList(text, moves);
}

bool ClipboardText::parseTokens(std::string_view text, BanHistory &moves)
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
