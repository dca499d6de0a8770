#pragma once
// BoardPaintBox: the board area of the main window (`Goban0`). It shows the
// view's picture with one copy and turns mouse presses into board points; no
// game rule lives here. It takes whatever size its window gives it and asks for
// a picture of that size in device pixels, so the board is drawn crisp on any screen.

#include <QWidget>

namespace korvana {

class BoardView;

class BoardPaintBox : public QWidget {
    Q_OBJECT
public:
    /// Shows `view`'s picture; the view is borrowed and must outlive the box.
    /// Starts at the designed size.
    explicit BoardPaintBox(const BoardView &view, QWidget *parent = nullptr);

    /// The box's size in device pixels.
    QSize deviceSize() const;

signals:
    /// A mouse press at (column, row), which may lie off the board.
    void pressed(int column, int row, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    /// The picture no longer fits the box (resized, or moved to a screen of another
    /// pixel ratio): make one of deviceSize() and draw it.
    void pictureSizeWanted(QSize devicePixels);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    const BoardView &view_;
};

} // namespace korvana
