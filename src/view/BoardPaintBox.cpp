#include "view/BoardPaintBox.h"

#include "view/BoardView.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include <cmath>

namespace korvana {

BoardPaintBox::BoardPaintBox(const BoardView &view, QWidget *parent) : QWidget(parent), view_(view)
{
    setObjectName(QStringLiteral("Goban0"));
    resize(BoardView::BoxWidth, BoardView::BoxHeight);
    // Every pixel comes from the picture: no background erase, no flicker.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QSize BoardPaintBox::deviceSize() const
{
    const qreal ratio = devicePixelRatioF();
    return {static_cast<int>(std::lround(width() * ratio)), static_cast<int>(std::lround(height() * ratio))};
}

void BoardPaintBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const qreal ratio = devicePixelRatioF();
    const QImage &picture = view_.bitmap();
    // One picture pixel to one device pixel.
    painter.drawImage(QRectF(0, 0, picture.width() / ratio, picture.height() / ratio), picture);
    if (view_.boxSize() != deviceSize()) {
        // The screen's pixel ratio changed under us; ask for a new picture after this paint.
        QTimer::singleShot(0, this, [this] {
            if (view_.boxSize() != deviceSize())
                emit pictureSizeWanted(deviceSize());
        });
    }
}

void BoardPaintBox::mousePressEvent(QMouseEvent *event)
{
    const QPoint point = view_.pointAt(event->position() * devicePixelRatioF());
    emit pressed(point.x(), point.y(), event->button(), event->modifiers());
}

void BoardPaintBox::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (view_.boxSize() != deviceSize())
        emit pictureSizeWanted(deviceSize());
}

} // namespace korvana
