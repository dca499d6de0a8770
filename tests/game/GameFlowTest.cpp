// The game flow on a scripted window: turns, game end, give up, move back,
// thinking times, the input assistant, the caption, typed moves.
#include "GameTestSupport.h"

#include "board/PosStat.h"

#include <iterator>
#include <sstream>

#include <gtest/gtest.h>

using namespace korvana;
using namespace korvana::gametest;

namespace {

TEST(GameFlowBegin, EmptyBoardUnderRenjuAndGomoku)
{
    for (int rule : {0, 1}) {
        SCOPED_TRACE(rule);
        {
            Game g(rule);
            g.flow.BeginBlack();
            EXPECT_EQ(g.window.blackPlayer, "You");
            EXPECT_EQ(g.window.whitePlayer, "Computer");
            EXPECT_EQ(g.window.status, "Your Turn");
            EXPECT_EQ(g.flags.thinking, 0);
            EXPECT_EQ(g.flow.workerCount(), 0u);
            EXPECT_EQ(g.flags.playing, 1);
            EXPECT_TRUE(g.window.giveUpEnabled);
        }
        {
            Game g(rule);
            g.flow.BeginWhite();
            EXPECT_EQ(g.window.blackPlayer, "Computer");
            EXPECT_EQ(g.window.whitePlayer, "You");
            EXPECT_EQ(g.window.status, "Now Thinking");
            EXPECT_EQ(g.flags.thinking, 1);
            ASSERT_TRUE(g.settle());
            // The computer opens at the centre, then it is the user's move.
            ASSERT_EQ(g.count(), 1);
            EXPECT_EQ(g.last().x, 7);
            EXPECT_EQ(g.last().y, 7);
            EXPECT_EQ(g.window.moveList, std::vector<std::string>{"B1(h8):"});
            EXPECT_EQ(g.flags.thinking, 0);
        }
    }
}

TEST(GameFlowBegin, ComputerAnswersUntilTheUserMoves)
{
    Game g;
    g.flow.BeginBlack();
    g.play("h8");
    EXPECT_EQ(g.flags.thinking, 1);
    ASSERT_TRUE(g.settle());
    ASSERT_EQ(g.count(), 2);
    EXPECT_EQ(g.last().colour, 'W');
    // The user's turn: no further worker.
    EXPECT_EQ(g.flags.thinking, 0);
    EXPECT_EQ(g.window.moveList.size(), 2u);
}

struct GameEndCase {
    const char *name;
    const char *moves;
    const char *text;
};

TEST(GameFlowEnd, TextsCaptionAndPlayModeLeft)
{
    const GameEndCase cases[] = {
        {"black five", "h8 a1 i8 c1 j8 e1 k8 g1 l8", "Black Win by FIVE IN A ROW"},
        {"black double three", "f8 a1 g8 c1 h6 e1 h7 g1 h8", "White Win by NG:DOUBLE-THREE"},
        {"white overline", "oF a1 oD b1 oB c1 o9 e1 o7 f1 mF d1", "White Win by OVERLINE"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Game g;
        g.flow.BeginBlack();
        g.flags.computerIsBlack = 1; // both sides by hand: the computer's turn never comes
        g.flags.humanStartedWhite = 0;
        // Play the moves with the turn check away: play mode off, then on for the last.
        g.flags.playing = 0;
        std::istringstream in(c.moves);
        std::vector<std::string> tokens{std::istream_iterator<std::string>(in), {}};
        for (size_t i = 0; i + 1 < tokens.size(); ++i)
            g.play(tokens[i]);
        ASSERT_TRUE(g.window.messages.empty());
        g.flags.playing = 1;
        g.play(tokens.back());
        ASSERT_EQ(g.window.messages.size(), 1u);
        EXPECT_EQ(g.window.messages[0].text, c.text);
        EXPECT_EQ(g.window.messages[0].caption, "Game over");
        EXPECT_EQ(g.window.status, c.text);
        EXPECT_EQ(g.flags.playing, 0);
        EXPECT_FALSE(g.window.giveUpEnabled);
        EXPECT_EQ(g.window.caption, GameFlow::ProductLine);
        EXPECT_EQ(g.flags.thinking, 0);
        EXPECT_EQ(g.window.moveList.back().substr(g.window.moveList.back().find(':') + 1),
                  std::string(c.text).substr(std::string(c.text).find("by ") + 3));

        // A click after the end: the message again, nothing played.
        const int before = g.count();
        g.flow.BoardClick(0, 14, false);
        EXPECT_EQ(g.count(), before);
        ASSERT_EQ(g.window.messages.size(), 2u);
        EXPECT_EQ(g.window.messages[1].text, c.text);
        EXPECT_EQ(g.window.messages[1].caption, "Game over");

        // Give up after the end changes nothing.
        const auto log = g.window.statusLog.size();
        g.flow.GiveUp();
        EXPECT_EQ(g.window.statusLog.size(), log);
        EXPECT_EQ(g.window.status, c.text);

        // Nor does Begin.
        g.flow.BeginBlack();
        EXPECT_EQ(g.flags.playing, 0);
    }
}

TEST(GameFlowEnd, SoundByClassification)
{
    Game g;
    // a straight four (code 2) beeps with the exclamation sound; a quiet move with the default one.
    g.play("h8 a1 i8 c1 j8 e1");
    g.window.beeps.clear();
    g.play("k8"); // open four: straight four
    EXPECT_EQ(g.flow.game().current()->code(), Stat::StraightFour);
    // Previous move (quiet White) judged again, then the new one.
    ASSERT_EQ(g.window.beeps.size(), 2u);
    EXPECT_EQ(g.window.beeps[0], GameWindow::BeepKind::Default);
    EXPECT_EQ(g.window.beeps[1], GameWindow::BeepKind::Exclamation);
    EXPECT_TRUE(g.window.messages.empty());

    g.flow.settings().SetInt("Option", "SountEffect", 0);
    g.window.beeps.clear();
    g.play("g1");
    EXPECT_TRUE(g.window.beeps.empty());
}

TEST(GameFlowGiveUp, LeavesPlayModeAndStopsTheComputer)
{
    Game g;
    g.flow.BeginWhite();
    ASSERT_EQ(g.flags.thinking, 1);
    g.flow.GiveUp();
    EXPECT_EQ(g.flags.playing, 0);
    EXPECT_EQ(g.flags.thinking, 0);
    EXPECT_FALSE(g.window.giveUpEnabled);
    EXPECT_EQ(g.window.status, "Give up");
    g.flow.WaitForWorkers();
    g.window.runPending();
    // The stopped computer's answer is not played.
    EXPECT_EQ(g.count(), 0);
    EXPECT_EQ(g.window.status, "Give up");
}

struct MoveBackCase {
    const char *name;
    const char *moves; ///< played with play mode off
    char begin;        ///< then Begin 'B'lack or 'W'hite; 0: play mode stays off
    bool thinking;     ///< the computer thinks when Move back comes
    int countAfter;
    int linesAfter;     ///< move-list lines afterwards
    const char *status; ///< expected status; null: unchanged
};

TEST(GameFlowMoveBack, ThreeCases)
{
    const MoveBackCase cases[] = {
        {"play mode, one move", "h8", 'W', false, 1, 1, "Your Turn"},
        {"play mode, four moves", "h8 i9 j8 a1", 'B', false, 2, 2, "Your Turn"},
        {"play mode, no moves", "", 'B', false, 0, 0, "Your Turn"},
        {"play mode, computer thinking", "h8 i9 j8", 'B', true, 2, 2, "Your Turn"},
        {"play mode, computer thinking, empty board", "", 'W', true, 0, 0, "Your Turn"},
        // Outside play mode the move taken back stays in the list, after the highlight.
        {"play mode off", "h8 i9 j8", 0, false, 2, 3, nullptr},
        {"play mode off, empty", "", 0, false, 0, 0, nullptr},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Game g;
        g.play(c.moves);
        if (c.begin == 'B')
            g.flow.BeginBlack();
        else if (c.begin == 'W')
            g.flow.BeginWhite();
        ASSERT_EQ(g.flags.thinking != 0, c.thinking);
        g.window.setStatusText("before");
        g.flow.MoveBack();
        EXPECT_EQ(g.flags.thinking, 0);
        g.flow.WaitForWorkers();
        g.window.runPending(); // a stopped answer would land here
        EXPECT_EQ(g.count(), c.countAfter);
        EXPECT_EQ(g.window.moveList.size(), static_cast<size_t>(c.linesAfter));
        EXPECT_EQ(g.window.moveListCurrent, c.countAfter - 1);
        EXPECT_EQ(g.window.status, c.status ? c.status : "before");
    }
}

TEST(GameFlowTimes, BookedPerSideAndRestoredOnMoveBack)
{
    Game g;
    g.flags.stopwatchStart = 100;
    g.flags.playing = 1; // only play counts; PlayMove leaves the turn to the test
    struct Step {
        double clock;
        const char *move;
        char side;
        const char *label;
    };
    const Step steps[] = {
        {103, "h8", 'B', "3   (sec.)"},  {110, "i9", 'W', "7   (sec.)"}, {112, "j8", 'B', "5   (sec.)"}, // 3 + 2
        {120, "a1", 'W', "15  (sec.)"},                                                                  // 7 + 8
        {1120, "a3", 'B', "1005(sec.)"},                                                                 // 5 + 1000
    };
    for (const auto &s : steps) {
        SCOPED_TRACE(s.move);
        g.now = s.clock;
        const auto [x, y] = at(s.move);
        ASSERT_TRUE(g.flow.PlayMove(x, y));
        EXPECT_EQ(g.window.timeLabels[s.side], s.label);
    }
    // Taking back move 5 shows Black's total before it; then move 4, White's.
    g.flags.playing = 0;
    g.flow.MoveBack();
    EXPECT_EQ(g.window.timeLabels['B'], "5   (sec.)");
    g.flow.MoveBack();
    EXPECT_EQ(g.window.timeLabels['W'], "7   (sec.)");
    // New game: both labels read zero.
    g.flow.NewGame();
    EXPECT_EQ(g.window.timeLabels['B'], "0 (sec.)");
    EXPECT_EQ(g.window.timeLabels['W'], "0 (sec.)");
}

TEST(GameFlowTimes, OnlyThinkingDuringPlayCounts)
{
    Game g; // its clock is set at 1000
    g.now = 1004;
    g.play("h8"); // outside play mode, no Begin
    EXPECT_EQ(g.window.timeLabels['B'], "0   (sec.)");
    // Begin starts the stopwatch afresh: the 96 s before it are nobody's.
    g.now = 1100;
    g.flow.BeginWhite(); // the user plays White, to move now
    g.now = 1105;
    g.flow.PauseClock(true); // a modal window for 20 s
    g.now = 1125;
    g.flow.PauseClock(false);
    g.now = 1127;
    g.flow.StopThinking();
    g.play("i9");
    g.flow.StopThinking();
    EXPECT_EQ(g.window.timeLabels['W'], "7   (sec.)");
    // Give up, New Game, Open and Paste start the players afresh.
    g.flow.GiveUp();
    EXPECT_EQ(g.window.timeLabels['W'], "0 (sec.)");
    EXPECT_EQ(g.window.blackPlayer, GameFlow::BlackPlayerCaption);
    EXPECT_EQ(g.window.whitePlayer, GameFlow::WhitePlayerCaption);
}

TEST(GameFlowAssistant, AnswersAFourWithoutAWorker)
{
    for (bool assistant : {true, false}) {
        SCOPED_TRACE(assistant);
        Game g;
        g.flow.settings().SetInt("Option", "InputAssistant", assistant ? 1 : 0);
        g.play("h8 g8 i8 a1 j8 a3");
        g.flow.BeginBlack();
        ASSERT_EQ(g.window.status, "Your Turn");
        g.play("k8"); // h8..k8 blocked at g8: a plain four
        EXPECT_TRUE(isPlainFour(g.flow.game().board().history()[6].code));
        if (assistant) {
            ASSERT_EQ(g.count(), 8);
            EXPECT_EQ(g.last().x, 11); // l8 takes the five point
            EXPECT_EQ(g.last().y, 7);
            EXPECT_EQ(g.last().colour, 'W');
            EXPECT_EQ(g.flags.thinking, 0);
            EXPECT_EQ(g.flow.workerCount(), 0u);
        } else {
            EXPECT_EQ(g.count(), 7);
            EXPECT_EQ(g.flags.thinking, 1);
        }
    }
}

struct CaptionCase {
    const char *file;
    int rule;
    bool play;
    const char *caption;
};

TEST(GameFlowCaption, FileNamePlayModeAndRule)
{
    const std::string p = GameFlow::ProductLine;
    const CaptionCase cases[] = {
        {"", 0, false, ""},
        {"", 0, true, " [Play Mode (Renju)]"},
        {"", 1, true, " [Play Mode (Gomoku)]"},
        {"", 2, true, " [Play Mode (WC1998)]"},
        {"", 7, true, ""},
        {"/games/a.ban", 0, false, " - /games/a.ban"},
        {"/games/a.ban", 0, true, " - /games/a.ban [Play Mode (Renju)]"},
        {"/games/a.ban", 7, true, " - /games/a.ban"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.file) + " rule " + std::to_string(c.rule));
        Game g(c.rule);
        g.flags.fileName = c.file;
        g.flow.UpdateCaption();
        if (c.play)
            g.flow.BeginBlack();
        EXPECT_EQ(g.window.caption, p + c.caption);
        // New game keeps the file name and leaves play mode.
        g.flow.NewGame();
        EXPECT_EQ(g.window.caption, p + (c.file[0] ? std::string(" - ") + c.file : std::string()));
    }
    // Rule 7 plays like Renju for Begin, but clicks do nothing.
    Game g(7);
    g.play("h8");
    EXPECT_EQ(g.count(), 0);
}

TEST(GameFlowInput, TypedCoordinates)
{
    struct Case {
        const char *keys;
        int count;
        char pending; ///< pending column after the keys
    };
    const Case cases[] = {
        {"h8", 1, 'z'}, {"H8", 1, 'z'}, {"hg8", 1, 'z'}, {"x9h8", 1, 'z'}, {"hh", 0, 'h'},
        {"h", 0, 'h'},  {"aF", 1, 'z'}, {"o1", 1, 'z'},  {"8", 0, 'z'},    {"hh8", 1, 'z'},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.keys);
        Game g;
        for (const char *k = c.keys; *k; ++k)
            g.flow.TypedKey(*k);
        EXPECT_EQ(g.count(), c.count);
        EXPECT_EQ(g.flags.pendingColumn, c.pending);
    }
    Game g;
    g.flow.TypedKey('a');
    g.flow.TypedKey('F');
    EXPECT_EQ(g.last().x, 0);
    EXPECT_EQ(g.last().y, 14);
}

