// Clipboard text parser on any bytes: what parses must copy back to text that parses
// to the same points, and so must the same moves written as a numbered move list.

#include "record/ClipboardText.h"

#include "board/Point.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace korvana;

namespace {

/// Points only: an SGF record may give two moves of one colour, which the text cannot carry.
bool samePoints(const BanHistory &a, const BanHistory &b)
{
    if (a.count() != b.count())
        return false;
    for (int i = 0; i < a.count(); ++i) {
        if (a[i].x != b[i].x || a[i].y != b[i].y)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    BanHistory moves;
    if (!ClipboardText::ParseText(text, moves))
        return 0;
    if (moves.count() == 0 || moves.count() > 225)
        std::abort();
    BanHistory again;
    if (!ClipboardText::ParseText(ClipboardText::CopyText(moves), again) || !samePoints(again, moves))
        std::abort();
    // "1. h8 i9\n2.H10 ...": numbers, both cases and rows as numbers.
    std::string list;
    for (int i = 0; i < moves.count(); ++i) {
        if (i % 2 == 0)
            list += std::to_string(i / 2 + 1) + (size % 2 ? ". " : ".");
        list += static_cast<char>((i % 3 ? 'a' : 'A') + moves[i].x);
        list += std::to_string(moves[i].y + 1);
        list += i % 2 ? "\n" : " ";
    }
    BanHistory listed;
    if (!ClipboardText::ParseText(list, listed) || !samePoints(listed, moves))
        std::abort();
    return 0;
}
