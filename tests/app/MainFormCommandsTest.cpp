// The main window's commands: the menu bar, tool bar and pop-up menu as the
// user sees them, open and save through the filter list, copy and paste
// through the clipboard, the view and database toggles, database editing by
// Shift+click, help, about, options, colour, rule and the information window.
// File dialogs, the colour dialog and the desktop are answered by a scripted
// subclass; the clipboard is the real one (in-process under offscreen).

#include "app/TMainForm.h"

#include "dialogs/GameTreeModel.h"
#include "dialogs/THelpBrowser.h"
#include "dialogs/TPagesDlg.h"
#include "dialogs/TTreeForm.h"
#include "game/Kumo98Dll.h"
#include "record/MOveTree.h"
#include "settings/KvParam.h"
#include "dialogs/TOptionForm.h"
#include "support/qt/ModalWatchdog.h"
#include "view/AnalysisPanel.h"
#include "view/BoardPaintBox.h"
#include "view/MoveList.h"
#include "view/StatusLine.h"

#include <QAction>
#include <QDockWidget>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTest>
#include <QPushButton>
#include <QTextBlock>
#include <QToolBar>
#include <QTreeView>
#include <QUrl>
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <fstream>
#include <functional>
#include <sstream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace korvana {
namespace {

constexpr const char *Product = "Korvana3 for Preview Release";

class CommandForm : public TMainForm {
public:
    using TMainForm::TMainForm;

    void showMessageWindow(const std::string &text, const std::string &caption) override
    {
        messages.emplace_back(text, caption);
    }
    bool askColourIsBlack() override { return true; }
    bool askDatabaseUpdate() override
    {
        ++databaseAsked;
        return databaseAnswer;
    }
    int askWhichRemove() override { return 0; }
    void beep(BeepKind) override {}
    std::string askOpenFileName() override
    {
        openStartEntries.push_back(openFilterEntry());
        return openAnswer;
    }
    std::string askSaveFileName(int &entry) override
    {
        saveStartEntries.push_back(entry);
        if (!saveAnswer.empty())
            entry = saveEntry;
        return saveAnswer;
    }
    bool askColour(int initial, int &chosen) override
    {
        colourInitial = initial;
        if (colourAnswer < 0)
            return false;
        chosen = colourAnswer;
        return true;
    }
    bool openDocument(const std::string &path) override
    {
        documents.push_back(path);
        return documentOpens;
    }
    bool askYesNo(const std::string &text, const std::string &) override
    {
        questions.push_back(text);
        return yesAnswer;
    }
    SaveChanges askSaveChanges() override { return SaveChanges::Discard; }

    std::vector<std::pair<std::string, std::string>> messages;
    bool databaseAnswer = false;
    int databaseAsked = 0;
    std::string openAnswer;
    std::vector<int> openStartEntries;
    std::string saveAnswer;
    int saveEntry = 2;
    std::vector<int> saveStartEntries;
    int colourAnswer = -1;
    int colourInitial = -1;
    bool documentOpens = true;
    std::vector<std::string> documents;
    std::vector<std::string> questions;
    bool yesAnswer = true;
};

/// Accepts at once, as if the user pressed OK: no modal loop.
class ScriptedOptionForm : public TOptionForm {
public:
    using TOptionForm::TOptionForm;
    int exec() override
    {
        Fill();
        if (edit)
            edit(*this);
        if (!directory.isEmpty())
            findChild<QLineEdit *>(QStringLiteral("E_DB_DirName"))->setText(directory);
        ++shown;
        shownAt = pos();
        if (ok)
            accept();
        else
            reject();
        return result();
    }
    QString directory;
    std::function<void(ScriptedOptionForm &)> edit;
    bool ok = true;
    int shown = 0;
    QPoint shownAt;
};

class MainFormCommandsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        programPath = dir.filePath(QStringLiteral("korvana")).toStdString();
        databaseDir = dir.filePath(QStringLiteral("adb/")).toStdString();
        QDir(dir.path()).mkpath(QStringLiteral("adb"));
        KvFlags::instance().fileName.clear();
        previousDirectory = QDir::currentPath();
        QDir::setCurrent(dir.path());
        preset({});
    }
    void TearDown() override
    {
        form.reset();
        QDir::setCurrent(previousDirectory);
    }

    /// Settings written before the program starts; the database lives in the scratch directory.
    void preset(const std::vector<std::tuple<const char *, const char *, int>> &values)
    {
        KvParam settings;
        settings.SetPath(programPath);
        settings.Load();
        settings.SetText("Database", "DatabaseDirName", databaseDir);
        for (auto [section, key, value] : values)
            settings.SetInt(section, key, value);
        ASSERT_EQ(settings.Save(), 0);
    }
    CommandForm &start()
    {
        form = std::make_unique<CommandForm>(programPath, nullptr, &library);
        form->show();
        QApplication::processEvents();
        return *form;
    }
    QAction *item(const char *name) const
    {
        QAction *a = form->action(QString::fromLatin1(name));
        EXPECT_NE(a, nullptr) << name;
        return a;
    }
    std::string status() const { return form->statusLine()->statusText().toStdString(); }
    const BanHistory &history() const { return form->flow().game().board().history(); }
    int moveCount() const { return form->flow().game().board().moveCount(); }
    void click(int x, int y, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::mouseClick(form->paintBox(), Qt::LeftButton, modifiers, BoardView::pointCentre(x, y));
    }
    void play(const std::vector<std::pair<int, int>> &points)
    {
        for (auto [x, y] : points)
            click(x, y);
    }
    std::string path(const char *name) const { return dir.filePath(QString::fromLatin1(name)).toStdString(); }

    testing::ModalWatchdog watchdog;
    QTemporaryDir dir;
    std::string programPath;
    std::string databaseDir;
    QString previousDirectory;
    Kumo98Dll library; // none loaded unless a test loads one
    std::unique_ptr<CommandForm> form;
};

