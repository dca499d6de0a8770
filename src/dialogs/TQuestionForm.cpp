#include "dialogs/TQuestionForm.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>

namespace korvana {

TQuestionForm::TQuestionForm(const QString &caption, const QString &question, const QSize &size,
                             const QString &firstText, int firstAnswer, const QString &secondText, int secondAnswer,
                             int initialAnswer, QWidget *parent)
    : QDialog(parent), answer_(initialAnswer)
{
    // A title bar without a close box.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setWindowTitle(caption);
    setFixedSize(size);

    auto *label = new QLabel(question, this);
    label->setObjectName(QStringLiteral("Question"));
    label->setAlignment(Qt::AlignCenter);
    label->setGeometry(8, 12, size.width() - 16, 24);

    const int buttonWidth = 75;
    const int gap = size.width() - 2 * buttonWidth;
    const int top = size.height() - 25 - 16;
    first_ = new QPushButton(firstText, this);
    first_->setGeometry(gap / 3, top, buttonWidth, 25);
    second_ = new QPushButton(secondText, this);
    second_->setGeometry(gap - gap / 3 + buttonWidth, top, buttonWidth, 25);
    first_->setDefault(true);
    connect(first_, &QPushButton::clicked, this, [this, firstAnswer] {
        answer_ = firstAnswer;
        accept();
    });
    connect(second_, &QPushButton::clicked, this, [this, secondAnswer] {
        answer_ = secondAnswer;
        accept();
    });
}

QPoint TQuestionForm::questionPosition(const QRect &mainFrame, const QSize &messageWindowSize)
{
    // Computed in floating point; the conversion truncates toward zero.
    const double left = mainFrame.left() + 1.2 * (mainFrame.width() - messageWindowSize.width());
    const double top = mainFrame.top() + 0.9 * (mainFrame.height() - messageWindowSize.height());
    return {static_cast<int>(left), static_cast<int>(top)};
}

int TQuestionForm::ask(const QRect &mainFrame, const QSize &messageWindowSize)
{
    move(questionPosition(mainFrame, messageWindowSize));
    exec();
    return answer_;
}

void TQuestionForm::closeEvent(QCloseEvent *event)
{
    // Only the buttons end a question.
    if (result() != QDialog::Accepted)
        event->ignore();
}

} // namespace korvana
