#pragma once
// TTreeForm: the game-tree window. Every node of the record with its move number,
// point and label, the main line set apart from the variations, the current node
// selected. It only shows and asks: a click, Delete or Promote is a signal that
// the main window hands to the game flow, which then calls refresh().

#include "record/MOve.h"

#include <QWidget>

#include <cstdint>
#include <vector>

class QModelIndex;

class QPushButton;
class QTreeView;

namespace korvana {

class GameTreeModel;
class KvParam;
class MOveTree;

class TTreeForm : public QWidget {
    Q_OBJECT
public:
    static constexpr int FormWidth = 415;
    static constexpr int FormHeight = 446;
    static constexpr const char *DeleteText = "Delete Variation";
    static constexpr const char *PromoteText = "Promote to Main Line";

    /// A hidden, resizable top-level window owned by `parent`.
    explicit TTreeForm(QWidget *parent = nullptr);
    ~TTreeForm() override;

    /// Shows `tree` from now on (it must outlive the form); `settings` keeps the geometry.
    void attach(MOveTree &tree, KvParam &settings);
    /// Brings the rows in step with the tree and selects the current node. Cheap when
    /// only the cursor moved; the rows are read again when the tree's structure changed.
    void refresh();
    /// Shows the window where it was last (WIN32/PosTreeForm from the main window's
    /// corner, WIN32/SizeTreeForm), beside the main window the first time.
    void showPlaced();
    /// Stores the window's place and size in the settings (once it has been shown).
    void storePlacement();

    QTreeView *treeView() const { return treeView_; }
    GameTreeModel *model() const { return model_; }
    QPushButton *deleteButton() const { return deleteButton_; }
    QPushButton *promoteButton() const { return promoteButton_; }
    /// The node of the selected row; null when nothing is selected.
    MOve *selectedNode() const;
    /// Clicks and the two buttons act (true) or are ignored and greyed out (false, while
    /// the computer thinks); the current node is still shown.
    void setNavigationEnabled(bool enabled);

signals:
    /// The user clicked a node's row: the board should go there.
    void nodeClicked(MOve *node);
    /// The user asked to delete the variation starting at `node`.
    void deleteRequested(MOve *node);
    /// The user asked to make the line through `node` the main line.
    void promoteRequested(MOve *node);
    /// The user closed the window.
    void closed();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void layOut();
    void selectCurrent();
    void collectOpen(const QModelIndex &parent, std::vector<MOve *> &open) const;

    QTreeView *treeView_;
    QPushButton *deleteButton_;
    QPushButton *promoteButton_;
    GameTreeModel *model_ = nullptr;
    KvParam *settings_ = nullptr;
    bool navigationEnabled_ = true;
    uint64_t seenChanges_ = 0;
    uint64_t seenRemovals_ = 0;
    bool shown_ = false; ///< placed by showPlaced at least once: the place is worth keeping
};

} // namespace korvana
