#include "view/StatusLine.h"

#include <QLabel>

namespace korvana {

StatusLine::StatusLine(QWidget *parent) : QStatusBar(parent)
{
    setObjectName(QStringLiteral("StatusBar1"));
    setFixedHeight(LineHeight);
    setSizeGripEnabled(false);
    label_ = new QLabel(this);
    label_->setObjectName(QStringLiteral("StatusText"));
    addWidget(label_, 1);
}

void StatusLine::setStatusText(const QString &text) { label_->setText(text); }

QString StatusLine::statusText() const { return label_->text(); }

} // namespace korvana