// --- what the user sees ----------------------------------------------------------

TEST_F(MainFormCommandsTest, MenuBarCaptionsShortcutsAndStates)
{
    // The preview of the old menus first, then the menus as they are now.
    for (int preview : {1, 0}) {
        SCOPED_TRACE(preview ? "preview" : "now");
        preset({{"System", "PreviewMenus", preview}});
        CommandForm &w = start();
        QStringList titles;
        for (QAction *menu : w.menuBar()->actions())
            titles << menu->text();
        EXPECT_EQ(titles, (QStringList{"&File", "&Edit", "&View", "&Run", "&Database", "&Option", "&Help"}));

        struct Item {
            const char *name, *caption, *shortcut;
            bool checkable, checked, visible, enabled;
        };
        const Item items[] = {
            {"New Game", "&New Game", "Ctrl+N", false, false, true, true},
            {"Open Game", "&Open Game", "Ctrl+O", false, false, true, true},
            {"Save Game", "&Save Game", "Ctrl+S", false, false, true, true},
            {"Exit", "E&xit", "Ctrl+Q", false, false, true, true},
            {"Copy", "&Copy", "Ctrl+C", false, false, true, true},
            {"Paste", "&Paste", "Ctrl+V", false, false, true, true},
            {"Numbering", "&Numbering", "", true, true, true, true},
            {"Latest Move", "&Latest Move", "", true, false, true, true},
            {"Input Assistant", "Input &Assistant", "", true, false, true, true},
            {"Warning", "&Warning", "", true, false, true, true},
            {"Tool bar", "&Tool bar", "", true, true, true, true},
            {"Axis Character", "&Axis Character", "", true, true, true, true},
            {"Game Tree", "&Game Tree", "", true, false, true, true},
            {"Black", "&Black", "", false, false, true, true},
            {"White", "&White", "", false, false, true, true},
            {"Previous move", "&Previous move", "", false, false, true, true},
            {"Next move", "&Next move", "", false, false, true, true},
            {"Give up", "&Give up", "", false, false, true, false},
            {"View Database", "&View Database", "", true, false, true, true},
            {"Enable Editing", "&Enable Editing", "", true, false, true, false},
            {"Automatically Update", "&Automatically Update", "", true, false, true, false},
            {"Database Help", "&Help", "", false, false, true, true},
            {"Rule", "&Rule", "", false, false, false, true},
            {"Renju", "&Renju", "", true, true, true, true},
            {"Gomoku", "Gomoku", "", true, false, true, false},
            {"WC 1998", "&WC 1998", "", true, false, true, false},
            {"Sound", "&Sound", "", true, true, false, true}, // the settings' default is on
            {"Color", "&Color", "", false, false, false, true},
            {"Information", "&Information", "", false, false, false, false},
            {"Option", "&Option", "", false, false, true, true},
            {"Help", "&Help", "F1", false, false, true, true},
            {"About", "&About", "", false, false, true, true},
            {"Forbidden Points", "&Forbidden Points", "", true, false, false, true},
            {"Analysis", "Anal&ysis", "", true, false, false, true},
            {"Find forced win", "&Find forced win", "", false, false, false, true},
        };
        // What differs now: every rule, the sound, colour and information, and the new items.
        const Item now[] = {
            {"Rule", "&Rule", "", false, false, true, true},
            {"Gomoku", "Gomoku", "", true, false, true, true},
            {"WC 1998", "&WC 1998", "", true, false, true, true},
            {"Sound", "&Sound", "", true, true, true, true},
            {"Color", "&Color", "", false, false, true, true},
            {"Information", "&Information", "", false, false, true, true},
            {"Forbidden Points", "&Forbidden Points", "", true, false, true, true},
            {"Analysis", "Anal&ysis", "", true, false, true, true},
            {"Find forced win", "&Find forced win", "", false, false, true, true},
        };
        for (Item i : items) {
            for (const Item &n : now)
                if (!preview && std::string_view(n.name) == i.name)
                    i = n;
            SCOPED_TRACE(i.name);
            QAction *a = item(i.name);
            ASSERT_NE(a, nullptr);
            EXPECT_EQ(a->text(), QString::fromLatin1(i.caption));
            EXPECT_EQ(a->shortcut().toString(), QString::fromLatin1(i.shortcut));
            EXPECT_EQ(a->isCheckable(), i.checkable);
            EXPECT_EQ(a->isChecked(), i.checked);
            EXPECT_EQ(a->isVisible(), i.visible);
            // Qt disables what it hides, so a hidden item cannot be reached by its shortcut either.
            EXPECT_EQ(a->isEnabled(), i.enabled && i.visible);
        }
        form.reset();
    }
}

TEST_F(MainFormCommandsTest, ToolBarHintsAndPopupMenu)
{
    CommandForm &w = start();
    QStringList hints;
    QList<bool> enabled;
    for (QAction *a : w.toolBar()->actions()) {
        if (a->isSeparator())
            continue;
        hints << a->toolTip();
        enabled << a->isEnabled();
    }
    ASSERT_EQ(hints.size(), 8);
    EXPECT_EQ(hints, (QStringList{"New Game", "Open Game File", "Save Game Data", "Begin with Black",
                                  "Begin with White", "Give up", "Move Back", "Next move"}));
    EXPECT_EQ(enabled, (QList<bool>{true, true, true, true, true, false, true, true})) << "Give up";
    w.action(QStringLiteral("Black"))->trigger();
    EXPECT_TRUE(w.toolBar()->actions().contains(item("Give up")));
    EXPECT_TRUE(item("Give up")->isEnabled());

    QStringList popup;
    for (QAction *a : w.popupMenu()->actions())
        if (!a->isSeparator())
            popup << a->text();
    EXPECT_EQ(popup, (QStringList{"Move back", "Give up", "Save Database", "Cancel"}));
    EXPECT_FALSE(item("Popup Save Database")->isEnabled());
    EXPECT_EQ(w.paintBox()->contextMenuPolicy(), Qt::CustomContextMenu);
}

