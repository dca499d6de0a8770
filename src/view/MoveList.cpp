#include "view/MoveList.h"

#include <QTextBlock>
#include <QTextCursor>

namespace korvana {

MoveList::MoveList(QWidget *parent) : QPlainTextEdit(parent)
{
    setObjectName(QStringLiteral("MemoHistory"));
    setReadOnly(true);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFixedSize(ListWidth, ListHeight);
    // Small enough that "W88(g6):STRAIGHT FOUR" fits the narrow list.
    QFont small = font();
    small.setPixelSize(11);
    setFont(small);
}

void MoveList::appendLine(const std::string &line)
{
    appendPlainText(QString::fromStdString(line));
}

void MoveList::deleteLastLine()
{
    QTextDocument *doc = document();
    if (doc->isEmpty())
        return;
    QTextCursor cursor(doc);
    cursor.movePosition(QTextCursor::End);
    cursor.select(QTextCursor::BlockUnderCursor);
    if (doc->blockCount() == 1) {
        // The only line: no line break before it to take along.
        clear();
        return;
    }
    cursor.removeSelectedText();
}

void MoveList::clearLines() { clear(); }

int MoveList::lineCount() const { return document()->isEmpty() ? 0 : document()->blockCount(); }

QString MoveList::line(int k) const
{
    if (k < 0 || k >= lineCount())
        return {};
    return document()->findBlockByNumber(k).text();
}

} // namespace korvana
