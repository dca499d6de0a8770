#pragma once
// The four value tables of the search, indexed by a POS_STAT code.
// Ordering tables rank candidate moves; evaluation tables value a position.

#include <cstdint>

namespace korvana::SearchTables {

inline constexpr int16_t OrderingOwn[24] = {0,  0,  1000, 800, 100, 14, 12, 10, 8, 28,    26,    24,
                                            22, 16, 12,   10,  10,  8,  6,  4,  0, -1000, -1000, -1000};
inline constexpr int16_t OrderingOther[24] = {0,  0,  600, 400, 50, 12, 10, 8, 6, 24, 22, 20,
                                              20, 14, 10,  8,   8,  6,  4,  2, 0, 8,  8,  8};
inline constexpr int16_t EvaluationOwn[24] = {1000, 1000, 150, 110, 50, 16, 14, 12, 10, 30, 28, 26,
                                              18,   16,   14,  12,  5,  4,  3,  2,  0,  0,  0,  0};
inline constexpr int16_t EvaluationOther[24] = {800, 800, 100, 90, 40, 14, 12, 10, 8, 24, 22, 20,
                                                16,  14,  12,  10, 4,  3,  2,  1,  0, 0,  0,  0};

/// Table index of a code; anything outside 0..23 reads as "nothing" (20).
constexpr int index(unsigned code) { return code < 24 ? static_cast<int>(code) : 20; }

} // namespace korvana::SearchTables
