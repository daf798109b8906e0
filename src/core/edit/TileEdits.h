#pragma once
// The tile set manager's edits of tiles: clear, new palette, cut and paste.
// Each begins one undo step for tiles and saves every tile before changing it.

#include "core/base/Result.h"
#include "core/edit/MapClipboard.h"
#include "core/tiles/TileClipboard.h"
#include "core/tiles/TileLibrary.h"
#include "core/tiles/TilePaletteChange.h"
#include "core/undo/UndoStore.h"

#include <functional>
#include <vector>

namespace qm {

// What an edit changed: the tiles in the order changed, and the first and
// last index among them (-1 when none). A failure leaves the tiles changed
// before it as they are; they are part of the step.
struct TileEditResult {
    Result result;
    std::vector<int> tiles;
    int first = -1;
    int last = -1;
    void add(int tile);
};

// Pixels of every listed tile become 0.
TileEditResult clearTiles(TileLibrary& lib, TileKind kind, const std::vector<int>& tiles, UndoStore& undo);

// Gives every listed tile the palette, in list order, and calls report with
// each tile's change right after it (before the next tile changes), so that
// the map can follow within the same step.
TileEditResult setTilesPalette(TileLibrary& lib, TileKind kind, const std::vector<int>& tiles, int palette,
                               UndoStore& undo, const std::function<void(const TilePaletteChange&)>& report);

// The "CTile" record of the listed tiles, in list order.
std::vector<std::uint8_t> copyTiles(const TileLibrary& lib, TileKind kind, const std::vector<int>& tiles);

// Each listed tile loses its pixels, palette and comment (kind and index stay).
TileEditResult cutTiles(TileLibrary& lib, TileKind kind, const std::vector<int>& tiles, UndoStore& undo);

// The entries go to tiles first, first + 1, ... and stop after the last
// entry or after tile 511. Each target takes the entry's pixels, comment and
// palette; its kind and index stay.
TileEditResult pasteTiles(TileLibrary& lib, TileKind kind, int first, const std::vector<TileClipEntry>& entries,
                          UndoStore& undo);

// The pixels of the tiles named by the map view's clipboard entries (the set
// by bits 6-7 of the attribute byte, the tile by the value) go to tiles first,
// first + 1, ... (stopping after 511). An entry that names no tile is skipped
// but still uses up its target.
TileEditResult pasteMapTiles(TileLibrary& lib, TileKind kind, int first, const std::vector<ClipboardEntry>& entries,
                             UndoStore& undo);

} // namespace qm
