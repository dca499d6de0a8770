#pragma once
// TSelectBlackOrWhiteForm: Colour choice of the WC1998 opening: 1 for Black, 0 for White (1 until answered).

#include "dialogs/TQuestionForm.h"

namespace korvana {

class TSelectBlackOrWhiteForm : public TQuestionForm {
    Q_OBJECT
public:
    explicit TSelectBlackOrWhiteForm(QWidget *parent = nullptr);
};

} // namespace korvana
