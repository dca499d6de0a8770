#include "board/Board.h"

#include "board/ChkStat.h"

#include <cstdlib>

namespace korvana {

Board::Board(BanMoveFactory *factory) : factory_(factory)
{
    reset();
}

void Board::reset()
{
    resetGrid(BoardSize);
    history_ = BanHistory();
    for (int d = 0; d < 4; ++d) {
        blackLines_[d].resize(BoardSize);
        whiteLines_[d].resize(BoardSize);
    }
    blackCodes_.reset();
    whiteCodes_.reset();
    ban_.reset();
}

BanMove *Board::playNewMove(int x, int y, char colour, BanMove *parent)
{
    if (cellAt(x, y) != Empty || (colour != Black && colour != White) || !factory_)
        return nullptr;
    BanMove *move = factory_->createMove(x, y, colour, parent);
    history_.append(x, y, colour, Stat::Nothing);
    placeStone(move);
    if (deferred_)
        return move;
    judgeMove(move);
    updateCodes(move);
    return move;
}

void Board::judgeMove(BanMove *move)
{
    // The stone is judged as the colour it really is, on the stones as they really are.
    ChkStat judge(ban_);
    move->code_ = judge.judgeAt(move->point(), move->colour());
    move->coded_ = true;
    ++judgements_;
    history_.setLastCode(move->code_);
}

bool Board::replayMove(BanMove *move)
{
    if (!move || cellAt(move->x(), move->y()) != Empty)
        return false;
    history_.append(move->x(), move->y(), move->colour(), move->code());
    placeStone(move);
    if (deferred_)
        return true;
    if (!move->isCoded())
        judgeMove(move);
    updateCodes(move);
    return true;
}

bool Board::takeBack(BanMove *move)
{
    if (!move || history_.count() == 0 || moveAt(move->x(), move->y()) != move)
        return false;
    const MovedPos &last = history_[history_.count() - 1];
    if (last.x != move->x() || last.y != move->y())
        return false;
    history_.removeLast();
    setMove(move->x(), move->y(), nullptr);
    ban_.cells()[move->point()] = Empty;
    ban_.setCount(static_cast<uint8_t>(history_.count()));
    if (history_.count() == 0) {
        ban_.setLast(NoPoint);
    } else {
        const MovedPos &before = history_[history_.count() - 1];
        ban_.setLast(pointOf(before.x, before.y));
    }
    if (!deferred_)
        writeRecords(move, false);
    return true;
}

void Board::placeStone(BanMove *move)
{
    setMove(move->x(), move->y(), move);
    ban_.cells()[move->point()] = move->colour();
    ban_.setCount(static_cast<uint8_t>(history_.count()));
    ban_.setLast(move->point());
}

void Board::updateCodes(BanMove *move)
{
    if (move->hasCodeRecords())
        writeRecords(move, true);
    else
        judgeAround(move);
}

void Board::writeRecords(const BanMove *move, bool after)
{
    const CodeRecord *r = move->blackRecords();
    POS_STAT *black = blackCodes_.data();
    for (int i = 0, n = move->blackRecordCount(); i < n; ++i)
        black[r[i].point] = after ? r[i].after : r[i].before;
    r = move->whiteRecords();
    POS_STAT *white = whiteCodes_.data();
    for (int i = 0, n = move->whiteRecordCount(); i < n; ++i)
        white[r[i].point] = after ? r[i].after : r[i].before;
}

void Board::judgeAround(BanMove *move)
{
    // Line steps in this order: horizontal, vertical, (+x,+y) diagonal, (+x,-y) diagonal.
    static constexpr int stepX[4] = {1, 0, 1, 1};
    static constexpr int stepY[4] = {0, 1, 1, -1};
    CodeRecord found[2][40];
    int count[2] = {0, 0};
    const int x0 = move->x(), y0 = move->y();
    const char *cells = ban_.cells();
    ChkStat judge(ban_);
    for (int line = 0; line < 4; ++line) {
        for (int side = 0; side < 2; ++side) {
            const char colour = side == 0 ? Black : White;
            const char other = otherColour(colour);
            HanteiBoard &table = side == 0 ? blackCodes_ : whiteCodes_;
            for (int sign = 1; sign >= -1; sign -= 2) {
                const int dx = stepX[line] * sign, dy = stepY[line] * sign;
                for (int k = 1; k <= 5; ++k) {
                    const int x = x0 + dx * k, y = y0 + dy * k;
                    if (!onBoard(x, y))
                        break; // the rest of the half-line is off the board as well
                    const int p = pointOf(x, y);
                    const char c = cells[p];
                    if (c == other)
                        break;
                    if (c != Empty)
                        continue;
                    CodeRecord &rec = found[side][count[side]++];
                    rec.point = static_cast<uint8_t>(p);
                    rec.before = table.data()[p];
                    rec.after = judge.judgeAt(p, colour);
                    table.data()[p] = rec.after;
                }
            }
        }
    }
    judgements_ += count[0] + count[1];
    const int total = count[0] + count[1];
    if (total > 0) {
        move->records_ = std::make_unique<CodeRecord[]>(static_cast<size_t>(total));
        for (int i = 0; i < count[0]; ++i)
            move->records_[i] = found[0][i];
        for (int i = 0; i < count[1]; ++i)
            move->records_[count[0] + i] = found[1][i];
    }
    move->blackCount_ = static_cast<uint8_t>(count[0]);
    move->whiteCount_ = static_cast<uint8_t>(count[1]);
    move->recorded_ = true;
}

POS_STAT Board::codeAt(const Pos &pos) const
{
    if (!onBoard(pos.x, pos.y))
        return Stat::Nothing;
    return codes(pos.colour).data()[pointOf(pos.x, pos.y)];
}

int Board::valueAt(const Pos &pos) const
{
    return pointValue(codeAt(pos));
}

int Board::balanceAt(const Pos &pos) const
{
    const Pos other{pos.x, pos.y, otherColour(pos.colour == Black ? Black : White)};
    return valueAt(pos) - valueAt(other);
}

int Board::lineDensity(int point) const
{
    int product = 1;
    for (int d = 0; d < 4; ++d) {
        const int diff = std::abs(static_cast<int>(blackLines_[d].at(point).size()) -
                                  static_cast<int>(whiteLines_[d].at(point).size()));
        product *= diff == 0 ? 1 : diff;
    }
    return product;
}

} // namespace korvana
