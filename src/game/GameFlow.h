#pragma once
// GameFlow: the game between the board input and the game record: turns, play
// mode against the computer, booking a move (move list, thinking times, sound,
// game end), asking the computer and playing its answer, give up, new game,
// move back, the input assistant and keeping the position database in step
// with the board. The WC1998 opening is OpeningProtocol's, the workers are
// ThinkingWorkers', the record commands RecordCommands'; the flow owns them.
//
// It has no window of its own: it speaks to the main window through
// GameWindow, and runs (and is tested) without Qt. Every operation runs on the
// GUI thread; workers answer through GameWindow::postToGuiThread.
//
// Start-up, as the main window does it:
//     GameFlow flow(window);
//     flow.settings().SetPath(executablePath()); flow.settings().Load();
//     flow.SetUpDatabase(programDirectory());
//     flow.ResetGame();
// and at the end flow.settings().Save(). The window must outlive the flow.

#include "database/AData.h"
#include "game/BoardAnalysis.h"
#include "database/ADataBase.h"
#include "game/GameWindow.h"
#include "game/KvFlags.h"
#include "game/OpeningProtocol.h"
#include "game/RecordCommands.h"
#include "game/ThinkResult.h"
#include "game/ThinkingThread.h"
#include "game/ThinkingWorkers.h"
#include "record/MOveTree.h"
#include "settings/KvParam.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace korvana {

class Kumo98Dll;

class GameFlow {
public:
    /// Wall-clock seconds; the move stopwatch reads it.
    using Clock = std::function<double()>;

    /// The product line of the caption.
    static constexpr const char *ProductLine = "Korvana3 for Preview Release";

    /// A flow talking to `window`, with its own settings (defaults), empty game,
    /// empty database and position record. Nothing is read from disk here.
    /// `flags` and `library` default to the program's instances.
    explicit GameFlow(GameWindow &window, KvFlags *flags = nullptr, Kumo98Dll *library = nullptr);
    GameFlow(const GameFlow &) = delete;
    GameFlow &operator=(const GameFlow &) = delete;
    /// Stops every worker and waits for them; their answers are dropped.
    ~GameFlow();

    // --- What the flow owns ----------------------------------------------

    KvParam &settings() { return settings_; }
    MOveTree &game() { return game_; }
    const MOveTree &game() const { return game_; }
    ADataBase &database() { return database_; }
    /// Database record of the position on the board.
    AData &position() { return position_; }
    const AData &position() const { return position_; }
    KvFlags &flags() { return flags_; }
    const KvFlags &flags() const { return flags_; }
    /// The answer record of the current (or last) request.
    const ThinkResult &result() const { return result_; }
    /// The WC1998 opening protocol and its state.
    OpeningProtocol &opening() { return opening_; }
    const OpeningProtocol &opening() const { return opening_; }
    /// Open, Save, Copy and Paste of the game record.
    RecordCommands &records() { return records_; }
    const RecordCommands &records() const { return records_; }
    /// The engine library's analysis of the shown position and its forced wins.
    BoardAnalysis &analysis() { return analysis_; }
    const BoardAnalysis &analysis() const { return analysis_; }
    /// Replaces the clock; the move stopwatch restarts on it.
    void setClock(Clock clock);

    /// `Database`/`DatabaseDirName` defaults to programDirectory + "adb/" when
    /// empty (and is stored); the database reads from that directory.
    void SetUpDatabase(const std::string &programDirectory);

    // --- Game flow (GUI thread) ------------------------------------------

    /// Plays (column, row) in the colour of the move count and books it. False
    /// when the game is already over (announced again) or the point is refused.
    /// `code` receives the new move's classification.
    bool PlayMove(int column, int row, int *code = nullptr);
    /// True when classification `c` of the last move ends the game; the result
    /// has then been announced and play mode left. Otherwise beeps (sound on).
    bool JudgeLastMove(int c);
    /// A move by the user (board click or typed point), dispatched by the rule.
    void TryMove(int column, int row);
    /// Plays the user's move, then the input assistant or the computer's turn.
    void HumanMove(int column, int row);
    /// Starts the computer's thinking when it is its turn in play mode.
    void CheckComputerTurn();
    /// Asks the computer for its move (a worker); status "Now Thinking".
    void StartThinking();
    /// Input assistant: answers a simple four at once, on this thread. True
    /// when an answer was played.
    bool AutoAnswerFour(int c);
    /// The user takes Black in play mode.
    void BeginBlack();
    /// The user takes White in play mode.
    void BeginWhite();
    /// Leaves play mode and stops the computer (unless the game has ended);
    /// the player labels and times start afresh.
    void GiveUp();
    /// Stops everything and starts an empty game; the file name is kept.
    void NewGame();
    /// Gives up, resets the state, the record, the move list and the caption.
    void ResetGame();
    /// Takes back one or two moves, as play mode and thinking require.
    void StepBack();
    /// Move back by the rule (WC1998 unwinds the opening protocol).
    void MoveBack();
    /// Asks a running worker to stop; its answer will not be acted on.
    void StopThinking();
    /// The player labels back to their captions and both times to 0.
    void ResetPlayers();
    /// A modal window is open (true) or closed again: the move stopwatch
    /// stands still meanwhile, so nobody's thinking time includes it.
    void PauseClock(bool paused);

    // --- Strength ------------------------------------------------------------

    /// The built-in search's level for the computer's moves: `Option`/`Strength`, 1..5.
    int Strength() const;
    /// The engine library's time per move: `Option`/`LibraryMoveTime` in ms.
    int LibraryMoveTimeMs() const;
    /// `Option`/`LibraryMoveTime` when it is not set.
    static constexpr int DefaultLibraryMoveTimeMs = 1000;

