#pragma once
// RecordCommands: the game record's file and clipboard commands (Open, Save,
// Copy, Paste). The window only answers the dialogs and holds the clipboard,
// through GameWindow's hooks; what is read, written and shown is decided here,
// so it runs (and is tested) without Qt.

#include "record/RecordFileName.h"

#include <string>

namespace korvana {

class GameFlow;
class GameWindow;

class RecordCommands {
public:
    RecordCommands(GameFlow &flow, GameWindow &window) : flow_(flow), window_(window) {}

    /// Opens a game file: gives up, shows its name in the caption, reads it (the
    /// reader reports its own errors), lists its main line and shows its last position.
    void Open(const std::string &fileName);
    /// The open dialog; a chosen file is opened.
    void OpenWithDialog();
    /// The save dialog; the chosen filter entry decides the format and the
    /// extension. A failed write is reported.
    void Save();
    /// The game's moves onto the clipboard as text.
    void Copy();
    /// A game from the clipboard's text, replacing the current one when readable.
    void Paste();

    /// Filter entry (1..3) the open and the save dialog start on.
    int openFilterEntry() const { return openFilterEntry_; }
    int saveFilterEntry() const { return saveFilterEntry_; }
    /// The open dialog's choice, remembered for its next start.
    void setOpenFilterEntry(int entry) { openFilterEntry_ = entry; }
    /// Both dialogs back on .ban (a new game).
    void ResetFilterEntries() { openFilterEntry_ = saveFilterEntry_ = DefaultRecordFilterEntry; }

private:
    GameFlow &flow_;
    GameWindow &window_;
    int openFilterEntry_ = DefaultRecordFilterEntry;
    int saveFilterEntry_ = DefaultRecordFilterEntry;
};

} // namespace korvana
