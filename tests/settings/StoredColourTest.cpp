#include "settings/StoredColour.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace korvana {
namespace {

struct ColourCase {
    const char *name;
    int stored;
    int red, green, blue;
    friend void PrintTo(const ColourCase &c, std::ostream *os) { *os << c.name; }
};

class StoredColourCases : public ::testing::TestWithParam<ColourCase> {};

TEST_P(StoredColourCases, ComponentsAndBack)
{
    const ColourCase &c = GetParam();
    const StoredColour colour(c.stored);
    EXPECT_EQ(colour.red(), c.red);
    EXPECT_EQ(colour.green(), c.green);
    EXPECT_EQ(colour.blue(), c.blue);
    EXPECT_EQ(colour.stored(), c.stored) << "kept as read";
    EXPECT_EQ(StoredColour::fromRgb(c.red, c.green, c.blue).stored(), c.stored & 0xFFFFFF);
}

INSTANTIATE_TEST_SUITE_P(Values, StoredColourCases,
                         ::testing::Values(ColourCase{"DefaultBoard", 962532, 228, 175, 14},
                                           ColourCase{"Black", 0, 0, 0, 0},
                                           ColourCase{"RedInTheLowByte", 0x0000FF, 255, 0, 0},
                                           ColourCase{"Green", 0x00FF00, 0, 255, 0},
                                           ColourCase{"BlueInTheHighByte", 0xFF0000, 0, 0, 255},
                                           ColourCase{"TopByteMeansNothing", 0x7F0000FF, 255, 0, 0},
                                           ColourCase{"NegativeIsWhite", -1, 255, 255, 255}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(StoredColourTest, ComponentsPastAByteWrapAround)
{
    EXPECT_EQ(StoredColour::fromRgb(256, -1, 0x1FF), StoredColour::fromRgb(0, 255, 255));
}

} // namespace
} // namespace korvana
