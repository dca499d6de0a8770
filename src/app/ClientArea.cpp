#include "app/ClientArea.h"

#include "app/TMainForm.h"
#include "view/BoardView.h"
#include "view/MoveList.h"

#include <algorithm>

namespace korvana {

namespace {

constexpr int DesignHeight = BoardView::BoxHeight;
/// The move list's designed place in the panel: centred, 6 pixels above the bottom.
constexpr int ListLeft = (TMainForm::PanelWidth - MoveList::ListWidth) / 2;
constexpr int ListTop = DesignHeight - MoveList::ListHeight - 6;

} // namespace

ClientArea::Layout ClientArea::arrange(QSize size) const
{
    const int width = std::max(size.width(), designedWidth());
    const int height = std::max(size.height(), DesignHeight);
    // The board's box keeps the designed proportion as far as the panel leaves room.
    const int boardWidth =
        std::clamp(height * BoardView::BoxWidth / BoardView::BoxHeight, BoardView::BoxWidth, width - panelWidth_);
    Layout layout;
    layout.board = QRect(0, 0, boardWidth, height);
    layout.panel = QRect(boardWidth, 0, width - boardWidth, height);
    layout.moveList = QRect(ListLeft, ListTop, layout.panel.width() - 2 * ListLeft, height - ListTop - 6);
    return layout;
}

ClientArea::ClientArea(QWidget *parent) : QWidget(parent), panelWidth_(TMainForm::PanelWidth)
{
    setMinimumSize(designedWidth(), DesignHeight);
    resize(designedWidth(), DesignHeight);
}

int ClientArea::designedWidth() const { return BoardView::BoxWidth + panelWidth_; }

void ClientArea::setParts(QWidget *board, QWidget *panel, QWidget *moveList)
{
    board_ = board;
    panel_ = panel;
    moveList_ = moveList;
    // A wider list widens the window, never narrows the board.
    panelWidth_ = std::max(int(TMainForm::PanelWidth), moveList->sizeHint().width() + 2 * ListLeft);
    setMinimumSize(designedWidth(), DesignHeight);
    resize(std::max(width(), designedWidth()), height());
    place();
}

void ClientArea::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    place();
}

void ClientArea::place()
{
    if (!board_ || !panel_ || !moveList_)
        return;
    const Layout layout = arrange(size());
    board_->setGeometry(layout.board);
    panel_->setGeometry(layout.panel);
    moveList_->setGeometry(layout.moveList);
}

} // namespace korvana
