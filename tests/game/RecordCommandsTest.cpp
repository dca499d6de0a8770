// Open, Save, Copy and Paste on the scripted window: dialogs and clipboard are
// the fake's, the files are real.
#include "GameTestSupport.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>

using namespace korvana;
using namespace korvana::gametest;

namespace {

TEST(RecordCommands, SaveNamesByFilterAndOpensAgain)
{
    struct Case {
        const char *typed;
        int entry;
        const char *written;
        MOveTree::RecordFormat format;
    };
    const Case cases[] = {
        {"a", 1, "a.sgf", MOveTree::FormatSgf},
        {"b.BAN", 2, "b.BAN", MOveTree::FormatBan},
        {"c.ban", 3, "c.ban.pos", MOveTree::FormatPos},
    };
    Game g;
    g.play("h8 i9 aF");
    const auto played = g.flow.game().board().history().moves();
    RecordCommands &records = g.flow.records();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed);
        g.window.saveAnswer = g.scratch.file(c.typed);
        g.window.saveEntry = c.entry;
        records.Save();
        const std::string written = g.scratch.file(c.written);
        EXPECT_EQ(MOveTree::DetectFormat(written), c.format);
        EXPECT_EQ(g.flags.fileName, written);
        EXPECT_EQ(g.window.caption, std::string(GameFlow::ProductLine) + " - " + written);
        EXPECT_EQ(records.openFilterEntry(), c.entry);
        EXPECT_EQ(records.saveFilterEntry(), c.entry);
    }
    EXPECT_EQ(g.window.saveStartEntries, (std::vector<int>{2, 1, 2}));
    EXPECT_TRUE(g.window.messages.empty());

    g.flow.NewGame();
    EXPECT_EQ(records.saveFilterEntry(), 2);
    g.window.openAnswer = g.scratch.file("a.sgf");
    records.OpenWithDialog();
    EXPECT_EQ(g.flow.game().board().history().moves(), played);
    EXPECT_EQ(g.window.moveList, (std::vector<std::string>{"B1(h8):", "W2(i9):", "B3(aF):"}));
    EXPECT_EQ(g.window.status, "");

    // A cancelled dialog changes nothing; a failed write says so.
    g.window.saveAnswer.clear();
    records.Save();
    EXPECT_EQ(g.flags.fileName, g.scratch.file("a.sgf"));
    g.window.saveAnswer = g.scratch.file("missing/x");
    g.window.saveEntry = 2;
    records.Save();
    ASSERT_EQ(g.window.messages.size(), 1u);
    EXPECT_EQ(g.window.messages[0].text, "can't save game data to " + g.scratch.file("missing/x.ban"));
}

TEST(RecordCommands, CopyThenPaste)
{
    struct Case {
        const char *clipboard;
        bool pasted;
        int count; ///< moves on the board afterwards
    };
    const Case cases[] = {
        {"h8,i9,g7,**,", true, 3},
        {"game: h8,h8,i9,**,", true, 2}, // the refused repeat leaves no gap in the numbering
        {"", false, 2},
        {"h8,i9,", false, 2}, // a copied game that lost its end mark
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.clipboard);
        Game g;
        g.play("a1 b2");
        g.flow.records().Copy();
        EXPECT_EQ(g.window.clipboard, "a1,b2,**,");
        EXPECT_EQ(g.window.status, "copy game data to clip board");
        g.flags.fileName = "kept.sgf";
        g.flow.BeginBlack();
        g.window.clipboard = c.clipboard;
        g.flow.records().Paste();
        EXPECT_EQ(g.count(), c.count);
        EXPECT_EQ(g.flags.fileName, c.pasted ? "" : "kept.sgf") << "a failed paste changes nothing";
        EXPECT_EQ(g.window.moveList.size(), static_cast<size_t>(c.count));
        EXPECT_EQ(g.window.messages.size(), c.pasted ? 0u : 1u);
        EXPECT_EQ(g.flags.playing, c.pasted ? 0 : 1);
        if (c.pasted) {
            EXPECT_EQ(g.window.status, "paste game data from clip board");
            EXPECT_EQ(g.window.moveList.back()[1] - '0', c.count);
        }
    }
}

} // namespace

