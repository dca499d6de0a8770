#pragma once
// TSelectDatabaseDirectory: a directory list under a drive (file system root)
// list with "OK" and "Cancel". Created hidden at start; the database
// directory is chosen through the options dialog instead, so nothing shows it.

#include <QDialog>

class QComboBox;
class QListWidget;

namespace korvana {

class TSelectDatabaseDirectory : public QDialog {
    Q_OBJECT
public:
    static constexpr int ClientWidth = 174;
    static constexpr int ClientHeight = 347;

    explicit TSelectDatabaseDirectory(QWidget *parent = nullptr);

    /// The directory the list shows, with a trailing '/'.
    QString directory() const { return directory_; }
    /// Shows `path` (a directory) in the list.
    void setDirectory(const QString &path);

private:
    void fillList();

    QString directory_;
    QListWidget *directories_;
    QComboBox *drives_;
};

} // namespace korvana
