#include "dialogs/QColourDialogChooser.h"

#include <QColorDialog>

namespace korvana {

std::optional<QColor> QColourDialogChooser::chooseColour(const QColor &initial, QWidget *parent)
{
    const QColor chosen = QColorDialog::getColor(initial, parent);
    if (!chosen.isValid())
        return std::nullopt;
    return chosen;
}

QColourDialogChooser &QColourDialogChooser::instance()
{
    static QColourDialogChooser chooser;
    return chooser;
}

} // namespace korvana
