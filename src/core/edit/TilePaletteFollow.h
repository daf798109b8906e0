#pragma once
// Tiles got a new palette in the tile set manager or the tile editor: the map
// cells that show them with the old palette follow, as one undoable step.

#include "core/base/Result.h"
#include "core/project/Workspace.h"
#include "core/render/MapRenderer.h"
#include "core/tiles/TilePaletteChange.h"
#include "core/undo/UndoStore.h"

#include <cstdint>

namespace qm {


// Makes the step being recorded a tile palette step (beginning one unless it
// is a tile or tile palette step) and gives every cell of the layer whose tile is
// in firstTile..lastTile and whose palette is oldPalette the new palette,
// saving each cell first and re-rendering it. Nothing in DMG mode except for
// tags. Tag tiles carry their palette themselves, so for them no cell
// changes: the tag image is rendered again. Returns the cells changed, or the
// undo memory failure (the cells before it stay changed).
struct FollowResult {
    Result result;
    int cellsChanged = 0;
};
FollowResult followTilePaletteChange(Workspace& ws, UndoStore& undo, MapRenderer& renderer,
                                     const TilePaletteChange& change);

} // namespace qm
