#include "core/edit/TilePaletteFollow.h"

namespace qm {

FollowResult followTilePaletteChange(Workspace& ws, UndoStore& undo, MapRenderer& renderer,
                                     const TilePaletteChange& change)
{
    FollowResult out;
    if (change.layer == TILE_TAG) {
        renderer.renderTagArea(0, 0, renderer.columns() - 1, renderer.rows() - 1);
        return out;
    }
    if (ws.tiles.dmgMode || (change.layer != TILE_BG && change.layer != TILE_OBJ))
        return out;
    // The sender began the step with its tile snapshots: the cells join it,
    // and several tiles sent one after another stay that one step.
    undo.beginStep(STEP_TILE_PALETTE, StepName::TilePalette);
    MapGrid& map = ws.project.map;
    for (int y = 0; y < map.height; ++y) {
        for (int x = 0; x < map.width; ++x) {
            MapCell& cell = *map.cellAt(x, y);
            const int tile = cell.layerPart(change.layer).tile;
            if (cell.palette(change.layer) != change.oldPalette || tile < change.firstTile || tile > change.lastTile)
                continue;
            if (!undo.saveCell(map, x, y, change.layer)) {
                out.result = Result::failure(MSG_NO_MEMORY_UNDO);
                return out;
            }
            cell.setPalette(change.layer, change.newPalette);
            renderer.renderCell(x, y);
            ++out.cellsChanged;
        }
    }
    return out;
}

} // namespace qm
