#include "dialogs/WindowPlacement.h"

namespace korvana::WindowPlacement {

QPoint place(const QRect &owner, const QSize &size, int x, int y)
{
    if (x == Unplaced && y == Unplaced)
        return {owner.left() + owner.width() / 2 - size.width() / 2,
                owner.top() + owner.height() / 2 - size.height() / 2};
    return {owner.left() + x, owner.top() + y};
}

QPoint offsetFrom(const QRect &owner, const QPoint &windowCorner)
{
    return windowCorner - owner.topLeft();
}

} // namespace korvana::WindowPlacement
