#pragma once
// ColourChooser: how a window asks the user for a colour. The program uses
// the platform's colour dialog (QColourDialogChooser); tests put a chooser
// with scripted answers in its place, since a modal dialog would block them.

#include <QColor>

#include <optional>

class QWidget;

namespace korvana {

class ColourChooser {
public:
    virtual ~ColourChooser() = default;

    /// The colour the user confirmed, starting from `initial`; none when cancelled.
    virtual std::optional<QColor> chooseColour(const QColor &initial, QWidget *parent) = 0;
};

} // namespace korvana
