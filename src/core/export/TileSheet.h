#pragma once
// A tile set as one picture: its 512 tiles in 8 x 8 cells, left to right and
// top to bottom, a given number of cells a row, saved as a palette PNG. Each
// pixel's index is the tile's colour index, plus 4 x the tile's palette when
// every tile is drawn with its own palette (then the picture has the 32
// colours of the set's 8 palettes), or just the colour index with one chosen
// palette (4 colours). The colours are the stored ones in the full 8-bit
// range (fullRangeOf); the tag set is drawn with the BG palettes.

#include "core/base/Result.h"
#include "core/tiles/TileLibrary.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qm {

inline constexpr int TILE_SHEET_COLUMNS = 16;

struct TileSheet {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels; // width x height indices, row by row
    std::vector<DisplayColour> colours;
};

// columns 1..512; palette 0..7 or none for each tile's own. A cell after the
// last tile holds index 0. Empty for values out of range.
TileSheet tileSheetOf(const TileLibrary& tiles, TileKind set, int columns, std::optional<int> palette);

// Writes the sheet as a PNG crash-safely; "Unable to write file %s" and the
// system's reason when it cannot.
Result writeTileSheet(const std::string& path, const TileLibrary& tiles, TileKind set,
                      int columns = TILE_SHEET_COLUMNS, std::optional<int> palette = std::nullopt);

} // namespace qm
