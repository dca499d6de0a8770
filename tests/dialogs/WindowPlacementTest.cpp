// A window restored after the screens changed lands where it can be reached.

#include "dialogs/WindowPlacement.h"

#include <gtest/gtest.h>

namespace korvana {
namespace {

TEST(WindowPlacementOnScreen, MovedAndShrunkIntoTheScreenItOverlapsMost)
{
    const QRect left(0, 0, 1920, 1080), right(1920, 0, 1280, 1024);
    struct Case {
        const char *name;
        QRect wanted;
        QRect expected;
    };
    const Case cases[] = {
        {"inside stays", {100, 100, 600, 400}, {100, 100, 600, 400}},
        {"mostly on the right screen", {2900, 100, 600, 400}, {2600, 100, 600, 400}},
        {"off every screen: the first", {-5000, 5000, 600, 400}, {0, 680, 600, 400}},
        {"larger than its screen", {2000, -50, 3000, 3000}, {1920, 0, 1280, 1024}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(WindowPlacement::onScreen(c.wanted, {left, right}), c.expected) << c.name;
    EXPECT_EQ(WindowPlacement::onScreen({-5000, 0, 10, 10}, {}), QRect(-5000, 0, 10, 10)) << "no screens";
}

} // namespace
} // namespace korvana
