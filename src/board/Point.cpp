#include "board/Point.h"

namespace korvana {

std::string writtenPoint(int x, int y)
{
    if (!onBoard(x, y))
        return {};
    return {AxisCharacters[x], AxisCharacters[BoardSize + y]};
}

std::string writtenPoint(int point)
{
    if (point < 0 || point >= PointCount)
        return {};
    return writtenPoint(pointX(point), pointY(point));
}

bool parseWrittenPoint(const std::string &text, int &x, int &y)
{
    if (text.size() != 2)
        return false;
    int cx = -1, cy = -1;
    for (int i = 0; i < BoardSize; ++i) {
        if (text[0] == AxisCharacters[i])
            cx = i;
        if (text[1] == AxisCharacters[BoardSize + i])
            cy = i;
    }
    if (cx < 0 || cy < 0)
        return false;
    x = cx;
    y = cy;
    return true;
}

namespace {

std::array<uint8_t, PointCount> buildSpiral()
{
    std::array<uint8_t, PointCount> order{};
    static constexpr int dx[4] = {1, 0, -1, 0};
    static constexpr int dy[4] = {0, -1, 0, 1};
    int x = 7, y = 7, n = 0, dir = 0;
    order[n++] = pointOf(x, y);
    for (int run = 1; n < PointCount; ++run) {
        for (int twice = 0; twice < 2 && n < PointCount; ++twice) {
            for (int k = 0; k < run && n < PointCount; ++k) {
                x += dx[dir];
                y += dy[dir];
                if (onBoard(x, y))
                    order[n++] = pointOf(x, y);
            }
            dir = (dir + 1) % 4;
        }
    }
    return order;
}

// (u', v') = (a*u + b*v, c*u + d*v) for each kind.
struct Matrix {
    int a, b, c, d;
};
constexpr Matrix forward[8] = {
    {1, 0, 0, 1},   // (u, v)
    {0, -1, -1, 0}, // (-v, -u)
    {-1, 0, 0, -1}, // (-u, -v)
    {0, 1, -1, 0},  // (v, -u)
    {0, -1, 1, 0},  // (-v, u)
    {-1, 0, 0, 1},  // (-u, v)
    {0, 1, 1, 0},   // (v, u)
    {1, 0, 0, -1},  // (u, -v)
};

int transform(const Matrix &m, int point)
{
    int u = pointX(point) - 7, v = pointY(point) - 7;
    int nu = m.a * u + m.b * v, nv = m.c * u + m.d * v;
    return (nu + 15 * nv + 112) & 0xff;
}

} // namespace

const std::array<uint8_t, PointCount> &spiralOrder()
{
    static const std::array<uint8_t, PointCount> order = buildSpiral();
    return order;
}

int symmetryTransform(int kind, int point) { return transform(forward[kind & 7], point); }

int inverseSymmetryTransform(int kind, int point)
{
    // The inverse table is the forward one with kinds 3 and 4 exchanged.
    static constexpr int swapped[8] = {0, 1, 2, 4, 3, 5, 6, 7};
    return transform(forward[swapped[kind & 7]], point);
}

} // namespace korvana
