#pragma once
// AnalysisPanel: what the engine library thinks of the position on the board,
// as the game flow hands it over: win chance and value, depth, speed, the
// expected line and the best candidates. It computes nothing itself.

#include "game/AnalysisWorker.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QTreeWidget;

namespace korvana {

class AnalysisPanel : public QWidget {
    Q_OBJECT
public:
    explicit AnalysisPanel(QWidget *parent = nullptr);

    /// Shows `report` of the position after `moveCount` moves.
    void showReport(const AnalysisReport &report, int moveCount);
    /// Empties every field (analysis off or nothing reported yet).
    void clear();
    /// True when the candidates are to be marked on the board.
    bool showOnBoard() const;

    /// The text of one field, for tests: "win", "value", "depth", "speed", "line", "state".
    QString fieldText(const QString &name) const;
    /// The candidate rows as shown ("A h8 120").
    QStringList candidateRows() const;
    QCheckBox *showOnBoardBox() const { return showOnBoard_; }

signals:
    /// The "Show on board" box was ticked or cleared.
    void showOnBoardChanged(bool on);

private:
    QLabel *state_, *win_, *value_, *depth_, *speed_, *line_;
    QTreeWidget *candidates_;
    QCheckBox *showOnBoard_;
};

} // namespace korvana
