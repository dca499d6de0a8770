#pragma once
// TConfirmDatabaseUpdate: Whether edits of the position record are saved: 1 for Yes, 0 for No.

#include "dialogs/TQuestionForm.h"

namespace korvana {

class TConfirmDatabaseUpdate : public TQuestionForm {
    Q_OBJECT
public:
    explicit TConfirmDatabaseUpdate(QWidget *parent = nullptr);
};

} // namespace korvana
