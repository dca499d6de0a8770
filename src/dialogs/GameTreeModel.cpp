#include "dialogs/GameTreeModel.h"

#include "game/GameFlow.h"

#include <QBrush>
#include <QColor>
#include <QFont>

namespace korvana {

namespace {

bool isFirstChild(const MOve *node) { return node->parent() && node->parent()->child(0) == node; }

/// The node `steps` first children below `node`.
MOve *alongFirst(MOve *node, int steps)
{
    for (; node && steps > 0; --steps)
        node = node->child(0);
    return node;
}

/// How many first children follow `node`.
int lineLength(const MOve *node)
{
    int n = 0;
    for (node = node->child(0); node; node = node->child(0))
        ++n;
    return n;
}

int depthOf(const MOve *node)
{
    int depth = 0;
    for (; node->parent(); node = node->parent())
        ++depth;
    return depth;
}

} // namespace

GameTreeModel::GameTreeModel(MOveTree &tree, QObject *parent)
    : QAbstractItemModel(parent), tree_(tree), removals_(tree.removals())
{}

MOve *GameTreeModel::nodeAt(const QModelIndex &index) const
{
    if (stale())
        return nullptr;
    return index.isValid() ? static_cast<MOve *>(index.internalPointer()) : tree_.root();
}

QModelIndex GameTreeModel::index(int row, int column, const QModelIndex &parent) const
{
    if (row < 0 || column != 0 || stale())
        return {};
    MOve *node = nullptr;
    if (!parent.isValid()) {
        node = alongFirst(tree_.root(), row);
    } else {
        MOve *up = nodeAt(parent);
        if (!up->parent())
            return {};
        if (isFirstChild(up))
            node = up->parent()->child(row + 1); // the variations of `up`
        else
            node = alongFirst(up, row + 1); // the line a variation starts
    }
    return node ? createIndex(row, 0, node) : QModelIndex();
}

QModelIndex GameTreeModel::indexOf(const MOve *node) const
{
    if (!node || stale())
        return {};
    if (!node->parent())
        return createIndex(0, 0, const_cast<MOve *>(node));
    if (!isFirstChild(node)) {
        const auto &siblings = node->parent()->children();
        const int i = static_cast<int>(std::find(siblings.begin(), siblings.end(), node) - siblings.begin());
        return createIndex(i - 1, 0, const_cast<MOve *>(node));
    }
    // Up the line to its start: the root (top level) or a variation's first move.
    int steps = 0;
    const MOve *start = node;
    while (isFirstChild(start)) {
        start = start->parent();
        ++steps;
    }
    return createIndex(start->parent() ? steps - 1 : steps, 0, const_cast<MOve *>(node));
}

QModelIndex GameTreeModel::parent(const QModelIndex &child) const
{
    if (!child.isValid() || stale())
        return {};
    const MOve *node = nodeAt(child);
    if (!node->parent())
        return {};
    if (!isFirstChild(node))
        return indexOf(node->parent()->child(0));
    const MOve *start = node;
    while (isFirstChild(start))
        start = start->parent();
    return start->parent() ? indexOf(start) : QModelIndex();
}

int GameTreeModel::rowCount(const QModelIndex &parent) const
{
    if (stale())
        return 0;
    if (!parent.isValid())
        return 1 + lineLength(tree_.root());
    const MOve *node = nodeAt(parent);
    if (!node->parent())
        return 0;
    return isFirstChild(node) ? node->parent()->childCount() - 1 : lineLength(node);
}

int GameTreeModel::columnCount(const QModelIndex &) const { return 1; }

QVariant GameTreeModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || stale())
        return {};
    const MOve *node = nodeAt(index);
    const bool mainLine = MOveTree::IsOnMainLine(node);
    switch (role) {
    case Qt::DisplayRole:
        if (!node->parent())
            return QString::fromLatin1(StartText);
        return QString::fromStdString(
            GameFlow::MoveListLine(node->colour(), depthOf(node), node->x(), node->y(), node->code()));
    case Qt::FontRole: {
        QFont font;
        font.setBold(mainLine);
        return font;
    }
    case Qt::ForegroundRole: return mainLine ? QVariant() : QBrush(QColor(30, 80, 170));
    default: return {};
    }
}

void GameTreeModel::reload()
{
    beginResetModel();
    removals_ = tree_.removals();
    endResetModel();
}

} // namespace korvana
