#include "core/render/MapRenderer.h"

#include "core/render/ColourTable.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

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

// The first pixel of cell (x, y) in the pixels of the block that holds it.
inline std::uint8_t* cellInBlock(std::uint8_t* block, int x, int y)
{
    return block + static_cast<std::size_t>(y % MapRenderer::BLOCK_CELLS) * 8 * MapRenderer::BLOCK_PIXELS +
           static_cast<std::size_t>(x % MapRenderer::BLOCK_CELLS) * 8;
}

constexpr int BLOCK_SHIFT = 8; // BLOCK_PIXELS == 1 << BLOCK_SHIFT
static_assert(MapRenderer::BLOCK_PIXELS == 1 << BLOCK_SHIFT);

int blocksFor(int cells) { return (cells + MapRenderer::BLOCK_CELLS - 1) / MapRenderer::BLOCK_CELLS; }

} // namespace

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

void MapRenderer::reset()
{
    columns_ = map_.width;
    rows_ = map_.height;
    blockColumns_ = blocksFor(columns_);
    cache_.reset(static_cast<std::size_t>(blockColumns_) * static_cast<std::size_t>(blocksFor(rows_)));
}

int MapRenderer::clampedColumns() const { return std::min(columns_, map_.width); }
int MapRenderer::clampedRows() const { return std::min(rows_, map_.height); }

void MapRenderer::drawMapCell(const MapCell& cell, const FlipTable* table, std::uint8_t* out, std::size_t stride) const
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
    for (int r = 0; r < 8; ++r, out += stride)
        store8(out, rows[r]);
}

void MapRenderer::drawTagCell(int tag, std::uint8_t* out, std::size_t stride) const
{
    const CTile* tile = tiles_.tag.tileAt(tag & 0xFF);
    const std::uint64_t add = ONES * static_cast<std::uint64_t>(4 * tile->palette());
    const std::uint8_t* px = tile->pixels.data();
    for (int r = 0; r < 8; ++r, out += stride)
        store8(out, (load8(px + 8 * r) & COLOUR_BITS) + add);
}

namespace {

// Calls draw(cell, pixelColumn) for cells x1..x2 of a row. The cells are read
// a run at a time into a copy of their own: read one by one between the
// stores of their pixels, a row of the map and a row of the picture lying a
// multiple of 4 KB apart would make every read wait for the stores before it.
template <class Draw> void forEachCellInRuns(const MapCell* row, int x1, int x2, Draw draw)
{
    constexpr int RUN = 32;
    MapCell run[RUN];
    for (int x = x1; x <= x2; x += RUN) {
        const int n = std::min(RUN, x2 - x + 1);
        std::copy_n(row + x, n, run);
        for (int i = 0; i < n; ++i)
            draw(run[i], static_cast<std::size_t>(x - x1 + i) * 8);
    }
}

} // namespace

void MapRenderer::drawCells(MapImage image, int x1, int y1, int x2, int y2, std::uint8_t* out,
                            std::size_t stride) const
{
    const std::size_t rowStep = stride * 8;
    if (image == MapImage::Tags) {
        for (int y = y1; y <= y2; ++y, out += rowStep)
            forEachCellInRuns(map_.cellAt(0, y), x1, x2,
                              [&](const MapCell& c, std::size_t at) { drawTagCell(c.tag, out + at, stride); });
        return;
    }
    std::unique_ptr<FlipTable> table;
    if (std::int64_t(x2 - x1 + 1) * (y2 - y1 + 1) >= LARGE_AREA) {
        table = std::make_unique<FlipTable>();
        FlipTable::build(tiles_.bg, table->bg);
        FlipTable::build(tiles_.obj, table->obj);
    }
    for (int y = y1; y <= y2; ++y, out += rowStep)
        forEachCellInRuns(map_.cellAt(0, y), x1, x2,
                          [&](const MapCell& c, std::size_t at) { drawMapCell(c, table.get(), out + at, stride); });
}

const std::uint8_t* MapRenderer::blockPixels(MapImage image, int bx, int by) const
{
    const std::size_t index = blockIndex(bx, by);
    const BlockCache::Block b = cache_.acquire(static_cast<int>(image), index);
    if (!b.fresh) {
        const int x1 = bx * BLOCK_CELLS;
        const int y1 = by * BLOCK_CELLS;
        const int x2 = std::min(x1 + BLOCK_CELLS, clampedColumns()) - 1;
        const int y2 = std::min(y1 + BLOCK_CELLS, clampedRows()) - 1;
        // Past the map's edge a block shows what a fresh image held.
        if (x2 - x1 + 1 < BLOCK_CELLS || y2 - y1 + 1 < BLOCK_CELLS)
            std::memset(b.pixels, image == MapImage::Map ? EMPTY_CELL_INDEX : 0,
                        std::size_t(BLOCK_PIXELS) * BLOCK_PIXELS);
        if (x2 >= x1 && y2 >= y1)
            drawCells(image, x1, y1, x2, y2, b.pixels, BLOCK_PIXELS);
    }
    return b.pixels;
}

