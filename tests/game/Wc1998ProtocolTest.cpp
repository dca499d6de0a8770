// The WC1998 opening protocol end to end: the flow on a scripted window, the
// engine's answers from the test engine library loaded through Kumo98Dll,
// each request going through a real worker thread.
#include "FakeKumoLibrary.h"
#include "GameTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace korvana;
using namespace korvana::gametest;

namespace {

class Wc1998 : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(fake.handle, nullptr) << dlerror();
        ASSERT_TRUE(g.library.Load(KORVANA_FAKE_KUMO98)) << g.library.lastError();
    }
    /// Runs answers until no worker thinks, `rounds` times (one per request in a chain).
    void settle(int rounds = 1)
    {
        for (int i = 0; i < rounds; ++i)
            ASSERT_TRUE(g.settle());
    }
    std::vector<MovedPos> moves() const { return g.flow.game().board().history().moves(); }
    /// A move at (x, y) in `colour`, with the classification `like` has (not under test here).
    static MovedPos stone(int x, int y, char colour, const MovedPos &like)
    {
        return {static_cast<uint8_t>(x), static_cast<uint8_t>(y), colour, like.code};
    }

    FakeLibrary fake;
    Game g{2};
};

TEST_F(Wc1998, BeginWhiteComputerPlacesOpening14ThenTheUserProposes)
{
    fake.queue(FakeLibrary::Opening, 0, 14, 0, 0);
    fake.queue(FakeLibrary::Thinking, pointOf(10, 10), 0, 0, 0); // the fourth move, White
    fake.queue(FakeLibrary::WhichRemove, 0, pointOf(9, 9), 0, 0);
    fake.queue(FakeLibrary::Thinking, pointOf(3, 3), 0, 0, 0); // the sixth move
    g.window.colourIsBlack = true;                             // the user takes Black after all

    g.flow.BeginWhite();
    EXPECT_EQ(g.window.status, "Now Thinking");
    EXPECT_EQ(g.flags.humanStartedWhite, 1);
    settle(); // the opening, the colour dialog, then the computer's fourth move
    ASSERT_EQ(g.count(), 4);
    const auto opening = moves();
    EXPECT_EQ(opening[0], stone(7, 7, 'B', opening[0]));
    EXPECT_EQ(opening[1], stone(7, 6, 'W', opening[1]));
    EXPECT_EQ(opening[2], stone(9, 5, 'B', opening[2]));
    EXPECT_EQ(opening[3], stone(10, 10, 'W', opening[3]));
    EXPECT_EQ(g.window.colourAsked, 1);
    EXPECT_NE(std::find(g.window.statusLog.begin(), g.window.statusLog.end(), "You choose Black."),
              g.window.statusLog.end());
    EXPECT_EQ(g.flags.computerIsBlack, 0);
    EXPECT_EQ(g.window.blackPlayer, "You");
    EXPECT_EQ(g.window.status, "Your Turn: Show Two Points");

    g.play("jA"); // (9, 9)
    EXPECT_EQ(g.flow.opening().openingStep, 1);
    EXPECT_EQ(g.count(), 4) << "a proposal is a mark, not a move";
    EXPECT_EQ(g.window.status, "Your Turn: Show Another Point");
    g.play("fA"); // (5, 9)
    EXPECT_EQ(g.flow.opening().openingStep, 2);
    EXPECT_EQ(g.window.status, "Now Thinking");
    settle(2); // removal, then the sixth move
    EXPECT_EQ(fake.lastProposals(), pointOf(9, 9) * 256 + pointOf(5, 9));
    ASSERT_EQ(g.count(), 6);
    const auto all = moves();
    EXPECT_EQ(all[4], stone(5, 9, 'B', all[4])) << "(9, 9) was removed";
    EXPECT_EQ(all[5], stone(3, 3, 'W', all[5]));
    EXPECT_EQ(g.flow.opening().openingStep, 0);
    EXPECT_EQ(fake.calls(FakeLibrary::Opening), 1);
    EXPECT_EQ(fake.calls(FakeLibrary::WhichColor), 0) << "the user chose the colour";
}

