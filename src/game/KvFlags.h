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

    int playing = 0;            ///< play mode against the computer is on
    int thinking = 0;           ///< a worker is running for the current request
    int humanStartedWhite = 0;  ///< the last Begin command was Begin White
    int computerIsBlack = 1;    ///< the computer plays Black
    std::string fileName;       ///< current game file; empty after a paste
    char pendingColumn = 'z';   ///< typed column letter waiting for its row; 'z' = none
    double stopwatchStart = 0;  ///< move stopwatch start, whole seconds of local time
    double stopwatchLast = 0;   ///< last reading of the move stopwatch
    std::vector<double> thinkingTimes; ///< cumulative thinking time by move number
    int overlayMode = 0;        ///< information window: 0 none, 1 Sum, 2 Black, 3 White, 4 Turn
    int treeMarks = 0;          ///< information window: show the evaluated children
    int databaseDirty = 0;      ///< the position record was edited and not saved
    int confirmUpdateAnswer = 0; ///< last answer of the database update question: 1 Yes
};

} // namespace korvana
