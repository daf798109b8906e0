#include "core/edit/MapEdit.h"

namespace qm {

void renderEdited(MapEdit& edit, int x, int y, TileKind layer)
{
    if (layer == TILE_TAG)
        edit.renderer.renderTagCell(x, y);
    else if (layer == TILE_BG || layer == TILE_OBJ)
        edit.renderer.renderCell(x, y);
}

bool paintCell(MapEdit& edit, int x, int y, const TileChoice& tile)
{
    MapGrid& map = edit.map();
    MapCell* cell = map.cellAt(x, y);
    if (!cell)
        return true;
    if (!edit.undo.saveCell(map, x, y, tile.layer))
        return false;
    cell->place(tile.layer, tile.tile, tile.palette);
    renderEdited(edit, x, y, tile.layer);
    return true;
}

} // namespace qm
