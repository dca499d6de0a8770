#include "engine/ThinkingLevel.h"

namespace korvana {

ThinkingLevel::ThinkingLevel() : ThinkingLevel(4, 5003, {10, 8, 8, 6}) {}

ThinkingLevel::ThinkingLevel(int32_t d, int32_t chains, std::initializer_list<int> first)
    : widths(WidthCount), depth(d), hashSize(chains)
{
    for (int i = 0; i < WidthCount; ++i)
        widths[i] = 1;
    int i = 0;
    for (int w : first)
        if (i < WidthCount)
            widths[i++] = w;
}

const ThinkingLevel &ThinkingLevel::preset(int level)
{
    // Made before any request, as every request copies one of them.
    static const ThinkingLevel levels[5] = {
        ThinkingLevel(4, 5003, {10, 8, 8, 6}),
        ThinkingLevel(4, 5003, {10, 8, 8, 6}),
        ThinkingLevel(4, 5003, {10, 8, 8, 6}),
        ThinkingLevel(4, 5003, {10, 8, 8, 6}),
        ThinkingLevel(8, 5003, {8, 8, 8, 6, 6, 6, 4, 4, 2}),
    };
    if (level < 1 || level > 5)
        level = 1;
    return levels[level - 1];
}

} // namespace korvana