TEST_F(Wc1998, Request3KeepsTheProposalTheEngineDidNotRemove)
{
    struct Case {
        int removed;
        int keptX, keptY;
    };
    const Case cases[] = {{pointOf(9, 9), 5, 9}, {pointOf(5, 9), 9, 9}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.removed);
        g.flow.NewGame();
        fake.reset();
        fake.queue(FakeLibrary::WhichColor, 0, 'W', 0, 0);
        fake.queue(FakeLibrary::Thinking, pointOf(10, 10), 0, 0, 0);
        fake.queue(FakeLibrary::WhichRemove, 0, c.removed, 0, 0);
        fake.queue(FakeLibrary::Thinking, pointOf(2, 2), 0, 0, 0);
        g.flow.BeginBlack();
        g.play("h8 h7 j6");
        settle(2);
        ASSERT_EQ(g.count(), 4);
        g.play("jA fA");
        settle(2);
        EXPECT_EQ(fake.lastProposals(), pointOf(9, 9) * 256 + pointOf(5, 9));
        ASSERT_EQ(g.count(), 6);
        EXPECT_EQ(moves()[4].x, c.keptX);
        EXPECT_EQ(moves()[4].y, c.keptY);
        EXPECT_EQ(g.window.removeAsked, 0) << "the engine removes, not the user";
    }
}

TEST_F(Wc1998, UsersThreeStonesAskTheColourOnce)
{
    fake.queue(FakeLibrary::WhichColor, 0, 'B', 0, 0); // the computer takes Black
    fake.queue(FakeLibrary::ShowTwo, 0, pointOf(10, 10), pointOf(4, 4), 0);
    fake.queue(FakeLibrary::Thinking, pointOf(12, 12), 0, 0, 0);
    g.window.whichRemove = 1; // remove B: A is played
    g.flow.BeginBlack();
    EXPECT_EQ(g.window.status, "Your Turn: Input Opening Pattern");
    g.play("h8 i9");
    EXPECT_EQ(fake.calls(FakeLibrary::WhichColor), 0);
    g.play("jA");
    EXPECT_EQ(g.window.status, "Now Thinking");
    settle();
    EXPECT_EQ(fake.calls(FakeLibrary::WhichColor), 1);
    EXPECT_EQ(g.window.status, "Change to Black: Your Turn");
    EXPECT_EQ(g.flags.computerIsBlack, 1);
    EXPECT_EQ(g.window.blackPlayer, "Computer");
    EXPECT_EQ(g.window.whitePlayer, "You");

    g.play("a1"); // the user's fourth move, White: request 4
    EXPECT_EQ(g.window.status, "Now Thinking");
    settle();
    EXPECT_EQ(fake.calls(FakeLibrary::ShowTwo), 1);
    EXPECT_EQ(g.window.removeAsked, 1);
    ASSERT_EQ(g.count(), 5);
    EXPECT_EQ(moves()[4], stone(10, 10, 'B', moves()[4])) << "B removed, A kept";
    EXPECT_EQ(g.window.status, "Your Turn");
    EXPECT_EQ(g.flow.opening().openingStep, 0);

    // Taking the third stone back and placing it again asks nothing more.
    g.flags.playing = 0;
    g.flow.StepBack();
    g.flow.StepBack();
    g.flow.StepBack();
    ASSERT_EQ(g.count(), 2);
    g.flags.playing = 1;
    g.flags.computerIsBlack = 0;
    g.play("jA");
    EXPECT_EQ(g.count(), 3);
    EXPECT_EQ(g.flags.thinking, 0);
    EXPECT_EQ(fake.calls(FakeLibrary::WhichColor), 1);
    // Until the next Begin command.
    g.flow.NewGame();
    fake.queue(FakeLibrary::WhichColor, 0, 'B', 0, 0);
    g.flow.BeginBlack();
    g.play("h8 i9 jA");
    settle();
    EXPECT_EQ(fake.calls(FakeLibrary::WhichColor), 2);
}

TEST_F(Wc1998, ProposalsOnOccupiedPoints)
{
    g.play("h8 i9 jA k1"); // play mode off: placed by hand
    ASSERT_EQ(g.count(), 4);
    g.play("h8"); // occupied at step 0
    EXPECT_EQ(g.flow.opening().openingStep, 0);
    EXPECT_EQ(g.window.status, "Your Turn: Show Another Point");
    g.play("c3");
    EXPECT_EQ(g.flow.opening().openingStep, 1);
    EXPECT_EQ(g.flow.opening().proposalA, (ThinkPoint{2, 2, 'B'}));
    g.play("i9"); // occupied at step 1
    EXPECT_EQ(g.flow.opening().openingStep, 1);
    EXPECT_EQ(g.window.status, "Your Turn: Show Another Point");
    EXPECT_EQ(g.window.removeAsked, 0);
    EXPECT_EQ(g.count(), 4);
}

