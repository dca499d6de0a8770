#include "view/BoardPaintBox.h"

#include "view/BoardView.h"

#include <QMouseEvent>
#include <QPainter>

namespace korvana {

BoardPaintBox::BoardPaintBox(const BoardView &view, QWidget *parent) : QWidget(parent), view_(view)
{
    setObjectName(QStringLiteral("Goban0"));
    setFixedSize(BoardView::BoxWidth, BoardView::BoxHeight);
    // Every pixel comes from the picture: no background erase, no flicker.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void BoardPaintBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawImage(0, 0, view_.bitmap());
}

void BoardPaintBox::mousePressEvent(QMouseEvent *event)
{
    const QPoint point = BoardView::pointFromMouse(event->position().toPoint());
    emit pressed(point.x(), point.y(), event->button(), event->modifiers());
}

} // namespace korvana