// --- files -------------------------------------------------------------------------

TEST_F(MainFormCommandsTest, SaveNamesTheFileByTheChosenFilter)
{
    struct Case {
        const char *typed;
        int entry;
        const char *written;
        MOveTree::RecordFormat format;
    };
    const Case cases[] = {
        {"game", 2, "game.ban", MOveTree::FormatBan},
        {"GAME.BAN", 2, "GAME.BAN", MOveTree::FormatBan},
        {"game.sgf.txt", 1, "game.sgf.txt", MOveTree::FormatSgf},
        {"game", 1, "game.sgf", MOveTree::FormatSgf},
        {"game", 3, "game.pos", MOveTree::FormatPos},
        {"x.ban", 3, "x.ban.pos", MOveTree::FormatPos}, // another format's extension counts for nothing
    };
    CommandForm &w = start();
    play({{7, 7}, {8, 8}, {6, 6}});
    int expectedStart = 2;
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.typed) + " under " + std::to_string(c.entry));
        w.saveAnswer = path(c.typed);
        w.saveEntry = c.entry;
        item("Save Game")->trigger();
        EXPECT_EQ(w.saveStartEntries.back(), expectedStart) << "the last choice is the start entry";
        const std::string written = path(c.written);
        EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(written)));
        EXPECT_EQ(MOveTree::DetectFormat(written), c.format);
        EXPECT_EQ(w.flow().flags().fileName, written);
        EXPECT_EQ(w.windowTitle().toStdString(), std::string(Product) + " - " + written);
        EXPECT_EQ(w.openFilterEntry(), c.entry);
        EXPECT_EQ(w.saveFilterEntry(), c.entry);
        expectedStart = c.entry;
    }
    EXPECT_TRUE(w.messages.empty());
    // A new game puts both dialogs back on .ban; a cancelled save changes nothing.
    item("New Game")->trigger();
    EXPECT_EQ(w.openFilterEntry(), 2);
    EXPECT_EQ(w.saveFilterEntry(), 2);
    const std::string before = w.flow().flags().fileName;
    w.saveAnswer.clear();
    w.saveEntry = 3;
    item("ToolSaveGame")->trigger();
    EXPECT_EQ(w.saveStartEntries.size(), std::size(cases) + 1);
    EXPECT_EQ(w.flow().flags().fileName, before);
    EXPECT_EQ(w.saveFilterEntry(), 2);
}

TEST_F(MainFormCommandsTest, SavedGamesOpenAgainInEveryFormat)
{
    const std::vector<std::pair<int, int>> moves{{7, 7}, {8, 6}, {9, 5}, {6, 8}, {10, 10}, {0, 14}, {14, 0}};
    for (int entry : {1, 2, 3}) {
        SCOPED_TRACE(entry);
        CommandForm &w = start();
        play(moves);
        ASSERT_EQ(moveCount(), 7);
        const std::vector<MovedPos> played = history().moves();
        w.saveAnswer = path("round");
        w.saveEntry = entry;
        item("ToolSaveGame")->trigger();
        const std::string saved = w.flow().flags().fileName;

        item("New Game")->trigger();
        ASSERT_EQ(moveCount(), 0);
        w.openAnswer = saved;
        item("Open Game")->trigger();
        EXPECT_EQ(w.openStartEntries.back(), 2) << "a new game starts the dialog on .ban";
        EXPECT_EQ(history().moves(), played);
        EXPECT_EQ(w.windowTitle().toStdString(), std::string(Product) + " - " + saved);
        ASSERT_EQ(w.moveList()->lineCount(), 7);
        EXPECT_EQ(w.moveList()->line(0), QStringLiteral("B1(h8):"));
        EXPECT_EQ(w.moveList()->line(6), QStringLiteral("B7(o1):"));
        EXPECT_EQ(status(), "");
        form.reset();
    }
}

TEST_F(MainFormCommandsTest, OpenGivesUpAndCancelChangesNothing)
{
    CommandForm &w = start();
    play({{7, 7}});
    item("Black")->trigger();
    ASSERT_EQ(w.flow().flags().playing, 1);
    item("Open Game")->trigger(); // cancelled
    EXPECT_EQ(w.flow().flags().playing, 1);
    EXPECT_EQ(moveCount(), 1);

    const std::string game = path("g.sgf");
    std::ofstream(game) << "(;GM[4]SZ[15]RU[Renju 1998];B[hh];W[ih])";
    w.openAnswer = game;
    item("ToolOpenGame")->trigger();
    EXPECT_EQ(w.flow().flags().playing, 0);
    EXPECT_EQ(moveCount(), 2);
    EXPECT_EQ(w.windowTitle().toStdString(), std::string(Product) + " - " + game);
}

TEST_F(MainFormCommandsTest, FailedSaveIsReported)
{
    CommandForm &w = start();
    play({{7, 7}});
    w.saveAnswer = path("missing-directory/game");
    item("Save Game")->trigger();
    ASSERT_EQ(w.messages.size(), 1u);
    EXPECT_EQ(w.messages[0].first, "can't save game data to " + path("missing-directory/game.ban"));
}

// --- clipboard -----------------------------------------------------------------------

TEST_F(MainFormCommandsTest, CopyPutsTheMovesOnTheClipboard)
{
    start();
    play({{7, 7}, {8, 8}, {0, 14}});
    QApplication::clipboard()->clear();
    item("Copy")->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("h8,i9,aF,**,"));
    EXPECT_EQ(status(), "copy game data to clip board");
    EXPECT_EQ(moveCount(), 3);
}

