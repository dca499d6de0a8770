#pragma once
// The judge's classification codes: their labels, values and the predicates
// that decide game end, sound, warnings and the input assistant.

#include <cstdint>

namespace korvana {

/// Classification code 0..23 of a stone on a point.
using POS_STAT = uint8_t;

namespace Stat {
inline constexpr POS_STAT Overline = 0; ///< White six or more
inline constexpr POS_STAT Five = 1;
inline constexpr POS_STAT StraightFour = 2;
inline constexpr POS_STAT DoubleFour = 3; ///< White only
inline constexpr POS_STAT FourThree = 4;
inline constexpr POS_STAT Nothing = 20;
inline constexpr POS_STAT NgDoubleThree = 21;
inline constexpr POS_STAT NgDoubleFour = 22;
inline constexpr POS_STAT NgOverline = 23;
inline constexpr int Count = 24;

/// A band of codes that falls by one for each two on the other lines: `bare` is the shape
/// alone, `most` the shape with the most twos beside it.
struct Band {
    POS_STAT most;
    POS_STAT bare;
    constexpr bool contains(int c) const { return c >= most && c <= bare; }
    constexpr POS_STAT withTwos(int twos) const { return static_cast<POS_STAT>(bare - twos); }
};
inline constexpr Band FourBand{5, 8};
inline constexpr Band DoubleThreeBand{9, 11}; ///< White only
inline constexpr Band ThreeBand{12, 15};
inline constexpr Band NothingBand{16, Nothing};
} // namespace Stat

/// Move-list and game-over text of a code (empty for 16..20 and unknown codes).
const char *label(int code);
/// Overlay value of a code; 0 for unknown codes.
int pointValue(int code);

constexpr bool isWin(int c) { return c <= Stat::Five; }
constexpr bool isGameEnd(int c) { return c < Stat::StraightFour || c > Stat::Nothing; }
constexpr bool isDecisive(int c) { return c <= Stat::DoubleFour; }
constexpr bool isUrgent(int c) { return c <= Stat::FourThree; }
constexpr bool isWarning(int c)
{
    return c == Stat::Overline || c == Stat::Five || c == Stat::DoubleFour || c == Stat::FourThree ||
           Stat::DoubleThreeBand.contains(c);
}
constexpr bool isQuiet(int c) { return Stat::NothingBand.contains(c); }
constexpr bool isPlainFour(int c) { return Stat::FourBand.contains(c); }
constexpr bool isForbidden(int c) { return c >= Stat::NgDoubleThree && c <= Stat::NgOverline; }

} // namespace korvana
