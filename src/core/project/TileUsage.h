#pragma once
// How many distinct BG tiles the map uses in each video-memory bank, for the
// editor's status bar: "Tiles 187/256 · bank 1: 0/256".

#include "core/project/MapGrid.h"

#include <string>

namespace qm {

struct TileUsage {
    int bank0 = 0; // of tiles 0..255
    int bank1 = 0; // of tiles 256..511
};

TileUsage countUsedTiles(const MapGrid& map);
std::string tileUsageText(const TileUsage& usage);

} // namespace qm
