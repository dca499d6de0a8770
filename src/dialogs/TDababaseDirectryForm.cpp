#include "dialogs/TDababaseDirectryForm.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QPushButton>
#include <QStorageInfo>
#include <QTreeView>

#include <algorithm>

namespace korvana {

namespace {

const QString Root = QStringLiteral("/");

/// An absolute, clean path without a trailing '/' (except the root itself).
QString cleanDirectory(const QString &text)
{
    if (text.isEmpty())
        return {};
    return QDir::cleanPath(QFileInfo(text).absoluteFilePath());
}

} // namespace

TDababaseDirectryForm::TDababaseDirectryForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("DababaseDirectryForm"));
    setWindowTitle(QStringLiteral("Database Directry"));
    setFixedSize(FormWidth, FormHeight);
    setFont(QFont(QStringLiteral("Times New Roman")));

    tree_ = new QTreeView(this);
    tree_->setObjectName(QStringLiteral("DirectoryListBox1"));
    tree_->setGeometry(5, 5, 310, 249);
    tree_->setHeaderHidden(true);

    drives_ = new QComboBox(this);
    drives_->setObjectName(QStringLiteral("DriveComboBox1"));
    drives_->setGeometry(5, 270, 145, 25);
    drives_->addItems(mountedVolumes());

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OK"));
    ok->setGeometry(160, 270, 75, 25);
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("Cancel"));
    cancel->setGeometry(240, 270, 75, 25);

    connect(ok, &QPushButton::clicked, this, &TDababaseDirectryForm::accept);
    connect(cancel, &QPushButton::clicked, this, &TDababaseDirectryForm::reject);
    connect(drives_, &QComboBox::activated, this, &TDababaseDirectryForm::selectVolume);
}

QStringList TDababaseDirectryForm::mountedVolumes()
{
    QStringList roots{Root};
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady())
            continue;
        const QString root = volume.rootPath();
        if (!root.isEmpty() && !roots.contains(root))
            roots.append(root);
    }
    std::sort(roots.begin() + 1, roots.end());
    return roots;
}

QStringList TDababaseDirectryForm::volumes() const
{
    QStringList list;
    for (int i = 0; i < drives_->count(); ++i)
        list.append(drives_->itemText(i));
    return list;
}

QString TDababaseDirectryForm::volumeOf(const QString &path, const QStringList &volumes)
{
    QString best;
    for (const QString &root : volumes) {
        const bool holds = root == Root || path == root || path.startsWith(root + QLatin1Char('/'));
        if (holds && root.size() > best.size())
            best = root;
    }
    return best;
}

void TDababaseDirectryForm::SetStartDirectory(const QString &directory)
{
    QString text = directory;
    if (text.size() > 1 && text.endsWith(QLatin1Char('/')))
        text.chop(1);
    directory_ = cleanDirectory(text);
    const QString volume = volumeOf(directory_.isEmpty() ? Root : directory_, volumes());
    const int index = drives_->findText(volume);
    if (index >= 0)
        drives_->setCurrentIndex(index);
    // The tree reads the disk; a hidden form has no need of it yet.
    if (isVisible())
        showDirectory(directory_);
}

QString TDababaseDirectryForm::ChosenDirectory() const
{
    if (directory_.isEmpty())
        return {};
    return directory_.endsWith(QLatin1Char('/')) ? directory_ : directory_ + QLatin1Char('/');
}

void TDababaseDirectryForm::selectVolume(int index)
{
    if (index < 0 || index >= drives_->count())
        return;
    drives_->setCurrentIndex(index);
    directory_ = drives_->itemText(index);
    showDirectory(directory_);
}

QString TDababaseDirectryForm::currentVolume() const { return drives_->currentText(); }

void TDababaseDirectryForm::showDirectory(const QString &directory)
{
    if (!model_) {
        model_ = new QFileSystemModel(this);
        model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
        model_->setReadOnly(true);
        tree_->setModel(model_);
        for (int column = 1; column < model_->columnCount(); ++column)
            tree_->hideColumn(column);
        connect(tree_->selectionModel(), &QItemSelectionModel::currentChanged, this,
                [this](const QModelIndex &current) { directorySelected(current); });
    }
    const QString volume = currentVolume().isEmpty() ? Root : currentVolume();
    tree_->setRootIndex(model_->setRootPath(volume));
    if (directory.isEmpty() || !QFileInfo(directory).isDir())
        return;
    const QModelIndex index = model_->index(directory);
    if (!index.isValid())
        return;
    tree_->setCurrentIndex(index); // names the same directory: the choice stays
    tree_->scrollTo(index);
    tree_->expand(index);
}

void TDababaseDirectryForm::showEvent(QShowEvent *event)
{
    showDirectory(directory_);
    QDialog::showEvent(event);
}

void TDababaseDirectryForm::directorySelected(const QModelIndex &index)
{
    if (index.isValid())
        directory_ = model_->filePath(index);
}

void TDababaseDirectryForm::accept()
{
    accepted_ = 1;
    QDialog::accept();
}

void TDababaseDirectryForm::reject()
{
    accepted_ = 0;
    QDialog::reject();
}

} // namespace korvana
