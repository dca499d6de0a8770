#include "dialogs/TSelectBlackOrWhiteForm.h"

namespace korvana {

TSelectBlackOrWhiteForm::TSelectBlackOrWhiteForm(QWidget *parent)
    : TQuestionForm(QStringLiteral("Korvana for WC"), QStringLiteral("Choose Black or White"), QSize(189, 102),
                    QStringLiteral("Black"), 1, QStringLiteral("White"), 0, 1, parent)
{
    setObjectName(QStringLiteral("SelectBlackOrWhiteForm"));
}

} // namespace korvana
