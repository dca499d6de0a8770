#include "board/PosStat.h"

namespace korvana {

namespace {
constexpr const char *labels[Stat::Count] = {
    "OVERLINE",
    "FIVE IN A ROW",
    "STRAIGHT FOUR",
    "DOUBLE-FOUR",
    "FOUR-THREE",
    "FOUR",
    "FOUR",
    "FOUR",
    "FOUR",
    "DOUBLE-THREE",
    "DOUBLE-THREE",
    "DOUBLE-THREE",
    "THREE",
    "THREE",
    "THREE",
    "THREE",
    "",
    "",
    "",
    "",
    "",
    "NG:DOUBLE-THREE",
    "NG:DOUBLE-FOUR",
    "NG:OVERLINE",
};
constexpr int values[Stat::Count] = {
    1000, 1000, 900, 1000, 500, 50, 40, 30, 20, 300, 250, 200, 80, 40, 20, 10, 8, 4, 2, 1, 0, -1000, -1000, -1000,
};
} // namespace

const char *label(int code) { return code >= 0 && code < Stat::Count ? labels[code] : ""; }

int pointValue(int code) { return code >= 0 && code < Stat::Count ? values[code] : 0; }

} // namespace korvana
