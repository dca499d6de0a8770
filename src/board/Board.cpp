#include "board/Board.h"

#include "board/ChkStat.h"
#include "board/LineDirection.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace korvana {

Board::Board(BanMoveFactory *factory) : factory_(factory) { reset(); }

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
    nested_.fill(PointSet());
    withNested_.clear();
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
    for (const uint8_t *n = move->nested_.get(), *end = n + move->nestedBytes_; n < end;) {
        const int point = n[0], before = n[1], afterCount = n[2];
        const uint8_t *first = n + 3 + (after ? before : 0);
        PointSet &set = nested_[point];
        set.clear();
        for (int i = 0, count = after ? afterCount : before; i < count; ++i)
            set.add(first[i]);
        if (set.empty())
            withNested_.remove(point);
        else
            withNested_.add(point);
        n += 3 + before + afterCount;
    }
}

void Board::setNested(int point, const PointSet &set)
{
    nested_[point] = set;
    if (set.empty())
        withNested_.remove(point);
    else
        withNested_.add(point);
}

void Board::judgeAround(BanMove *move)
{
    // The points whose judgement reads the move's point. First those that read it directly,
    // along the move's half-lines up to the first stone of the other colour, in this order:
    // row, column, diagonal, anti-diagonal, each first towards +x (the column towards +y),
    // Black before White.
    static constexpr struct {
        int direction, firstSign;
    } halfLines[4] = {{0, 1}, {2, 1}, {1, 1}, {3, -1}};
    CodeRecord found[2][PointCount];
    int count[2] = {0, 0};
    PointSet direct; // Black's
    const int x0 = move->x(), y0 = move->y();
    const char *cells = ban_.cells();
    for (const auto &line : halfLines) {
        for (int side = 0; side < 2; ++side) {
            const char colour = side == 0 ? Black : White;
            const char other = otherColour(colour);
            for (int sign = line.firstSign, turn = 0; turn < 2; sign = -sign, ++turn) {
                const int dx = LineDirections[line.direction].dx * sign, dy = LineDirections[line.direction].dy * sign;
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
                    found[side][count[side]++].point = static_cast<uint8_t>(p);
                    if (side == 0)
                        direct.add(p);
                }
            }
        }
    }
    // Then the Black points whose judgement judged one of those on the way (or the move's
    // point itself): the move can change what that nested judgement reads.
    PointSet probe = direct;
    probe.add(move->point());
    withNested_.forEach([&](int p) {
        if (cells[p] == Empty && !direct.contains(p) && nested_[p].intersects(probe))
            found[0][count[0]++].point = static_cast<uint8_t>(p);
    });

    ChkStat judge(ban_);
    // Reused between moves: a move rarely changes more than a few of these.
    static thread_local std::vector<uint8_t> nestedFound;
    nestedFound.clear();
    for (int side = 0; side < 2; ++side) {
        HanteiBoard &table = side == 0 ? blackCodes_ : whiteCodes_;
        for (int i = 0; i < count[side]; ++i) {
            CodeRecord &rec = found[side][i];
            const int p = rec.point;
            rec.before = table.data()[p];
            if (side == 0) {
                PointSet trace;
                judge.setTrace(&trace);
                rec.after = judge.judgeBlack(p);
                judge.setTrace(nullptr);
                if (!(trace == nested_[p])) {
                    nestedFound.push_back(static_cast<uint8_t>(p));
                    nestedFound.push_back(static_cast<uint8_t>(nested_[p].size()));
                    nestedFound.push_back(static_cast<uint8_t>(trace.size()));
                    nested_[p].forEach([&](int q) { nestedFound.push_back(static_cast<uint8_t>(q)); });
                    trace.forEach([&](int q) { nestedFound.push_back(static_cast<uint8_t>(q)); });
                    setNested(p, trace);
                }
            } else {
                rec.after = judge.judgeWhite(p);
            }
            table.data()[p] = rec.after;
        }
    }
    judgements_ += count[0] + count[1];
    const int total = count[0] + count[1];
    if (total > 0) {
        move->records_ = std::make_unique<CodeRecord[]>(static_cast<size_t>(total));
        std::copy(found[0], found[0] + count[0], move->records_.get());
        std::copy(found[1], found[1] + count[1], move->records_.get() + count[0]);
    }
    if (!nestedFound.empty()) {
        move->nested_ = std::make_unique<uint8_t[]>(nestedFound.size());
        std::copy(nestedFound.begin(), nestedFound.end(), move->nested_.get());
    }
    move->blackCount_ = static_cast<uint8_t>(count[0]);
    move->whiteCount_ = static_cast<uint8_t>(count[1]);
    move->nestedBytes_ = static_cast<uint32_t>(nestedFound.size());
    move->recorded_ = true;
}

POS_STAT Board::codeAt(const Pos &pos) const
{
    if (!onBoard(pos.x, pos.y))
        return Stat::Nothing;
    return codes(pos.colour).data()[pointOf(pos.x, pos.y)];
}

int Board::valueAt(const Pos &pos) const { return pointValue(codeAt(pos)); }

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
