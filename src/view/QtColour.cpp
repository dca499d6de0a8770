#include "view/QtColour.h"

namespace korvana {

QColor qtColour(StoredColour colour) { return QColor(colour.red(), colour.green(), colour.blue()); }

StoredColour storedColour(const QColor &colour)
{
    const QColor rgb = colour.toRgb();
    return StoredColour::fromRgb(rgb.red(), rgb.green(), rgb.blue());
}

} // namespace korvana
