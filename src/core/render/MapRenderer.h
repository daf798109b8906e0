#pragma once
// The two pre-rendered indexed images of the whole map: mapImage holds the BG
// and OBJ layers, tagImage the tag layer. Each cell is an 8x8 block, one byte
// a pixel, rows of width * 8 bytes. The map view copies from them; edits
// re-render only the cells they change.

#include "core/base/Result.h"
#include "core/project/MapGrid.h"
#include "core/tiles/TileLibrary.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qm {

inline constexpr const char* MSG_NO_MEMORY_MAP_IMAGE = "Not enough memory to create map";
inline constexpr const char* MSG_NO_MEMORY_TAG_IMAGE = "Not enough memory to create tag map";

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

class MapRenderer {
public:
    // Both are read on every render; neither is owned.
    MapRenderer(const MapGrid& map, const TileLibrary& tiles) : map_(map), tiles_(tiles) {}

    // Display switches of the cell rule.
    bool objHidden = false;      // the OBJ layer is not drawn
    bool objTransparent = false; // OBJ colour 0 shows what lies beneath

    // Images larger than this many bytes are refused as if memory ran out.
    std::size_t maxImageBytes = std::size_t(1) << 31;

    struct CreateResult {
        Result map;
        Result tag;
    };
    // (Re)creates both images for the current map size: mapImage filled with
    // index 64, tagImage with 0. A failed image is left empty.
    CreateResult createImages();
    // Drops both images (the map is gone).
    void clear();

    // One cell by the cell rule; cells outside the map or the images are ignored.
    void renderCell(int x, int y);
    // The cells of the inclusive rectangle, clamped to the map.
    void renderArea(int x1, int y1, int x2, int y2);
    void renderTagCell(int x, int y, int tag);
    void renderTagArea(int x1, int y1, int x2, int y2);
    // Every cell whose named layer shows a tile numbered first..last (for
    // TILE_TAG: every cell whose tag is in the range, in the tag image).
    void renderCellsUsingTiles(TileKind layer, int first, int last);
    // Both images whole.
    void renderAll();

    // Size of the images in cells (the map size when they were created).
    int columns() const { return columns_; }
    int rows() const { return rows_; }
    bool hasMapImage() const { return !mapImage_.empty(); }
    bool hasTagImage() const { return !tagImage_.empty(); }
    // Bytes per image row: columns * 8.
    std::size_t stride() const { return static_cast<std::size_t>(columns_) * 8; }
    const std::uint8_t* mapImage() const { return mapImage_.data(); }
    const std::uint8_t* tagImage() const { return tagImage_.data(); }
    // The index at image pixel (px, py); the images must exist.
    std::uint8_t mapPixel(int px, int py) const { return mapImage_[static_cast<std::size_t>(py) * stride() + px]; }
    std::uint8_t tagPixel(int px, int py) const { return tagImage_[static_cast<std::size_t>(py) * stride() + px]; }

private:
    struct FlipTable;
    // Areas of at least this many cells are drawn from a table of flipped tiles.
    static constexpr std::int64_t LARGE_AREA = 2048;
    void renderCellAt(int x, int y, const MapCell& cell, const FlipTable* table);
    void renderTagAt(int x, int y, int tag);
    int clampedColumns() const;
    int clampedRows() const;

    const MapGrid& map_;
    const TileLibrary& tiles_;
    int columns_ = 0;
    int rows_ = 0;
    std::vector<std::uint8_t> mapImage_;
    std::vector<std::uint8_t> tagImage_;
};

} // namespace qm
