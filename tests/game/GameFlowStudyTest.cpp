// Studying a record through the game flow: walking the branches, the move list
// and the caption following, variations deleted and promoted, nothing moving during a game.
#include "GameTestSupport.h"

#include <fstream>

using namespace korvana;
using namespace korvana::gametest;

namespace {

// Main line h8 i9 j8 g7; move 2 also i8 (then j9) and g9; move 3 also k8.
constexpr const char *Record = "(;GM[4]SZ[15]RU[Renju 1998];B[hh](;W[ii](;B[jh];W[gg])(;B[kh]))(;W[ih];B[ji])(;W[gi]))";

struct Study : Game {
    Study()
    {
        const std::string file = scratch.file("study.sgf");
        std::ofstream(file) << Record;
        flow.records().Open(file);
    }
    /// The highlighted line, "" at the empty board.
    std::string current() const
    {
        const int k = window.moveListCurrent;
        return k >= 0 && k < static_cast<int>(window.moveList.size()) ? window.moveList[static_cast<size_t>(k)] : "";
    }
    void run(const std::string &command)
    {
        if (command == "forward")
            flow.GoForward();
        else if (command == "back")
            flow.MoveBack();
        else if (command == "home")
            flow.GoHome();
        else if (command == "end")
            flow.GoEnd();
        else if (command == "down")
            flow.GoVariation(+1);
        else if (command == "up")
            flow.GoVariation(-1);
        else if (command.rfind("line ", 0) == 0)
            flow.GoToLine(std::stoi(command.substr(5)));
        else if (command.rfind("play ", 0) == 0)
            play(command.substr(5));
        else
            ADD_FAILURE() << command;
    }
};

TEST(GameFlowStudy, WalkingTheBranches)
{
    struct Step {
        const char *command;
        const char *current; ///< highlighted line afterwards
        int lines;           ///< lines of the list: the whole branch
        const char *caption; ///< what the caption adds to the file name
    };
    const Step steps[] = {
        {"home", "", 4, " [Move 0 of 4]"},
        {"forward", "B1(h8):", 4, " [Move 1 of 4]"},
        {"forward", "W2(i9): +", 4, " [Move 2 of 4]"},
        {"down", "W2(i8): +", 3, " [Move 2 of 3]"},
        {"down", "W2(g9): +", 2, ""},               // the end of its branch: the caption as ever
        {"down", "W2(i9): +", 4, " [Move 2 of 4]"}, // wraps to the first
        {"up", "W2(g9): +", 2, ""},
        {"end", "W2(g9): +", 2, ""},
        {"line 0", "B1(h8):", 2, " [Move 1 of 2]"}, // the branch ahead still goes through g9
        {"back", "", 2, " [Move 0 of 2]"},
        {"end", "W2(g9): +", 2, ""},
        {"line 0", "B1(h8):", 2, " [Move 1 of 2]"},
        {"play i9", "W2(i9): +", 4, " [Move 2 of 4]"}, // a known move goes into its branch
        {"forward", "B3(j8): +", 4, " [Move 3 of 4]"},
        {"down", "B3(k8): +", 3, ""},
        {"up", "B3(j8): +", 4, " [Move 3 of 4]"},
        {"play a1", "W4(a1): +", 4, ""}, // a new move starts a variation beside g7
        {"up", "W4(g7): +", 4, ""},
        {"line 1", "W2(i9): +", 4, " [Move 2 of 4]"},
        {"end", "W4(g7): +", 4, ""},
    };
    Study s;
    EXPECT_EQ(s.current(), "W4(g7):") << "a record opens at the end of its main line";
    EXPECT_EQ(s.window.moveList.size(), 4u);
    const std::string caption = s.window.caption;
    for (const Step &step : steps) {
        SCOPED_TRACE(step.command);
        const int redraws = s.window.redraws, trees = s.window.treeChanges;
        s.run(step.command);
        EXPECT_EQ(s.current(), step.current);
        EXPECT_EQ(s.window.moveList.size(), static_cast<size_t>(step.lines));
        EXPECT_EQ(s.window.caption, caption + step.caption);
        EXPECT_EQ(s.count(), s.window.moveListCurrent + 1) << "the board shows the highlighted move";
        EXPECT_GT(s.window.redraws, redraws);
        EXPECT_GT(s.window.treeChanges, trees);
    }
    EXPECT_EQ(s.flow.game().current()->parent()->childCount(), 2) << "g7 and a1 after j8";
}

TEST(GameFlowStudy, NothingMovesDuringAGameOrWhileTheComputerThinks)
{
    for (bool playing : {true, false}) {
        SCOPED_TRACE(playing ? "play mode" : "thinking");
        Study s;
        s.flow.GoToLine(1);
        if (playing)
            s.flow.BeginBlack();
        else
            s.flags.thinking = 1;
        MOve *before = s.flow.game().current();
        for (const char *command : {"forward", "home", "end", "down", "line 3"})
            s.run(command);
        s.flow.GoToNode(s.flow.game().root());
        s.window.yesNo = true;
        s.flow.DeleteVariation(before);
        EXPECT_EQ(s.flow.game().current(), before);
        EXPECT_TRUE(s.window.yesNoAsked.empty());
        if (playing) {
            EXPECT_EQ(s.window.caption.find("[Move"), std::string::npos) << "a game shows no study position";
        }
        s.flags.thinking = 0;
    }
}

TEST(GameFlowStudy, NavigationIsGreyedOutExactlyWhileTheComputerThinks)
{
    Game g;
    g.flow.BeginWhite(); // the computer opens
    EXPECT_FALSE(g.window.navigationEnabled);
    ASSERT_TRUE(g.settle());
    EXPECT_TRUE(g.window.navigationEnabled) << "its move arrived";
    g.play("a1");
    EXPECT_FALSE(g.window.navigationEnabled);
    g.flow.GiveUp();
    EXPECT_TRUE(g.window.navigationEnabled) << "thinking stopped";
}

TEST(GameFlowStudy, DeleteAsksAndPromoteReorders)
{
    Study s;
    MOve *i9 = s.flow.game().root()->child(0)->child(0);
    MOve *i8 = s.flow.game().root()->child(0)->child(1);
    s.flow.GoToNode(i8->child(0));
    ASSERT_EQ(s.current(), "B3(j9):");

    s.flow.DeleteVariation(i8); // answered No
    ASSERT_EQ(s.window.yesNoAsked, std::vector<std::string>{"Delete this variation (2 moves)?"});
    EXPECT_EQ(s.count(), 3);

    s.flow.PromoteVariation(i8);
    EXPECT_EQ(s.flow.game().root()->child(0)->child(0), i8);
    EXPECT_EQ(s.current(), "B3(j9):") << "promoting moves no stone";
    s.flow.GoHome();
    s.flow.GoEnd();
    EXPECT_EQ(s.current(), "B3(j9):") << "End follows the new main line";

    s.window.yesNo = true;
    s.flow.DeleteVariation(i8);
    EXPECT_EQ(s.current(), "B1(h8):") << "the current move was inside: back to the move before";
    s.flow.DeleteVariation(i9->child(1)); // k8: one move
    EXPECT_EQ(s.window.yesNoAsked.back(), "Delete this variation (1 move)?");
    s.flow.GoEnd();
    EXPECT_EQ(s.window.moveList, (std::vector<std::string>{"B1(h8):", "W2(i9): +", "B3(j8):", "W4(g7):"}));
}

TEST(GameFlowStudy, ProposalsOfTheOpeningLeaveNoMovesInTheRecord)
{
    Game g(2);
    g.play("h8 h9 i9 j9");
    g.window.whichRemove = 0; // A goes, B is played
    g.play("a1 oF");
    ASSERT_EQ(g.count(), 5);
    EXPECT_EQ(g.flow.game().current()->parent()->childCount(), 1);
    EXPECT_EQ(g.last().x, 14);
}

} // namespace
