#pragma once
// What every map edit works on: the workspace, the undo store, the renderer
// of the view's images and the layer the view shows. The editing algorithms
// follow one pattern: begin a cell-edit step, and for each cell save it,
// change it and re-render it; a save that fails stops the edit with
// MSG_NO_MEMORY_UNDO and leaves the cells before it changed (and undoable).

#include "core/base/Result.h"
#include "core/project/Workspace.h"
#include "core/render/MapRenderer.h"
#include "core/undo/UndoStore.h"

#include <vector>

namespace qm {

struct CellPos {
    int x = 0;
    int y = 0;
    bool operator==(const CellPos&) const = default;
};

// The tile the painting tools put down: its kind (the page shown in the tile
// set manager: TILE_BG, TILE_OBJ, TILE_TAG, or TILE_NONE for the palette
// page, which puts nothing down), number and own palette.
struct TileChoice {
    TileKind layer = TILE_BG;
    int tile = 0;
    int palette = 0;
};

struct MapEdit {
    Workspace& ws;
    UndoStore& undo;
    MapRenderer& renderer;
    TileKind layer = TILE_BG; // the layer of the view: TILE_BG, TILE_OBJ or TILE_TAG

    MapGrid& map() { return ws.project.map; }
};

struct EditResult {
    Result result;    // MSG_NO_MEMORY_UNDO when a save failed
    int changed = 0;  // cells written
    bool ok() const { return result.ok(); }
};

// Re-renders what an edit in layer changed: the tag image for TILE_TAG, the
// map image for the others.
void renderEdited(MapEdit& edit, int x, int y, TileKind layer);

// Saves cell (x, y) and places the chosen tile into it (place of MapCell),
// then re-renders it. False, with nothing changed, when the save failed.
bool paintCell(MapEdit& edit, int x, int y, const TileChoice& tile);

// The pattern of the selection commands: one cell-edit step of that name,
// then for each selected cell on the map: save (in the view's layer),
// change(cell), render what renderLayer names.
template <class Change>
EditResult forEachSelected(MapEdit& edit, StepName name, const std::vector<CellPos>& selection, TileKind renderLayer,
                           Change change)
{
    EditResult out;
    edit.undo.beginStep(STEP_CELLS, name);
    MapGrid& map = edit.map();
    for (const CellPos& p : selection) {
        MapCell* cell = map.cellAt(p.x, p.y);
        if (!cell)
            continue;
        if (!edit.undo.saveCell(map, p.x, p.y, edit.layer)) {
            out.result = Result::failure(MSG_NO_MEMORY_UNDO);
            return out;
        }
        change(*cell);
        renderEdited(edit, p.x, p.y, renderLayer);
        ++out.changed;
    }
    return out;
}

} // namespace qm
