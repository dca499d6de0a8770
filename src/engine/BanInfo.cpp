#include "engine/BanInfo.h"

#include "board/ChkStat.h"
#include "board/LineDirection.h"

namespace korvana {

BanInfo::BanInfo() : own(PointCount), other(PointCount) {}

int BanInfo::computeFull(BanArray &board)
{
    ChkStat judge(board);
    const char mover = colourToMove(board.count());
    int judged = 0;
    for (int p = 0; p < PointCount; ++p) {
        if (board.cells()[p] != Empty) {
            own.data()[p] = other.data()[p] = Stat::Nothing;
            continue;
        }
        own.data()[p] = judge.judgeAt(p, mover);
        other.data()[p] = judge.judgeAt(p, otherColour(mover));
        judged += 2;
    }
    recomputeFlags(board);
    return judged;
}

void BanInfo::takeSwapped(const BanInfo &parent)
{
    own = parent.other;
    other = parent.own;
    ownCanWin = parent.otherCanWin;
    otherCanWin = parent.ownCanWin;
}

int BanInfo::updateAfter(BanArray &board, int move)
{
    if (move < 0 || move >= PointCount)
        return 0;
    own.data()[move] = other.data()[move] = Stat::Nothing;
    ChkStat judge(board);
    const char *cells = board.cells();
    const bool blackToMove = colourToMove(board.count()) == Black;
    int judged = 0;
    const int mx = pointX(move), my = pointY(move);
    for (char colour : {Black, White}) {
        unsigned char *codes = (colour == Black) == blackToMove ? own.data() : other.data();
        const char stopAt = otherColour(colour);
        for (int d = 0; d < 4; ++d) {
            for (int sign : {1, -1}) {
                for (int k = 1; k <= 5; ++k) {
                    const int x = mx + sign * k * LineDirections[d].dx, y = my + sign * k * LineDirections[d].dy;
                    if (!onBoard(x, y))
                        break;
                    const int p = pointOf(x, y);
                    if (cells[p] == stopAt)
                        break;
                    if (cells[p] == Empty) {
                        codes[p] = judge.judgeAt(p, colour);
                        ++judged;
                    }
                }
            }
        }
    }
    recomputeFlags(board);
    return judged;
}

void BanInfo::recomputeFlags(const BanArray &board)
{
    ownCanWin = otherCanWin = 0;
    const char *cells = board.cells();
    for (int p = 0; p < PointCount; ++p) {
        if (cells[p] != Empty)
            continue;
        if (own.data()[p] < 2)
            ownCanWin = 1;
        if (other.data()[p] < 2)
            otherCanWin = 1;
    }
}

} // namespace korvana
