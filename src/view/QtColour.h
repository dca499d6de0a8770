#pragma once
// The one conversion between the settings' colour and Qt's; windows and
// dialogs use these rather than taking the stored integer apart themselves.

#include "settings/StoredColour.h"

#include <QColor>

namespace korvana {

/// The stored colour as an opaque Qt colour.
QColor qtColour(StoredColour colour);
/// A Qt colour of any spec as the settings store it (its alpha is dropped).
StoredColour storedColour(const QColor &colour);

} // namespace korvana
