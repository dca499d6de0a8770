#pragma once
// ClientArea: the main window's area between the tool bar and the status line.
// At the designed size it holds the board box (351 x 343) and the side panel,
// wide enough for the move list's longest line, exactly as designed; a larger
// window gives the board a box as tall as the area and wide in the designed
// proportion, and the panel, with its move list, the rest.

#include <QRect>
#include <QWidget>

namespace korvana {

class ClientArea : public QWidget {
    Q_OBJECT
public:
    /// Where the parts go in an area of `size`.
    struct Layout {
        QRect board;    ///< the board's paint box
        QRect panel;    ///< the side panel
        QRect moveList; ///< the move list, in the panel's coordinates
    };
    Layout arrange(QSize size) const;

    /// Starts at the designed size, which is also its minimum.
    explicit ClientArea(QWidget *parent = nullptr);
    /// The widgets to place (children of this area and of `panel`). The panel is
    /// made as wide as the move list's size hint asks, and the designed width with it.
    void setParts(QWidget *board, QWidget *panel, QWidget *moveList);
    /// The designed (and least) width: the board box and the panel.
    int designedWidth() const;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void place();

    QWidget *board_ = nullptr;
    QWidget *panel_ = nullptr;
    QWidget *moveList_ = nullptr;
    int panelWidth_; ///< the panel's designed width
};

} // namespace korvana
