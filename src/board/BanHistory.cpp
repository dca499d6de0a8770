#include "board/BanHistory.h"

#include "board/ChkStat.h"

namespace korvana {

bool BanHistory::next(MovedPos &moved)
{
    if (moves_.empty())
        return false;
    cursor_ = cursor_ + 1;
    if (cursor_ >= count()) {
        cursor_ = -1;
        return false;
    }
    moved = moves_[static_cast<size_t>(cursor_)];
    return true;
}

bool BanHistory::previous(MovedPos &moved)
{
    if (moves_.empty())
        return false;
    cursor_ = cursor_ < 0 ? count() - 1 : cursor_ - 1;
    if (cursor_ < 0)
        return false;
    moved = moves_[static_cast<size_t>(cursor_)];
    return true;
}

uint8_t BanHistory::currentCode() const
{
    if (moves_.empty())
        return Stat::Nothing;
    // On the end marker the last move answers, as the list's sentinel would hand back its neighbour.
    int i = cursor_ < 0 ? count() - 1 : cursor_;
    return moves_[static_cast<size_t>(i)].code;
}

bool BanHistory::append(int x, int y, char colour, uint8_t code)
{
    if (x < 0 || y < 0 || x > 14 || y > 14)
        return false;
    moves_.push_back(MovedPos{static_cast<uint8_t>(x), static_cast<uint8_t>(y), colour, code});
    cursor_ = cursor_ + 1;
    if (cursor_ >= count())
        cursor_ = count() - 1;
    return true;
}

bool BanHistory::appendJudged(int x, int y, char colour)
{
    if (!append(x, y, colour, Stat::Nothing))
        return false;
    BanArray board;
    for (const MovedPos &m : moves_)
        board.putStone(pointOf(m.x, m.y));
    ChkStat judge(board);
    // The code belongs to the move just appended, wherever the cursor stood.
    moves_.back().code = judge.judgeLast();
    return true;
}

bool BanHistory::appendPoint(int point)
{
    if (point < 0 || point >= PointCount)
        return false;
    return appendJudged(pointX(point), pointY(point), colourToMove(count()));
}

void BanHistory::removeLast()
{
    MovedPos ignored;
    previous(ignored);
    if (moves_.empty())
        return;
    moves_.pop_back();
    if (cursor_ >= count())
        cursor_ = count() - 1;
}

void BanHistory::toBoard(BanArray &board) const
{
    board.reset();
    for (const MovedPos &m : moves_)
        board.cell(pointOf(m.x, m.y)) = m.colour;
    board.setCount(static_cast<uint8_t>(moves_.size()));
    board.setLast(moves_.empty() ? NoPoint : pointOf(moves_.back().x, moves_.back().y));
}

BanArray BanHistory::toBoard() const
{
    BanArray board;
    toBoard(board);
    return board;
}

void BanHistory::setLastCode(uint8_t code)
{
    if (!moves_.empty())
        moves_.back().code = code;
}

} // namespace korvana
