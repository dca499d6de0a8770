#pragma once
// MoveList: the read-only list of the game's moves beside the board
// (`MemoHistory`), one line per move of the line being studied; the game flow
// writes the lines. The current move is highlighted, and a click on a line
// asks to go to that move.

#include <QPlainTextEdit>

#include <string>
#include <vector>

namespace korvana {

class MoveList : public QPlainTextEdit {
    Q_OBJECT
public:
    static constexpr int ListWidth = 145; ///< the classic width; too narrow for the longest labels
    static constexpr int ListHeight = 241;

    explicit MoveList(QWidget *parent = nullptr);

    /// Appends one line.
    void appendLine(const std::string &line);
    /// Deletes the last line; nothing when the list is empty.
    void deleteLastLine();
    /// Removes every line.
    void clearLines();
    /// Shows exactly `lines`, highlighting line `current` (none when out of range). Lines
    /// already shown stay, so a step through a long game rewrites nothing.
    void showLines(const std::vector<std::string> &lines, int current);
    /// Number of lines.
    int lineCount() const;
    /// Line k (from 0); empty when there is no such line.
    QString line(int k) const;
    /// The highlighted line; -1 when none.
    int currentLine() const { return current_; }
    /// The widest line the list can be given, in its own font: any label, either colour,
    /// the highest move number, the widest point and the variation mark.
    QString widestLine() const;
    /// Clicks on lines are reported (true) or ignored (false, while the computer thinks).
    void setClickable(bool clickable);
    bool clickable() const { return clickable_; }
    /// Width that shows widestLine() without cutting it, scroll bar and frame included.
    int fittingWidth() const;
    QSize sizeHint() const override;

signals:
    /// The user clicked line k.
    void lineClicked(int k);

protected:
    void mousePressEvent(QMouseEvent *event) override;

private:
    void highlight(int k);

    int current_ = -1;
    bool clickable_ = true;
};

} // namespace korvana
