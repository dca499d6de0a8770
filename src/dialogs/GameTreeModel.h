#pragma once
// GameTreeModel: the game record as an item model for the game-tree window.
//
// A line of play is a run of rows at one level, so a 200-move game does not
// indent 200 times: a node's first child follows it as the next row, and the
// other children (the variations) hang under that first child's row, each
// with its own line below it. The top level is the empty board ("Start") and
// the main line. The model reads the tree on demand; call reload() after the
// tree's structure changed and before the view reads again.

#include "record/MOveTree.h"

#include <QAbstractItemModel>

namespace korvana {

class GameTreeModel : public QAbstractItemModel {
    Q_OBJECT
public:
    /// Text of the empty board's row.
    static constexpr const char *StartText = "Start";

    explicit GameTreeModel(MOveTree &tree, QObject *parent = nullptr);

    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    /// Text as the move list writes it; the main line bold, variations in blue.
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    /// The node of a row; the root for an invalid index; null while stale.
    MOve *nodeAt(const QModelIndex &index) const;
    /// The row of a node of the tree.
    QModelIndex indexOf(const MOve *node) const;
    /// The tree changed its structure: every row is read again.
    void reload();

    MOveTree &tree() const { return tree_; }

private:
    /// Nodes went since the last reload: the rows the view holds may name freed
    /// nodes, so until reload() the model shows nothing and reads no node.
    bool stale() const { return tree_.removals() != removals_; }

    MOveTree &tree_;
    uint64_t removals_;
};

} // namespace korvana
