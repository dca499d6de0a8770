#pragma once
// Where a window opens relative to the window that opens it. A window the
// user has moved reopens at the same offset from its owner; the stored offset
// -1,-1 means "never placed", and the window is centred on its owner then.

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

namespace korvana::WindowPlacement {

/// The stored offset that means "centre it".
inline constexpr int Unplaced = -1;

/// Top-left corner of a window of `size` opened from `owner` (its frame): owner's
/// corner plus (x, y), or centred on the owner when both are -1 (owner left + owner
/// width / 2 - width / 2, the same for top and height; halves truncate toward zero).
QPoint place(const QRect &owner, const QSize &size, int x, int y);

/// The offset to store after the window was shown: its corner less the owner's.
QPoint offsetFrom(const QRect &owner, const QPoint &windowCorner);

/// `wanted` moved, and shrunk where it must be, into the screen area it overlaps most
/// (the first area when it overlaps none), so a window restored after the screens
/// changed can be reached. Unchanged without screen areas.
QRect onScreen(const QRect &wanted, const QList<QRect> &screens);

} // namespace korvana::WindowPlacement
