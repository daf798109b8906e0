#pragma once
// The 65 display colours of the map images' pixel indices: 0..31 the four
// colours of BG palettes 0..7, 32..63 those of OBJ palettes 0..7, 64 the grey
// of empty cells. The tag image uses 0..31 and so draws with the BG colours.

#include "core/tiles/TileLibrary.h"

#include <array>
#include <cstdint>

namespace qm {

inline constexpr int COLOUR_TABLE_SIZE = 65;
inline constexpr std::uint8_t EMPTY_CELL_INDEX = 64;
inline constexpr DisplayColour EMPTY_CELL_COLOUR{200, 200, 200};

using ColourTable = std::array<DisplayColour, COLOUR_TABLE_SIZE>;

// The whole table from the display tables the BG and OBJ sets draw with now
// (the monochrome ones in DMG mode).
ColourTable buildColourTable(const TileLibrary& tiles);

// Takes again every entry 0..63 whose bit is set in mask.
void refreshColourTable(ColourTable& table, const TileLibrary& tiles, std::uint64_t mask);

} // namespace qm
