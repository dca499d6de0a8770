#include "dialogs/TWhichRemoveForm.h"

namespace korvana {

TWhichRemoveForm::TWhichRemoveForm(QWidget *parent)
    : TQuestionForm(QStringLiteral("Korvana for WC"), QStringLiteral("Which do you remove?"), QSize(190, 97),
                    QStringLiteral("A"), 0, QStringLiteral("B"), 1, 0, parent)
{
    setObjectName(QStringLiteral("WhichRemoveForm"));
}

} // namespace korvana