namespace {

TEST(RecordCommands, SaveChangesIsAskedOnlyAboutAChangedRecord)
{
    using Answer = GameWindow::SaveChanges;
    enum Change { Nothing, Browsed, UserMove, ComputerMove, Saved };
    enum Command { NewGame, Open, Paste, Close };
    struct Case {
        const char *name;
        Change change;
        Command command;
        std::deque<Answer> answers;
        bool saveDialogAnswered; ///< the save dialog after Save gives a name
        bool goesOn;             ///< the command replaced (or left) the game
    };
    const Case cases[] = {
        {"unchanged new game", Nothing, NewGame, {}, false, true},
        {"moving back and forward is no change", Browsed, Open, {}, false, true},
        {"saved after the move", Saved, Paste, {}, false, true},
        {"new game cancelled", UserMove, NewGame, {Answer::Cancel}, false, false},
        {"new game discarded", UserMove, NewGame, {Answer::Discard}, false, true},
        {"new game saved", UserMove, NewGame, {Answer::Save}, true, true},
        {"save dialog cancelled", UserMove, NewGame, {Answer::Save}, false, false},
        {"computer's move, open cancelled", ComputerMove, Open, {Answer::Cancel}, false, false},
        {"computer's move, open discarded", ComputerMove, Open, {Answer::Discard}, false, true},
        {"paste cancelled", UserMove, Paste, {Answer::Cancel}, false, false},
        {"close cancelled", UserMove, Close, {Answer::Cancel}, false, false},
        {"close saved", ComputerMove, Close, {Answer::Save}, true, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Game g;
        RecordCommands &records = g.flow.records();
        const std::string opened = g.scratch.file("opened.sgf");
        korvana::test::writeAll(opened, "(;GM[4];B[hh];W[ih])");
        korvana::test::writeAll(g.scratch.file("other.ban"), "101\n");
        records.Open(opened);
        g.window.saveAnswer = g.scratch.file("first");
        switch (c.change) {
        case Nothing: break;
        case Browsed: {
            g.flow.GoHome();
            g.flow.GoForward();
            const MOve *next = g.flow.game().current()->child(0);
            g.flow.TryMove(next->x(), next->y()); // the move already there
            break;
        }
        case UserMove: g.play("j7"); break;
        case ComputerMove:
            g.flow.BeginWhite();
            ASSERT_TRUE(g.settle());
            break;
        case Saved:
            g.play("j7");
            ASSERT_TRUE(records.Save());
            break;
        }
        const bool changed = c.change == UserMove || c.change == ComputerMove;
        EXPECT_EQ(records.Changed(), changed);
        const int before = g.count();
        const std::string caption = g.window.caption;
        g.window.saveChangesAnswers = c.answers;
        g.window.saveAnswer = c.saveDialogAnswered ? g.scratch.file("saved") : "";
        g.window.openAnswer = g.scratch.file("other.ban");
        g.window.clipboard = "a2 b2 c2 d2";
        bool goesOn = true;
        switch (c.command) {
        case NewGame: records.NewGame(); break;
        case Open: records.OpenWithDialog(); break;
        case Paste: records.Paste(); break;
        case Close: goesOn = records.ConfirmDiscard(); break;
        }
        EXPECT_EQ(g.window.saveChangesAsked, changed ? 1 : 0);
        if (c.command != Close)
            goesOn = g.count() != before;
        EXPECT_EQ(goesOn, c.goesOn);
        EXPECT_EQ(MOveTree::DetectFormat(g.scratch.file("saved.ban")) == MOveTree::FormatBan, c.saveDialogAnswered);
        if (!c.goesOn) {
            EXPECT_EQ(g.count(), before);
            EXPECT_EQ(g.window.caption, caption);
            EXPECT_EQ(g.flags.fileName, opened);
            EXPECT_TRUE(records.Changed());
        } else if (c.command != Close) {
            EXPECT_FALSE(records.Changed()) << "a new, opened or pasted record starts unchanged";
        }
    }
}

TEST(RecordCommands, SaveAsksAboutTheFileReallyWritten)
{
    struct Case {
        const char *typed;
        const char *existing; ///< a file there before the save
        bool replace;         ///< the answer to our question
        bool asked;           ///< we ask (the dialog asked about the typed name itself)
        const char *written;  ///< the file the save writes, or would
    };
    const Case cases[] = {
        {"game1", "game1.ban", false, true, "game1.ban"},
        {"game1", "game1.ban", true, true, "game1.ban"},
        {"game1.sgf", "game1.sgf.ban", false, true, "game1.sgf.ban"},
        {"game1.sgf", "game1.sgf", false, false, "game1.sgf.ban"},
        {"g.ban", "g.ban", false, false, "g.ban"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.typed) + " over " + c.existing);
        Game g;
        g.play("h8 i9");
        const std::string existing = g.scratch.file(c.existing);
        korvana::test::writeAll(existing, "old");
        g.window.saveAnswer = g.scratch.file(c.typed);
        g.window.replaceAnswer = c.replace;
        const bool writes = !c.asked || c.replace;
        EXPECT_EQ(g.flow.records().Save(), writes);
        const std::string written = g.scratch.file(c.written);
        EXPECT_EQ(g.window.replaceAsked, c.asked ? std::vector<std::string>{written} : std::vector<std::string>{});
        EXPECT_EQ(MOveTree::DetectFormat(written) == MOveTree::FormatBan, writes);
        if (existing != written || !writes) {
            EXPECT_EQ(korvana::test::readAll(existing), "old");
        }
        EXPECT_EQ(g.flags.fileName, writes ? written : "");
        EXPECT_EQ(g.flow.records().Changed(), !writes);
    }
}

TEST(RecordCommands, DialogsStartOnTheDefaultFormatAndTheLastDirectory)
{
    Game g;
    RecordCommands &records = g.flow.records();
    for (int format : {0, 2, 1}) {
        g.flow.settings().set(Settings::DefaultGameFileFormat, format);
        g.flow.NewGame();
        records.Save();
        EXPECT_EQ(g.window.saveStartEntries.back(), format + 1);
    }
    EXPECT_EQ(records.dialogDirectory(), "");
    korvana::test::writeAll(g.scratch.file("sub.ban"), "808\n");
    g.window.openAnswer = g.scratch.file("sub.ban");
    records.OpenWithDialog();
    EXPECT_EQ(records.dialogDirectory(), std::filesystem::path(g.scratch.file("sub.ban")).parent_path().string());
    g.window.saveAnswer = g.scratch.file("missing/x");
    records.Save(); // the write fails; the dialog still went there
    EXPECT_EQ(g.flow.settings().get(Settings::GameFileDirectory), g.scratch.file("missing"));
}

} // namespace
