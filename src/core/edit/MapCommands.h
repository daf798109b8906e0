#pragma once
// The edit commands that act on the selected cells of the map, in the order
// of the selection, and the searches that build a selection. Each command
// begins one cell-edit step; Reset Map Palette cannot be undone.

#include "core/base/Progress.h"
#include "core/edit/MapEdit.h"

#include <cstdint>
#include <vector>

namespace qm {

// Set Base Tile is an entry of the undo history, so its question no longer
// warns that the change cannot be undone.
inline constexpr const char* MSG_SET_BASE_TILE_WARNING =
    "Are you sure want to initialize the map with current selected tile ?";
inline constexpr const char* MSG_RESET_MAP_PALETTE_WARNING =
    "This operation can not be undone, do you wish to continue ?";
inline constexpr const char* RESET_MAP_PALETTE_CAPTION = "Saving map data";

// Block Fill: every selected cell gets the chosen tile.
EditResult blockFill(MapEdit& edit, const std::vector<CellPos>& selection, const TileChoice& tile);

// Array Fill: consecutive tiles from the chosen one on, each with its own
// palette from its tile set; stops after tile 511 (255 for tags).
EditResult arrayFill(MapEdit& edit, const std::vector<CellPos>& selection, const TileChoice& first);

// Set Base Tile: every cell of the map gets the chosen tile, as one step,
// and both images are rendered again.
EditResult setBaseTile(MapEdit& edit, const TileChoice& tile);

// Delete: the view's layer of each selected cell is emptied; in the tag
// layer the tags become 0. Nothing else changes.
EditResult deleteCells(MapEdit& edit, const std::vector<CellPos>& selection);

// Flip Horizontally / Vertically: the flip bit of the layer's part (the OBJ
// part for the tag layer) of each selected cell is toggled.
EditResult flipCells(MapEdit& edit, const std::vector<CellPos>& selection, bool horizontal);

// Flip Area: the selected parts are mirrored across the selection's columns
// (horizontal) or rows, each toggling its flip bit. Targets are written even
// when not selected. Nothing in the tag layer.
EditResult flipArea(MapEdit& edit, const std::vector<CellPos>& selection, bool horizontal);

// Bank: bit 8 of the layer's tile number (the OBJ part for the tag layer).
enum class BankChange { Clear, Set, Toggle };
EditResult setBank(MapEdit& edit, const std::vector<CellPos>& selection, BankChange change);

// BG Priority (true) sets, OBJ Priority clears the priority bit of bgAttr,
// whatever the layer; saved as BG parts; nothing to render.
EditResult setPriority(MapEdit& edit, const std::vector<CellPos>& selection, bool bgPriority);

// Palette n of the layer's part (the OBJ part for the tag layer).
EditResult setCellPalette(MapEdit& edit, const std::vector<CellPos>& selection, int palette);

// Reset Map Palette: every present BG and OBJ part takes the own palette of
// its tile; one progress step per row; the project is flagged changed. The
// caller re-renders the map.
void resetMapPalette(Workspace& ws, Progress& progress);

// The cells, in row order, whose layer shows the tile: for TILE_BG and
// TILE_OBJ a present part with that number, for TILE_TAG the tag.
std::vector<CellPos> cellsUsingTile(const MapGrid& map, TileKind layer, int tile);
// The cells, in row order, whose palette in the layer (the OBJ part for the
// tag layer) is p.
std::vector<CellPos> cellsUsingPalette(const MapGrid& map, TileKind layer, int p);
// The status text of a reverse-eyedropper search: "%d Used", or "Unuse".
std::string usedText(std::size_t count);

// Copy MapToTile: the tile numbers of the layer's part of each selected cell,
// in order and with repetitions. Empty in the tag layer.
std::vector<std::int32_t> selectionTiles(const MapGrid& map, const std::vector<CellPos>& selection, TileKind layer);

// The cells of the rectangle between two corners, row by row from the top,
// each row from left to right.
std::vector<CellPos> rectangleCells(CellPos a, CellPos b);

} // namespace qm