TEST(GameFlowInput, ClicksIgnoredWhileThinking)
{
    Game g;
    g.flow.BeginWhite();
    ASSERT_EQ(g.flags.thinking, 1);
    g.flow.BoardClick(3, 3, false);
    g.flow.TypedKey('d');
    g.flow.TypedKey('4');
    EXPECT_EQ(g.count(), 0);
}

TEST(GameFlowMoveList, LineFormat)
{
    EXPECT_EQ(GameFlow::MoveListLine('B', 1, 7, 7, 20), "B1(h8):");
    EXPECT_EQ(GameFlow::MoveListLine('B', 9, 7, 3, 1), "B9(h4):FIVE IN A ROW");
    EXPECT_EQ(GameFlow::MoveListLine('W', 12, 14, 14, 0), "W12(oF):OVERLINE");
    EXPECT_EQ(GameFlow::MoveListLine('B', 5, 0, 9, 21), "B5(aA):NG:DOUBLE-THREE");
}

TEST(GameFlowDatabase, EditsSavedOrDroppedAndFoundAgain)
{
    for (bool automatic : {true, false}) {
        for (bool answer : {true, false}) {
            SCOPED_TRACE(std::to_string(automatic) + std::to_string(answer));
            Game g;
            g.flow.settings().SetInt("Database", "EnableEditing", 1);
            g.flow.settings().SetInt("Database", "AutomaticallyUpdate", automatic ? 1 : 0);
            g.window.databaseUpdate = answer;
            g.play("h8 i9 j8");
            g.flow.BoardClick(7, 7, true); // a stone: no change
            EXPECT_EQ(g.flags.databaseDirty, 0);
            g.flow.BoardClick(3, 3, true);
            g.flow.BoardClick(15, 0, true); // off the board, not point (0, 1)
            EXPECT_EQ(g.flags.databaseDirty, 1);
            EXPECT_EQ(g.count(), 3);
            EXPECT_TRUE(g.flow.position().hasCandidate(pointOf(3, 3)));
            EXPECT_FALSE(g.flow.position().hasCandidate(pointOf(0, 1)));
            g.flow.BoardClick(4, 4, false); // settles, then plays
            EXPECT_EQ(g.flags.databaseDirty, 0);
            EXPECT_EQ(g.window.databaseAsked, automatic ? 0 : 1);
            const bool saved = automatic || answer;
            // The next position has no record: no candidates carried over.
            EXPECT_EQ(g.flow.position().candidateCount(), 0);
            // Back to three stones: the saved record is found again.
            g.flow.MoveBack();
            EXPECT_EQ(g.count(), 3);
            EXPECT_EQ(g.flow.position().hasCandidate(pointOf(3, 3)), saved);
        }
    }
}

} // namespace
