// Open, Save, Copy and Paste on the scripted window: dialogs and clipboard are
// the fake's, the files are real.
#include "GameTestSupport.h"

#include <gtest/gtest.h>

#include <tuple>

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

TEST(RecordCommands, SaveChangesIsAskedOnlyAboutAChangedRecordAndCancelKeepsIt)
{
    using A = GameWindow::SaveChanges;
    enum Change { Nothing, Browsed, Saved, UserMove, ComputerMove };
    enum Command { NewGame, Open, Paste, Close };
    struct Case {
        const char *name;
        Change change;
        Command command;
        A answer;
        bool saveDialogAnswered; ///< the save dialog after Save gives a name
        bool goesOn;             ///< the command replaced (or left) the game
    };
    const Case cases[] = {
        {"unchanged", Nothing, NewGame, A::Cancel, false, true},
        {"browsing is no change", Browsed, Open, A::Cancel, false, true},
        {"saved after the move", Saved, Paste, A::Cancel, false, true},
        {"new game cancelled", UserMove, NewGame, A::Cancel, false, false},
        {"new game discarded", UserMove, NewGame, A::Discard, false, true},
        {"new game saved", UserMove, NewGame, A::Save, true, true},
        {"save dialog cancelled", UserMove, Paste, A::Save, false, false},
        {"computer's move, open cancelled", ComputerMove, Open, A::Cancel, false, false},
        {"close cancelled", ComputerMove, Close, A::Cancel, false, false},
        {"close saved", UserMove, Close, A::Save, true, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Game g;
        RecordCommands &records = g.flow.records();
        const std::string opened = g.scratch.file("opened.sgf");
        korvana::test::writeAll(opened, "(;GM[4];B[hh];W[ih])");
        korvana::test::writeAll(g.window.openAnswer = g.scratch.file("other.ban"), "101\n");
        records.Open(opened);
        if (c.change == Browsed) {
            g.flow.GoHome();
            g.flow.GoForward();
            const MOve *next = g.flow.game().current()->child(0);
            g.flow.TryMove(next->x(), next->y()); // the move already there
        } else if (c.change == ComputerMove) {
            g.flow.BeginWhite();
            ASSERT_TRUE(g.settle());
        } else if (c.change != Nothing) {
            g.play("j7");
        }
        g.window.saveAnswer = g.scratch.file("first");
        if (c.change == Saved) {
            ASSERT_TRUE(records.Save());
        }
        const int before = g.count();
        const std::string caption = g.window.caption;
        g.window.saveChangesAnswers = {c.answer};
        g.window.saveAnswer = c.saveDialogAnswered ? g.scratch.file("saved") : "";
        g.window.clipboard = "a2 b2 c2 d2";
        bool goesOn = true;
        switch (c.command) {
        case NewGame: records.NewGame(); break;
        case Open: records.OpenWithDialog(); break;
        case Paste: records.Paste(); break;
        case Close: goesOn = records.ConfirmDiscard(); break;
        }
        EXPECT_EQ(g.window.saveChangesAsked, c.change >= UserMove ? 1 : 0);
        EXPECT_EQ(c.command == Close ? goesOn : g.count() != before, c.goesOn);
        EXPECT_EQ(MOveTree::DetectFormat(g.scratch.file("saved.ban")) == MOveTree::FormatBan, c.saveDialogAnswered);
        EXPECT_EQ(records.Changed(), !c.goesOn) << "a saved, new, opened or pasted record is unchanged";
        if (!c.goesOn) {
            EXPECT_EQ(std::tie(g.window.caption, g.flags.fileName), std::tie(caption, opened));
        }
    }
}

TEST(RecordCommands, SaveAsksAboutTheFileReallyWritten)
{
    struct Case {
        const char *typed, *existing;
        bool replace;        ///< the answer to our question
        bool asked;          ///< false: the dialog asked about the typed name itself
        const char *written; ///< the file the save writes, or would
    };
    const Case cases[] = {
        {"game1", "game1.ban", false, true, "game1.ban"},
        {"game1", "game1.ban", true, true, "game1.ban"},
        {"game1.sgf", "game1.sgf", false, false, "game1.sgf.ban"},
        {"g.ban", "g.ban", false, false, "g.ban"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.typed) + " over " + c.existing);
        Game g;
        g.play("h8 i9");
        korvana::test::writeAll(g.scratch.file(c.existing), "old");
        g.window.saveAnswer = g.scratch.file(c.typed);
        g.window.replaceAnswer = c.replace;
        const bool writes = !c.asked || c.replace;
        const std::string written = g.scratch.file(c.written);
        EXPECT_EQ(g.flow.records().Save(), writes);
        EXPECT_EQ(g.window.replaceAsked, c.asked ? std::vector<std::string>{written} : std::vector<std::string>{});
        EXPECT_EQ(MOveTree::DetectFormat(written) == MOveTree::FormatBan, writes);
        EXPECT_EQ(g.flags.fileName, writes ? written : "");
    }
}

TEST(RecordCommands, DialogsStartOnTheDefaultFormatAndTheLastDirectory)
{
    Game g;
    for (int format : {0, 2}) {
        g.flow.settings().set(Settings::DefaultGameFileFormat, format);
        g.flow.NewGame();
        g.flow.records().Save();
        EXPECT_EQ(g.window.saveStartEntries.back(), format + 1);
    }
    g.window.saveAnswer = g.scratch.file("missing/x");
    g.flow.records().Save(); // the write fails; the dialog still went there
    EXPECT_EQ(g.flow.records().dialogDirectory(), g.scratch.file("missing"));
}

} // namespace