TEST_F(MainFormCommandsTest, PasteOfFiveMovesThenAClickNumberedSix)
{
    const std::string game = path("before.sgf");
    std::ofstream(game) << "(;GM[4]SZ[15]RU[Renju 1998];B[aa])";
    CommandForm &w = start();
    w.OpenGameFile(game);
    item("Black")->trigger();
    QApplication::clipboard()->setText(QStringLiteral("game: h8,i9,g7,j8,g9,**,"));
    item("Paste")->trigger();
    ASSERT_EQ(moveCount(), 5);
    EXPECT_EQ(w.flow().flags().fileName, "");
    EXPECT_EQ(w.windowTitle().toStdString(), Product);
    EXPECT_EQ(w.flow().flags().playing, 0);
    EXPECT_EQ(status(), "paste game data from clip board");
    ASSERT_EQ(w.moveList()->lineCount(), 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(w.moveList()->line(i).startsWith(QString(i % 2 ? "W" : "B") + QString::number(i + 1) + "("))
            << w.moveList()->line(i).toStdString();
    EXPECT_EQ(history()[3], (MovedPos{9, 7, 'W', history()[3].code}));
    click(10, 10);
    ASSERT_EQ(w.moveList()->lineCount(), 6);
    EXPECT_EQ(w.moveList()->line(5), QStringLiteral("W6(kB):"));
}

TEST_F(MainFormCommandsTest, FailedPasteKeepsTheGameButClearsTheFileName)
{
    const std::string game = path("kept.sgf");
    std::ofstream(game) << "(;GM[4]SZ[15]RU[Renju 1998];B[hh];W[ii])";
    CommandForm &w = start();
    w.OpenGameFile(game);
    ASSERT_EQ(w.windowTitle().toStdString(), std::string(Product) + " - " + game);
    for (const char *text : {"", "h8,i9,", "no moves here **,"}) {
        SCOPED_TRACE(text);
        w.messages.clear();
        QApplication::clipboard()->setText(QString::fromLatin1(text));
        item("Paste")->trigger();
        ASSERT_EQ(w.messages.size(), 1u);
        EXPECT_EQ(w.messages[0],
                  (std::pair<std::string, std::string>{"can't paste game data from clip board", "KORVANA"}));
        EXPECT_EQ(w.windowTitle().toStdString(), std::string(Product) + " - " + game);
        EXPECT_EQ(moveCount(), 2);
        EXPECT_EQ(w.moveList()->lineCount(), 2);
    }
}

TEST_F(MainFormCommandsTest, FileAndHelpShortcutsReachTheirCommands)
{
    CommandForm &w = start();
    QApplication::setActiveWindow(&w);
    play({{7, 7}});
    QTest::keyClick(&w, Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(moveCount(), 0) << "Ctrl+N";
    QTest::keyClick(&w, Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(w.openStartEntries.size(), 1u) << "Ctrl+O";
    QTest::keyClick(&w, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(w.saveStartEntries.size(), 1u) << "Ctrl+S";
    QTest::keyClick(&w, Qt::Key_F1);
    EXPECT_EQ(w.documents.size(), 1u) << "F1";
    EXPECT_EQ(w.flow().flags().pendingColumn, 'z') << "no shortcut is a typed column";
    QTest::keyClick(&w, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(w.isVisible()) << "Ctrl+Q";
}

TEST_F(MainFormCommandsTest, CopyAndPasteShortcuts)
{
    CommandForm &w = start();
    QApplication::setActiveWindow(&w);
    play({{7, 7}, {7, 8}});
    QTest::keyClick(&w, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("h8,h9,**,"));
    EXPECT_EQ(w.flow().flags().pendingColumn, 'z') << "Ctrl+C is no column";
    QApplication::clipboard()->setText(QStringLiteral("a1,**,"));
    QTest::keyClick(&w, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(moveCount(), 1);
    EXPECT_EQ(status(), "paste game data from clip board");
}

// --- keyboard and mouse ----------------------------------------------------------------

TEST_F(MainFormCommandsTest, TypedPoints)
{
    struct Case {
        const char *keys;
        int moves;
        char pending;
    };
    const Case cases[] = {
        {"h8", 1, 'z'},   {"hg", 0, 'h'},  {"Hg", 0, 'h'},  {"h\b", 0, 'z'},
        {"h\b8", 0, 'z'}, {"oF", 1, 'z'},  {"pa1", 1, 'z'}, // p is no column: a1 is played
        {"hh", 0, 'h'},                                     // row 16: refused, h stays pending
        {"hh8", 1, 'z'},  {"7h8", 1, 'z'}, {"aA", 1, 'z'},
    };
    CommandForm &w = start();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.keys);
        w.flow().NewGame();
        for (const char *k = c.keys; *k; ++k) {
            if (*k == '\b')
                QTest::keyClick(&w, Qt::Key_Backspace);
            else
                QTest::keyClicks(&w, QString(QChar::fromLatin1(*k)));
        }
        EXPECT_EQ(moveCount(), c.moves);
        EXPECT_EQ(w.flow().flags().pendingColumn, c.pending);
    }
    w.flow().NewGame();
    QTest::keyClicks(&w, QStringLiteral("h8"));
    ASSERT_EQ(moveCount(), 1);
    EXPECT_EQ(history()[0].x, 7);
    EXPECT_EQ(history()[0].y, 7);
    QTest::keyClick(&w, Qt::Key_Backspace); // nothing pending: move back
    EXPECT_EQ(moveCount(), 0);
}

TEST_F(MainFormCommandsTest, ShiftClickEditsTheDatabaseOnlyWhenEnabled)
{
    CommandForm &w = start();
    click(3, 3, Qt::ShiftModifier);
    EXPECT_EQ(moveCount(), 0) << "no move with Shift";
    EXPECT_EQ(w.flow().position().candidateCount(), 0);
    EXPECT_EQ(w.flow().flags().databaseDirty, 0);

    item("View Database")->trigger();
    item("Enable Editing")->trigger();
    ASSERT_EQ(w.flow().settings().GetInt("Database", "EnableEditing"), 1);
    click(3, 3, Qt::ShiftModifier);
    EXPECT_EQ(moveCount(), 0);
    ASSERT_EQ(w.flow().position().candidateCount(), 1);
    EXPECT_EQ(w.flow().position().candidatePoint(0), 3 + 15 * 3);
    EXPECT_EQ(w.flow().flags().databaseDirty, 1);
    // Shown lettered in green over the board.
    const QPoint centre = BoardView::pointCentre(3, 3);
    EXPECT_EQ(w.view().bitmap().pixelColor(centre + QPoint(-7, 0)), QColor(0, 255, 0));
    item("View Database")->trigger();
    EXPECT_NE(w.view().bitmap().pixelColor(centre + QPoint(-7, 0)), QColor(0, 255, 0));

    // Typed moves do not settle the edits; a click does, and asks.
    QTest::keyClicks(&w, QStringLiteral("h8"));
    EXPECT_EQ(w.databaseAsked, 0);
    EXPECT_EQ(w.flow().flags().databaseDirty, 1);
    click(9, 9);
    EXPECT_EQ(w.databaseAsked, 1);
    EXPECT_EQ(w.flow().flags().databaseDirty, 0);
}

TEST_F(MainFormCommandsTest, NewGameFromTheMenuDoesNotAskTheToolBarDoes)
{
    preset({{"Database", "ViewDatabase", 1}, {"Database", "EnableEditing", 1}});
    struct Case {
        const char *command;
        int asked;
    };
    const Case cases[] = {{"New Game", 0}, {"ToolNewGame", 1}, {"Open Game", 0}, {"ToolOpenGame", 1}};
    CommandForm &w = start();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.command);
        w.databaseAsked = 0;
        click(7, 7);
        click(2, 2, Qt::ShiftModifier);
        ASSERT_EQ(w.flow().flags().databaseDirty, 1);
        item(c.command)->trigger();
        EXPECT_EQ(w.databaseAsked, c.asked);
        EXPECT_EQ(w.flow().flags().databaseDirty, c.asked ? 0 : 1);
        w.flow().flags().databaseDirty = 0;
        w.flow().NewGame();
    }
}

TEST_F(MainFormCommandsTest, SavedDatabaseEditIsFoundOnTheNextStart)
{
    preset({{"Database", "ViewDatabase", 1}, {"Database", "EnableEditing", 1}});
    CommandForm &w = start();
    EXPECT_TRUE(item("Enable Editing")->isEnabled());
    EXPECT_TRUE(item("Popup Save Database")->isEnabled());
    click(7, 7);
    click(8, 8, Qt::ShiftModifier);
    click(6, 8, Qt::ShiftModifier);
    ASSERT_EQ(w.flow().position().candidateCount(), 2);
    item("Popup Save Database")->trigger();
    EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(databaseDir + "kumo001.adb")));
    form.reset();

    CommandForm &again = start();
    EXPECT_EQ(again.flow().position().candidateCount(), 0) << "empty board";
    QTest::keyClicks(&again, QStringLiteral("h8"));
    EXPECT_EQ(again.flow().position().candidateCount(), 2);
}

