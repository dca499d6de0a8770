#include "dialogs/TTreeForm.h"

#include "dialogs/GameTreeModel.h"
#include "dialogs/WindowPlacement.h"
#include "settings/KvParam.h"

#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QPushButton>
#include <QShortcut>
#include <QTreeView>

#include <vector>

namespace korvana {

namespace {

constexpr int Margin = 16;
constexpr int ButtonHeight = 28;

} // namespace

TTreeForm::TTreeForm(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("TreeForm"));
    setWindowTitle(QStringLiteral("TreeForm"));
    resize(FormWidth, FormHeight);

    treeView_ = new QTreeView(this);
    treeView_->setObjectName(QStringLiteral("TreeView1"));
    treeView_->setIndentation(19);
    treeView_->setHeaderHidden(true);
    treeView_->setUniformRowHeights(true); // long records: rows are not measured one by one
    treeView_->setSelectionMode(QAbstractItemView::SingleSelection);
    treeView_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(treeView_, &QTreeView::clicked, this, [this](const QModelIndex &index) {
        if (MOve *node = model_ && navigationEnabled_ ? model_->nodeAt(index) : nullptr)
            emit nodeClicked(node);
    });

    deleteButton_ = new QPushButton(QString::fromLatin1(DeleteText), this);
    deleteButton_->setObjectName(QStringLiteral("DeleteVariation"));
    promoteButton_ = new QPushButton(QString::fromLatin1(PromoteText), this);
    promoteButton_->setObjectName(QStringLiteral("PromoteVariation"));
    auto request = [this](void (TTreeForm::*signal)(MOve *)) {
        if (MOve *node = navigationEnabled_ ? selectedNode() : nullptr)
            emit(this->*signal)(node);
    };
    connect(deleteButton_, &QPushButton::clicked, this, [request] { request(&TTreeForm::deleteRequested); });
    connect(promoteButton_, &QPushButton::clicked, this, [request] { request(&TTreeForm::promoteRequested); });
    auto *del = new QShortcut(QKeySequence::Delete, treeView_, nullptr, nullptr, Qt::WidgetShortcut);
    connect(del, &QShortcut::activated, this, [request] { request(&TTreeForm::deleteRequested); });

    layOut();
    hide();
}

TTreeForm::~TTreeForm() = default;

void TTreeForm::attach(MOveTree &tree, KvParam &settings)
{
    settings_ = &settings;
    delete model_;
    model_ = new GameTreeModel(tree, this);
    treeView_->setModel(model_);
    seenChanges_ = tree.structureChanges();
    seenRemovals_ = tree.removals();
    treeView_->expandAll();
    selectCurrent();
}

void TTreeForm::setNavigationEnabled(bool enabled)
{
    navigationEnabled_ = enabled;
    // A click must not select a row the board does not go to.
    treeView_->setSelectionMode(enabled ? QAbstractItemView::SingleSelection : QAbstractItemView::NoSelection);
    deleteButton_->setEnabled(enabled);
    promoteButton_->setEnabled(enabled);
}

MOve *TTreeForm::selectedNode() const
{
    if (!model_)
        return nullptr;
    const QModelIndexList rows = treeView_->selectionModel()->selectedIndexes();
    return rows.isEmpty() ? nullptr : model_->nodeAt(rows.constFirst());
}

void TTreeForm::refresh()
{
    if (!model_)
        return;
    const MOveTree &tree = model_->tree();
    if (tree.structureChanges() != seenChanges_) {
        // Nodes that went may have left their addresses to new ones: no open list then.
        std::vector<MOve *> open;
        if (tree.removals() == seenRemovals_)
            collectOpen(QModelIndex(), open);
        const bool nodesWent = tree.removals() != seenRemovals_;
        model_->reload();
        // A new record (or one cut back) opens whole; otherwise open branches stay open.
        if (nodesWent)
            treeView_->expandAll();
        for (MOve *node : open)
            treeView_->expand(model_->indexOf(node));
        seenChanges_ = tree.structureChanges();
        seenRemovals_ = tree.removals();
    }
    selectCurrent();
}

void TTreeForm::collectOpen(const QModelIndex &parent, std::vector<MOve *> &open) const
{
    // Only open branches are visited: a long record costs what is on view.
    const int rows = model_->rowCount(parent);
    for (int row = 0; row < rows; ++row) {
        const QModelIndex index = model_->index(row, 0, parent);
        if (treeView_->isExpanded(index)) {
            open.push_back(model_->nodeAt(index));
            collectOpen(index, open);
        }
    }
}

void TTreeForm::selectCurrent()
{
    const QModelIndex current = model_->indexOf(model_->tree().current());
    for (QModelIndex up = current.parent(); up.isValid(); up = up.parent())
        treeView_->expand(up);
    // Through the selection model: the view's own call selects nothing while clicks are off.
    treeView_->selectionModel()->setCurrentIndex(current, QItemSelectionModel::ClearAndSelect);
    treeView_->scrollTo(current);
}

void TTreeForm::layOut()
{
    const int w = width() - 2 * Margin;
    const int buttonsTop = height() - Margin - ButtonHeight;
    treeView_->setGeometry(Margin, Margin, w, buttonsTop - 8 - Margin);
    const int half = (w - 8) / 2;
    deleteButton_->setGeometry(Margin, buttonsTop, half, ButtonHeight);
    promoteButton_->setGeometry(Margin + half + 8, buttonsTop, w - half - 8, ButtonHeight);
}

void TTreeForm::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layOut();
}

void TTreeForm::showPlaced()
{
    if (settings_) {
        const auto [w, h] = settings_->get(Settings::SizeTreeForm);
        if (w >= minimumSizeHint().width() && h >= minimumSizeHint().height() && w <= 4000 && h <= 4000)
            resize(w, h);
        const QRect owner = parentWidget() ? parentWidget()->frameGeometry() : QRect();
        auto [x, y] = settings_->get(Settings::PosTreeForm);
        if (x == WindowPlacement::Unplaced && y == WindowPlacement::Unplaced) {
            x = owner.width() + 8; // first time: beside the main window, not over the board
            y = 0;
        }
        move(WindowPlacement::place(owner, size(), x, y));
    }
    shown_ = true;
    show();
    raise();
    refresh();
}

void TTreeForm::storePlacement()
{
    if (!settings_ || !shown_)
        return;
    const QRect owner = parentWidget() ? parentWidget()->frameGeometry() : QRect();
    const QPoint offset = WindowPlacement::offsetFrom(owner, frameGeometry().topLeft());
    settings_->set(Settings::PosTreeForm, {offset.x(), offset.y()});
    settings_->set(Settings::SizeTreeForm, {width(), height()});
}

void TTreeForm::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    emit closed();
}

void TTreeForm::hideEvent(QHideEvent *event)
{
    storePlacement();
    QWidget::hideEvent(event);
}

} // namespace korvana
