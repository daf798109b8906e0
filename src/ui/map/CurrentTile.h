#pragma once
// The tile the map view's painting tools put down, as the tile set manager
// has it selected: the kind of the page shown (TILE_BG, TILE_OBJ, TILE_TAG, or
// TILE_NONE for the palette page), the tile number 0..511 and the tile's own
// palette. The main window gives the view a provider that asks the manager.

#include "core/tiles/TileKind.h"

namespace qm::ui {

struct CurrentTile {
    TileKind layer;
    int tile;
    int palette;
};

} // namespace qm::ui
