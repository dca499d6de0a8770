#pragma once
// BoardAnalysis: the engine library's view on the position the board shows,
// kept for the window: the newest analysis report, the candidates to mark on
// the board and a found forced win as a line of ghost stones. The game flow
// tells it every position it shows; the searching runs on AnalysisWorker's
// thread, so nothing here waits. GUI thread only.

#include "board/BanHistory.h"
#include "game/AnalysisWorker.h"
#include "game/GameWindow.h"

#include <cstdint>
#include <string>
#include <vector>

namespace korvana {

class KvParam;

class BoardAnalysis {
public:
    /// `Option`/`ForcedWinTime` when it is not set: milliseconds per search.
    static constexpr int DefaultForcedWinMs = 5000;

    /// All three are borrowed and must outlive this object.
    BoardAnalysis(GameWindow &window, Kumo98Dll &library, const KvParam &settings);

    /// Continuous analysis (the Analysis panel) on or off.
    void SetEnabled(bool on);
    bool enabled() const { return worker_.enabled(); }
    /// Marks the analysis's candidates on the board.
    void SetShowOnBoard(bool on);
    bool showOnBoard() const { return showOnBoard_; }
    /// The position on the board now; a different one restarts the analysis
    /// and clears a forced win found for the old one.
    void PositionChanged(const BanHistory &history);
    /// Searches the position for a forced win of the side to move (VCF, then
    /// VCT) within `Option`/`ForcedWinTime`; the answer comes in the status line
    /// and as ghost stones.
    void FindForcedWin(const BanHistory &history);
    /// Escape: removes the ghost stones; true when there were any.
    bool ClearForcedWin();

    /// The forced win's line from the position on the board, attacker first.
    const std::vector<uint8_t> &ghostLine() const { return ghostLine_; }
    /// Points to mark with letters: the newest candidates when shown on the board.
    std::vector<uint8_t> marks() const;
    /// The newest report about the position on the board.
    const AnalysisReport &latest() const { return latest_; }
    /// The time limit of a forced-win search in milliseconds.
    int ForcedWinMs() const;

private:
    void OnReport(const AnalysisReport &report);
    void OnForcedWin(const ForcedWinReport &report);

    GameWindow &window_;
    const KvParam &settings_;
    int moveCount_ = 0;
    bool showOnBoard_ = false;
    AnalysisReport latest_;
    std::vector<uint8_t> ghostLine_;
    AnalysisWorker worker_; ///< last: its thread stops before the rest goes
};

} // namespace korvana
