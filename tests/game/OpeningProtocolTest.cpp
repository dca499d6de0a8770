// The phase every opening decision runs on, from the stones on the board and
// the fifth-move proposal step.
#include "game/OpeningProtocol.h"

#include <gtest/gtest.h>

using namespace korvana;
using Phase = OpeningProtocol::Phase;

namespace {

TEST(OpeningProtocol, PhaseOfMoveCountAndStep)
{
    struct Case {
        int moveCount, step;
        Phase phase;
    };
    const Case cases[] = {
        {0, 0, Phase::OpeningStones}, {1, 2, Phase::OpeningStones}, {2, 1, Phase::ThirdStone},
        {3, 0, Phase::FourthMove},    {4, 0, Phase::FirstProposal}, {4, 1, Phase::SecondProposal},
        {4, 2, Phase::Removal},       {4, 3, Phase::KeptPlaying},   {5, 0, Phase::SixthMove},
        {6, 2, Phase::SeventhMove},   {7, 0, Phase::Free},          {225, 0, Phase::Free},
    };
    for (const Case &c : cases)
        EXPECT_EQ(OpeningProtocol::PhaseOf(c.moveCount, c.step), c.phase) << c.moveCount << " stones, step " << c.step;
}

} // namespace
