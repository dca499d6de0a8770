#pragma once
// BoardPaintBox: the board area of the main window (`Goban0`). It shows the
// view's picture with one copy and turns mouse presses into board points; no
// game rule lives here.

#include <QWidget>

namespace korvana {

class BoardView;

class BoardPaintBox : public QWidget {
    Q_OBJECT
public:
    /// Shows `view`'s picture; the view is borrowed and must outlive the box.
    explicit BoardPaintBox(const BoardView &view, QWidget *parent = nullptr);

signals:
    /// A mouse press at (column, row), which may lie off the board.
    void pressed(int column, int row, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    const BoardView &view_;
};

} // namespace korvana
