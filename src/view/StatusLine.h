#pragma once
// StatusLine: the status bar along the bottom of the main window, one text
// at a time.

#include <QStatusBar>

class QLabel;

namespace korvana {

class StatusLine : public QStatusBar {
    Q_OBJECT
public:
    static constexpr int LineHeight = 25;

    explicit StatusLine(QWidget *parent = nullptr);

    /// Replaces the single text.
    void setStatusText(const QString &text);
    /// The text shown now.
    QString statusText() const;

private:
    QLabel *label_; ///< a widget, not a temporary message, so menu hints cannot wipe it
};

} // namespace korvana