    // --- Analysis ------------------------------------------------------------

    /// Tells the analysis which position the board shows (cheap when unchanged).
    void PositionShown();
    /// Run > Find forced win on the shown position.
    void FindForcedWin();
    /// Escape: clears a shown forced win; true when there was one.
    bool ClearForcedWin();

    // --- Position database ------------------------------------------------

    /// Loads the file of the move count and looks the board's position up.
    void RefreshDatabasePosition();
    /// Saves (or, asked, drops) pending edits of the position record.
    void SettleDatabaseEdits();
    /// Stores the position record and writes the file of its stone count.
    void SaveDatabase();
    /// Adds or removes a candidate of the position record; false on a stone.
    bool ToggleCandidate(int column, int row);

    // --- Window ------------------------------------------------------------

    void Redraw();
    void SetStatusText(const std::string &text);
    void ShowMessageWindow(const std::string &text, const std::string &caption = "KORVANA");
    /// Caption from the file name, play mode and rule; outside play mode, when moves
    /// follow the current one, " [Move N of M]" (M: the length of the branch shown).
    void UpdateCaption();
    /// The caption UpdateCaption shows.
    std::string Caption() const;

    // --- Input as the main window receives it ------------------------------

    /// A left click at a board point (Shift: database editing). Ignored while
    /// the computer thinks; redraws.
    void BoardClick(int column, int row, bool shift);
    /// A character typed on the board: a column letter, then a row character.
    void TypedKey(char key);

    // --- Workers -------------------------------------------------------------

    /// Starts one worker on a copy of the move history; false (after "Thread
    /// Error B") when it cannot be started.
    bool StartWorker(uint8_t engine, uint8_t requestType, const ThinkingLevel &level);
    /// Waits until every worker has ended (their answers still arrive through
    /// the window's queue). For shut-down and tests.
    void WaitForWorkers();
    /// Workers not yet reaped (running or ended but not joined).
    size_t workerCount() const { return workers_.count(); }

    // --- Studying the record (defined in GameFlowStudy.cpp) -------------------
    // Outside play mode and while the computer is not thinking; otherwise they do
    // nothing. Pending database edits are settled before the board moves, and
    // the board, the move list, the tree window and the database marks follow.

    /// False in play mode or while the computer thinks.
    bool CanNavigate() const;
    /// Next move: one move forward along the current branch.
    void GoForward();
    /// To the empty board; Forward then follows the same branch again.
    void GoHome();
    /// To the end of the current branch.
    void GoEnd();
    /// To the next (`step` 1) or previous (-1) variation of the current move, wrapping.
    void GoVariation(int step);
    /// To the move of move-list line k (from 0).
    void GoToLine(int k);
    /// To a node of the record (the tree window); null or a foreign node does nothing.
    void GoToNode(MOve *node);
    /// Deletes the variation starting at `node` with everything after it, when the user
    /// agrees; a current move inside it goes back to the move before `node`.
    void DeleteVariation(MOve *node);
    /// Makes the line through `node` the main line.
    void PromoteVariation(MOve *node);

    /// Move-list line of a move: "%s%d(%c%c):%s".
    static std::string MoveListLine(char colour, int number, int column, int row, int code);
    /// Marks a move-list line whose move has other variations.
    static constexpr const char *VariationMark = " +";
    /// The move list's lines: the moves up to the current one and, outside play mode,
    /// the rest of the current branch; `current` gets the current move's line (-1: none).
    std::vector<std::string> MoveListLines(int &current) const;
    /// Shows the move list from the record and lets the tree window and the caption follow.
    void RebuildMoveList();

    /// Move count of the board.
    int MoveCount() const;

    /// The player labels' captions outside play.
    static constexpr const char *BlackPlayerCaption = "Black Player";
    static constexpr const char *WhitePlayerCaption = " White Player";

    /// Status text of an opening request answered with no opening.
    static constexpr const char *NoOpeningText = "No opening pattern from the engine";

private:
    friend class OpeningProtocol;

    void OnThinkingDone(uint64_t generation, const ThinkResult &answer);
    /// Sets `thinking` and lets the window grey out (or enable again) the navigation.
    void SetThinking(bool thinking);
    void OnMoveAnswer();
    void BookThinkingTime(int moveNumber);
    void TakeBackOne();
    /// After the current node changed by navigation: database, stopwatch, list, board.
    void FollowCurrentNode();
    void LeavePlayMode();
    void EnterPlayMode();
    /// What Begin Black and Begin White share: the clock started on an empty board
    /// (`moveCount` is 0), thinking stopped, play mode, the sides and their labels.
    void TakeSide(bool humanIsWhite, int moveCount);
    int LastCode() const;
    GameRule Rule() const;
    std::string DatabaseDirectory() const;
    ThinkRequest MakeRequest(uint8_t engine, uint8_t requestType, const ThinkingLevel &level) const;

    GameWindow &window_;
    KvFlags &flags_;
    Kumo98Dll &library_;
    KvParam settings_;
    MOveTree game_;
    ADataBase database_;
    AData position_;
    ThinkResult result_;
    Clock clock_;
    OpeningProtocol opening_{*this};
    RecordCommands records_{*this, window_};
    ThinkingWorkers workers_;
    std::shared_ptr<int> alive_;                           ///< posted answers check it: none arrive after destruction
    double pausedAt_ = -1;                                 ///< when a modal window stopped the stopwatch; -1 none
    BoardAnalysis analysis_{window_, library_, settings_}; ///< last: its thread stops first
};

} // namespace korvana
