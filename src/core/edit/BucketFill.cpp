#include "core/edit/BucketFill.h"

#include <algorithm>
#include <cstdint>
#include <deque>
#include <new>

namespace qm {

namespace {

struct LayerValue {
    int presence = 0;
    int value = 0;
    bool operator==(const LayerValue&) const = default;
};

LayerValue valueOf(const MapCell& c, TileKind layer)
{
    switch (layer) {
    case TILE_TAG:
        return {TILE_TAG, c.tag};
    case TILE_BG:
        return {c.bgAttr & TILE_BG, c.bgTile};
    case TILE_OBJ:
        return {c.objAttr & TILE_OBJ, c.objTile};
    default:
        return {-1, -1};
    }
}

} // namespace

EditResult bucketFill(MapEdit& edit, int sx, int sy, const TileChoice& tile)
{
    EditResult out;
    MapGrid& map = edit.map();
    const MapCell* start = map.cellAt(sx, sy);
    if (!start)
        return out;
    edit.undo.beginStep(STEP_CELLS, StepName::BucketFill);
    const TileKind layer = tile.layer;
    if (layer != TILE_BG && layer != TILE_OBJ && layer != TILE_TAG)
        return out;
    const LayerValue oldValue = valueOf(*start, layer);
    const LayerValue newValue{layer, layer == TILE_TAG ? (tile.tile & 0xFF) : tile.tile};
    auto matches = [&](const MapCell& c) {
        const LayerValue v = valueOf(c, layer);
        return v == oldValue && !(v == newValue);
    };

    // The cells to visit next, first in first out: the queue holds the edge
    // of the fill only, and the filled cells are marked one bit each.
    std::deque<CellPos> work;
    std::vector<bool> filled;
    try {
        filled.assign(map.cells.size(), false);
    } catch (const std::bad_alloc&) {
        out.result = Result::failure(MSG_NO_MEMORY_UNDO);
        return out;
    }
    const std::size_t width = static_cast<std::size_t>(map.width);
    // Cells are rendered once the fill is over (rendersAsOneArea).
    int x1 = sx, y1 = sy, x2 = sx, y2 = sy;
    std::size_t count = 0;
    auto fill = [&](int x, int y) {
        MapCell& cell = map.cells[static_cast<std::size_t>(y) * width + static_cast<std::size_t>(x)];
        if (!edit.undo.saveCell(map, x, y, layer))
            return false;
        cell.place(layer, tile.tile, tile.palette);
        x1 = std::min(x1, x);
        y1 = std::min(y1, y);
        x2 = std::max(x2, x);
        y2 = std::max(y2, y);
        filled[static_cast<std::size_t>(y) * width + static_cast<std::size_t>(x)] = true;
        work.push_back({x, y});
        ++count;
        return true;
    };
    auto visit = [&](int x, int y) {
        if (!map.inside(x, y))
            return true;
        const std::size_t i = static_cast<std::size_t>(y) * width + static_cast<std::size_t>(x);
        if (filled[i] || !matches(map.cells[i]))
            return true;
        return fill(x, y);
    };

    try {
        if (matches(*start) && !fill(sx, sy)) {
            out.result = Result::failure(MSG_NO_MEMORY_UNDO);
            return out;
        }
        while (!work.empty()) {
            const CellPos p = work.front();
            work.pop_front();
            if (!visit(p.x, p.y - 1) || !visit(p.x + 1, p.y) || !visit(p.x, p.y + 1) || !visit(p.x - 1, p.y)) {
                out.result = Result::failure(MSG_NO_MEMORY_UNDO);
                break;
            }
        }
    } catch (const std::bad_alloc&) {
        out.result = Result::failure(MSG_NO_MEMORY_UNDO);
    }
    out.changed = static_cast<int>(count);
    if (rendersAsOneArea(count, x1, y1, x2, y2)) {
        if (layer == TILE_TAG)
            edit.renderer.renderTagArea(x1, y1, x2, y2);
        else
            edit.renderer.renderArea(x1, y1, x2, y2);
    } else if (count > 0) {
        for (int y = y1; y <= y2; ++y)
            for (int x = x1; x <= x2; ++x)
                if (filled[static_cast<std::size_t>(y) * width + static_cast<std::size_t>(x)])
                    renderEdited(edit, x, y, layer);
    }
    return out;
}

} // namespace qm
