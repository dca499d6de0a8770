// Open, Save, Copy and Paste on the scripted window: dialogs and clipboard are
// the fake's, the files are real.
#include "GameTestSupport.h"

#include <gtest/gtest.h>

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
