#pragma once
// LinePattern: what a stone on a point makes along one line, read from the
// five cells on either side. One table per colour, built once per process.

#include <cstdint>

namespace korvana::kumo {

/// Shapes along one line, weakest first. Black's shapes ignore the rule's
/// finer points (a three whose four point is forbidden is still F3 here);
/// forbidden-move decisions are left to the judge.
enum LinePattern : uint8_t {
    P_None,
    P_B1, ///< one more stone makes at most a closed two
    P_F1,
    P_B2, ///< closed two
    P_F2, ///< open two
    P_B3, ///< closed three: one more stone makes a four
    P_F3, ///< open three: one more stone makes a straight four
    P_B4, ///< four: exactly one point completes a five
    P_F4, ///< two or more completion points (straight four, in-line double four)
    P_Five,
    P_Overline, ///< Black six or more (forbidden unless a five stands elsewhere)
    P_Count
};

/// Cell codes of the line keys: two bits per cell.
enum : uint8_t { CellEmpty = 0, CellBlack = 1, CellWhite = 2, CellOff = 3 };

/// Bits of a line key: cells at steps -5..-1 then +1..+5, two bits each.
inline constexpr int KeyBits = 20;
/// Shift of the cell at step k (k in -5..-1, 1..5) within a line key.
constexpr int keyShift(int k) { return 2 * (k < 0 ? k + 5 : k + 4); }

/// Pattern of a stone of `colour` (0 Black, 1 White) on the empty centre of a line key.
uint8_t linePattern(int colour, uint32_t key);

/// The table of one colour (2^20 entries); stays valid for the process's life.
const uint8_t *linePatternTable(int colour);

/// Both colours in one table (Black's pattern in the low four bits, White's in
/// the high four): one memory access per key instead of two, half the cache footprint.
const uint8_t *linePairTable();

} // namespace korvana::kumo
