#include "dialogs/TSelectDatabaseDirectory.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QPushButton>

namespace korvana {

TSelectDatabaseDirectory::TSelectDatabaseDirectory(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("SelectDatabaseDirectory"));
    setWindowTitle(QStringLiteral("Database Directory"));
    setFixedSize(ClientWidth, ClientHeight);

    directories_ = new QListWidget(this);
    directories_->setGeometry(8, 8, ClientWidth - 16, 260);
    drives_ = new QComboBox(this);
    drives_->setGeometry(8, 274, ClientWidth - 16, 24);
    for (const QFileInfo &drive : QDir::drives())
        drives_->addItem(drive.absoluteFilePath());

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setGeometry(8, 308, 75, 25);
    auto *cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setGeometry(ClientWidth - 83, 308, 75, 25);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(directories_, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem *item) { setDirectory(QDir(directory_).absoluteFilePath(item->text())); });
    connect(drives_, &QComboBox::textActivated, this, &TSelectDatabaseDirectory::setDirectory);
    // The list is filled when a directory is set, not at start: nothing is read from disk then.
}

void TSelectDatabaseDirectory::setDirectory(const QString &path)
{
    directory_ = QDir::cleanPath(QDir(path).absolutePath());
    if (!directory_.endsWith(QLatin1Char('/')))
        directory_ += QLatin1Char('/');
    fillList();
}

void TSelectDatabaseDirectory::fillList()
{
    directories_->clear();
    const QDir dir(directory_);
    if (!dir.isRoot())
        directories_->addItem(QStringLiteral(".."));
    directories_->addItems(dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name));
}

} // namespace korvana