// --- toggles ---------------------------------------------------------------------

TEST_F(MainFormCommandsTest, ViewTogglesWriteTheirKeys)
{
    struct Case {
        const char *item, *section, *key;
    };
    const Case cases[] = {
        {"Numbering", "System", "ViewBoardNumbering"},
        {"Latest Move", "System", "ViewLatestMove"},
        {"Input Assistant", "Option", "InputAssistant"},
        {"Warning", "System", "ViewWarning"},
        {"Tool bar", "System", "ViewToolBar"},
        {"Axis Character", "System", "ViewAxisCharacter"},
        {"Sound", "Option", "SountEffect"},
        {"Automatically Update", "Database", "AutomaticallyUpdate"},
        {"Enable Editing", "Database", "EnableEditing"},
        {"View Database", "Database", "ViewDatabase"},
        {"Forbidden Points", "System", "ViewForbiddenPoints"},
        {"Analysis", "System", "ViewAnalysis"},
    };
    preset({{"Database", "ViewDatabase", 1}, {"Database", "EnableEditing", 1}});
    CommandForm &w = start();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.item);
        QAction *a = item(c.item);
        for (int round = 0; round < 2; ++round) {
            const bool was = a->isChecked();
            a->trigger();
            EXPECT_EQ(a->isChecked(), !was);
            EXPECT_EQ(w.flow().settings().GetInt(c.section, c.key), was ? 0 : 1);
        }
    }
    // The axis characters leave the picture at once with their setting.
    auto darkAboveTheBoard = [&w] {
        int dark = 0;
        for (int y = 0; y < 28; ++y)
            for (int x = 30; x < 330; ++x)
                dark += w.view().bitmap().pixelColor(x, y).lightness() < 60;
        return dark;
    };
    const int withLetters = darkAboveTheBoard();
    item("Axis Character")->trigger();
    EXPECT_LT(darkAboveTheBoard() + 20, withLetters);
    // The tool bar changes the height by 33 and nothing else.
    const int height = w.height();
    item("Tool bar")->trigger();
    EXPECT_EQ(w.height(), height - 33);
    item("Tool bar")->trigger();
    EXPECT_EQ(w.height(), height);
}

