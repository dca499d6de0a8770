#include "game/OpeningTable.h"

#include <cstring>

namespace korvana {

namespace {

struct Row {
    const char *name;
    bool diagonal; ///< second stone diagonal to the centre, else next to it
    uint8_t x, y;  ///< third stone
};

constexpr Row Rows[OpeningTable::Count] = {
    {"CHOSEI", true, 9, 5},    {"KYOGETSU", true, 9, 6},   {"KOSEI", true, 9, 7},    {"SUIGETSU", true, 9, 8},
    {"RYUSEI", true, 9, 9},    {"UNGETSU", true, 8, 7},    {"URATSUKI", true, 8, 8}, {"ARASHITSUKI", true, 8, 9},
    {"GINGETSU", true, 7, 8},  {"MYOJYO", true, 7, 9},     {"SYAGETSU", true, 6, 8}, {"MEIGETSU", true, 6, 9},
    {"KANSEI", false, 7, 5},   {"KEIGETSU", false, 8, 5},  {"SOSEI", false, 9, 5},   {"KAGETSU", false, 8, 6},
    {"ZANGETSU", false, 9, 6}, {"UGETSU", false, 8, 7},    {"KINSEI", false, 9, 7},  {"SYOGETSU", false, 7, 8},
    {"KYUGETSU", false, 8, 8}, {"SHINGETSU", false, 9, 8}, {"ZUISEI", false, 7, 9},  {"SANGETSU", false, 8, 9},
    {"SUISEI", true, 5, 9},    {"YUSEI", false, 9, 9},
};

} // namespace

OpeningTable::OpeningTable()
{
    for (int i = 0; i < Count; ++i) {
        const Row &row = Rows[i];
        Opening &o = openings_[static_cast<size_t>(i)];
        std::strncpy(o.shortName, row.name, 8);
        o.shortName[8] = '\0';
        std::strncpy(o.name, row.name, 32);
        o.name[32] = '\0';
        o.stones[0] = {7, 7, 'B'};
        o.stones[1] = row.diagonal ? ThinkPoint{8, 6, 'W'} : ThinkPoint{7, 6, 'W'};
        o.stones[2] = {row.x, row.y, 'B'};
    }
}

const OpeningTable &OpeningTable::instance()
{
    static const OpeningTable table;
    return table;
}

const OpeningTable::Opening *OpeningTable::at(int index) const
{
    if (index < 0 || index >= Count)
        return nullptr;
    return &openings_[static_cast<size_t>(index)];
}

} // namespace korvana
