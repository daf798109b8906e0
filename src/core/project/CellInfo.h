#pragma once
// The texts the map view writes into the status bar: what a cell holds, and
// the size of a rectangle selection.

#include "core/project/MapGrid.h"
#include "core/tiles/TileLibrary.h"

#include <optional>
#include <string>

namespace qm {

inline constexpr const char* CELL_INFO_BOTH_LAYERS =
    "Tile Set:BG, OBJ. B+Click to see BG tileset. O+Click to see OBJ tileset";

// The text for cell (x, y). bHeld / oHeld: the B or O key is held (O wins),
// choosing the layer described; with neither the layers present decide.
// An empty text when the chosen layer is absent; nothing (leave the pane as
// it is) when the cell is off the map or its tile is not in its set.
std::optional<std::string> cellInfoText(const MapGrid& map, const TileLibrary& tiles, int x, int y, bool bHeld,
                                        bool oHeld);

// "a(left,top)-b(x,y)  Width:w  Height:h  Number of tiles:w*h".
std::string selectionText(int left, int top, int x, int y, int width, int height);

} // namespace qm
