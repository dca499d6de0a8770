#pragma once
// What the game flow needs of the main window. The Qt window implements it;
// tests implement it with a scripted fake, so the whole game runs headless.

#include <functional>
#include <string>
#include <vector>

namespace korvana {

struct AnalysisReport;

class GameWindow {
public:
    virtual ~GameWindow() = default;

    enum class BeepKind { Default, Exclamation };

    /// Replaces the single text of the status line.
    virtual void setStatusText(const std::string &text) = 0;
    /// Player labels of the side panel ("You", "Computer", ...).
    virtual void setPlayerLabels(const std::string &black, const std::string &white) = 0;
    /// Thinking-time label of one side ('B' or 'W').
    virtual void setThinkingTimeLabel(char colour, const std::string &text) = 0;
    /// Modal message window; returns when the user closed it.
    virtual void showMessageWindow(const std::string &text, const std::string &caption = "KORVANA") = 0;
    /// Modal colour question; true for "Black".
    virtual bool askColourIsBlack() = 0;
    /// Modal database update question; true for "Yes".
    virtual bool askDatabaseUpdate() = 0;
    /// Modal removal question; 0 removes proposal A, 1 removes proposal B.
    virtual int askWhichRemove() = 0;
    virtual void beep(BeepKind kind) = 0;
    /// Rebuilds and shows the board picture.
    virtual void redraw() = 0;
    virtual void moveListAppend(const std::string &line) = 0;
    virtual void moveListDeleteLast() = 0;
    virtual void moveListClear() = 0;
    /// Shows the move list whole: `lines` of the line of play, line `current`
    /// highlighted (-1: the empty board). Default: cleared and appended anew.
    virtual void showMoveList(const std::vector<std::string> &lines, int /*current*/)
    {
        moveListClear();
        for (const std::string &line : lines)
            moveListAppend(line);
    }
    /// The record's tree or its current node changed: the game-tree window follows. Optional.
    virtual void gameTreeChanged() {}
    /// The computer started (false) or stopped (true) thinking: the commands that walk
    /// the record are greyed out meanwhile. Optional.
    virtual void setNavigationEnabled(bool /*enabled*/) {}
    /// Modal Yes/No question; true for Yes. Default: No.
    virtual bool askYesNo(const std::string & /*text*/, const std::string & /*caption*/) { return false; }
    virtual void setCaption(const std::string &caption) = 0;
    /// Enables Give up in the menu and the tool bar.
    virtual void setGiveUpEnabled(bool enabled) = 0;
    /// Both game file dialogs back to the .ban filter (a new game). Optional.
    virtual void resetFileDialogFilter() {}
    /// The newest analysis of the position after `moveCount` moves. Optional.
    virtual void showAnalysis(const AnalysisReport & /*report*/, int /*moveCount*/) {}
    /// Runs `call` later on the GUI thread; callable from any thread.
    virtual void postToGuiThread(std::function<void()> call) = 0;

    // --- The main window's own choices (files, colour, clipboard, desktop) ---
    // Default: nothing chosen, nothing there. The Qt window asks the platform.

    enum class SaveChanges { Save, Discard, Cancel };
    /// "save changes?" about a changed record. Default: Cancel, which loses nothing.
    virtual SaveChanges askSaveChanges() { return SaveChanges::Cancel; }
    /// Whether the existing file `name` may be replaced by the save. Default: no.
    virtual bool askReplaceFile(const std::string & /*name*/) { return false; }
    /// Open dialog for an existing game file; empty when cancelled.
    virtual std::string askOpenFileName() { return {}; }
    /// Save dialog: the name typed (empty when cancelled) and, through
    /// `filterEntry`, the filter entry (1..3) it was chosen under.
    virtual std::string askSaveFileName(int & /*filterEntry*/) { return {}; }
    /// Colour dialog from `initial` (0x00BBGGRR); true, with `chosen`, when confirmed.
    virtual bool askColour(int /*initial*/, int & /*chosen*/) { return false; }
    /// The system clipboard's text; empty when it holds none.
    virtual std::string clipboardText() { return {}; }
    /// Puts `text` on the system clipboard.
    virtual void setClipboardText(const std::string & /*text*/) {}
    /// Opens a local file with the desktop's viewer; false when that fails.
    virtual bool openDocument(const std::string & /*path*/) { return false; }
};

} // namespace korvana
