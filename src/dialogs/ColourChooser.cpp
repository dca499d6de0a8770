#include "dialogs/ColourChooser.h"

namespace korvana {

int ColourChooser::settingFromColour(const QColor &colour)
{
    const QColor rgb = colour.toRgb();
    return rgb.red() | (rgb.green() << 8) | (rgb.blue() << 16);
}

QColor ColourChooser::colourFromSetting(int value)
{
    const auto bits = static_cast<unsigned>(value);
    return QColor(static_cast<int>(bits & 0xFF), static_cast<int>((bits >> 8) & 0xFF),
                  static_cast<int>((bits >> 16) & 0xFF));
}

} // namespace korvana
