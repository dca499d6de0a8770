#pragma once
// TTreeForm: a window with a tree view for the game record. Created hidden
// with the other windows and destroyed at exit; no command shows it yet and
// nothing fills it, so it costs nothing while it waits for a use.

#include <QWidget>

class QTreeWidget;

namespace korvana {

class TTreeForm : public QWidget {
    Q_OBJECT
public:
    static constexpr int FormWidth = 415;
    static constexpr int FormHeight = 446;

    /// A hidden, resizable top-level window owned by `parent`.
    explicit TTreeForm(QWidget *parent = nullptr);

    /// The (empty) tree view.
    QTreeWidget *treeView() const { return treeView_; }

private:
    QTreeWidget *treeView_;
};

} // namespace korvana
