#include "view/QtColour.h"

#include <gtest/gtest.h>

#include <utility>

namespace korvana {
namespace {

TEST(QtColourTest, SettingValuesAreBlueGreenRed)
{
    const std::pair<int, QColor> cases[] = {
        {962532, QColor(228, 175, 14)}, {0, QColor(0, 0, 0)},          {0xFFFFFF, QColor(255, 255, 255)},
        {0x0000FF, QColor(255, 0, 0)},  {0xFF0000, QColor(0, 0, 255)},
    };
    for (const auto &[value, colour] : cases) {
        EXPECT_EQ(qtColour(StoredColour(value)), colour) << value;
        EXPECT_EQ(storedColour(colour).stored(), value) << value;
    }
    EXPECT_EQ(qtColour(StoredColour(0x7F0000FF)), QColor(255, 0, 0)) << "top byte ignored";
}

} // namespace
} // namespace korvana