void MapRenderer::renderCell(int x, int y)
{
    if (x < 0 || y < 0 || x >= clampedColumns() || y >= clampedRows())
        return;
    const std::size_t block = blockIndex(x / BLOCK_CELLS, y / BLOCK_CELLS);
    if (std::uint8_t* pixels = cache_.cached(static_cast<int>(MapImage::Map), block))
        drawMapCell(*map_.cellAt(x, y), nullptr, cellInBlock(pixels, x, y), BLOCK_PIXELS);
}

void MapRenderer::renderArea(MapImage image, int x1, int y1, int x2, int y2)
{
    x1 = std::max(x1, 0);
    y1 = std::max(y1, 0);
    x2 = std::min(x2, clampedColumns() - 1);
    y2 = std::min(y2, clampedRows() - 1);
    if (x2 < x1 || y2 < y1)
        return;
    const int kind = static_cast<int>(image);
    for (int by = y1 / BLOCK_CELLS; by <= y2 / BLOCK_CELLS; ++by) {
        for (int bx = x1 / BLOCK_CELLS; bx <= x2 / BLOCK_CELLS; ++bx) {
            std::uint8_t* pixels = cache_.cached(kind, blockIndex(bx, by));
            if (!pixels)
                continue;
            const int cx1 = std::max(x1, bx * BLOCK_CELLS), cy1 = std::max(y1, by * BLOCK_CELLS);
            const int cx2 = std::min(x2, bx * BLOCK_CELLS + BLOCK_CELLS - 1);
            const int cy2 = std::min(y2, by * BLOCK_CELLS + BLOCK_CELLS - 1);
            drawCells(image, cx1, cy1, cx2, cy2, cellInBlock(pixels, cx1, cy1), BLOCK_PIXELS);
        }
    }
}

void MapRenderer::renderCellsUsingTiles(TileKind layer, int first, int last)
{
    const int w = clampedColumns();
    const int h = clampedRows();
    const MapImage image = layer == TILE_TAG ? MapImage::Tags : MapImage::Map;
    if (layer != TILE_BG && layer != TILE_OBJ && layer != TILE_TAG)
        return;
    cache_.forEachFresh([&](int kind, std::size_t index, std::uint8_t* pixels) {
        if (kind != static_cast<int>(image))
            return;
        const int bx = static_cast<int>(index % static_cast<std::size_t>(blockColumns_)) * BLOCK_CELLS;
        const int by = static_cast<int>(index / static_cast<std::size_t>(blockColumns_)) * BLOCK_CELLS;
        for (int y = by; y < std::min(by + BLOCK_CELLS, h); ++y) {
            const MapCell* row = map_.cellAt(0, y);
            for (int x = bx; x < std::min(bx + BLOCK_CELLS, w); ++x) {
                const MapCell& c = row[x];
                std::uint8_t* at = cellInBlock(pixels, x, y);
                if (layer == TILE_BG) {
                    if (c.hasBg() && c.bgTile >= first && c.bgTile <= last)
                        drawMapCell(c, nullptr, at, BLOCK_PIXELS);
                } else if (layer == TILE_OBJ) {
                    if (c.hasObj() && c.objTile >= first && c.objTile <= last)
                        drawMapCell(c, nullptr, at, BLOCK_PIXELS);
                } else if (c.tag >= first && c.tag <= last) {
                    drawTagCell(c.tag, at, BLOCK_PIXELS);
                }
            }
        }
    });
}

void MapRenderer::readPixels(MapImage image, int px, int py, int width, int height, std::uint8_t* out,
                             std::size_t stride) const
{
    if (width <= 0 || height <= 0)
        return;
    // Block by block, each one asked for once.
    for (int by = py >> BLOCK_SHIFT; by <= (py + height - 1) >> BLOCK_SHIFT; ++by) {
        const int top = std::max(py, by << BLOCK_SHIFT);
        const int bottom = std::min(py + height, (by + 1) << BLOCK_SHIFT);
        for (int bx = px >> BLOCK_SHIFT; bx <= (px + width - 1) >> BLOCK_SHIFT; ++bx) {
            const int left = std::max(px, bx << BLOCK_SHIFT);
            const int right = std::min(px + width, (bx + 1) << BLOCK_SHIFT);
            const std::uint8_t* from = blockPixels(image, bx, by) +
                                       static_cast<std::size_t>(top - (by << BLOCK_SHIFT)) * BLOCK_PIXELS +
                                       static_cast<std::size_t>(left - (bx << BLOCK_SHIFT));
            std::uint8_t* to = out + static_cast<std::size_t>(top - py) * stride + static_cast<std::size_t>(left - px);
            for (int y = top; y < bottom; ++y, from += BLOCK_PIXELS, to += stride)
                std::memcpy(to, from, static_cast<std::size_t>(right - left));
        }
    }
}

std::uint8_t MapRenderer::pixel(MapImage image, int px, int py) const
{
    std::uint8_t v = 0;
    readPixels(image, px, py, 1, 1, &v, 1);
    return v;
}

void MapRenderer::drawRows(MapImage image, int firstRow, int count, std::uint8_t* out, std::size_t stride) const
{
    const int last = std::min(firstRow + count, clampedRows()) - 1;
    if (clampedColumns() > 0 && last >= firstRow)
        drawCells(image, 0, firstRow, clampedColumns() - 1, last, out, stride);
}

} // namespace qm
