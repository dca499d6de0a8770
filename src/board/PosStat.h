#pragma once
// The judge's classification codes: their labels, values and the predicates
// that decide game end, sound, warnings and the input assistant.

#include <cstdint>

namespace korvana {

/// Classification code 0..23 of a stone on a point.
using POS_STAT = uint8_t;

namespace Stat {
inline constexpr POS_STAT Overline = 0;      ///< White six or more
inline constexpr POS_STAT Five = 1;
inline constexpr POS_STAT StraightFour = 2;
inline constexpr POS_STAT DoubleFour = 3;    ///< White only
inline constexpr POS_STAT FourThree = 4;
inline constexpr POS_STAT Nothing = 20;
inline constexpr POS_STAT NgDoubleThree = 21;
inline constexpr POS_STAT NgDoubleFour = 22;
inline constexpr POS_STAT NgOverline = 23;
inline constexpr int Count = 24;
} // namespace Stat

/// Move-list and game-over text of a code (empty for 16..20 and unknown codes).
const char *label(int code);
/// Overlay value of a code; 0 for unknown codes.
int pointValue(int code);

constexpr bool isWin(int c) { return c <= 1; }
constexpr bool isGameEnd(int c) { return c < 2 || c > 20; }
constexpr bool isDecisive(int c) { return c <= 3; }
constexpr bool isUrgent(int c) { return c <= 4; }
constexpr bool isWarning(int c) { return c == 0 || c == 1 || c == 3 || c == 4 || (c >= 9 && c <= 11); }
constexpr bool isQuiet(int c) { return c >= 16 && c <= 20; }
constexpr bool isPlainFour(int c) { return c >= 5 && c <= 8; }
constexpr bool isForbidden(int c) { return c >= 21 && c <= 23; }

} // namespace korvana
