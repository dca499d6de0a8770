#include "dialogs/WindowPlacement.h"

#include <algorithm>

namespace korvana::WindowPlacement {

QPoint place(const QRect &owner, const QSize &size, int x, int y)
{
    if (x == Unplaced && y == Unplaced)
        return {owner.left() + owner.width() / 2 - size.width() / 2,
                owner.top() + owner.height() / 2 - size.height() / 2};
    return {owner.left() + x, owner.top() + y};
}

QPoint offsetFrom(const QRect &owner, const QPoint &windowCorner) { return windowCorner - owner.topLeft(); }

QRect onScreen(const QRect &wanted, const QList<QRect> &screens)
{
    if (screens.isEmpty())
        return wanted;
    const QRect *best = &screens.front();
    qint64 bestArea = 0;
    for (const QRect &screen : screens) {
        const QRect common = screen.intersected(wanted);
        const qint64 area = qint64(common.width()) * common.height();
        if (area > bestArea) {
            bestArea = area;
            best = &screen;
        }
    }
    QRect fitted(wanted.topLeft(), wanted.size().boundedTo(best->size()));
    fitted.moveLeft(std::clamp(fitted.left(), best->left(), best->right() + 1 - fitted.width()));
    fitted.moveTop(std::clamp(fitted.top(), best->top(), best->bottom() + 1 - fitted.height()));
    return fitted;
}

} // namespace korvana::WindowPlacement
