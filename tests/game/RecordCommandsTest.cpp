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

TEST(RecordCommands, SaveChangesIsAskedOnlyAboutAChangedRecord)
{
    using A = GameWindow::SaveChanges;
    enum Change { Nothing, Browsed, Saved, UserMove, ComputerMove };
    enum Command { NewGame, Open, Paste };
    struct Case {
        const char *name;
        Change change;
        Command command;
        A answer;
        const char *saveAs; ///< the save dialog's answer after Save; "" cancels it
        bool goesOn;
    };
    const Case cases[] = {
        {"unchanged", Nothing, Open, A::Cancel, "", true},
        {"browsing is no change", Browsed, Paste, A::Cancel, "", true},
        {"saved after the move", Saved, NewGame, A::Cancel, "", true},
        {"cancelled", UserMove, Paste, A::Cancel, "", false},
        {"discarded", ComputerMove, Open, A::Discard, "", true},
        {"saved", UserMove, Paste, A::Save, "saved", true},
        {"save dialog cancelled", UserMove, Open, A::Save, "", false},
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
            g.play("h8"); // the move already there
        } else if (c.change == ComputerMove) {
            g.flow.BeginWhite();
            ASSERT_TRUE(g.settle());
        } else if (c.change != Nothing) {
            g.play("j7");
        }
        if (c.change == Saved) {
            g.window.saveAnswer = g.scratch.file("first");
            ASSERT_TRUE(records.Save());
        }
        const int before = g.count();
        const std::string caption = g.window.caption;
        g.window.saveChangesAnswer = c.answer;
        g.window.saveAnswer = *c.saveAs ? g.scratch.file(c.saveAs) : "";
        g.window.clipboard = "a2 b2 c2 d2";
        switch (c.command) {
        case NewGame: records.NewGame(); break;
        case Open: records.OpenWithDialog(); break;
        case Paste: records.Paste(); break;
        }
        EXPECT_EQ(g.window.saveChangesAsked, c.change >= UserMove ? 1 : 0);
        EXPECT_EQ(g.count() != before, c.goesOn);
        EXPECT_EQ(MOveTree::DetectFormat(g.scratch.file("saved.ban")) == MOveTree::FormatBan, *c.saveAs != 0);
        EXPECT_EQ(records.Changed(), !c.goesOn) << "a new, opened or pasted record is unchanged";
        if (!c.goesOn) {
            EXPECT_EQ(std::tie(g.window.caption, g.flags.fileName), std::tie(caption, opened));
        }
    }
}

TEST(RecordCommands, SaveAsksAboutAnExistingFileOnlyWhenTheExtensionMadeTheName)
{
    struct Case {
        const char *typed, *existing, *written; ///< the file the save writes, or would
        bool asked;                             ///< false: the dialog asked about the typed name itself
        bool replace;                           ///< the answer when asked
    };
    const Case cases[] = {
        {"game1", "game1.ban", "game1.ban", true, false},
        {"game1", "game1.ban", "game1.ban", true, true},
        {"game1.sgf", "game1.sgf", "game1.sgf.ban", false, false},
        {"g.ban", "g.ban", "g.ban", false, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.typed) + (c.replace ? " replaced" : ""));
        Game g;
        g.play("h8 i9");
        korvana::test::writeAll(g.scratch.file(c.existing), "old");
        g.window.saveAnswer = g.scratch.file(c.typed);
        g.window.replaceAnswer = c.replace;
        const std::string written = g.scratch.file(c.written);
        const bool writes = !c.asked || c.replace;
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
        g.flow.records().Save();
        EXPECT_EQ(g.window.saveStartEntries.back(), format + 1);
    }
    g.window.saveAnswer = g.scratch.file("missing/x");
    g.flow.records().Save(); // the write fails; the dialog still went there
    EXPECT_EQ(g.flow.records().dialogDirectory(), g.scratch.file("missing"));
}

} // namespace
