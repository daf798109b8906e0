#include "core/edit/MapCommands.h"

#include "core/base/Format.h"

#include <algorithm>

namespace qm {

namespace {

// The layer of the part a command of the view's layer works on (the OBJ part
// for tags, MapCell::layerPart), which is the image to render.
TileKind partLayer(TileKind layer) { return layer == TILE_BG ? TILE_BG : TILE_OBJ; }

} // namespace

EditResult blockFill(MapEdit& edit, const std::vector<CellPos>& selection, const TileChoice& tile)
{
    return forEachSelected(edit, StepName::BlockFill, selection, tile.layer,
                           [&](MapCell& c) { c.place(tile.layer, tile.tile, tile.palette); });
}

EditResult arrayFill(MapEdit& edit, const std::vector<CellPos>& selection, const TileChoice& first)
{
    // The cells that get a tile: those on the map, until the last tile is used.
    const int last = first.layer == TILE_TAG ? 255 : TILES_PER_SET - 1;
    std::vector<CellPos> cells;
    for (const CellPos& p : selection) {
        if (first.tile + static_cast<int>(cells.size()) > last)
            break;
        if (edit.map().inside(p.x, p.y))
            cells.push_back(p);
    }
    int t = first.tile;
    return forEachSelected(edit, StepName::ArrayFill, cells, first.layer, [&](MapCell& c) {
        int palette = first.palette;
        if (const CTile* own = edit.ws.tiles.tile(static_cast<TileKind>(first.layer), t))
            palette = own->palette();
        c.place(first.layer, t, palette);
        ++t;
    });
}

EditResult setBaseTile(MapEdit& edit, const TileChoice& tile)
{
    EditResult out;
    MapGrid& map = edit.map();
    edit.undo.beginStep(STEP_CELLS, StepName::SetBaseTile);
    for (int y = 0; y < map.height && out.ok(); ++y) {
        for (int x = 0; x < map.width; ++x) {
            if (!edit.undo.saveCell(map, x, y, tile.layer)) {
                out.result = Result::failure(MSG_NO_MEMORY_UNDO);
                break;
            }
            map.cellAt(x, y)->place(tile.layer, tile.tile, tile.palette);
            ++out.changed;
        }
    }
    if (tile.layer == TILE_TAG)
        edit.renderer.renderTagArea(0, 0, map.width - 1, map.height - 1);
    else
        edit.renderer.renderArea(0, 0, map.width - 1, map.height - 1);
    return out;
}

EditResult deleteCells(MapEdit& edit, const std::vector<CellPos>& selection)
{
    const TileKind layer = edit.layer;
    return forEachSelected(edit, StepName::Delete, selection, layer, [layer](MapCell& c) {
        if (layer == TILE_BG) {
            c.bgAttr = 0;
            c.bgTile = 0;
        } else if (layer == TILE_OBJ) {
            c.objAttr = 0;
            c.objTile = 0;
        } else if (layer == TILE_TAG) {
            c.tag = 0;
        }
    });
}

EditResult flipCells(MapEdit& edit, const std::vector<CellPos>& selection, bool horizontal)
{
    const TileKind layer = edit.layer;
    const std::uint8_t bit = horizontal ? ATTR_FLIP_H : ATTR_FLIP_V;
    return forEachSelected(edit, horizontal ? StepName::FlipHorizontally : StepName::FlipVertically, selection,
                           partLayer(layer), [&](MapCell& c) { c.layerPart(layer).attr ^= bit; });
}

EditResult flipArea(MapEdit& edit, const std::vector<CellPos>& selection, bool horizontal)
{
    EditResult out;
    const TileKind layer = edit.layer;
    if (layer == TILE_TAG || selection.empty())
        return out;
    MapGrid& map = edit.map();
    struct Copy {
        CellPos from;
        std::uint8_t attr;
        std::uint16_t tile;
    };
    std::vector<Copy> copies;
    int low = horizontal ? selection.front().x : selection.front().y;
    int high = low;
    for (const CellPos& p : selection) {
        MapCell* c = map.cellAt(p.x, p.y);
        if (!c)
            continue;
        copies.push_back({p, c->layerPart(layer).attr, c->layerPart(layer).tile});
        const int v = horizontal ? p.x : p.y;
        low = std::min(low, v);
        high = std::max(high, v);
    }
    edit.undo.beginStep(STEP_CELLS, horizontal ? StepName::FlipAreaHorizontally : StepName::FlipAreaVertically);
    const std::uint8_t bit = horizontal ? ATTR_FLIP_H : ATTR_FLIP_V;
    for (const Copy& copy : copies) {
        const CellPos to = horizontal ? CellPos{low + high - copy.from.x, copy.from.y}
                                      : CellPos{copy.from.x, low + high - copy.from.y};
        MapCell* target = map.cellAt(to.x, to.y);
        if (!target)
            continue;
        if (!edit.undo.saveCell(map, to.x, to.y, layer)) {
            out.result = Result::failure(MSG_NO_MEMORY_UNDO);
            return out;
        }
        LayerPart part = target->layerPart(layer);
        part.attr = static_cast<std::uint8_t>(copy.attr ^ bit);
        part.tile = copy.tile;
        edit.renderer.renderCell(to.x, to.y);
        ++out.changed;
    }
    return out;
}

EditResult setBank(MapEdit& edit, const std::vector<CellPos>& selection, BankChange change)
{
    const TileKind layer = edit.layer;
    const StepName name = change == BankChange::Clear ? StepName::SetBank0
                          : change == BankChange::Set ? StepName::SetBank1
                                                      : StepName::FlipBank;
    return forEachSelected(edit, name, selection, partLayer(layer), [&](MapCell& c) {
        std::uint16_t& tile = c.layerPart(layer).tile;
        switch (change) {
        case BankChange::Clear:
            tile = static_cast<std::uint16_t>(tile & ~0x100);
            break;
        case BankChange::Set:
            tile = static_cast<std::uint16_t>(tile | 0x100);
            break;
        case BankChange::Toggle:
            tile = static_cast<std::uint16_t>(tile ^ 0x100);
            break;
        }
    });
}

EditResult setPriority(MapEdit& edit, const std::vector<CellPos>& selection, bool bgPriority)
{
    EditResult out;
    edit.undo.beginStep(STEP_CELLS, bgPriority ? StepName::BgPriority : StepName::ObjPriority);
    MapGrid& map = edit.map();
    for (const CellPos& p : selection) {
        MapCell* c = map.cellAt(p.x, p.y);
        if (!c)
            continue;
        if (!edit.undo.saveCell(map, p.x, p.y, TILE_BG)) {
            out.result = Result::failure(MSG_NO_MEMORY_UNDO);
            return out;
        }
        if (bgPriority)
            c->bgAttr |= ATTR_PRIORITY;
        else
            c->bgAttr &= static_cast<std::uint8_t>(~ATTR_PRIORITY);
        ++out.changed;
    }
    return out;
}

EditResult setCellPalette(MapEdit& edit, const std::vector<CellPos>& selection, int palette)
{
    const TileKind layer = edit.layer;
    return forEachSelected(edit, StepName::CellPalette, selection, partLayer(layer),
                           [&](MapCell& c) { c.setPalette(layer, palette); });
}

void resetMapPalette(Workspace& ws, Progress& progress)
{
    MapGrid& map = ws.project.map;
    ProgressScope scope(progress, RESET_MAP_PALETTE_CAPTION, map.height);
    for (int y = 0; y < map.height; ++y) {
        for (int x = 0; x < map.width; ++x) {
            MapCell& c = *map.cellAt(x, y);
            if (c.hasBg())
                if (const CTile* t = ws.tiles.tile(TILE_BG, c.bgTile))
                    c.setPalette(TILE_BG, t->palette());
            if (c.hasObj())
                if (const CTile* t = ws.tiles.tile(TILE_OBJ, c.objTile))
                    c.setPalette(TILE_OBJ, t->palette());
        }
        scope.step();
    }
    ws.project.setChanged(CHANGED_PROJECT);
}

std::vector<CellPos> cellsUsingTile(const MapGrid& map, TileKind layer, int tile)
{
    std::vector<CellPos> out;
    for (int y = 0; y < map.height; ++y)
        for (int x = 0; x < map.width; ++x)
            if (layer == TILE_TAG ? map.cellAt(x, y)->tag == tile : map.cellAt(x, y)->showsTile(layer, tile))
                out.push_back({x, y});
    return out;
}

std::vector<CellPos> cellsUsingPalette(const MapGrid& map, TileKind layer, int p)
{
    std::vector<CellPos> out;
    for (int y = 0; y < map.height; ++y)
        for (int x = 0; x < map.width; ++x)
            if (map.cellAt(x, y)->palette(layer) == p)
                out.push_back({x, y});
    return out;
}

std::string usedText(std::size_t count)
{
    return count == 0 ? std::string("Unuse") : formatText("%d Used", static_cast<int>(count));
}

std::vector<std::int32_t> selectionTiles(const MapGrid& map, const std::vector<CellPos>& selection, TileKind layer)
{
    std::vector<std::int32_t> out;
    if (layer != TILE_BG && layer != TILE_OBJ)
        return out;
    for (const CellPos& p : selection)
        if (const MapCell* c = map.cellAt(p.x, p.y))
            out.push_back(c->layerPart(layer).tile);
    return out;
}

std::vector<CellPos> rectangleCells(CellPos a, CellPos b)
{
    std::vector<CellPos> out;
    const int left = std::min(a.x, b.x), right = std::max(a.x, b.x);
    const int top = std::min(a.y, b.y), bottom = std::max(a.y, b.y);
    out.reserve(static_cast<std::size_t>(right - left + 1) * static_cast<std::size_t>(bottom - top + 1));
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x)
            out.push_back({x, y});
    return out;
}

} // namespace qm