TEST_F(MainFormCommandsTest, DatabaseMenuEnablingRules)
{
    struct Start {
        int view, editing, update;
        bool editingEnabled, updateEnabled, saveEnabled;
    };
    const Start starts[] = {
        {0, 0, 0, false, false, false},
        {1, 0, 0, true, false, false},
        {1, 1, 0, true, true, true},
        {0, 1, 1, false, true, true}, // each setting switches on only what its item leads to
    };
    for (const Start &s : starts) {
        SCOPED_TRACE(std::to_string(s.view) + std::to_string(s.editing) + std::to_string(s.update));
        preset({{"Database", "ViewDatabase", s.view},
                {"Database", "EnableEditing", s.editing},
                {"Database", "AutomaticallyUpdate", s.update}});
        start();
        EXPECT_EQ(item("View Database")->isChecked(), s.view != 0);
        EXPECT_EQ(item("Enable Editing")->isChecked(), s.editing != 0);
        EXPECT_EQ(item("Automatically Update")->isChecked(), s.update != 0);
        EXPECT_EQ(item("Enable Editing")->isEnabled(), s.editingEnabled);
        EXPECT_EQ(item("Automatically Update")->isEnabled(), s.updateEnabled);
        EXPECT_EQ(item("Popup Save Database")->isEnabled(), s.saveEnabled);
        form.reset();
    }
    preset({{"Database", "ViewDatabase", 0}, {"Database", "EnableEditing", 0}});
    start();
    item("View Database")->trigger(); // on: all three follow
    EXPECT_TRUE(item("Enable Editing")->isEnabled());
    EXPECT_TRUE(item("Automatically Update")->isEnabled());
    EXPECT_TRUE(item("Popup Save Database")->isEnabled());
    item("Enable Editing")->trigger(); // on
    item("Enable Editing")->trigger(); // off: update and save follow it
    EXPECT_FALSE(item("Automatically Update")->isEnabled());
    EXPECT_FALSE(item("Popup Save Database")->isEnabled());
    EXPECT_TRUE(item("Enable Editing")->isEnabled());
    item("View Database")->trigger(); // off: all three
    EXPECT_FALSE(item("Enable Editing")->isEnabled());
}

TEST_F(MainFormCommandsTest, RuleItemsSetTheRuleButNotTheCaption)
{
    preset({{"Option", "GameRule", 7}});
    CommandForm &w = start();
    EXPECT_TRUE(item("Renju")->isChecked());
    item("Black")->trigger();
    const QString caption = w.windowTitle();
    w.flow().opening().openingStep = 2;
    w.SetRule(2);
    EXPECT_EQ(w.flow().settings().GetInt("Option", "GameRule"), 2);
    EXPECT_TRUE(item("WC 1998")->isChecked());
    EXPECT_FALSE(item("Renju")->isChecked());
    EXPECT_EQ(w.flow().opening().openingStep, 0);
    EXPECT_EQ(w.windowTitle(), caption);
    EXPECT_EQ(w.flow().flags().playing, 1) << "the game goes on";
    item("Renju")->trigger();
    EXPECT_EQ(w.flow().settings().GetInt("Option", "GameRule"), 0);
    EXPECT_TRUE(item("Renju")->isChecked());
    EXPECT_FALSE(item("WC 1998")->isChecked());
    item("Gomoku")->trigger();
    EXPECT_EQ(w.flow().settings().GetInt("Option", "GameRule"), 1);
    EXPECT_TRUE(item("Gomoku")->isChecked());
    EXPECT_FALSE(item("Renju")->isChecked());
}

TEST_F(MainFormCommandsTest, AnalysisPanelAndForcedWinOnARealPosition)
{
    // A VCF position of the engine's test set: White to move wins by fours.
    const char *const moves = "h8 i7 j8 k8 k7 i9 i8 f8 h9 hA e7 j7 h5 iA i5 j9 hB l9 h7 h6 i6 m9 k9 kA jA";
    ASSERT_TRUE(library.LoadFromDirectory(KORVANA_BIN_DIR "/")) << library.lastError();
    CommandForm &w = start();
    std::istringstream in(moves);
    for (std::string token; in >> token;) {
        int x = 0, y = 0;
        ASSERT_TRUE(parseWrittenPoint(token, x, y));
        click(x, y);
    }
    ASSERT_EQ(moveCount(), 25);
    const int narrow = w.width();
    item("Analysis")->trigger();
    EXPECT_TRUE(w.analysisDock()->isVisible());
    EXPECT_EQ(w.width(), narrow + TMainForm::AnalysisWidth);
    AnalysisPanel *panel = w.analysisPanel();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !panel->candidateRows().isEmpty(); }, 20000));
    EXPECT_TRUE(panel->fieldText("state").startsWith("White to move"));
    panel->showOnBoardBox()->setChecked(true);
    EXPECT_FALSE(w.flow().analysis().marks().empty());

    item("Find forced win")->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return status().rfind("VC", 0) == 0; }, 20000)) << status();
    EXPECT_EQ(status().rfind("VCF: White wins in ", 0), 0u) << status();
    const std::vector<uint8_t> line = w.flow().analysis().ghostLine();
    ASSERT_GE(line.size(), 3u);
    // The first ghost is White's: lighter than the board around it.
    const QPoint first = BoardView::pointCentre(pointX(line[0]), pointY(line[0])) + QPoint(-6, -6);
    EXPECT_GT(w.view().bitmap().pixelColor(first).lightness(), 150);
    if (const char *dir = std::getenv("KORVANA_SCREENSHOT_DIR"))
        w.grab().save(QString::fromLocal8Bit(dir) + QStringLiteral("/analysis.png"));
    QTest::keyClick(w.paintBox(), Qt::Key_Escape);
    EXPECT_TRUE(w.flow().analysis().ghostLine().empty());

    item("Analysis")->trigger();
    EXPECT_FALSE(w.analysisDock()->isVisible());
    EXPECT_EQ(w.width(), narrow);
}

