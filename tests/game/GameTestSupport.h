#pragma once
// A game flow on a scripted window, with its own flags, engine library slot,
// clock and database directory, so tests never touch the program's instances.

#include "support/FakeGameWindow.h"
#include "support/ScratchDir.h"

#include "board/Point.h"
#include "game/GameFlow.h"
#include "game/Kumo98Dll.h"
#include "game/KvFlags.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>

namespace korvana::gametest {

using korvana::test::ScratchDir;

/// (x, y) of a written point such as "h8".
inline std::pair<int, int> at(const std::string &written)
{
    int x = -1, y = -1;
    EXPECT_TRUE(parseWrittenPoint(written, x, y)) << written;
    return {x, y};
}

struct Game {
    FakeGameWindow window; // outlives the flow
    KvFlags flags;
    Kumo98Dll library;
    ScratchDir scratch;
    double now = 1000;
    GameFlow flow{window, &flags, &library};

    explicit Game(int rule = 0)
    {
        flow.settings().SetInt("Option", "GameRule", rule);
        flow.settings().SetText("Database", "DatabaseDirName", scratch.dir());
        flow.SetUpDatabase("");
        flow.setClock([this] { return now; });
        flow.ResetGame();
    }
    ~Game()
    {
        flow.StopThinking();
        flow.WaitForWorkers();
        window.runPending();
    }

    /// Moves by the user, written "h8 i9 ...", each through TryMove.
    void play(const std::string &moves)
    {
        std::istringstream in(moves);
        std::string token;
        while (in >> token) {
            const auto [x, y] = at(token);
            flow.TryMove(x, y);
        }
    }
    int count() const { return flow.game().board().moveCount(); }
    MovedPos last() const { return flow.game().board().history().moves().back(); }
    /// Runs posted calls until no worker is thinking any more.
    bool settle()
    {
        return window.runUntil([this] { return flags.thinking == 0; });
    }
};

} // namespace korvana::gametest
