#pragma once
// The 26 named Renju openings: Black at the centre, White beside or diagonal
// to it, and Black's third stone.

#include <array>
#include <cstdint>

namespace korvana::kumo {

struct OpeningStones {
    const char *name;
    uint8_t stones[3]; ///< point codes in playing order
};

constexpr uint8_t openingPoint(int x, int y) { return static_cast<uint8_t>(x + 15 * y); }

inline constexpr int OpeningCount = 26;

/// Indexed 0..25: 0..11 and 24 start with the diagonal White stone, the rest with the direct one.
inline constexpr std::array<OpeningStones, OpeningCount> Openings = {{
    {"CHOSEI", {112, openingPoint(8, 6), openingPoint(9, 5)}},
    {"KYOGETSU", {112, openingPoint(8, 6), openingPoint(9, 6)}},
    {"KOSEI", {112, openingPoint(8, 6), openingPoint(9, 7)}},
    {"SUIGETSU", {112, openingPoint(8, 6), openingPoint(9, 8)}},
    {"RYUSEI", {112, openingPoint(8, 6), openingPoint(9, 9)}},
    {"UNGETSU", {112, openingPoint(8, 6), openingPoint(8, 7)}},
    {"URATSUKI", {112, openingPoint(8, 6), openingPoint(8, 8)}},
    {"ARASHITSUKI", {112, openingPoint(8, 6), openingPoint(8, 9)}},
    {"GINGETSU", {112, openingPoint(8, 6), openingPoint(7, 8)}},
    {"MYOJYO", {112, openingPoint(8, 6), openingPoint(7, 9)}},
    {"SYAGETSU", {112, openingPoint(8, 6), openingPoint(6, 8)}},
    {"MEIGETSU", {112, openingPoint(8, 6), openingPoint(6, 9)}},
    {"KANSEI", {112, openingPoint(7, 6), openingPoint(7, 5)}},
    {"KEIGETSU", {112, openingPoint(7, 6), openingPoint(8, 5)}},
    {"SOSEI", {112, openingPoint(7, 6), openingPoint(9, 5)}},
    {"KAGETSU", {112, openingPoint(7, 6), openingPoint(8, 6)}},
    {"ZANGETSU", {112, openingPoint(7, 6), openingPoint(9, 6)}},
    {"UGETSU", {112, openingPoint(7, 6), openingPoint(8, 7)}},
    {"KINSEI", {112, openingPoint(7, 6), openingPoint(9, 7)}},
    {"SYOGETSU", {112, openingPoint(7, 6), openingPoint(7, 8)}},
    {"KYUGETSU", {112, openingPoint(7, 6), openingPoint(8, 8)}},
    {"SHINGETSU", {112, openingPoint(7, 6), openingPoint(9, 8)}},
    {"ZUISEI", {112, openingPoint(7, 6), openingPoint(7, 9)}},
    {"SANGETSU", {112, openingPoint(7, 6), openingPoint(8, 9)}},
    {"SUISEI", {112, openingPoint(8, 6), openingPoint(5, 9)}},
    {"YUSEI", {112, openingPoint(7, 6), openingPoint(9, 9)}},
}};

} // namespace korvana::kumo
