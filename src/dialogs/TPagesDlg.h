#pragma once
// TPagesDlg: the modeless "Information Window". It chooses what the board
// shows over the stones (the effective-region numbers and the tree marks)
// by setting the two display choices of KvFlags, and asks the main window to
// repaint. It computes nothing itself. Closing only hides it, so the choices
// and the window's state survive until the program ends.

#include <QDialog>
#include <QEvent>

class QCheckBox;
class QRadioButton;

namespace korvana {

class KvFlags;

class TPagesDlg : public QDialog {
    Q_OBJECT
public:
    /// The repaint request sent to the main window: the first user event number plus 1000.
    static constexpr QEvent::Type RepaintRequest = static_cast<QEvent::Type>(QEvent::User + 1000);
    static constexpr int ClientWidth = 260;
    static constexpr int ClientHeight = 213;

    /// A hidden window working on `flags`, sending its repaint requests to
    /// `mainWindow` (also its owner; may be null in tests).
    TPagesDlg(KvFlags &flags, QWidget *mainWindow);

    /// The radio button of an overlay mode 0..4; null for any other mode.
    QRadioButton *modeButton(int mode) const;
    /// The "View Tree" check box.
    QCheckBox *treeBox() const { return viewTree_; }

    /// Centred on the screen, then shown (again) without blocking.
    void ShowWindow();

signals:
    /// Emitted with every repaint request, after the event was sent.
    void repaintRequested();

protected:
    /// Shows the flags as they are now (nothing else changes them, but a
    /// window that disagrees with the board would mislead).
    void showEvent(QShowEvent *event) override;

private:
    void setMode(int mode);
    void setTreeMarks(bool on);
    void requestRepaint();

    KvFlags &flags_;
    QWidget *mainWindow_;
    QRadioButton *modes_[5] = {};
    QCheckBox *viewTree_;
};

} // namespace korvana
