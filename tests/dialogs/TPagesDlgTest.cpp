// The information window and the game-tree window: captions, layout, and the
// display choices the information window sets and announces.

#include "app/TMainForm.h"
#include "dialogs/TPagesDlg.h"
#include "dialogs/TTreeForm.h"
#include "game/KvFlags.h"
#include "support/qt/ModalWatchdog.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QTreeView>
#include <gtest/gtest.h>

namespace korvana {
namespace {

/// Stands for the main window: counts the repaint requests it is sent.
class RepaintCounter : public QWidget {
public:
    int requests = 0;
    int overlayModeSeen = -1; ///< the flags as they were when the request came
    const KvFlags *flags = nullptr;

protected:
    void customEvent(QEvent *event) override
    {
        if (event->type() == TPagesDlg::RepaintRequest) {
            ++requests;
            overlayModeSeen = flags ? flags->overlayMode : -1;
        }
    }
};

class TPagesDlgTest : public ::testing::Test {
protected:
    TPagesDlgTest() { main.flags = &flags; }

    testing::ModalWatchdog watchdog;
    KvFlags flags;
    RepaintCounter main;
    TPagesDlg window{flags, &main};
};

TEST_F(TPagesDlgTest, CaptionPagesAndLayout)
{
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Information Window"));
    EXPECT_EQ(window.size(), QSize(260, 213));
    EXPECT_FALSE(window.isModal());
    EXPECT_FALSE(window.isVisible());
    auto *pages = window.findChild<QTabWidget *>();
    ASSERT_NE(pages, nullptr);
    ASSERT_EQ(pages->count(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(pages->tabText(i), QStringLiteral("Page%1").arg(i + 1));

    // The radio buttons of the "Effective Region" group from top to bottom, with their modes.
    const std::pair<const char *, int> order[] = {
        {"No Display", 0}, {"Sum", 1}, {"Turn", 4}, {"Black", 2}, {"White", 3}};
    int lastY = -1;
    for (const auto &[caption, mode] : order) {
        QRadioButton *radio = window.modeButton(mode);
        ASSERT_NE(radio, nullptr);
        EXPECT_EQ(radio->text(), QLatin1String(caption));
        EXPECT_GT(radio->y(), lastY) << caption;
        lastY = radio->y();
        EXPECT_EQ(qobject_cast<QGroupBox *>(radio->parentWidget())->title(), QStringLiteral("Effective Region"));
    }
    EXPECT_EQ(window.modeButton(5), nullptr);
    EXPECT_TRUE(window.modeButton(0)->isChecked()) << "No Display at start";
    EXPECT_EQ(window.treeBox()->text(), QStringLiteral("View Tree"));
    EXPECT_EQ(qobject_cast<QGroupBox *>(window.treeBox()->parentWidget())->title(), QStringLiteral("Tree View"));
    EXPECT_FALSE(window.treeBox()->isChecked());
    auto *update = window.findChild<QPushButton *>(QStringLiteral("Update"));
    ASSERT_NE(update, nullptr);
    EXPECT_EQ(update->text(), QStringLiteral("&Update"));
    EXPECT_TRUE(update->isDefault());
    EXPECT_EQ(window.findChild<QPushButton *>(QStringLiteral("Close"))->text(), QStringLiteral("&Close"));
    EXPECT_EQ(window.findChild<QPushButton *>(QStringLiteral("Help"))->text(), QStringLiteral("&Help"));
}

TEST_F(TPagesDlgTest, EachModeSetsTheFlagAndRepaintsAtOnce)
{
    window.ShowWindow();
    EXPECT_EQ(main.requests, 0) << "making and showing the window send nothing";
    QSignalSpy spy(&window, &TPagesDlg::repaintRequested);
    int expected = 0;
    for (int mode : {1, 4, 2, 3, 0, 3}) {
        QTest::mouseClick(window.modeButton(mode), Qt::LeftButton);
        ++expected;
        EXPECT_EQ(flags.overlayMode, mode);
        EXPECT_EQ(main.requests, expected) << "one request per choice, mode " << mode;
        EXPECT_EQ(main.overlayModeSeen, mode) << "the flag is set before the request";
    }
    EXPECT_EQ(spy.count(), expected);
    QTest::mouseClick(window.modeButton(3), Qt::LeftButton); // already chosen
    EXPECT_EQ(main.requests, expected) << "no change, no request";
}

TEST_F(TPagesDlgTest, TreeMarksUpdateAndHelp)
{
    window.ShowWindow();
    window.treeBox()->click();
    EXPECT_EQ(flags.treeMarks, 1);
    EXPECT_EQ(main.requests, 1);
    window.treeBox()->click();
    EXPECT_EQ(flags.treeMarks, 0);
    EXPECT_EQ(main.requests, 2);

    flags.overlayMode = 0;
    QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("Update")), Qt::LeftButton);
    EXPECT_EQ(main.requests, 3) << "Update asks for a repaint only";
    EXPECT_EQ(flags.overlayMode, 0);
    EXPECT_EQ(flags.treeMarks, 0);
    QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("Help")), Qt::LeftButton);
    EXPECT_EQ(main.requests, 3);
    EXPECT_TRUE(window.isVisible());
}

TEST_F(TPagesDlgTest, ClosingHidesAndReopeningKeepsTheChoices)
{
    window.ShowWindow();
    QTest::mouseClick(window.modeButton(2), Qt::LeftButton);
    window.treeBox()->click();
    const int requests = main.requests;
    QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("Close")), Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(flags.overlayMode, 2) << "closing changes nothing";
    window.ShowWindow();
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.modeButton(2)->isChecked());
    EXPECT_TRUE(window.treeBox()->isChecked());
    EXPECT_EQ(main.requests, requests) << "showing again sends nothing";
}

TEST_F(TPagesDlgTest, CentredOnTheScreen)
{
    window.ShowWindow();
    const QRect area = window.screen()->availableGeometry();
    EXPECT_EQ(window.pos(), QPoint(area.left() + (area.width() - 260) / 2, area.top() + (area.height() - 213) / 2));
}

TEST(TPagesDlgMainWindowTest, TheMainWindowKnowsTheRequest)
{
    static_assert(TPagesDlg::RepaintRequest == TMainForm::RepaintRequest);
    KvFlags flags;
    TPagesDlg window(flags, nullptr); // no main window: the signal alone
    QSignalSpy spy(&window, &TPagesDlg::repaintRequested);
    window.modeButton(1)->click();
    EXPECT_EQ(spy.count(), 1);
    EXPECT_EQ(flags.overlayMode, 1);
}

TEST(TTreeFormTest, CreatedHiddenWithItsTreeView)
{
    QWidget main;
    TTreeForm form(&main);
    main.show();
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(form.isWindow());
    EXPECT_EQ(form.windowTitle(), QStringLiteral("TreeForm"));
    EXPECT_EQ(form.size(), QSize(415, 446));
    EXPECT_NE(form.minimumSize(), form.maximumSize()) << "resizable";
    auto *tree = form.findChild<QTreeView *>(QStringLiteral("TreeView1"));
    ASSERT_EQ(tree, form.treeView());
    // The tree fills the window above its two buttons.
    EXPECT_EQ(tree->geometry(), QRect(16, 16, 383, 378));
    EXPECT_EQ(tree->indentation(), 19);
    EXPECT_EQ(tree->model(), nullptr) << "no game attached yet";
}

} // namespace
} // namespace korvana
