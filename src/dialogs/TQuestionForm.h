#pragma once
// TQuestionForm: a modal either/or question with two buttons and no close
// box, so every showing ends with one of the two answers. The colour choice,
// the database update question and the removal question are its kinds.

#include <QDialog>
#include <QRect>

class QLabel;
class QPushButton;

namespace korvana {

class TQuestionForm : public QDialog {
    Q_OBJECT
public:
    /// The answer the form holds until a button sets another.
    int answer() const { return answer_; }

    /// Places the form beside the middle of `mainFrame` (see questionPosition) and shows
    /// it modally; returns the answer of the button pressed.
    int ask(const QRect &mainFrame, const QSize &messageWindowSize);

    /// Top-left corner of a question: left = L + 1.2 (W - w), top = T + 0.9 (H - h), each
    /// truncated toward zero, with the main window's frame (L, T, W, H) and the message
    /// window's size (w, h) -- not the question's own size.
    static QPoint questionPosition(const QRect &mainFrame, const QSize &messageWindowSize);

    /// The two buttons, first and second (for tests and keyboard focus).
    QPushButton *firstButton() const { return first_; }
    QPushButton *secondButton() const { return second_; }

    /// Escape and the window manager's close do nothing: only the buttons answer.
    void reject() override {}

protected:
    /// A form of `size` with `caption`, `question` and the two buttons with their answers.
    TQuestionForm(const QString &caption, const QString &question, const QSize &size, const QString &firstText,
                  int firstAnswer, const QString &secondText, int secondAnswer, int initialAnswer, QWidget *parent);

    void closeEvent(QCloseEvent *event) override;

private:
    int answer_;
    QPushButton *first_;
    QPushButton *second_;
};

} // namespace korvana
