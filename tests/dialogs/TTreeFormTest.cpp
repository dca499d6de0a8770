// The game-tree window: its rows follow the record, a click or a button names a
// node, refresh keeps open branches open, and the window keeps its place.

#include "dialogs/GameTreeModel.h"
#include "dialogs/TTreeForm.h"
#include "settings/KvParam.h"

#include <QFont>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTreeView>
#include <gtest/gtest.h>

#include <sstream>

namespace korvana {
namespace {

// Main line h8 i9 j8; variations i8 (then j9) and g9 for move 2; k8 for move 3.
constexpr const char *Record = "(;GM[4]SZ[15]RU[Renju 1998];B[hh](;W[ii](;B[jh])(;B[kh]))(;W[ih];B[ji])(;W[gi]))";

struct Fixture {
    QWidget main;
    MOveTree tree;
    KvParam settings;
    TTreeForm form{&main};
    Fixture()
    {
        std::istringstream in(Record);
        EXPECT_TRUE(tree.ReadSgf(in));
        form.attach(tree, settings);
    }
    GameTreeModel &model() { return *form.model(); }
    QString text(const QModelIndex &index) { return model().data(index).toString(); }
    /// Clicks the row of `node`, as the user would.
    void click(const MOve *node)
    {
        const QModelIndex index = model().indexOf(node);
        form.treeView()->scrollTo(index);
        QTest::mouseClick(form.treeView()->viewport(), Qt::LeftButton, {}, form.treeView()->visualRect(index).center());
    }
};

TEST(TTreeFormTest, RowsShowLinesAndHangVariationsUnderTheMoveTheyReplace)
{
    Fixture f;
    GameTreeModel &m = f.model();
    ASSERT_EQ(m.rowCount(), 4); // Start and the main line
    EXPECT_EQ(f.text(m.index(0, 0)), QStringLiteral("Start"));
    EXPECT_EQ(f.text(m.index(3, 0)), QStringLiteral("B3(j8):"));
    const QModelIndex w2 = m.index(2, 0);
    ASSERT_EQ(m.rowCount(w2), 2);
    const QModelIndex i8 = m.index(0, 0, w2);
    EXPECT_EQ(f.text(i8), QStringLiteral("W2(i8):"));
    EXPECT_EQ(f.text(m.index(0, 0, i8)), QStringLiteral("B3(j9):"));
    EXPECT_EQ(f.text(m.index(1, 0, w2)), QStringLiteral("W2(g9):"));
    EXPECT_EQ(m.rowCount(m.index(3, 0)), 1); // k8 replaces move 3
    // Every row's parent and index agree, and main line and variations look different.
    for (const QModelIndex &index : {w2, i8, m.index(0, 0, i8), m.index(0, 0, m.index(3, 0))}) {
        EXPECT_EQ(m.indexOf(m.nodeAt(index)), index);
        EXPECT_EQ(m.parent(index), index.parent());
        EXPECT_EQ(m.data(index, Qt::FontRole).value<QFont>().bold(), MOveTree::IsOnMainLine(m.nodeAt(index)));
    }
}

TEST(TTreeFormTest, ClickAndButtonsNameTheNode)
{
    Fixture f;
    f.form.show();
    QSignalSpy clicked(&f.form, &TTreeForm::nodeClicked);
    QSignalSpy deleted(&f.form, &TTreeForm::deleteRequested);
    QSignalSpy promoted(&f.form, &TTreeForm::promoteRequested);
    MOve *g9 = f.tree.root()->child(0)->child(2);
    f.form.treeView()->expandAll();
    f.click(g9);
    ASSERT_EQ(clicked.count(), 1);
    EXPECT_EQ(clicked[0][0].value<MOve *>(), g9);
    f.form.deleteButton()->click();
    f.form.promoteButton()->click();
    ASSERT_EQ(deleted.count(), 1);
    ASSERT_EQ(promoted.count(), 1);
    EXPECT_EQ(deleted[0][0].value<MOve *>(), g9);
    EXPECT_EQ(promoted[0][0].value<MOve *>(), g9);

    f.form.setNavigationEnabled(false); // the computer thinks
    f.click(f.tree.root()->child(0));
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_EQ(f.form.selectedNode(), g9) << "a click selects nothing the board does not show";
    EXPECT_FALSE(f.form.deleteButton()->isEnabled() || f.form.promoteButton()->isEnabled());
    f.tree.GotoNode(f.tree.root()->child(0)); // its move arrives
    f.form.refresh();
    EXPECT_EQ(f.form.selectedNode(), f.tree.root()->child(0)) << "the current node is still shown";
}

TEST(TTreeFormTest, RefreshSelectsTheCurrentNodeAndKeepsOpenBranches)
{
    Fixture f;
    QTreeView *view = f.form.treeView();
    MOve *i8 = f.tree.root()->child(0)->child(1);
    const QModelIndex w2 = f.model().indexOf(f.tree.root()->child(0)->child(0));
    EXPECT_TRUE(view->isExpanded(f.model().index(3, 0))) << "a record opens whole";
    view->collapseAll();
    view->expand(w2);
    ASSERT_TRUE(f.tree.GotoNode(i8->child(0)));
    f.tree.AddMove(0, 0, 'W'); // a new move: the rows are read again
    f.form.refresh();
    EXPECT_EQ(f.form.selectedNode(), f.tree.current());
    EXPECT_EQ(f.text(view->currentIndex()), QStringLiteral("W4(a1):"));
    EXPECT_TRUE(view->isExpanded(f.model().indexOf(f.tree.root()->child(0)->child(0))));
    EXPECT_FALSE(view->isExpanded(f.model().index(3, 0))) << "closed by the user, closed it stays";
    // Promoted, the line through a1 is the main line: Start and four moves at the top.
    f.tree.PromoteToMainLine(f.tree.current());
    f.form.refresh();
    EXPECT_EQ(f.model().rowCount(), 5);
    EXPECT_EQ(f.form.selectedNode(), f.tree.current());
    // Nodes gone and no refresh yet: the rows name nothing rather than freed nodes.
    f.tree.DeleteVariation(f.tree.root()->child(0));
    EXPECT_EQ(f.model().rowCount(), 0);
    EXPECT_EQ(f.form.selectedNode(), nullptr);
    f.form.refresh();
    EXPECT_EQ(f.model().rowCount(), 1);
    // Another record read in: the old nodes are freed with the tree they came from.
    std::istringstream next("(;GM[4]SZ[15];B[hh];W[ii])");
    ASSERT_EQ(f.tree.LoadFrom(next), 1);
    EXPECT_EQ(f.model().rowCount(), 0);
    f.form.refresh();
    EXPECT_EQ(f.model().rowCount(), 3);
}

TEST(TTreeFormTest, PlaceAndSizeAreKept)
{
    Fixture f;
    f.main.setGeometry(100, 100, 510, 450);
    f.main.show();
    f.form.showPlaced();
    f.form.resize(300, 500);
    f.form.hide();
    EXPECT_EQ(f.settings.GetPointX("WIN32", "SizeTreeForm"), 300);
    EXPECT_EQ(f.settings.GetPointY("WIN32", "SizeTreeForm"), 500);
    f.settings.SetPoint("WIN32", "PosTreeForm", 40, 30);
    f.form.showPlaced();
    EXPECT_EQ(f.form.size(), QSize(300, 500));
    EXPECT_EQ(f.form.frameGeometry().topLeft(), f.main.frameGeometry().topLeft() + QPoint(40, 30));
}

} // namespace
} // namespace korvana
