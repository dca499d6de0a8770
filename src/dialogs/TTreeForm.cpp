#include "dialogs/TTreeForm.h"

#include <QHeaderView>
#include <QTreeWidget>

namespace korvana {

TTreeForm::TTreeForm(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("TreeForm"));
    setWindowTitle(QStringLiteral("TreeForm"));
    resize(FormWidth, FormHeight);

    treeView_ = new QTreeWidget(this);
    treeView_->setObjectName(QStringLiteral("TreeView1"));
    treeView_->setGeometry(16, 16, 281, 369);
    treeView_->setIndentation(19);
    treeView_->setHeaderHidden(true);
    hide();
}

} // namespace korvana
