#pragma once
// StoredColour: a colour as the settings file keeps it, one integer 0x00BBGGRR
// (red in the low byte). The integer is kept as read, so a colour copied from
// one key to another is written back exactly as it was.

namespace korvana {

class StoredColour {
public:
    constexpr StoredColour() = default;
    /// The colour of a stored integer; the top byte is kept but means nothing.
    constexpr explicit StoredColour(int stored) : stored_(stored) {}
    /// The colour of three components, each taken modulo 256.
    static constexpr StoredColour fromRgb(int red, int green, int blue)
    {
        return StoredColour((red & 0xFF) | (green & 0xFF) << 8 | (blue & 0xFF) << 16);
    }

    /// The integer as the file stores it.
    constexpr int stored() const { return stored_; }
    constexpr int red() const { return stored_ & 0xFF; }
    constexpr int green() const { return (stored_ >> 8) & 0xFF; }
    constexpr int blue() const { return (stored_ >> 16) & 0xFF; }

    constexpr bool operator==(const StoredColour &) const = default;

private:
    int stored_ = 0;
};

/// The board's colour when the settings give none: Option/DefaultBoardColor's default.
inline constexpr StoredColour DefaultBoardColour{962532};

} // namespace korvana
