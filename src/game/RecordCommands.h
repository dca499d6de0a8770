#pragma once
// RecordCommands: the game record's file and clipboard commands (Open, Save,
// Copy, Paste). The window only answers the dialogs and holds the clipboard,
// through GameWindow's hooks; what is read, written and shown is decided here,
// so it runs (and is tested) without Qt.

#include "record/RecordFileName.h"

#include <cstdint>
#include <string>

namespace korvana {

class GameFlow;
class GameWindow;

class RecordCommands {
public:
    RecordCommands(GameFlow &flow, GameWindow &window) : flow_(flow), window_(window) {}

    /// After ConfirmDiscard, opens a game file: gives up, shows its name in the caption,
    /// lists its main line and shows its last position. A file that is not read leaves
    /// game and caption as they were and says why in the message window.
    void Open(const std::string &fileName);
    /// ConfirmDiscard, then the open dialog; a chosen file is opened.
    void OpenWithDialog();
    /// The save dialog; the chosen filter entry decides the format and the extension.
    /// When the extension makes the name another, existing file, the user is asked
    /// about that file first. True when the record was written; a failure is reported.
    bool Save();
    /// New Game after ConfirmDiscard.
    void NewGame();
    /// The game's moves onto the clipboard as text.
    void Copy();
    /// A game from the clipboard's text, after ConfirmDiscard, replacing the current one
    /// when readable; otherwise a message and nothing changes.
    void Paste();

    /// Whether the record changed since it was opened, saved, pasted or started.
    bool Changed() const;
    /// The record as it is now counts as unchanged.
    void MarkUnchanged();
    /// Before the record is replaced or left: "save changes?" when it changed. True to go
    /// on (saved, discarded, nothing to lose); false on Cancel or a save that did not write.
    bool ConfirmDiscard();

    /// Filter entry (1..3) the open and the save dialog start on; the save dialog of a
    /// new game starts on the options' default file format.
    int openFilterEntry() const { return openFilterEntry_; }
    int saveFilterEntry() const;
    /// The open dialog's choice, remembered for its next start.
    void setOpenFilterEntry(int entry) { openFilterEntry_ = entry; }
    /// A new game: the open dialog back on .ban, the save dialog on the default format.
    void ResetFilterEntries()
    {
        openFilterEntry_ = DefaultRecordFilterEntry;
        saveFilterEntry_ = 0;
    }
    /// The directory both file dialogs start in: that of the last file chosen in either
    /// (kept in the settings); empty before the first.
    std::string dialogDirectory() const;

private:
    /// Reads the file and shows it; no question.
    void openFile(const std::string &fileName);
    void rememberDirectoryOf(const std::string &fileName);

    GameFlow &flow_;
    GameWindow &window_;
    uint64_t unchangedAt_ = 0; ///< the tree's structure count when it was last unchanged
    int openFilterEntry_ = DefaultRecordFilterEntry;
    int saveFilterEntry_ = 0; ///< 0: none chosen since the game started
};

} // namespace korvana
