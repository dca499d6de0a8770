#pragma once
// TMyMessageWindow: the program's modal notice, a centred text over an "OK"
// button, placed over the middle of the main window.

#include <QDialog>
#include <QRect>

class QLabel;

namespace korvana {

class TMyMessageWindow : public QDialog {
    Q_OBJECT
public:
    /// Caption when the caller gives none.
    static constexpr const char *DefaultCaption = "KORVANA";
    static constexpr int ClientWidth = 269;
    static constexpr int ClientHeight = 87;

    explicit TMyMessageWindow(QWidget *parent = nullptr);

    /// Sets text and caption and centres the window on `mainFrame`, without showing it.
    void prepare(const QString &text, const QString &caption, const QRect &mainFrame);
    /// prepare, then shows the window modally until it is closed.
    void ShowMessageWindow(const QString &text, const QString &caption, const QRect &mainFrame);

    /// The text shown.
    QString message() const;

    /// Top-left corner that centres a window of `size` on `mainFrame` (halves truncated toward zero).
    static QPoint centredOn(const QRect &mainFrame, const QSize &size);

private:
    QLabel *message_;
};

} // namespace korvana
