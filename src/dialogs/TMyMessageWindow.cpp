#include "dialogs/TMyMessageWindow.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace korvana {

TMyMessageWindow::TMyMessageWindow(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("MyMessageWindow"));
    setWindowTitle(QString::fromLatin1(DefaultCaption));
    setFixedSize(ClientWidth, ClientHeight);

    auto *panel = new QFrame(this);
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setGeometry(0, 0, ClientWidth, 49);
    message_ = new QLabel(panel);
    message_->setObjectName(QStringLiteral("Message"));
    message_->setGeometry(4, 2, ClientWidth - 8, 45);
    message_->setAlignment(Qt::AlignCenter);
    message_->setWordWrap(true);

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OK"));
    ok->setGeometry((ClientWidth - 75) / 2, 56, 75, 25);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

QPoint TMyMessageWindow::centredOn(const QRect &mainFrame, const QSize &size)
{
    return {mainFrame.left() + (mainFrame.width() - size.width()) / 2,
            mainFrame.top() + (mainFrame.height() - size.height()) / 2};
}

void TMyMessageWindow::prepare(const QString &text, const QString &caption, const QRect &mainFrame)
{
    message_->setText(text);
    setWindowTitle(caption.isEmpty() ? QString::fromLatin1(DefaultCaption) : caption);
    move(centredOn(mainFrame, frameGeometry().size()));
}

void TMyMessageWindow::ShowMessageWindow(const QString &text, const QString &caption, const QRect &mainFrame)
{
    prepare(text, caption, mainFrame);
    exec();
}

QString TMyMessageWindow::message() const { return message_->text(); }

} // namespace korvana
