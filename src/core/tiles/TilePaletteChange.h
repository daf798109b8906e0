#pragma once
// Tiles firstTile..lastTile of a layer went from one palette to another.

#include "core/tiles/TileKind.h"

#include <cstdint>

namespace qm {

struct TilePaletteChange {
    std::uint8_t oldPalette = 0;
    std::uint8_t newPalette = 0;
    TileKind layer = TILE_BG; // TILE_BG, TILE_OBJ or TILE_TAG
    std::int32_t firstTile = 0;
    std::int32_t lastTile = 0;
};

} // namespace qm
