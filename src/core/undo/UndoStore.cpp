#include "core/undo/UndoStore.h"

#include "core/render/MapRenderer.h"

#include <algorithm>
#include <new>
#include <utility>

namespace qm {

namespace {

// A vector append that reports failure instead of throwing.
template <typename T> bool append(std::vector<T>& list, const T& value, std::size_t limit)
{
    if (list.size() >= limit)
        return false;
    try {
        list.push_back(value);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

// Undo of a deletion: n cleared columns that occupy columns first..first+n-1
// afterwards (appended when first is the width). The grid's own insertion
// appends when given its last column, so that case moves the last column out
// of the way.
bool reopenColumns(MapGrid& map, int first, int n)
{
    first = std::clamp(first, 0, map.width);
    if (map.width > 0 && first == map.width - 1) {
        if (!map.insertColumns(first, n))
            return false;
        for (int y = 0; y < map.height; ++y) {
            *map.cellAt(first + n, y) = *map.cellAt(first, y);
            map.cellAt(first, y)->clear();
        }
        return true;
    }
    return map.insertColumns(first, n);
}

bool reopenRows(MapGrid& map, int first, int n)
{
    first = std::clamp(first, 0, map.height);
    if (map.height > 0 && first == map.height - 1) {
        if (!map.insertRows(first, n))
            return false;
        for (int x = 0; x < map.width; ++x) {
            *map.cellAt(x, first + n) = *map.cellAt(x, first);
            map.cellAt(x, first)->clear();
        }
        return true;
    }
    return map.insertRows(first, n);
}

} // namespace

void UndoStore::beginStep(int kind)
{
    colourRecords.clear();
    if (!holdCells)
        cellRecords.clear();
    if (kind != STEP_TILE_PALETTE)
        tileRecords.clear();
    stepKind = kind;
    canUndo = true;
    canRedo = false;
}

void UndoStore::clear()
{
    cellRecords.clear();
    tileRecords.clear();
    colourRecords.clear();
    holdCells = false;
    stepKind = STEP_NONE;
    canUndo = false;
    canRedo = false;
    deletedFirst_ = 0;
    deletedCount_ = 0;
}

void UndoStore::holdCellRecords()
{
    cellRecords.clear();
    holdCells = true;
}

bool UndoStore::saveCell(const MapGrid& map, int x, int y, TileKind layer)
{
    if (stepKind == STEP_COLOURS)
        return true;
    const MapCell* cell = map.cellAt(x, y);
    if (!cell)
        return true;
    CellRecord r;
    r.layer = layer == TILE_BG ? TILE_BG : TILE_OBJ;
    r.x = x;
    r.y = y;
    const ConstLayerPart part = cell->layerPart(r.layer);
    r.attr = part.attr;
    r.tile = part.tile;
    r.tag = cell->tag;
    return append(cellRecords, r, maxRecords);
}

bool UndoStore::saveTile(const CTile& tile)
{
    if (stepKind == STEP_COLOURS)
        return true;
    return append(tileRecords, tile, maxRecords);
}

bool UndoStore::saveColour(int palette, int colour, std::uint8_t red, std::uint8_t green, std::uint8_t blue)
{
    ColourRecord r{static_cast<std::uint8_t>(palette), static_cast<std::uint8_t>(colour), red, green, blue};
    return append(colourRecords, r, maxRecords);
}

bool UndoStore::saveLines(const MapGrid& map, int first, int count, bool columns)
{
    deletedFirst_ = first;
    deletedCount_ = count;
    const int end = std::min(first + count, columns ? map.width : map.height);
    for (int line = std::max(first, 0); line < end; ++line) {
        const int across = columns ? map.height : map.width;
        for (int i = 0; i < across; ++i) {
            const int x = columns ? line : i;
            const int y = columns ? i : line;
            const MapCell& c = *map.cellAt(x, y);
            if (c.hasBg() && !append(cellRecords, CellRecord{TILE_BG, x, y, c.bgAttr, c.bgTile, c.tag}, maxRecords))
                return false;
            if (c.hasObj() && !append(cellRecords, CellRecord{TILE_OBJ, x, y, c.objAttr, c.objTile, c.tag}, maxRecords))
                return false;
        }
    }
    return true;
}

bool UndoStore::saveColumns(const MapGrid& map, int first, int count) { return saveLines(map, first, count, true); }
bool UndoStore::saveRows(const MapGrid& map, int first, int count) { return saveLines(map, first, count, false); }

bool UndoStore::apply(Workspace& ws, UndoListener& listener, bool reverse)
{
    switch (stepKind) {
    case STEP_CELLS:
        exchangeCells(ws.project.map, listener, reverse);
        break;
    case STEP_TILES:
    case STEP_TILE_PALETTE:
        exchangeTiles(ws.tiles, listener, reverse);
        exchangeCells(ws.project.map, listener, reverse);
        break;
    case STEP_COLOURS:
        exchangeColours(ws.tiles, listener, reverse);
        break;
    case STEP_COLUMNS_DELETED:
    case STEP_ROWS_DELETED:
    case STEP_COLUMNS_RESTORED:
    case STEP_ROWS_RESTORED:
        return exchangeLines(ws, listener);
    default:
        break;
    }
    return true;
}

bool UndoStore::undo(Workspace& ws, UndoListener& listener)
{
    if (!canUndo || !apply(ws, listener, true))
        return false;
    canUndo = false;
    canRedo = true;
    return true;
}

bool UndoStore::redo(Workspace& ws, UndoListener& listener)
{
    if (!canRedo || !apply(ws, listener, false))
        return false;
    canRedo = false;
    canUndo = true;
    return true;
}

void UndoStore::exchangeCells(MapGrid& map, UndoListener& listener, bool reverse)
{
    const std::size_t n = cellRecords.size();
    // A large step (a fill) may be rendered again as one area.
    int x1 = map.width, y1 = map.height, x2 = -1, y2 = -1;
    for (const CellRecord& r : cellRecords) {
        x1 = std::min(x1, r.x);
        y1 = std::min(y1, r.y);
        x2 = std::max(x2, r.x);
        y2 = std::max(y2, r.y);
    }
    const bool asArea = rendersAsOneArea(n, x1, y1, x2, y2);
    for (std::size_t k = 0; k < n; ++k) {
        CellRecord& r = cellRecords[reverse ? n - 1 - k : k];
        MapCell* cell = map.cellAt(r.x, r.y);
        if (!cell)
            continue;
        LayerPart part = cell->layerPart(r.layer);
        const std::uint8_t oldAttr = part.attr;
        const std::uint16_t oldTile = part.tile;
        const std::uint8_t oldTag = cell->tag;
        if (r.attr & r.layer) {
            part.attr = r.attr;
            part.tile = static_cast<std::uint16_t>(r.tile);
        } else {
            // The part was empty when saved.
            part.attr = 0;
            part.tile = 0;
        }
        cell->tag = r.tag;
        r.attr = oldAttr;
        r.tile = oldTile;
        r.tag = oldTag;
        if (!asArea)
            listener.cellChanged(r.x, r.y);
    }
    if (asArea)
        listener.areaChanged(std::max(x1, 0), std::max(y1, 0), std::min(x2, map.width - 1), std::min(y2, map.height - 1));
    listener.redraw();
}

void UndoStore::exchangeTiles(TileLibrary& tiles, UndoListener& listener, bool reverse)
{
    struct Range {
        TileKind kind;
        int first = TILES_PER_SET;
        int last = -1;
    };
    Range ranges[3] = {{TILE_BG}, {TILE_OBJ}, {TILE_TAG}};
    const std::size_t n = tileRecords.size();
    for (std::size_t k = 0; k < n; ++k) {
        CTile& r = tileRecords[reverse ? n - 1 - k : k];
        CTile* tile = tiles.tile(r.kind(), r.index);
        if (!tile)
            continue;
        std::swap(tile->pixels, r.pixels);
        std::swap(tile->attr, r.attr);
        std::swap(tile->commentLength, r.commentLength);
        std::swap(tile->comment, r.comment);
        for (Range& range : ranges) {
            if (range.kind == tile->kind()) {
                range.first = std::min(range.first, int(tile->index));
                range.last = std::max(range.last, int(tile->index));
            }
        }
    }
    for (const Range& range : ranges)
        if (range.last >= 0)
            listener.tilesChanged(range.kind, range.first, range.last);
}

void UndoStore::exchangeColours(TileLibrary& tiles, UndoListener& listener, bool reverse)
{
    std::uint32_t flags = 0;
    std::uint32_t mask = 0;
    const std::size_t n = colourRecords.size();
    for (std::size_t k = 0; k < n; ++k) {
        ColourRecord& r = colourRecords[reverse ? n - 1 - k : k];
        if (r.palette >= 16 || r.colour >= 4)
            continue;
        GbcColor& c = tiles.palettes.row(r.palette)[r.colour];
        std::swap(c.red, r.red);
        std::swap(c.green, r.green);
        std::swap(c.blue, r.blue);
        flags |= r.palette < 8 ? TILE_BG : TILE_OBJ;
        mask |= std::uint32_t(1) << r.palette;
    }
    if (flags & TILE_BG)
        tiles.palettes.recomputeDisplay(TILE_BG);
    if (flags & TILE_OBJ)
        tiles.palettes.recomputeDisplay(TILE_OBJ);
    listener.coloursChanged(flags, mask);
}

bool UndoStore::exchangeLines(Workspace& ws, UndoListener& listener)
{
    MapGrid& map = ws.project.map;
    const int f = deletedFirst();
    const int n = deletedCount();
    const bool columns = stepKind == STEP_COLUMNS_DELETED || stepKind == STEP_COLUMNS_RESTORED;
    if (stepKind == STEP_COLUMNS_DELETED || stepKind == STEP_ROWS_DELETED) {
        if (!(columns ? reopenColumns(map, f, n) : reopenRows(map, f, n)))
            return false;
        for (const CellRecord& r : cellRecords) {
            MapCell* cell = map.cellAt(r.x, r.y);
            if (!cell)
                continue;
            LayerPart part = cell->layerPart(r.layer);
            part.attr = r.attr;
            part.tile = static_cast<std::uint16_t>(r.tile);
            cell->tag = r.tag;
        }
        cellRecords.clear();
        stepKind = columns ? STEP_COLUMNS_RESTORED : STEP_ROWS_RESTORED;
    } else {
        std::vector<CellRecord> kept;
        kept.swap(cellRecords);
        if (!saveLines(map, f, n, columns)) {
            cellRecords.swap(kept);
            return false;
        }
        for (int i = 0; i < n; ++i) {
            if (columns ? f >= map.width : f >= map.height)
                break;
            if (columns)
                map.deleteColumn(f);
            else
                map.deleteRow(f);
        }
        stepKind = columns ? STEP_COLUMNS_DELETED : STEP_ROWS_DELETED;
    }
    ws.project.setChanged(CHANGED_MAP);
    listener.linesChanged();
    listener.redraw();
    return true;
}

} // namespace qm
