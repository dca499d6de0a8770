// The move list and the status line: lines appended, deleted from the end,
// cleared; one status text at a time.

#include "view/MoveList.h"
#include "view/StatusLine.h"

#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <gtest/gtest.h>

namespace korvana {
namespace {

TEST(MoveListTest, AppendDeleteAndClear)
{
    MoveList list;
    EXPECT_TRUE(list.isReadOnly());
    EXPECT_EQ(list.size(), QSize(145, 241));
    EXPECT_EQ(list.objectName(), QStringLiteral("MemoHistory"));
    EXPECT_EQ(list.lineCount(), 0);
    list.deleteLastLine(); // nothing to delete: no effect
    EXPECT_EQ(list.lineCount(), 0);

    for (const char *line : {"B1(h8):", "W2(i9):", "B3(g7):THREE"})
        list.appendLine(line);
    ASSERT_EQ(list.lineCount(), 3);
    EXPECT_EQ(list.line(2), QStringLiteral("B3(g7):THREE"));

    list.deleteLastLine();
    ASSERT_EQ(list.lineCount(), 2);
    EXPECT_EQ(list.line(1), QStringLiteral("W2(i9):"));
    list.appendLine("B3(a1):");
    EXPECT_EQ(list.toPlainText(), QStringLiteral("B1(h8):\nW2(i9):\nB3(a1):"));

    list.deleteLastLine();
    list.deleteLastLine();
    EXPECT_EQ(list.toPlainText(), QStringLiteral("B1(h8):"));
    list.deleteLastLine();
    EXPECT_EQ(list.lineCount(), 0);
    EXPECT_TRUE(list.toPlainText().isEmpty());

    list.appendLine("B1(h8):");
    list.clearLines();
    EXPECT_EQ(list.lineCount(), 0);
    list.appendLine("B1(a1):");
    EXPECT_EQ(list.line(0), QStringLiteral("B1(a1):")) << "no empty line left by clearing";
}

TEST(MoveListTest, ShowLinesHighlightsTheCurrentAndClicksNameALine)
{
    MoveList list;
    list.resize(list.sizeHint());
    list.show();
    EXPECT_GE(list.viewport()->width(), list.fontMetrics().horizontalAdvance(list.widestLine())) << "no label is cut";
    list.showLines({"B1(h8):", "W2(i9): +", "B3(j8):THREE"}, 1);
    EXPECT_EQ(list.currentLine(), 1);
    ASSERT_EQ(list.extraSelections().size(), 1);
    EXPECT_EQ(list.extraSelections()[0].cursor.blockNumber(), 1);
    // Another branch from move 2: the first line stays, the rest is rewritten.
    list.showLines({"B1(h8):", "W2(g9): +"}, -1);
    EXPECT_EQ(list.toPlainText(), QStringLiteral("B1(h8):\nW2(g9): +"));
    EXPECT_EQ(list.currentLine(), -1);
    EXPECT_TRUE(list.extraSelections().isEmpty());

    QSignalSpy clicked(&list, &MoveList::lineClicked);
    const QRect row = list.cursorRect(QTextCursor(list.document()->findBlockByNumber(1)));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, QPoint(60, row.center().y()));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, QPoint(5, row.bottom() + 30));
    ASSERT_EQ(clicked.count(), 1) << "a click below the last line names no line";
    EXPECT_EQ(clicked[0][0].toInt(), 1);
    list.setClickable(false); // the computer thinks
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, QPoint(60, row.center().y()));
    EXPECT_EQ(clicked.count(), 1);
}

TEST(StatusLineTest, ShowsOneTextAtATime)
{
    StatusLine line;
    EXPECT_EQ(line.height(), 25);
    line.setStatusText(QStringLiteral("Now Thinking"));
    EXPECT_EQ(line.statusText(), QStringLiteral("Now Thinking"));
    line.setStatusText(QStringLiteral("Your Turn"));
    EXPECT_EQ(line.statusText(), QStringLiteral("Your Turn"));
    line.setStatusText({});
    EXPECT_TRUE(line.statusText().isEmpty());
}

} // namespace
} // namespace korvana
