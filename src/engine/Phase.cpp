#include "engine/Phase.h"

#include <cstdio>

namespace korvana {

Phase::Phase(BanArray b) : board(std::move(b)), info(std::make_unique<BanInfo>())
{
    rootJudgements = info->computeFull(board);
}

Phase::Phase(Phase *parentPhase, int point) : parent(parentPhase)
{
    if (!parent) {
        std::fputs("Phase class constructor error \n", stderr);
        return;
    }
    board = parent->board;
    if (!board.putStone(point))
        std::fputs("Put Stone Error\n", stderr);
}

Phase::~Phase()
{
    children.forEachOldestFirst([](Phase *child) {
        delete child;
        return true;
    });
}

int Phase::makeInfo()
{
    if (info || !parent || !parent->info)
        return 0;
    info = std::make_unique<BanInfo>();
    info->takeSwapped(*parent->info);
    if (board.count() == parent->board.count())
        return 0; // the stone was refused: nothing changed on the board
    return info->updateAfter(board, board.last());
}

Phase *Phase::addChild(int point)
{
    Phase *child = new Phase(this, point);
    children.insert(child);
    return child;
}

} // namespace korvana
