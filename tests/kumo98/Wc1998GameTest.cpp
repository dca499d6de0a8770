// A whole WC1998 game through the program's game flow against the real engine
// library: the opening protocol in both colour outcomes, then play to the end.
#include "game/GameTestSupport.h"

#include "board/PosStat.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

using namespace korvana;
using namespace korvana::gametest;

namespace {

bool gameOver(const FakeGameWindow &w)
{
    return std::any_of(w.messages.begin(), w.messages.end(),
                       [](const FakeGameWindow::Message &m) { return m.caption == "Game over"; });
}

bool sawStatus(const FakeGameWindow &w, const std::string &text)
{
    return std::find(w.statusLog.begin(), w.statusLog.end(), text) != w.statusLog.end();
}

// A weak but legal player: the most central free point its colour may take.
std::pair<int, int> userPoint(const Game &g, int skip = 0)
{
    const Board &board = g.flow.game().board();
    const char colour = colourToMove(board.moveCount());
    for (uint8_t p : spiralOrder()) {
        const int x = pointX(p), y = pointY(p);
        if (board.cellAt(x, y) != Empty)
            continue;
        if (colour == Black && isForbidden(board.codeAt(Pos{uint8_t(x), uint8_t(y), Black})))
            continue;
        if (skip-- > 0)
            continue;
        return {x, y};
    }
    return {-1, -1};
}

struct GameCase {
    const char *opening; ///< the user's three opening stones
    int whichRemove;     ///< the user's answer to the removal question
};

// Plays one game; `computerBlack` tells which colour the engine took.
void playGame(const GameCase &c, bool &computerBlack)
{
    setenv("KUMO98_MOVE_TIME_MS", "100", 1);
    Game g(2);
    ASSERT_TRUE(g.library.Load(KORVANA_BIN_DIR "/libkumo98.so")) << g.library.lastError();
    g.window.whichRemove = c.whichRemove;

    g.flow.BeginBlack();
    EXPECT_EQ(g.window.status, "Your Turn: Input Opening Pattern");
    g.play(c.opening); // the user places an opening; the engine chooses its colour
    EXPECT_EQ(g.window.status, "Now Thinking");
    ASSERT_TRUE(g.settle());
    ASSERT_EQ(g.flow.opening().colourChosen, 1);
    computerBlack = g.flags.computerIsBlack == 1;

    for (int step = 0; step < 400 && !gameOver(g.window); ++step) {
        if (g.flags.thinking) {
            ASSERT_TRUE(g.settle());
            continue;
        }
        const int n = g.count();
        const bool computerToMove = (n % 2 == 0) == computerBlack;
        ASSERT_FALSE(computerToMove && n != 4) << "the computer should be thinking at move " << n + 1;
        if (n == 4 && !computerBlack) {
            // The user as Black shows two fifth moves; the engine removes one.
            const auto [ax, ay] = userPoint(g);
            const auto [bx, by] = userPoint(g, 1);
            g.flow.TryMove(ax, ay);
            g.flow.TryMove(bx, by);
            ASSERT_TRUE(g.settle()); // the removal, then the engine's sixth move
            ASSERT_EQ(g.count(), 6);
            const MovedPos fifth = g.flow.game().board().history()[4];
            EXPECT_TRUE(pointOf(fifth.x, fifth.y) == pointOf(ax, ay) || pointOf(fifth.x, fifth.y) == pointOf(bx, by));
            continue;
        }
        if (n == 4 && computerBlack) {
            ADD_FAILURE() << "the computer's proposals should have been answered";
            break;
        }
        const auto [x, y] = userPoint(g);
        ASSERT_GE(x, 0);
        g.flow.TryMove(x, y);
    }

    ASSERT_TRUE(gameOver(g.window)) << "no result after " << g.count() << " moves";
    if (computerBlack) {
        EXPECT_TRUE(sawStatus(g.window, "Change to Black: Your Turn"));
        EXPECT_EQ(g.window.removeAsked, 1); // the user removed one of the engine's proposals
    } else {
        EXPECT_TRUE(sawStatus(g.window, "Your Turn: Show Two Points"));
        EXPECT_TRUE(sawStatus(g.window, "Your Turn: Show Another Point"));
    }
    // The engine beats a player that takes the most central free point, and the
    // result stays in the status line.
    const std::string &result = g.window.status;
    EXPECT_EQ(g.window.messages.back().text, result);
    EXPECT_EQ(result.rfind(computerBlack ? "Black Win by" : "White Win by", 0), 0u) << result;
    // Nothing but alternating colours, no forbidden move by the engine's Black.
    const auto moves = g.flow.game().board().history().moves();
    for (size_t i = 0; i < moves.size(); ++i) {
        EXPECT_EQ(moves[i].colour, colourToMove(static_cast<int>(i)));
        if (computerBlack && moves[i].colour == Black) {
            EXPECT_FALSE(isForbidden(moves[i].code)) << "move " << i + 1;
        }
    }
}

// Openings the engine answers with either colour, so both branches of the protocol run.
// Which colour the engine takes after a regular opening depends on its evaluation and
// on how deep it gets; the last opening throws Black's third stone into the corner,
// which the engine scores better for White at every depth from 4 to 9.
TEST(Wc1998Game, OpeningProtocolThenPlayToTheEnd)
{
    const GameCase cases[] = {{"h8 i7 j6", 0}, {"h8 h7 j6", 1}, {"h8 i7 h6", 0}, {"h8 h7 h6", 1},
                              {"h8 h7 i8", 1}, {"h8 i7 i9", 0}, {"h8 h7 jA", 0}, {"h8 h7 a1", 0}};
    bool blackSeen = false, whiteSeen = false;
    for (const GameCase &c : cases) {
        SCOPED_TRACE(c.opening);
        bool computerBlack = false;
        playGame(c, computerBlack);
        (computerBlack ? blackSeen : whiteSeen) = true;
    }
    EXPECT_TRUE(blackSeen);
    EXPECT_TRUE(whiteSeen);
}

} // namespace
