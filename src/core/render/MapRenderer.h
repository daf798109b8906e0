#pragma once
// The map as two indexed pictures: the map image (BG and OBJ layers) and the
// tag image, 8 x 8 pixels a cell, one byte a pixel. Nothing holds either
// picture whole: it is drawn in blocks of BLOCK_CELLS x BLOCK_CELLS cells
// when they are first asked for, and the blocks are kept in a cache of
// bounded size (the least recently used go first). An edit renders again the
// cells it changed in the blocks that are cached; a block that is not cached
// is drawn from the map as it then is. Whoever wants pixels asks for a
// rectangle of them (readPixels), or has cell rows drawn into a buffer of its
// own (drawRows) without touching the cache.

#include "core/project/MapGrid.h"
#include "core/render/BlockCache.h"
#include "core/tiles/TileLibrary.h"

#include <cstddef>
#include <cstdint>

namespace qm {

// The cells one edit changed (a large fill, or its Undo) are rendered again
// as one area, row by row, instead of cell by cell, when there are at least
// AREA_RENDER_MIN_CELLS of them and they cover at least a quarter of their
// bounding rectangle x1..x2, y1..y2.
inline constexpr std::size_t AREA_RENDER_MIN_CELLS = 4096;
inline bool rendersAsOneArea(std::size_t cells, int x1, int y1, int x2, int y2)
{
    return cells >= AREA_RENDER_MIN_CELLS && x2 >= x1 &&
           std::int64_t(cells) * 4 >= std::int64_t(x2 - x1 + 1) * (y2 - y1 + 1);
}

enum class MapImage : std::uint8_t {
    Map = 0, // the BG and OBJ layers by the cell rule
    Tags = 1 // the tag layer
};

class MapRenderer {
public:
    static constexpr int BLOCK_CELLS = 32;
    static constexpr int BLOCK_PIXELS = BLOCK_CELLS * 8;
    static constexpr std::size_t DEFAULT_BUDGET = std::size_t(64) << 20;

    // Both are read on every render; neither is owned.
    MapRenderer(const MapGrid& map, const TileLibrary& tiles) : map_(map), tiles_(tiles) {}

    // Display switches of the cell rule; renderAll after a change.
    bool objHidden = false;      // the OBJ layer is not drawn
    bool objTransparent = false; // OBJ colour 0 shows what lies beneath

    // The bytes the cache may hold (at least a few blocks are always kept).
    void setMemoryBudget(std::size_t bytes) { cache_.setBudget(bytes); }
    std::size_t cachedBytes() const { return cache_.bytesHeld(); }

    // Takes the map's current size; every block is drawn again when asked for
    // (the memory of the cache is kept for them).
    void reset();

    // Size in cells (the map size at the last reset).
    int columns() const { return columns_; }
    int rows() const { return rows_; }

    // Edits. One cell or the cells of an inclusive rectangle (clamped to the
    // map) are rendered again where their blocks are cached.
    void renderCell(int x, int y);
    void renderArea(int x1, int y1, int x2, int y2) { renderArea(MapImage::Map, x1, y1, x2, y2); }
    void renderTagCell(int x, int y) { renderArea(MapImage::Tags, x, y, x, y); }
    void renderTagArea(int x1, int y1, int x2, int y2) { renderArea(MapImage::Tags, x1, y1, x2, y2); }
    void renderArea(MapImage image, int x1, int y1, int x2, int y2);
    // Every cell whose named layer shows a tile numbered first..last (for
    // TILE_TAG: every cell whose tag is in the range, in the tag image).
    void renderCellsUsingTiles(TileKind layer, int first, int last);
    // Everything (after a change of the display switches or the tiles).
    void renderAll() { cache_.markAllStale(); }

    // Pixels px..px+width-1 of pixel rows py..py+height-1 of an image into out,
    // rows stride bytes apart, drawing the blocks it needs into the cache. The
    // rectangle must lie inside columns() * 8 x rows() * 8.
    void readPixels(MapImage image, int px, int py, int width, int height, std::uint8_t* out,
                    std::size_t stride) const;
    // While a BlockPin lives, no block asked for is evicted, so that the
    // pointers of blockPixels stay good (the cache may outgrow its budget).
    class BlockPin {
    public:
        explicit BlockPin(const MapRenderer& r) : cache_(r.cache_) { cache_.pin(); }
        ~BlockPin() { cache_.unpin(); }
        BlockPin(const BlockPin&) = delete;
        BlockPin& operator=(const BlockPin&) = delete;

    private:
        BlockCache& cache_;
    };
    // The pixels of block (bx, by): BLOCK_PIXELS rows of BLOCK_PIXELS, drawn
    // first when not cached. Good until the next block is asked for, or while
    // a BlockPin lives.
    const std::uint8_t* blockPixels(MapImage image, int bx, int by) const;
    // The index at one pixel (through the cache).
    std::uint8_t pixel(MapImage image, int px, int py) const;
    std::uint8_t mapPixel(int px, int py) const { return pixel(MapImage::Map, px, py); }
    std::uint8_t tagPixel(int px, int py) const { return pixel(MapImage::Tags, px, py); }

    // Draws cell rows firstRow..firstRow+count-1, every column, into out
    // (columns() * 8 pixels a row, rows stride bytes apart), without the cache:
    // for whole pictures written out as they are drawn.
    void drawRows(MapImage image, int firstRow, int count, std::uint8_t* out, std::size_t stride) const;

private:
    struct FlipTable;
    // Areas of at least this many cells are drawn from a table of flipped tiles.
    static constexpr std::int64_t LARGE_AREA = 2048;

    // Cells x1..x2, y1..y2 (inside the map) with the pixel of cell (x1, y1) at out.
    void drawCells(MapImage image, int x1, int y1, int x2, int y2, std::uint8_t* out, std::size_t stride) const;
    void drawMapCell(const MapCell& cell, const FlipTable* table, std::uint8_t* out, std::size_t stride) const;
    void drawTagCell(int tag, std::uint8_t* out, std::size_t stride) const;
    int clampedColumns() const;
    int clampedRows() const;
    std::size_t blockIndex(int bx, int by) const
    {
        return static_cast<std::size_t>(by) * static_cast<std::size_t>(blockColumns_) + static_cast<std::size_t>(bx);
    }

    const MapGrid& map_;
    const TileLibrary& tiles_;
    int columns_ = 0;
    int rows_ = 0;
    int blockColumns_ = 0;
    mutable BlockCache cache_{std::size_t(BLOCK_PIXELS) * BLOCK_PIXELS, DEFAULT_BUDGET};
};

} // namespace qm
