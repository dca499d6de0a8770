#pragma once
// Points, colours and the two fixed orderings of the board.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace korvana {

inline constexpr int BoardSize = 15;
inline constexpr int PointCount = 225;
inline constexpr uint8_t NoPoint = 225;     ///< "no point" inside the program
inline constexpr uint8_t NoPointCode = 255; ///< "no point" between threads and the engine library
inline constexpr uint8_t Centre = 112;

inline constexpr char Black = 'B';
inline constexpr char White = 'W';
inline constexpr char Empty = '+';
inline constexpr char OffBoard = '*';

/// Column letters then row characters; shared by the move list, axis labels and clipboard text.
inline constexpr char AxisCharacters[] = "abcdefghijklmno123456789ABCDEF";

constexpr uint8_t pointOf(int x, int y) { return static_cast<uint8_t>(x + BoardSize * y); }
constexpr int pointX(int point) { return point % BoardSize; }
constexpr int pointY(int point) { return point / BoardSize; }
constexpr bool onBoard(int x, int y) { return x >= 0 && x < BoardSize && y >= 0 && y < BoardSize; }
constexpr char otherColour(char colour) { return colour == Black ? White : Black; }
/// Colour of the next move after `count` moves: Black moves first.
constexpr char colourToMove(int count) { return (count & 1) ? White : Black; }

/// Written form of a point, e.g. "h8"; empty for a point off the board.
std::string writtenPoint(int x, int y);
std::string writtenPoint(int point);
/// Parses a written point ("h8", "oF"); false when it is not one.
bool parseWrittenPoint(const std::string &text, int &x, int &y);

/// One point with a colour.
struct Pos {
    uint8_t x = 0;
    uint8_t y = 0;
    char colour = Black;
    bool operator==(const Pos &) const = default;
};
using PosList = std::vector<Pos>;

/// The 225 points from the centre outward in a spiral (east, north, west, south).
const std::array<uint8_t, PointCount> &spiralOrder();

/// The eight board symmetries; kind is 0..7.
int symmetryTransform(int kind, int point);
int inverseSymmetryTransform(int kind, int point);

} // namespace korvana
