#pragma once
// MoveList: the read-only list of the game's moves beside the board
// (`MemoHistory`), one line per move; the game flow writes the lines.

#include <QPlainTextEdit>

#include <string>

namespace korvana {

class MoveList : public QPlainTextEdit {
    Q_OBJECT
public:
    static constexpr int ListWidth = 145;
    static constexpr int ListHeight = 241;

    explicit MoveList(QWidget *parent = nullptr);

    /// Appends one line.
    void appendLine(const std::string &line);
    /// Deletes the last line; nothing when the list is empty.
    void deleteLastLine();
    /// Removes every line.
    void clearLines();
    /// Number of lines.
    int lineCount() const;
    /// Line k (from 0); empty when there is no such line.
    QString line(int k) const;
};

} // namespace korvana
