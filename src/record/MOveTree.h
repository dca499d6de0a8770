#pragma once
// MOveTree: the game document. The move tree with its cursor, and the game Board
// kept in step with it: every cursor move is replayed on, or taken back from, the board.
//
// Usage: AddMove/AddMoveAlternating play a move (re-entering a known child); Back takes
// it back; Forward re-enters the child under the cursor; GotoRoot empties the board;
// the Variation calls switch between siblings. Read the position from board() and the
// current node (x, y, colour, code, value). AddChild, inherited from the tree, only links
// a node and leaves the board alone: moves go in through AddMove.

#include "board/BanHistory.h"
#include "board/BanMoveFactory.h"
#include "board/Board.h"
#include "record/MOveTreeBase.h"

#include <cstdint>
#include <string>
#include <vector>

namespace korvana {

class MOveTree : public MOveTreeBase, private BanMoveFactory {
public:
    /// Record formats for Save; FormatPsq (Gomocup) is read only.
    enum RecordFormat : uint8_t { FormatSgf = 0, FormatBan = 1, FormatPos = 2, FormatUnknown = 3, FormatPsq = 4 };

    /// A root only, board empty.
    MOveTree();
    ~MOveTree() override;

    // --- Cursor and tree, kept in step with the board -------------------

    /// Copies the board's history into the snapshot (before a save rewinds the tree).
    void Snapshot() override;
    /// GotoRoot, then AddMove for every move of the snapshot: back to the position of Snapshot.
    void ReplaySnapshot() override;
    /// Destroys every node, new root, empty board, depth 0.
    void Reset() override;
    /// Current node := root; empties the board; depth 0.
    void GotoRoot() override;
    /// Enters the child under the cursor and replays it on the board (no judging).
    /// 0 when there is no such child (or its point is taken on the board).
    int Forward() override;
    /// Leaves the current node and takes its move off the board. 0 at the root.
    int Back() override;
    /// Destroys the current node's children (never on the board, so the board is unchanged).
    using MOveTreeBase::DeleteChildren;
    /// Deletes `node` with its subtree; when the current node is inside it, first walks back
    /// to `node`'s parent. False, with nothing changed, for the root or a foreign node.
    bool DeleteVariation(MOve *node);
    /// Forward until the end of the current branch; how many moves were entered.
    int GotoBranchEnd();

    /// Plays (x, y, colour) from the current node. A child with the same point and colour is
    /// re-entered (cursor on it, Forward). Otherwise the board plays and judges a new move,
    /// which becomes the last child and the current node. Null, with nothing changed, when the
    /// point is off the board or occupied, or colour is not 'B'/'W'.
    MOve *AddMove(int x, int y, char colour) override;
    /// AddMove with the colour to move: 'B' after an even number of moves, 'W' after an odd.
    MOve *AddMoveAlternating(int x, int y);

    // --- Record header (SGF) --------------------------------------------

    /// Root properties := "GM[4]", "SZ[15]", "RU[Renju 1998]", "US[KORVANA 3.0]".
    void SetDefaultHeader() override;
    /// The last root property: GM must be 1 or 4, RU must name a Renju rule, others pass.
    bool CheckHeaderProperty() override;
    /// An RU property naming Renju: any case of "renju" anywhere, or a value starting with
    /// an opening rule (RIF, Yamaguchi, Taraguchi, Soosorv, Sakata, Swap, Swap2); an empty value too.
    static bool isRenjuRule(const std::string &property);

    // --- Record files (defined in MOveTreeFiles.cpp) ----------------------

    /// Reads a record of any format, recognised by content: 1, or 0 (game unchanged, and
    /// loadError() saying why) when the file cannot be read, is no record, or its record is
    /// refused (not Renju, nested too deep, no game tree, a Gomocup board other than 15x15).
    int Load(const std::string &fileName) override;
    /// Load on an open stream.
    int LoadFrom(std::istream &in);
    /// Why the last Load failed, for the user ("" after a success).
    const std::string &loadError() const { return loadError_; }
    /// Saves in the selected format through a temporary file beside the target; tree cursor
    /// and board show the same position afterwards. 1, or 0 with an "error : " line.
    int Save(const std::string &fileName) override;
    /// The file's format: FormatSgf, FormatBan, FormatPsq, FormatPos or FormatUnknown (also unreadable).
    static RecordFormat DetectFormat(const std::string &fileName);
    /// The same on a stream, read from its start.
    static RecordFormat DetectFormat(std::istream &in);
    /// The selected format's bytes: the whole tree (SGF), or the moves on the board.
    std::string RecordText(RecordFormat format);

    // --- Value hooks (analysis; nothing in the program calls them yet) --

    /// True when the search limit is below depth + depth offset, or depth >= depth limit.
    bool DepthLimitReached() const override;
    /// With N = expandWidth(depth) and c the colour to move: a node with children keeps its
    /// first max(N, 1) children (re-created as c's moves, in order) and answers 0; otherwise
    /// it gets the board's expandCandidates for c with at most N others and answers its result.
    int Expand() override;
    /// Value of the current node := v.
    void SetValue(int32_t v) override;
    /// NoValue when there is no current node, else its MaxOfChildren.
    int32_t MaxOfChildren() override;
    /// NoValue when there is no current node, else its MinOfChildren.
    int32_t MinOfChildren() override;
    /// Value of the current node := evaluatePosition for the colour of the current move.
    virtual int32_t Evaluate();
    /// Children by value, highest first (stable); cursor on the first; its value (NoValue if none).
    int32_t SortChildren() override;

    /// How many children Expand keeps or asks for at each depth (empty at construction).
    void SetExpandWidths(std::vector<int> widths) { expandWidths_ = std::move(widths); }
    /// The table entry for a depth; 0 outside the table.
    int expandWidth(int depth) const;
    void SetDepthOffset(int32_t offset) { depthOffset_ = offset; }

    // --- State -----------------------------------------------------------

    /// The game board, always showing the position of the current node.
    const Board &board() const { return board_; }
    /// The history kept by Snapshot.
    const BanHistory &snapshot() const { return snapshot_; }
    RecordFormat recordFormat() const { return recordFormat_; }
    void setRecordFormat(RecordFormat format) { recordFormat_ = format; }

protected:
    // A record is read with judging deferred; its final Rewind resets the board.
    void BeginBulkRead() override { board_.setDeferredJudging(true); }
    void EndBulkRead() override { board_.setDeferredJudging(false); }

private:
    BanMove *createMove(int x, int y, char colour, BanMove *parent) override;
    /// Takes over the tree and root properties of a freshly read record (cursor at the root).
    void adoptTree(MOveTree &read);
    /// Reset, then the moves of a .ban or .pos file read from the stream's start; 1.
    int readBan(std::istream &in);
    int readPos(std::istream &in);

    Board board_;
    BanHistory snapshot_;
    RecordFormat recordFormat_ = FormatSgf;
    std::string loadError_;
    std::vector<int> expandWidths_;
    static constexpr int32_t searchLimit_ = 0; ///< program-wide limit of the value search
    int32_t depthOffset_ = 0;
};

} // namespace korvana
