#pragma once
// PhaseIter: one request to the built-in search. Opening moves, a book move
// when the database has one, otherwise a shallow alpha-beta search whose move
// order comes from the judge's codes.

#include "board/BanArray.h"
#include "board/BanHistory.h"
#include "engine/Phase.h"
#include "engine/PhaseHash.h"
#include "engine/ThinkingLevel.h"
#include "engine/tdbtree.h"
#include "engine/pos_value.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace korvana {

/// A byte another thread sets to make the running search give up.
using StopFlag = std::atomic<uint8_t>;

/// Points the process-wide stop pointer at `flag` (null: nothing can stop the
/// search). Set it before each request; a search reads it when it starts.
void setThinkStopFlag(StopFlag *flag);
/// The current process-wide stop pointer.
StopFlag *thinkStopFlag();

/// Book move for a position of three or more stones, looked up in the
/// database files of `directory` in all eight orientations: a point, or 255.
using BookLookup = std::function<int(const BanArray &board, const std::string &directory)>;
/// The lookup in the database files (kumo%03d.adb).
int databaseBookMove(const BanArray &board, const std::string &directory);

class PhaseIter {
public:
    /// The search of `root` with `level`'s widths, `depth` and `hashSize`
    /// chains per depth; book files are read from `databaseDirectory`.
    PhaseIter(std::unique_ptr<Phase> root, const ThinkingLevel &level, int32_t depth, int32_t hashSize,
              std::string databaseDirectory);
    PhaseIter(const PhaseIter &) = delete;
    PhaseIter &operator=(const PhaseIter &) = delete;
    /// Destroys the whole tree.
    virtual ~PhaseIter();

    /// The move for the side to move: a point 0..224, or 255 when stopped or
    /// when no point is left. Runs once per object.
    virtual int Think();

    /// Fixes the random numbers of the opening moves (default: seeded from the clock).
    void setRandomSeed(uint32_t seed) { seed_ = seed; }
    /// Replaces the book lookup; an empty function turns the book off.
    void setBookLookup(BookLookup lookup) { book_ = std::move(lookup); }

    /// Judgements (judgeAt and judgeLast) this search has made, the root's full codes included.
    uint64_t judgements() const { return judgements_; }
    /// Successors made.
    int32_t nodes() const { return nodes_; }
    Phase &root() { return *root_; }

private:
    int search(StopFlag *stop);
    int nextRandom();
    int depthOf(const Phase &phase) const { return phase.board.count() - rootCount_; }
    void buildCandidates(Phase &node, tdbtree_max<pos_value> &heap);
    void expand(Phase &node, tdbtree_max<pos_value> &heap);
    void addSuccessor(Phase &node, int point);
    void passUp(Phase &node, int16_t v);
    bool isCut(const Phase &node) const;
    bool evaluate(Phase &node);
    int judgeLast(Phase &node);

    std::unique_ptr<Phase> root_;
    ThinkingLevel level_;
    std::vector<std::unique_ptr<PhaseHash>> hashes_; ///< entry d - 1 serves depth d
    std::string databaseDirectory_;
    BookLookup book_ = databaseBookMove;
    uint32_t seed_;
    int rootCount_ = 0;
    int rootParity_ = 0;
    uint64_t judgements_ = 0;
    int32_t nodes_ = 0;
};

/// The built-in engine's answer for the position after `history`, searched
/// with `level` (its own depth and hash size): what a thinking request runs.
/// Stops when the process-wide stop flag is set (answer 255).
int thinkOnHistory(const BanHistory &history, const ThinkingLevel &level, const std::string &databaseDirectory);

} // namespace korvana