TEST_F(Wc1998, RemovalWithPlayModeOffAskedAtOnce)
{
    struct Case {
        int answer; ///< 0 removes A, 1 removes B
        int keptX, keptY;
    };
    for (const Case &c : {Case{1, 2, 2}, Case{0, 12, 2}}) {
        SCOPED_TRACE(c.answer);
        g.flow.NewGame();
        g.window.whichRemove = c.answer;
        g.window.removeAsked = 0;
        g.play("h8 i9 jA k1 c3 m3");
        EXPECT_EQ(g.window.removeAsked, 1);
        ASSERT_EQ(g.count(), 5);
        EXPECT_EQ(moves()[4], stone(c.keptX, c.keptY, 'B', moves()[4]));
        EXPECT_EQ(g.flow.opening().openingStep, 0);
        EXPECT_EQ(g.window.status, "Your Turn");
        EXPECT_EQ(fake.calls(FakeLibrary::WhichRemove), 0);
    }
}

TEST_F(Wc1998, FailedOrUnknownOpeningPlacesNothing)
{
    struct Case {
        int result, index;
        const char *status;
    };
    const Case cases[] = {
        {0, 26, "No opening pattern from the engine"},
        {0, 200, "No opening pattern from the engine"},
        {255, 3, "No opening pattern from the engine"}, // the engine's failure
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.index);
        g.flow.NewGame();
        g.window.colourAsked = 0;
        fake.queue(FakeLibrary::Opening, c.result, c.index, 0, 0);
        g.flow.BeginWhite();
        settle();
        EXPECT_EQ(g.count(), 0);
        EXPECT_EQ(g.window.colourAsked, 0);
        EXPECT_EQ(g.window.status, c.status);
        EXPECT_EQ(g.flags.playing, 1);
    }
}

// --- move back ------------------------------------------------------------------------

struct MoveBackCase {
    const char *name;
    const char *stones; ///< placed as plain moves, past the protocol
    int playing, computerIsBlack, humanStartedWhite, openingStep;
    int countAfter;
    const char *status; ///< nullptr: not checked
    int stepAfter;
    int colourAsked;
};
// Printed by name: gtest would otherwise show a byte dump that changes between runs.
[[maybe_unused]] void PrintTo(const MoveBackCase &c, std::ostream *os) { *os << c.name; }

class Wc1998MoveBack : public Wc1998, public ::testing::WithParamInterface<MoveBackCase> {};

TEST_P(Wc1998MoveBack, UnwindsTheProtocol)
{
    const MoveBackCase &c = GetParam();
    g.flow.settings().SetInt("Option", "GameRule", 0);
    g.play(c.stones);
    g.flow.settings().SetInt("Option", "GameRule", 2);
    g.window.colourIsBlack = false; // a colour choice leaves the computer idle
    g.flags.playing = c.playing;
    g.flags.computerIsBlack = c.computerIsBlack;
    g.flags.humanStartedWhite = c.humanStartedWhite;
    g.flow.opening().openingStep = c.openingStep;
    g.window.status = "before";
    g.flow.MoveBack();
    EXPECT_EQ(g.count(), c.countAfter);
    if (c.status) {
        EXPECT_EQ(g.window.status, c.status);
    }
    EXPECT_EQ(g.flow.opening().openingStep, c.stepAfter);
    EXPECT_EQ(g.window.colourAsked, c.colourAsked);
    EXPECT_EQ(g.flags.playing, c.playing) << "move back never leaves play mode";
}

