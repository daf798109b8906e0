#include "core/render/MapRenderer.h"

#include "core/render/ColourTable.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace qm {

namespace {

constexpr std::uint64_t ONES = 0x0101010101010101ULL;
constexpr std::uint64_t COLOUR_BITS = 0x0303030303030303ULL;

inline std::uint64_t load8(const std::uint8_t* p)
{
    std::uint64_t v;
    std::memcpy(&v, p, 8);
    return v;
}

inline void store8(std::uint8_t* p, std::uint64_t v) { std::memcpy(p, &v, 8); }

// The tile's eight rows (colour indices 0..3) with the flips of attr applied:
// each row mirrored first, then the rows.
inline void flippedRows(const CTile& tile, std::uint8_t attr, std::uint64_t rows[8])
{
    const std::uint8_t* px = tile.pixels.data();
    const bool flipH = attr & ATTR_FLIP_H;
    const int last = (attr & ATTR_FLIP_V) ? 7 : 0;
    for (int r = 0; r < 8; ++r) {
        std::uint64_t v = load8(px + 8 * r) & COLOUR_BITS;
        if (flipH)
            v = __builtin_bswap64(v);
        rows[r ^ last] = v;
    }
}

inline int paletteOf(std::uint8_t attr) { return (attr & ATTR_PALETTE_MASK) >> 2; }

bool allocateImage(std::vector<std::uint8_t>& image, std::size_t bytes, std::uint8_t fill, std::size_t limit)
{
    image.clear();
    image.shrink_to_fit();
    if (bytes > limit)
        return false;
    try {
        image.assign(bytes, fill);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

} // namespace

MapRenderer::CreateResult MapRenderer::createImages()
{
    CreateResult result;
    columns_ = map_.width;
    rows_ = map_.height;
    const std::size_t bytes = static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_) * 64;
    if (!allocateImage(mapImage_, bytes, EMPTY_CELL_INDEX, maxImageBytes))
        result.map = Result::failure(MSG_NO_MEMORY_MAP_IMAGE);
    if (!allocateImage(tagImage_, bytes, 0, maxImageBytes))
        result.tag = Result::failure(MSG_NO_MEMORY_TAG_IMAGE);
    return result;
}

void MapRenderer::clear()
{
    mapImage_ = {};
    tagImage_ = {};
    columns_ = rows_ = 0;
}

int MapRenderer::clampedColumns() const { return std::min(columns_, map_.width); }
int MapRenderer::clampedRows() const { return std::min(rows_, map_.height); }

// Every tile of a set in its four flip states (index tile * 4 + (attr & 3)),
// eight rows each: built once for a large area instead of flipping per cell.
struct MapRenderer::FlipTable {
    std::vector<std::uint64_t> bg;
    std::vector<std::uint64_t> obj;

