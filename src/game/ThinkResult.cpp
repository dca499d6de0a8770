#include "game/ThinkResult.h"

#include "board/Point.h"

namespace korvana {

namespace {

void setPoint(ThinkPoint &point, int code)
{
    // Only the low byte travels between threads and the library.
    code &= 0xff;
    if (code == NoPointCode)
        return;
    point.x = static_cast<uint8_t>(code % BoardSize);
    point.y = static_cast<uint8_t>(code / BoardSize);
}

} // namespace

void ThinkResult::setA(int code) { setPoint(a, code); }

void ThinkResult::setB(int code) { setPoint(b, code); }

} // namespace korvana