const MoveBackCase moveBackCases[] = {
    // Play mode on, the user began as White.
    {"WhiteThreeStonesAsksTheColourAgain", "h8 h7 j6", 1, 1, 1, 0, 3, "You choose White. Your Turn.", 0, 1},
    // Play mode on, the user began as Black: one stone back as if off.
    {"BlackTwoStones", "h8 h7", 1, 0, 0, 0, 1, "before", 0, 0},
    {"BlackThreeStones", "h8 h7 j6", 1, 1, 0, 0, 2, "before", 0, 0},
    // Past the opening, the computer Black: two moves back.
    {"ComputerBlackFiveStones", "h8 h7 j6 a1 jA", 1, 1, 0, 0, 3, "Your Turn", 0, 0},
    // The computer White, four stones: by the proposal step.
    {"FourStonesNoProposal", "h8 h7 j6 a1", 1, 0, 1, 0, 4, "You choose White. Your Turn.", 0, 1},
    {"FourStonesOneProposal", "h8 h7 j6 a1", 1, 0, 1, 1, 4, "Your Turn: Show Two Point", 0, 0},
    {"FourStonesTwoProposals", "h8 h7 j6 a1", 1, 0, 1, 2, 4, "Your Turn: Show Another Point", 1, 0},
    {"FourStonesKeptBeingPlayed", "h8 h7 j6 a1", 1, 0, 1, 3, 4, "before", 3, 0},
    {"FiveStones", "h8 h7 j6 a1 jA", 1, 0, 1, 0, 3, "Your Turn: Show Two Point", 0, 0},
    {"SixStones", "h8 h7 j6 a1 jA oF", 1, 0, 1, 0, 4, "Your Turn: Show Two Point", 0, 0},
    {"SevenStones", "h8 h7 j6 a1 jA oF b2", 1, 0, 1, 0, 5, "Your Turn", 0, 0},
    // Play mode off.
    {"OffThreeStones", "h8 h7 j6", 0, 1, 0, 0, 2, "", 0, 0},
    {"OffFourStonesOneProposal", "h8 h7 j6 a1", 0, 1, 0, 1, 4, "Show Two Point", 0, 0},
    {"OffFourStones", "h8 h7 j6 a1", 0, 1, 0, 0, 3, "", 0, 0},
    {"OffFiveStones", "h8 h7 j6 a1 jA", 0, 1, 0, 0, 4, "Show Two Point", 0, 0},
    {"OffSixStones", "h8 h7 j6 a1 jA oF", 0, 1, 0, 0, 5, "before", 0, 0},
};

INSTANTIATE_TEST_SUITE_P(Cases, Wc1998MoveBack, ::testing::ValuesIn(moveBackCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(Wc1998, MoveBackBeforeTheOpeningAsksTheEngineForANewOne)
{
    fake.queue(FakeLibrary::Opening, 255, 0, 0, 0); // no opening the first time
    g.flow.BeginWhite();
    settle();
    ASSERT_EQ(g.count(), 0);
    fake.queue(FakeLibrary::Opening, 0, 25, 0, 0);
    g.window.colourIsBlack = false;
    g.flow.MoveBack();
    EXPECT_EQ(g.window.status, "Now Thinking");
    settle();
    EXPECT_EQ(fake.calls(FakeLibrary::Opening), 2);
    ASSERT_EQ(g.count(), 3);
    EXPECT_EQ(moves()[2], stone(9, 9, 'B', moves()[2])) << "YUSEI";
    EXPECT_EQ(g.flags.playing, 1);
    EXPECT_EQ(g.flags.humanStartedWhite, 1);
}

TEST_F(Wc1998, MoveBackWhileTheEngineWeighsTheProposals)
{
    fake.queue(FakeLibrary::WhichColor, 0, 'W', 0, 0);
    fake.queue(FakeLibrary::Thinking, pointOf(10, 10), 0, 0, 0);
    fake.queue(FakeLibrary::WhichRemove, 0, pointOf(2, 2), 0, 2000); // slow
    g.flow.BeginBlack();
    g.play("h8 h7 j6");
    settle(2);
    ASSERT_EQ(g.count(), 4);
    g.play("c3 m3");
    ASSERT_EQ(g.flags.thinking, 1);
    g.flow.MoveBack(); // the proposals are withdrawn one by one
    EXPECT_EQ(g.flags.thinking, 0);
    EXPECT_EQ(g.flow.opening().openingStep, 1);
    EXPECT_EQ(g.window.status, "Your Turn: Show Another Point");
    g.flow.WaitForWorkers();
    g.window.runPending();
    EXPECT_EQ(g.count(), 4) << "the stopped answer is not played";
    g.flow.MoveBack();
    EXPECT_EQ(g.flow.opening().openingStep, 0);
    EXPECT_EQ(g.window.status, "Your Turn: Show Two Point");
}

} // namespace
