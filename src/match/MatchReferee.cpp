#include "match/MatchReferee.h"

#include "board/ChkStat.h"
#include "board/PosStat.h"

namespace korvana::match {

void MatchReferee::reset()
{
    board_.reset();
    moves_.clear();
    lastCode_ = 20;
}

Verdict MatchReferee::play(int point)
{
    if (point < 0 || point >= PointCount || board_.cell(point) != Empty)
        return Verdict::Illegal;
    const char colour = sideToMove();
    ChkStat judge(board_);
    const POS_STAT code = judge.judgeAt(point, colour); // judged on the empty point, before it is taken
    lastCode_ = code;
    board_.putStone(point);
    moves_.push_back(static_cast<uint8_t>(point));
    if (isWin(code))
        return Verdict::Five;
    if (colour == Black && isForbidden(code))
        return Verdict::Forbidden;
    if (moves_.size() >= PointCount)
        return Verdict::Draw;
    return Verdict::Continue;
}

} // namespace korvana::match