// --- other windows -----------------------------------------------------------------

TEST_F(MainFormCommandsTest, HelpFilesFromTheProgramDirectory)
{
    CommandForm &w = start();
    const std::string programDir = dir.path().toStdString() + "/";
    EXPECT_EQ(w.programDir(), programDir);
    item("Help")->trigger();
    item("Database Help")->trigger();
    EXPECT_EQ(w.documents,
              (std::vector<std::string>{programDir + "help/help_j.html", programDir + "help/editor.html"}));
    EXPECT_TRUE(w.messages.empty());
    w.documentOpens = false;
    item("Help")->trigger();
    ASSERT_EQ(w.messages.size(), 1u);
    EXPECT_EQ(w.messages[0], (std::pair<std::string, std::string>{"Can't open help files", "Korvana"}));
    // The platform's opener refuses what is not there, before asking the desktop.
    EXPECT_FALSE(w.TMainForm::openDocument(programDir + "help/help_j.html"));
}

TEST_F(MainFormCommandsTest, WithoutADesktopOpenerHelpShowsInTheProgramsOwnWindow)
{
    // A page with a picture and a link to the other page, beside the program.
    QDir(dir.path()).mkpath(QStringLiteral("help"));
    QImage red(24, 24, QImage::Format_RGB32);
    red.fill(QColor(255, 0, 0));
    ASSERT_TRUE(red.save(dir.filePath(QStringLiteral("help/red.png"))));
    std::ofstream(path("help/help_j.html"))
        << "<html><head><title>Korvana Help</title></head><body><p><a href=\"editor.html\">Book</a></p>"
           "<p><img src=\"red.png\"></p></body></html>";
    std::ofstream(path("help/editor.html"))
        << "<html><head><title>Editing the opening book</title></head><body>Book pages</body></html>";
    CommandForm &w = start();
    w.documentOpens = false;
    item("Help")->trigger();
    EXPECT_TRUE(w.messages.empty());
    ASSERT_NE(w.helpBrowser(), nullptr);
    EXPECT_TRUE(w.helpBrowser()->isVisible());
    QTextBrowser *browser = w.helpBrowser()->browser();
    EXPECT_EQ(browser->source(), QUrl::fromLocalFile(QString::fromStdString(path("help/help_j.html"))));
    EXPECT_EQ(w.helpBrowser()->windowTitle(), QStringLiteral("Korvana Help"));
    QApplication::processEvents();
    const QImage shown = browser->viewport()->grab().toImage();
    int redPixels = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            redPixels += shown.pixelColor(x, y) == QColor(255, 0, 0);
    EXPECT_GE(redPixels, 24 * 24) << "the picture";

    // The link, by keyboard: Tab to it, Return to follow it.
    browser->setFocus();
    QTest::keyClick(browser, Qt::Key_Tab);
    QTest::keyClick(browser, Qt::Key_Return);
    EXPECT_EQ(browser->source().fileName(), QStringLiteral("editor.html"));
    EXPECT_EQ(w.helpBrowser()->windowTitle(), QStringLiteral("Editing the opening book"));

    item("Database Help")->trigger();
    EXPECT_EQ(browser->source(), QUrl::fromLocalFile(QString::fromStdString(path("help/editor.html"))));
    EXPECT_EQ(w.documents.size(), 2u) << "the desktop is asked first every time";
    EXPECT_TRUE(w.messages.empty());
}

