#pragma once
// ChkStat: the Renju rule judge. Answers what a stone of a colour would make
// on a point. Black is always judged with the Renju restrictions, White never.

#include "board/BanArray.h"
#include "board/PointSet.h"
#include "board/PosStat.h"

namespace korvana {

/// Everything one judgement reads off the board, per direction
/// (0: +x, 1: +x+y, 2: +y, 3: -x+y). Lives on the stack.
struct LineScan {
    int direction = 0;   ///< direction the pattern checks are looking at
    int x = 0, y = 0;    ///< the judged point
    char own = 'B';      ///< colour being judged
    char opponent = 'W'; ///< the other colour; also every cell off the board or past the stretch
    const BanArray *board = nullptr;
    char window[4][11];    ///< cells at steps -5..+5; index 5 is the judged point
    int hi[4];             ///< cells scanned on the + side (0..5)
    int lo[4];             ///< minus the cells scanned on the - side (-5..0)
    int ownCount[4];       ///< own stones in the stretch, the judged point included
    int blocked[4];        ///< 11 - ownCount - emptyCount
    int emptyCount[4];     ///< empty cells in the stretch
    uint16_t ownMask[4];   ///< bit i: window[d][i] is own
    uint16_t emptyMask[4]; ///< bit i: window[d][i] is empty

    /// Fills every field for `own` at `point` (the board must hold own there).
    void build(const BanArray &b, int point, char ownColour);
    /// Cell at a step -5..+5 (opponent outside that range).
    char at(int d, int step) const;
};

class ChkStat {
public:
    /// Judges on `board`, which is borrowed, not owned.
    explicit ChkStat(BanArray &board) : board_(&board) {}
    virtual ~ChkStat() = default;

    /// Code of a Black stone at point (Renju restrictions apply).
    POS_STAT judgeBlack(int point);
    /// Code of a White stone at point.
    POS_STAT judgeWhite(int point);
    /// judgeBlack for 'B', judgeWhite for anything else.
    POS_STAT judgeAt(int point, char colour) { return colour == 'B' ? judgeBlack(point) : judgeWhite(point); }
    /// Both codes of a point at the price of reading its lines once.
    void judgeBoth(int point, POS_STAT &black, POS_STAT &white);
    /// Code of the board's last move, by the parity of its move count.
    POS_STAT judgeLast();

    /// While set, each point a Black judgement judges on the way (a three's straight-four
    /// point, at any depth) is added to `trace`: with the judged point's own lines, these
    /// points' lines are all a judgement reads. Not owned; null stops tracing.
    void setTrace(PointSet *trace) { trace_ = trace; }

private:
    POS_STAT blackAt(int point);
    POS_STAT classifyBlackLines(int point, const uint32_t lines[4]);
    bool anyTrueThree(int point, int d, unsigned keys);

    BanArray *board_;
    PointSet *trace_ = nullptr;
};

/// Line kind of a direction: run length for 5+, -4/-3 open, 4/3 half-open,
/// -1 closed, 0 otherwise.
int lineKind(const LineScan &scan, int d);
bool hasFour(const LineScan &scan, int d);
bool hasThree(const LineScan &scan, int d);
bool hasTwo(const LineScan &scan, int d);
/// White classification of a built scan.
POS_STAT classifyWhite(const LineScan &scan);

} // namespace korvana
