#pragma once
// TWhichRemoveForm: Which proposed fifth move is removed: 0 removes A, 1 removes B (0 until answered).

#include "dialogs/TQuestionForm.h"

namespace korvana {

class TWhichRemoveForm : public TQuestionForm {
    Q_OBJECT
public:
    explicit TWhichRemoveForm(QWidget *parent = nullptr);
};

} // namespace korvana
