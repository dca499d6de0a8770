// The database directory form: caption, the directory it is given and the
// one it answers, the volumes standing for drives, OK and Cancel.

#include "dialogs/TDababaseDirectryForm.h"
#include "support/qt/ModalWatchdog.h"

#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <gtest/gtest.h>

namespace korvana {
namespace {

TEST(TDababaseDirectryFormTest, CaptionSizeAndControls)
{
    TDababaseDirectryForm form;
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Database Directry"));
    EXPECT_EQ(form.size(), QSize(320, 309));
    EXPECT_EQ(form.accepted(), 0);
    EXPECT_EQ(form.ChosenDirectory(), QString()) << "no directory before one is given";
    ASSERT_NE(form.findChild<QTreeView *>(QStringLiteral("DirectoryListBox1")), nullptr);
    auto *drives = form.findChild<QComboBox *>(QStringLiteral("DriveComboBox1"));
    ASSERT_NE(drives, nullptr);
    EXPECT_EQ(drives->width(), 145);
}

TEST(TDababaseDirectryFormTest, OkAndCancelSetTheAnswer)
{
    testing::ModalWatchdog watchdog;
    TDababaseDirectryForm form;
    const std::pair<const char *, int> cases[] = {{"OK", 1}, {"Cancel", 0}, {"OK", 1}};
    for (const auto &[button, answer] : cases) {
        form.show();
        QTest::mouseClick(form.findChild<QPushButton *>(QLatin1String(button)), Qt::LeftButton);
        EXPECT_FALSE(form.isVisible()) << button;
        EXPECT_EQ(form.accepted(), answer) << button;
    }
    form.show();
    QTest::keyClick(&form, Qt::Key_Escape);
    EXPECT_EQ(form.accepted(), 0) << "Escape cancels";
}

TEST(TDababaseDirectryFormTest, StartDirectoryAndChosenDirectory)
{
    QTemporaryDir dir;
    const QString base = QDir(dir.path()).canonicalPath();
    struct Case {
        QString given, chosen;
    };
    const Case cases[] = {
        {base + "/", base + "/"}, // one trailing '/' dropped, then appended again
        {base, base + "/"},       // appended when missing
        {base + "/a/../", base + "/"},
        {base + "/missing", base + "/missing/"}, // not made yet: kept as the choice
        {"/", "/"},                              // the root stays the root
        {"", ""},
    };
    TDababaseDirectryForm form;
    for (const Case &c : cases) {
        form.SetStartDirectory(c.given);
        EXPECT_EQ(form.ChosenDirectory(), c.chosen) << c.given.toStdString();
        form.show(); // showing reads the tree and must not change the choice
        EXPECT_EQ(form.ChosenDirectory(), c.chosen) << c.given.toStdString();
        form.hide();
    }
}

TEST(TDababaseDirectryFormTest, VolumeOfAPathIsTheLongestRootHoldingIt)
{
    const QStringList volumes{"/", "/home", "/home2", "/mnt/usb"};
    const std::pair<const char *, const char *> cases[] = {
        {"/home/u/adb", "/home"},
        {"/home", "/home"},
        {"/home2/x", "/home2"},
        {"/homeless", "/"},
        {"/mnt/usb/book", "/mnt/usb"},
        {"/mnt", "/"},
        {"/", "/"},
    };
    for (const auto &[path, volume] : cases)
        EXPECT_EQ(TDababaseDirectryForm::volumeOf(QLatin1String(path), volumes), QLatin1String(volume)) << path;
}

TEST(TDababaseDirectryFormTest, VolumesAreTheMountedOnesRootFirst)
{
    TDababaseDirectryForm form;
    const QStringList volumes = form.volumes();
    ASSERT_FALSE(volumes.isEmpty());
    EXPECT_EQ(volumes.first(), QStringLiteral("/"));
    EXPECT_EQ(QStringList(volumes).removeDuplicates(), 0);
    EXPECT_EQ(volumes, TDababaseDirectryForm::mountedVolumes());
    for (const QString &volume : volumes)
        EXPECT_TRUE(QDir(volume).exists()) << volume.toStdString();

    // Choosing a volume shows it and makes its root the choice.
    form.SetStartDirectory(QDir::tempPath());
    EXPECT_EQ(form.currentVolume(), TDababaseDirectryForm::volumeOf(QDir(QDir::tempPath()).absolutePath(), volumes));
    form.show();
    form.selectVolume(0);
    EXPECT_EQ(form.currentVolume(), QStringLiteral("/"));
    EXPECT_EQ(form.ChosenDirectory(), QStringLiteral("/"));
    form.selectVolume(volumes.size()); // out of range: nothing changes
    EXPECT_EQ(form.ChosenDirectory(), QStringLiteral("/"));
}

TEST(TDababaseDirectryFormTest, ClickingADirectoryInTheTreeChoosesIt)
{
    QTemporaryDir dir;
    const QString base = QDir(dir.path()).canonicalPath();
    ASSERT_TRUE(QDir(base).mkpath(QStringLiteral("book/old")));
    TDababaseDirectryForm form;
    form.SetStartDirectory(base + "/");
    form.show();
    auto *tree = form.findChild<QTreeView *>(QStringLiteral("DirectoryListBox1"));
    auto *model = qobject_cast<QFileSystemModel *>(tree->model());
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(model->filePath(tree->currentIndex()), base) << "the start directory is selected";
    tree->setCurrentIndex(model->index(base + "/book/old"));
    EXPECT_EQ(form.ChosenDirectory(), base + "/book/old/");
}

} // namespace
} // namespace korvana
