#pragma once
// TDababaseDirectryForm: the modal folder chooser behind the options dialog's
// "&Browse": a directory tree over a combo box of the machine's mounted
// volumes (the drives of this platform), with "OK" and "Cancel". Made once
// at start-up and shown each time a database directory is to be chosen.

#include <QDialog>
#include <QString>
#include <QStringList>

class QComboBox;
class QFileSystemModel;
class QModelIndex;
class QTreeView;

namespace korvana {

class TDababaseDirectryForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int FormWidth = 320;
    static constexpr int FormHeight = 309;

    explicit TDababaseDirectryForm(QWidget *parent = nullptr);

    /// 1 when last closed with "OK", 0 when closed otherwise (0 after construction).
    int accepted() const { return accepted_; }

    /// Shows `directory` (one trailing '/' dropped) in the tree and selects the
    /// volume that holds it. A directory that does not exist yet is kept as the
    /// choice; the tree then shows its volume.
    void SetStartDirectory(const QString &directory);
    /// The directory chosen, ending in '/'; empty when there is none.
    QString ChosenDirectory() const;

    /// Root paths of the volumes offered in the combo box, "/" first.
    QStringList volumes() const;
    /// The volume holding `path`: the longest root path that contains it.
    static QString volumeOf(const QString &path, const QStringList &volumes);
    /// Mounted, ready volumes of this machine, "/" first, without duplicates.
    static QStringList mountedVolumes();

    /// Switches the tree to the volume at `index` of the combo box, as choosing it does.
    void selectVolume(int index);
    /// The combo box's current volume.
    QString currentVolume() const;

    void accept() override;
    void reject() override;

protected:
    /// Fills the tree: only now is the disk read.
    void showEvent(QShowEvent *event) override;

private:
    void showDirectory(const QString &directory);
    void directorySelected(const QModelIndex &index);

    int accepted_ = 0;
    QString directory_; ///< current choice without trailing '/', except for "/" itself
    QTreeView *tree_;
    QComboBox *drives_;
    QFileSystemModel *model_ = nullptr; ///< made on first use: it reads the disk in a thread
};

} // namespace korvana
