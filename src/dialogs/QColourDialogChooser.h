#pragma once
// QColourDialogChooser: the colour dialog of the platform, modal.

#include "dialogs/ColourChooser.h"

namespace korvana {

class QColourDialogChooser : public ColourChooser {
public:
    /// Opens the colour dialog over `parent`; none when the user cancels.
    std::optional<QColor> chooseColour(const QColor &initial, QWidget *parent) override;

    /// The program's one chooser.
    static QColourDialogChooser &instance();
};

} // namespace korvana
