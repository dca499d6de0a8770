#pragma once
// KvFlags: the game state shared by the main window, the board view and the
// game flow. One process-wide instance; tests make their own.
// Read and written on the GUI thread only (workers get copies).

#include <string>
#include <vector>

namespace korvana {

class KvFlags {
public:
    /// Entries of thinkingTimes: move numbers 0..225.
    static constexpr int TimeEntries = 226;

    KvFlags();

    /// The program's instance.
    static KvFlags &instance();

    /// Back to the start of a game: every field with a reset value gets it;
    /// fileName and moveStopwatch keep theirs.
    void Reset();

    bool playing = false;              ///< play mode against the computer is on
    bool thinking = false;             ///< a worker is running for the current request
    bool humanStartedWhite = false;    ///< the last Begin command was Begin White
    bool computerIsBlack = true;       ///< the computer plays Black
    std::string fileName;              ///< current game file; empty after a paste
    char pendingColumn = 'z';          ///< typed column letter waiting for its row; 'z' = none
    double stopwatchStart = 0;         ///< move stopwatch start, whole seconds of local time
    double stopwatchLast = 0;          ///< last reading of the move stopwatch
    std::vector<double> thinkingTimes; ///< cumulative thinking time by move number
    int overlayMode = 0;               ///< information window: 0 none, 1 Sum, 2 Black, 3 White, 4 Turn
    bool treeMarks = false;            ///< information window: show the evaluated children
    bool databaseDirty = false;        ///< the position record was edited and not saved
    bool confirmUpdateAnswer = false;  ///< last answer of the database update question: true for Yes
};

} // namespace korvana
