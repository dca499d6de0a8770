#pragma once
// ThinkingLevel: how wide and how deep the built-in search looks.

#include "board/tvector.h"

#include <cstdint>
#include <initializer_list>

namespace korvana {

class ThinkingLevel {
public:
    static constexpr int WidthCount = 20;

    /// Level 1.
    ThinkingLevel();
    /// `widths` fill the first entries; the rest get 1.
    ThinkingLevel(int32_t depth, int32_t hashSize, std::initializer_list<int> widths);
    ThinkingLevel(const ThinkingLevel &) = default;
    ThinkingLevel &operator=(const ThinkingLevel &) = default;
    virtual ~ThinkingLevel() = default;

    /// The preset levels 1..5 made at start-up; any other number gives level 1.
    static const ThinkingLevel &preset(int level);

    tvector<int> widths;     ///< widths[d]: successors made at most for a node of depth d
    int32_t depth = 4;       ///< nodes of this depth are evaluated, not expanded
    int32_t hashSize = 5003; ///< chains of each PhaseHash
};

} // namespace korvana
