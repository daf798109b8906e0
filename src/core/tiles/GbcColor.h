#pragma once
// Stored colours (5 bits a component) and display colours (8 bits a component).

#include <array>
#include <cstddef>
#include <cstdint>

namespace qm {

struct GbcColor {
    std::uint8_t red = 0, green = 0, blue = 0; // each 0..31
    bool operator==(const GbcColor&) const = default;
};

struct DisplayColour {
    std::uint8_t red = 0, green = 0, blue = 0; // each 0..255
    bool operator==(const DisplayColour&) const = default;
};

using GbcPalette = std::array<GbcColor, 4>;
using GbcPaletteGroup = std::array<GbcPalette, 8>;
using DisplayPalette = std::array<DisplayColour, 4>;
using DisplayTable = std::array<DisplayPalette, 8>;

// "True Color": each component times 8.
DisplayColour trueColourOf(GbcColor c);
// "GBC Color": an imitation of the Game Boy Color screen.
DisplayColour gbcColourOf(GbcColor c);
inline DisplayColour displayColourOf(GbcColor c, bool trueColour)
{
    return trueColour ? trueColourOf(c) : gbcColourOf(c);
}

// The four grey levels of the monochrome shades 0..3.
inline constexpr std::array<std::uint8_t, 4> MONO_SHADE_LEVELS = {0, 6, 12, 31};

} // namespace qm
