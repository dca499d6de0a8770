#pragma once
// ModalWatchdog: fails the running test when a modal window opens. Tests answer
// every question through the window interface, so a modal window means a
// path that would block the test; the watchdog closes it so the test ends.

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

namespace korvana::testing {

class ModalWatchdog {
public:
    ModalWatchdog()
    {
        timer_.setInterval(50);
        QObject::connect(&timer_, &QTimer::timeout, [] {
            QWidget *modal = QApplication::activeModalWidget();
            if (!modal)
                return;
            ADD_FAILURE() << "a modal window opened: " << modal->windowTitle().toStdString();
            if (auto *dialog = qobject_cast<QDialog *>(modal))
                dialog->done(QDialog::Rejected);
            else
                modal->close();
        });
        timer_.start();
    }

private:
    QTimer timer_;
};

} // namespace korvana::testing
