#include "view/AnalysisPanel.h"

#include "board/Point.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace korvana {

namespace {

QString lineText(const std::vector<uint8_t> &line)
{
    QStringList words;
    for (uint8_t p : line)
        words << QString::fromStdString(writtenPoint(p));
    return words.join(QLatin1Char(' '));
}

QString speedText(uint64_t nps)
{
    if (nps >= 10'000'000)
        return QStringLiteral("%1 M nodes/s").arg(nps / 1'000'000);
    if (nps >= 10'000)
        return QStringLiteral("%1 k nodes/s").arg(nps / 1'000);
    return QStringLiteral("%1 nodes/s").arg(nps);
}

} // namespace

AnalysisPanel::AnalysisPanel(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("AnalysisPanel"));
    auto *layout = new QVBoxLayout(this);
    state_ = new QLabel(this);
    state_->setWordWrap(true);
    layout->addWidget(state_);
    auto *form = new QFormLayout;
    auto field = [&](const QString &caption) {
        auto *label = new QLabel(this);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        form->addRow(caption, label);
        return label;
    };
    win_ = field(QStringLiteral("Win chance"));
    value_ = field(QStringLiteral("Value"));
    depth_ = field(QStringLiteral("Depth"));
    speed_ = field(QStringLiteral("Speed"));
    line_ = field(QStringLiteral("Expected line"));
    line_->setWordWrap(true);
    layout->addLayout(form);
    candidates_ = new QTreeWidget(this);
    candidates_->setColumnCount(3);
    candidates_->setHeaderLabels({QStringLiteral("Mark"), QStringLiteral("Move"), QStringLiteral("Value")});
    candidates_->setRootIsDecorated(false);
    candidates_->header()->setStretchLastSection(true);
    candidates_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    candidates_->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    layout->addWidget(candidates_, 1);
    showOnBoard_ = new QCheckBox(QStringLiteral("Show on board"), this);
    layout->addWidget(showOnBoard_);
    connect(showOnBoard_, &QCheckBox::toggled, this, &AnalysisPanel::showOnBoardChanged);
    clear();
}

void AnalysisPanel::clear()
{
    state_->setText(QStringLiteral("Waiting for the engine"));
    for (QLabel *label : {win_, value_, depth_, speed_, line_})
        label->clear();
    candidates_->clear();
}

void AnalysisPanel::showReport(const AnalysisReport &report, int moveCount)
{
    if (report.state == AnalysisReport::State::Unavailable) {
        clear();
        state_->setText(QStringLiteral("The engine library cannot analyse"));
        return;
    }
    const QString side = colourToMove(moveCount) == Black ? QStringLiteral("Black") : QStringLiteral("White");
    if (report.state == AnalysisReport::State::Finished && report.depth == 0 && report.candidates.empty()) {
        clear();
        state_->setText(QStringLiteral("No analysis of this position"));
        return;
    }
    state_->setText(QStringLiteral("%1 to move%2")
                        .arg(side, report.state == AnalysisReport::State::Finished ? QStringLiteral(", done")
                                                                                   : QStringLiteral(", thinking")));
    QString win = QStringLiteral("%1 %").arg(report.winPermille / 10.0, 0, 'f', 1);
    if (report.mateIn > 0)
        win += QStringLiteral(" (wins in %1)").arg(report.mateIn);
    else if (report.mateIn < 0)
        win += QStringLiteral(" (loses in %1)").arg(-report.mateIn);
    win_->setText(win);
    value_->setText(QString::number(report.score));
    depth_->setText(QString::number(report.depth));
    // A search that ended within its first millisecond has no speed to tell.
    speed_->setText(report.elapsedMs > 0 ? speedText(report.nodesPerSecond()) : QString());
    line_->setText(lineText(report.line));
    candidates_->clear();
    for (size_t i = 0; i < report.candidates.size() && i < 26; ++i) {
        const AnalysisCandidate &c = report.candidates[i];
        candidates_->addTopLevelItem(
            new QTreeWidgetItem({QString(QChar('A' + static_cast<int>(i))),
                                 QString::fromStdString(writtenPoint(c.point)), QString::number(c.score)}));
    }
}

bool AnalysisPanel::showOnBoard() const { return showOnBoard_->isChecked(); }

QString AnalysisPanel::fieldText(const QString &name) const
{
    const QLabel *label = name == QLatin1String("win")     ? win_
                          : name == QLatin1String("value") ? value_
                          : name == QLatin1String("depth") ? depth_
                          : name == QLatin1String("speed") ? speed_
                          : name == QLatin1String("line")  ? line_
                          : name == QLatin1String("state") ? state_
                                                           : nullptr;
    return label ? label->text() : QString();
}

QStringList AnalysisPanel::candidateRows() const
{
    QStringList rows;
    for (int i = 0; i < candidates_->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *item = candidates_->topLevelItem(i);
        rows << QStringLiteral("%1 %2 %3").arg(item->text(0), item->text(1), item->text(2));
    }
    return rows;
}

} // namespace korvana
