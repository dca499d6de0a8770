#include "database/AData.h"

#include "board/Point.h"
#include "database/PositionIndex.h"

#include <cstdlib>

namespace korvana {

AData::AData() = default;

AData::AData(int stoneCount)
{
    stones_.resize(stoneCount);
    for (int i = 0; i < stones_.length(); ++i)
        stones_.data()[i] = NoPoint;
}

void AData::setFromHistory(const BanHistory &history)
{
    const auto &moves = history.moves();
    stones_.resize(static_cast<int32_t>(moves.size()));
    for (int i = 0; i < stones_.length(); ++i)
        stones_.data()[i] = pointOf(moves[static_cast<size_t>(i)].x, moves[static_cast<size_t>(i)].y);
}

void AData::setFromBoard(const BanArray &board)
{
    const int count = board.count();
    stones_.resize(count);
    uint8_t *stones = stones_.data();
    for (int i = 0; i < count; ++i)
        stones[i] = NoPoint;
    int nextBlack = 0, nextWhite = 1;
    for (int x = 0; x < BoardSize; ++x) {
        for (int y = 0; y < BoardSize; ++y) {
            const uint8_t point = pointOf(x, y);
            const char cell = board.cells()[point];
            if (cell == Black && nextBlack < count) {
                stones[nextBlack] = point;
                nextBlack += 2;
            } else if (cell == White && nextWhite < count) {
                stones[nextWhite] = point;
                nextWhite += 2;
            }
        }
    }
}

void AData::setStones(const uint8_t *points, int count)
{
    stones_.resize(count);
    for (int i = 0; i < stones_.length(); ++i)
        stones_.data()[i] = points[i];
}

bool AData::hasCandidate(int point) const
{
    for (int i = 0; i < candidates_.length(); ++i)
        if (candidates_.data()[i].point == point)
            return true;
    return false;
}

void AData::addCandidate(int point)
{
    if (point < 0 || point >= PointCount || hasCandidate(point))
        return;
    // tvector has a fixed length: grow by copying into a longer one.
    VectorADataElement longer(candidates_.length() + 1);
    for (int i = 0; i < candidates_.length(); ++i)
        longer.data()[i] = candidates_.data()[i];
    longer.data()[candidates_.length()] = ADataElement{static_cast<uint8_t>(point), 0};
    candidates_ = std::move(longer);
}

void AData::removeCandidate(int point)
{
    if (point < 0 || point >= PointCount || !hasCandidate(point))
        return;
    VectorADataElement shorter(candidates_.length() - 1);
    int n = 0;
    for (int i = 0; i < candidates_.length(); ++i)
        if (candidates_.data()[i].point != point)
            shorter.data()[n++] = candidates_.data()[i];
    candidates_ = std::move(shorter);
}

bool AData::toggleCandidate(int point)
{
    if (point < 0 || point >= PointCount || hasStoneAt(point))
        return false;
    if (hasCandidate(point))
        removeCandidate(point);
    else
        addCandidate(point);
    return true;
}

bool AData::hasStoneAt(int point) const
{
    for (int i = 0; i < stones_.length(); ++i)
        if (stones_.data()[i] == point)
            return true;
    return false;
}

int32_t AData::keyOf(int stoneCount)
{
    // Sum of 32768 for the first two stones and 2^(i div 2) after, wrapping in
    // 32 bits; powers from 2^32 on contribute nothing (they vanish when wrapped).
    uint32_t sum = 0;
    for (int i = 0; i < stoneCount; ++i) {
        const int power = i / 2;
        if (i < 2)
            sum += 32768u;
        else if (power < 32)
            sum += 1u << power;
    }
    const int32_t signedSum = static_cast<int32_t>(sum);
    // The absolute value of INT32_MIN does not exist; any fixed key will do.
    if (signedSum == INT32_MIN)
        return 0;
    return signedSum < 0 ? -signedSum : signedSum;
}

bool AData::samePosition(const AData &other) const
{
    return korvana::samePosition(stones_.data(), stones_.length(), other.stones_.data(), other.stones_.length());
}

bool AData::stonesOnBoard() const
{
    for (int i = 0; i < stones_.length(); ++i)
        if (stones_.data()[i] >= PointCount)
            return false;
    return true;
}

AData AData::transformed(int kind) const
{
    AData result(*this);
    for (int i = 0; i < stones_.length(); ++i)
        result.stones_.data()[i] = static_cast<uint8_t>(symmetryTransform(kind, stones_.data()[i]));
    for (int i = 0; i < candidates_.length(); ++i)
        result.candidates_.data()[i].point = static_cast<uint8_t>(symmetryTransform(kind, candidates_.data()[i].point));
    return result;
}

} // namespace korvana