TEST_F(MainFormCommandsTest, AboutAsksTheEngineLibraryThenShowsTheVersion)
{
    CommandForm &w = start();
    item("About")->trigger(); // no library: the notice all the same
    ASSERT_EQ(w.messages.size(), 1u);
    EXPECT_EQ(w.messages[0].first, "Korvana3 for Preview Release\nVersion 3.0PR1.0");
    EXPECT_EQ(w.messages[0].second, "KORVANA");

    const std::string fake = KORVANA_BIN_DIR "/../tests/fake_kumo98/libfake_kumo98.so";
    if (!QFileInfo::exists(QString::fromStdString(fake)))
        GTEST_SKIP() << "the test engine library is built with tests_game";
    ASSERT_TRUE(library.Load(fake)) << library.lastError();
    void *handle = dlopen(fake.c_str(), RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(handle, nullptr);
    auto calls = reinterpret_cast<int (*)(int)>(dlsym(handle, "FakeKumoCalls"));
    const int before = calls(5);
    item("About")->trigger();
    EXPECT_EQ(calls(5), before + 1);
    EXPECT_EQ(w.messages.size(), 2u);
    dlclose(handle);
}

TEST_F(MainFormCommandsTest, OptionsArePlacedAndOkMovesTheDatabase)
{
    CommandForm &w = start();
    ScriptedOptionForm options(&w);
    w.setOptionForm(&options);
    const QString elsewhere = dir.filePath(QStringLiteral("book"));
    options.directory = elsewhere;
    options.ok = false;
    item("Option")->trigger();
    EXPECT_EQ(options.shown, 1);
    EXPECT_EQ(w.flow().database().directory(), databaseDir) << "Cancel";
    // Never placed: centred on the main window, and the offset is kept.
    const QRect main = w.frameGeometry();
    const QSize size = options.frameGeometry().size();
    EXPECT_EQ(options.shownAt, QPoint(main.left() + main.width() / 2 - size.width() / 2,
                                      main.top() + main.height() / 2 - size.height() / 2));
    EXPECT_EQ(w.flow().settings().GetPointX("WIN32", "PosWinForm"), options.shownAt.x() - main.left());

    w.flow().settings().SetPoint("WIN32", "PosWinForm", 5, 7);
    options.ok = true;
    item("Option")->trigger();
    EXPECT_EQ(options.shownAt, main.topLeft() + QPoint(5, 7));
    EXPECT_EQ(w.flow().database().directory(), elsewhere.toStdString() + "/");
    EXPECT_EQ(w.flow().settings().GetText("Database", "DatabaseDirName"), elsewhere.toStdString() + "/");
}

TEST_F(MainFormCommandsTest, OptionsDialogSoundReachesTheCheckMark)
{
    CommandForm &w = start();
    ScriptedOptionForm options(&w);
    w.setOptionForm(&options);
    ASSERT_TRUE(item("Sound")->isChecked());
    options.edit = [](ScriptedOptionForm &f) {
        f.findChild<QCheckBox *>(QStringLiteral("CB_Sound"))->setChecked(false);
    };
    item("Option")->trigger();
    ASSERT_EQ(w.flow().settings().GetInt("Option", "SountEffect"), 0);
    EXPECT_FALSE(item("Sound")->isChecked());
    item("Sound")->trigger();
    EXPECT_EQ(w.flow().settings().GetInt("Option", "SountEffect"), 1) << "the toggle turns it on, not off";
}

TEST_F(MainFormCommandsTest, BoardColourFromTheColourDialog)
{
    CommandForm &w = start();
    const QColor before = w.view().bitmap().pixelColor(50, 50);
    w.colourAnswer = -1;
    item("Color")->trigger();
    EXPECT_EQ(w.colourInitial, w.flow().settings().GetInt("Option", "BoardColor"));
    EXPECT_EQ(w.view().bitmap().pixelColor(50, 50), before);
    w.colourAnswer = 0x00ff0000; // blue, stored as 0x00BBGGRR
    item("Color")->trigger();
    EXPECT_EQ(w.flow().settings().GetInt("Option", "BoardColor"), 0x00ff0000);
    EXPECT_EQ(w.view().bitmap().pixelColor(50, 50), QColor(0, 0, 255));
}

TEST_F(MainFormCommandsTest, InformationWindowMadeOnceAndClosedWithTheMainWindow)
{
    CommandForm &w = start();
    EXPECT_EQ(w.informationWindow(), nullptr);
    w.ShowInformationWindow();
    TPagesDlg *pages = w.informationWindow();
    ASSERT_NE(pages, nullptr);
    EXPECT_TRUE(pages->isVisible());
    EXPECT_FALSE(pages->isModal());
    EXPECT_EQ(pages->windowTitle(), QStringLiteral("Information Window"));
    // Its choice reaches the board through the repaint request.
    pages->modeButton(1)->click();
    QApplication::processEvents();
    EXPECT_EQ(w.flow().flags().overlayMode, 1);
    pages->hide();
    w.ShowInformationWindow();
    EXPECT_EQ(w.informationWindow(), pages);
    EXPECT_TRUE(pages->isVisible());
    w.close();
    EXPECT_FALSE(pages->isVisible());
}

TEST_F(MainFormCommandsTest, ExitClosesAndNextMoveDoesNothing)
{
    CommandForm &w = start();
    play({{7, 7}, {8, 8}});
    item("Next move")->trigger();
    EXPECT_EQ(moveCount(), 2);
    item("Exit")->trigger();
    EXPECT_FALSE(w.isVisible());
}

TEST_F(MainFormCommandsTest, StudyingARecordByKeysMoveListAndTreeWindow)
{
    // Main line h8 i9 j8 g7; move 2 also g9.
    const std::string file = path("study.sgf");
    std::ofstream(file) << "(;GM[4]SZ[15]RU[Renju 1998];B[hh](;W[ii];B[jh];W[gg])(;W[gi]))";
    CommandForm &w = start();
    w.flow().records().Open(file);
    ASSERT_EQ(moveCount(), 4);
    const std::pair<Qt::Key, int> keys[] = {
        {Qt::Key_Home, 0}, {Qt::Key_Right, 1}, {Qt::Key_End, 4}, {Qt::Key_Left, 3}, {Qt::Key_Up, 3}};
    for (auto [key, count] : keys) {
        QTest::keyClick(&w, key);
        EXPECT_EQ(moveCount(), count) << key;
        EXPECT_EQ(w.moveList()->currentLine(), count - 1);
    }
    item("Next move")->trigger();
    EXPECT_EQ(moveCount(), 4);

    // A click on the move list's second line.
    MoveList *list = w.moveList();
    const QRect line = list->cursorRect(QTextCursor(list->document()->findBlockByNumber(1)));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(20, line.center().y()));
    EXPECT_EQ(moveCount(), 2);
    EXPECT_EQ(list->currentLine(), 1);

    // The tree window: g9's row sends the board there; delete and promote act on the selection.
    item("Game Tree")->trigger();
    TTreeForm &tree = w.treeForm();
    ASSERT_TRUE(tree.isVisible());
    MOve *g9 = w.flow().game().root()->child(0)->child(1);
    const QModelIndex row = tree.model()->indexOf(g9);
    tree.treeView()->scrollTo(row);
    QTest::mouseClick(tree.treeView()->viewport(), Qt::LeftButton, {}, tree.treeView()->visualRect(row).center());
    EXPECT_EQ(w.flow().game().current(), g9);
    EXPECT_EQ(tree.selectedNode(), g9);
    tree.promoteButton()->click();
    EXPECT_EQ(w.flow().game().root()->child(0)->child(0), g9);
    tree.deleteButton()->click();
    ASSERT_EQ(w.questions, std::vector<std::string>{"Delete this variation (1 move)?"});
    EXPECT_EQ(w.flow().game().root()->child(0)->childCount(), 1);
    EXPECT_EQ(moveCount(), 1);
    EXPECT_EQ(tree.selectedNode(), w.flow().game().current()) << "the window follows the board";
    tree.close();
    EXPECT_FALSE(item("Game Tree")->isChecked());
}

} // namespace
} // namespace korvana
