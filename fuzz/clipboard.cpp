// Clipboard text parser on any bytes: what parses must copy back to text that parses
// to the same moves.

#include "record/ClipboardText.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

using namespace korvana;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    BanHistory moves;
    if (!ClipboardText::ParseText(std::string_view(reinterpret_cast<const char *>(data), size), moves))
        return 0;
    if (moves.count() == 0 || moves.count() > 225)
        std::abort();
    const std::string text = ClipboardText::CopyText(moves);
    BanHistory again;
    if (!ClipboardText::ParseText(text, again) || again.moves() != moves.moves())
        std::abort();
    return 0;
}
