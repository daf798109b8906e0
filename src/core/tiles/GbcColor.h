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

// The full range of 8 bits a component, as palette files and pictures hold
// colours: each component c becomes c x 255 / 31 rounded, and back the
// nearest 5-bit value, so that every stored colour comes back unchanged.
DisplayColour fullRangeOf(GbcColor c);
GbcColor nearestGbcColor(DisplayColour c);

// The Game Boy Color palette word, red | green << 5 | blue << 10 (bit 15
// clear, and ignored when read).
std::uint16_t gbcWordOf(GbcColor c);
GbcColor gbcColorOfWord(std::uint16_t word);

// The four grey levels of the monochrome shades 0..3.
inline constexpr std::array<std::uint8_t, 4> MONO_SHADE_LEVELS = {0, 6, 12, 31};

} // namespace qm
