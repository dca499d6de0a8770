#pragma once
// ADataElement: one candidate move of a stored position.

#include "board/tvector.h"

#include <cstdint>

namespace korvana {

/// One candidate move: a point and the number stored with it in the file.
struct ADataElement {
    uint8_t point = 15; ///< x + 15 * y; 15 is the placeholder until the element is filled
    int32_t value = 0;  ///< carried through the file untouched; 0 for moves the program adds
    bool operator==(const ADataElement &) const = default;
};

/// Candidates in order: the order of the letters on the board and of the file.
using VectorADataElement = tvector<ADataElement>;

} // namespace korvana

/// A bad candidate index hands out the placeholder element.
template <> struct tvectorScratch<korvana::ADataElement> {
    static korvana::ADataElement make() { return korvana::ADataElement{15, 0}; }
};
