// The search's diagnostic lines on the standard error stream.
#include "engine/PhaseIter.h"

#include "EngineTestBoards.h"

#include <gtest/gtest.h>

#include <memory>

using namespace korvana;

namespace {

TEST(PhaseDiagnostics, SuccessorWithoutParentOrOnAStone)
{
    testing::internal::CaptureStderr();
    Phase orphan(nullptr, 5);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Phase class constructor error \n");
    EXPECT_EQ(orphan.board.count(), 0);

    Phase root(testboards::fromMoves("h8 i8"));
    testing::internal::CaptureStderr();
    Phase *child = root.addChild(pointOf(7, 7));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Put Stone Error\n");
    EXPECT_EQ(child->board, root.board); // nothing was played
    EXPECT_EQ(child->makeInfo(), 0);
    ASSERT_TRUE(child->info);
    EXPECT_EQ(child->info->own[0], root.info->other[0]);
}

TEST(PhaseDiagnostics, OddDepthLeavesCannotBeEvaluated)
{
    // Leaves of depth 3 have the other side to move: they are reported and
    // get no value, and the search still answers a point.
    const BanArray board = testboards::midGamePositions(1)[0];
    const ThinkingLevel &level = ThinkingLevel::preset(1);
    PhaseIter iter(std::make_unique<Phase>(board), level, 3, level.hashSize, "");
    iter.setBookLookup(nullptr);
    testing::internal::CaptureStderr();
    const int p = iter.Think();
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("Maximun count Error\n"), std::string::npos);
    EXPECT_LT(p, PointCount);
    EXPECT_EQ(board.cells()[p], Empty);
}

} // namespace
