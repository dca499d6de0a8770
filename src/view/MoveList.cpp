#include "view/MoveList.h"

#include "board/Point.h"
#include "board/PosStat.h"
#include "game/GameFlow.h"

#include <QMouseEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>

#include <algorithm>

namespace korvana {

MoveList::MoveList(QWidget *parent) : QPlainTextEdit(parent)
{
    setObjectName(QStringLiteral("MemoHistory"));
    setReadOnly(true);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont small = font();
    small.setPixelSize(11);
    setFont(small);
    // The classic size; sizeHint asks the layout for enough width for every label.
    setMinimumSize(ListWidth, ListHeight);
    resize(ListWidth, ListHeight);
    viewport()->setCursor(Qt::PointingHandCursor);
}

QString MoveList::widestLine() const
{
    const QFontMetrics metrics = fontMetrics();
    auto advance = [&metrics](const std::string &line) {
        return metrics.horizontalAdvance(QString::fromStdString(line));
    };
    // The point's column and row letters add to the width one by one: the widest of each.
    int column = 0, row = 0;
    for (int i = 1; i < BoardSize; ++i) {
        if (advance(GameFlow::MoveListLine(Black, 1, i, 0, Stat::Nothing)) >
            advance(GameFlow::MoveListLine(Black, 1, column, 0, Stat::Nothing)))
            column = i;
        if (advance(GameFlow::MoveListLine(Black, 1, 0, i, Stat::Nothing)) >
            advance(GameFlow::MoveListLine(Black, 1, 0, row, Stat::Nothing)))
            row = i;
    }
    std::string widest;
    for (char colour : {Black, White})
        for (int code = 0; code < Stat::Count; ++code) {
            const std::string line =
                GameFlow::MoveListLine(colour, PointCount, column, row, code) + GameFlow::VariationMark;
            if (advance(line) > advance(widest))
                widest = line;
        }
    return QString::fromStdString(widest);
}

int MoveList::fittingWidth() const
{
    const int text = fontMetrics().horizontalAdvance(widestLine());
    const int margins = 2 * static_cast<int>(document()->documentMargin()) + 2 * frameWidth() + 4;
    return text + margins + verticalScrollBar()->sizeHint().width();
}

QSize MoveList::sizeHint() const { return {std::max(ListWidth, fittingWidth()), ListHeight}; }

void MoveList::appendLine(const std::string &line) { appendPlainText(QString::fromStdString(line)); }

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

void MoveList::clearLines()
{
    clear();
    current_ = -1;
}

void MoveList::showLines(const std::vector<std::string> &lines, int current)
{
    const int wanted = static_cast<int>(lines.size());
    int same = 0;
    while (same < wanted && same < lineCount() &&
           line(same) == QString::fromStdString(lines[static_cast<size_t>(same)]))
        ++same;
    while (lineCount() > same)
        deleteLastLine();
    for (int k = same; k < wanted; ++k)
        appendLine(lines[static_cast<size_t>(k)]);
    highlight(current >= 0 && current < wanted ? current : -1);
}

void MoveList::highlight(int k)
{
    current_ = k;
    QList<QTextEdit::ExtraSelection> marks;
    if (k >= 0) {
        QTextEdit::ExtraSelection mark;
        mark.cursor = QTextCursor(document()->findBlockByNumber(k));
        mark.format.setBackground(QColor(255, 220, 120));
        mark.format.setProperty(QTextFormat::FullWidthSelection, true);
        marks.append(mark);
        // Scrolls the line into view without selecting anything.
        setTextCursor(mark.cursor);
    }
    setExtraSelections(marks);
}

int MoveList::lineCount() const { return document()->isEmpty() ? 0 : document()->blockCount(); }

QString MoveList::line(int k) const
{
    if (k < 0 || k >= lineCount())
        return {};
    return document()->findBlockByNumber(k).text();
}

void MoveList::setClickable(bool clickable)
{
    clickable_ = clickable;
    viewport()->setCursor(clickable ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void MoveList::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && clickable_) {
        const QPoint at = event->position().toPoint();
        const QTextBlock block = cursorForPosition(at).block();
        // Below the last line is no line.
        const QRectF row = blockBoundingGeometry(block).translated(contentOffset());
        if (block.isValid() && !document()->isEmpty() && at.y() >= row.top() && at.y() < row.bottom()) {
            const int k = block.blockNumber();
            emit lineClicked(k);
            return;
        }
    }
    QPlainTextEdit::mousePressEvent(event);
}

} // namespace korvana