    static void build(const TileSet& set, std::vector<std::uint64_t>& out)
    {
        out.resize(static_cast<std::size_t>(TILES_PER_SET) * 4 * 8);
        for (int t = 0; t < TILES_PER_SET; ++t)
            for (int flip = 0; flip < 4; ++flip)
                flippedRows(set.tiles[static_cast<std::size_t>(t)], static_cast<std::uint8_t>(flip),
                            &out[(static_cast<std::size_t>(t) * 4 + flip) * 8]);
    }
};

void MapRenderer::renderCellAt(int x, int y, const MapCell& cell, const FlipTable* table)
{
    std::uint64_t rows[8];
    if ((cell.bgAttr & TILE_BG) && cell.bgTile < TILES_PER_SET) {
        const std::uint64_t add = ONES * static_cast<std::uint64_t>(4 * paletteOf(cell.bgAttr));
        if (table) {
            const std::uint64_t* src = &table->bg[(static_cast<std::size_t>(cell.bgTile) * 4 + (cell.bgAttr & 3)) * 8];
            for (int r = 0; r < 8; ++r)
                rows[r] = src[r] + add;
        } else {
            flippedRows(tiles_.bg.tiles[cell.bgTile], cell.bgAttr, rows);
            for (std::uint64_t& r : rows)
                r += add;
        }
    } else {
        for (std::uint64_t& r : rows)
            r = ONES * EMPTY_CELL_INDEX;
    }
    if (!objHidden && (cell.objAttr & TILE_OBJ) && cell.objTile < TILES_PER_SET) {
        std::uint64_t own[8];
        const std::uint64_t* objRows = own;
        if (table)
            objRows = &table->obj[(static_cast<std::size_t>(cell.objTile) * 4 + (cell.objAttr & 3)) * 8];
        else
            flippedRows(tiles_.obj.tiles[cell.objTile], cell.objAttr, own);
        const std::uint64_t add = ONES * static_cast<std::uint64_t>(32 + 4 * paletteOf(cell.objAttr));
        if (objTransparent) {
            for (int r = 0; r < 8; ++r) {
                const std::uint64_t v = objRows[r];
                const std::uint64_t opaque = ((v | (v >> 1)) & ONES) * 0xFF;
                rows[r] = (rows[r] & ~opaque) | ((v + add) & opaque);
            }
        } else {
            for (int r = 0; r < 8; ++r)
                rows[r] = objRows[r] + add;
        }
    }
    const std::size_t s = stride();
    std::uint8_t* out = mapImage_.data() + static_cast<std::size_t>(y) * 8 * s + static_cast<std::size_t>(x) * 8;
    for (int r = 0; r < 8; ++r, out += s)
        store8(out, rows[r]);
}

void MapRenderer::renderTagAt(int x, int y, int tag)
{
    const std::size_t s = stride();
    std::uint8_t* out = tagImage_.data() + static_cast<std::size_t>(y) * 8 * s + static_cast<std::size_t>(x) * 8;
    const CTile* tile = tiles_.tag.tileAt(tag & 0xFF);
    const std::uint64_t add = ONES * static_cast<std::uint64_t>(4 * tile->palette());
    const std::uint8_t* px = tile->pixels.data();
    for (int r = 0; r < 8; ++r, out += s)
        store8(out, (load8(px + 8 * r) & COLOUR_BITS) + add);
}

void MapRenderer::renderCell(int x, int y)
{
    if (mapImage_.empty() || x < 0 || y < 0 || x >= clampedColumns() || y >= clampedRows())
        return;
    renderCellAt(x, y, *map_.cellAt(x, y), nullptr);
}

void MapRenderer::renderArea(int x1, int y1, int x2, int y2)
{
    if (mapImage_.empty())
        return;
    x1 = std::max(x1, 0);
    y1 = std::max(y1, 0);
    x2 = std::min(x2, clampedColumns() - 1);
    y2 = std::min(y2, clampedRows() - 1);
    if (x2 < x1 || y2 < y1)
        return;
    FlipTable table;
    const bool large = std::int64_t(x2 - x1 + 1) * (y2 - y1 + 1) >= LARGE_AREA;
    if (large) {
        FlipTable::build(tiles_.bg, table.bg);
        FlipTable::build(tiles_.obj, table.obj);
    }
    for (int y = y1; y <= y2; ++y) {
        const MapCell* row = map_.cellAt(0, y);
        for (int x = x1; x <= x2; ++x)
            renderCellAt(x, y, row[x], large ? &table : nullptr);
    }
}

void MapRenderer::renderTagCell(int x, int y, int tag)
{
    if (tagImage_.empty() || x < 0 || y < 0 || x >= clampedColumns() || y >= clampedRows())
        return;
    renderTagAt(x, y, tag);
}

void MapRenderer::renderTagArea(int x1, int y1, int x2, int y2)
{
    if (tagImage_.empty())
        return;
    x1 = std::max(x1, 0);
    y1 = std::max(y1, 0);
    x2 = std::min(x2, clampedColumns() - 1);
    y2 = std::min(y2, clampedRows() - 1);
    for (int y = y1; y <= y2; ++y) {
        const MapCell* row = map_.cellAt(0, y);
        for (int x = x1; x <= x2; ++x)
            renderTagAt(x, y, row[x].tag);
    }
}

void MapRenderer::renderCellsUsingTiles(TileKind layer, int first, int last)
{
    const int w = clampedColumns();
    const int h = clampedRows();
    for (int y = 0; y < h; ++y) {
        const MapCell* row = map_.cellAt(0, y);
        for (int x = 0; x < w; ++x) {
            const MapCell& c = row[x];
            if (layer == TILE_BG) {
                if (c.hasBg() && c.bgTile >= first && c.bgTile <= last && !mapImage_.empty())
                    renderCellAt(x, y, c, nullptr);
            } else if (layer == TILE_OBJ) {
                if (c.hasObj() && c.objTile >= first && c.objTile <= last && !mapImage_.empty())
                    renderCellAt(x, y, c, nullptr);
            } else if (layer == TILE_TAG) {
                if (c.tag >= first && c.tag <= last && !tagImage_.empty())
                    renderTagAt(x, y, c.tag);
            }
        }
    }
}

void MapRenderer::renderAll()
{
    renderArea(0, 0, columns_ - 1, rows_ - 1);
    renderTagArea(0, 0, columns_ - 1, rows_ - 1);
}

} // namespace qm
