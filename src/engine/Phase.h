#pragma once
// Phase: one position in the search tree, owning its successors.

#include "board/BanArray.h"
#include "board/tdlist.h"
#include "engine/BanInfo.h"

#include <cstdint>
#include <memory>

namespace korvana {

class Phase {
public:
    /// Value of a node that has none yet.
    static constexpr int16_t NoValue = -2500;

    /// A root: owns `board`; its codes are judged in full.
    explicit Phase(BanArray board);
    /// A successor of `parent` with a stone at `point`. Its codes are made on
    /// first use (makeInfo), so successors that a cut skips never pay for them.
    /// Writes "Put Stone Error" when the point is taken, and
    /// "Phase class constructor error " without a parent.
    Phase(Phase *parent, int point);
    Phase(const Phase &) = delete;
    Phase &operator=(const Phase &) = delete;
    /// Destroys the successors first.
    virtual ~Phase();

    /// Makes the codes from the parent's (which must still have theirs):
    /// sides exchanged, then the lines through the new stone re-judged.
    /// Returns the judgements made (0 when the codes exist already).
    int makeInfo();
    /// Appends a successor at `point` and returns it.
    Phase *addChild(int point);

    bool hasValue() const { return value != NoValue; }
    /// Parity of the stone count: equal parities have the same side to move.
    int parity() const { return board.count() & 1; }

    Phase *parent = nullptr;
    tdlist<Phase *> children;      ///< successors, oldest first on the cursor walk; owned
    BanArray board;                ///< the position
    int16_t value = NoValue;       ///< minimax value for the root's mover
    std::unique_ptr<BanInfo> info; ///< codes; dropped once the node is finished
    int32_t key = 0;               ///< position key, set when entered in a PhaseHash
    int rootJudgements = 0;        ///< judgements the root's full codes took
};

} // namespace korvana
