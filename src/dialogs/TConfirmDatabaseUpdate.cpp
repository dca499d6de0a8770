#include "dialogs/TConfirmDatabaseUpdate.h"

namespace korvana {

TConfirmDatabaseUpdate::TConfirmDatabaseUpdate(QWidget *parent)
    : TQuestionForm(QStringLiteral("Database Update"), QStringLiteral("Database Update?"), QSize(187, 105),
                    QStringLiteral("Yes"), 1, QStringLiteral("No"), 0, 0, parent)
{
    setObjectName(QStringLiteral("ConfirmDatabaseUpdate"));
}

} // namespace korvana
