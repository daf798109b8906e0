#pragma once
// The tile editor's clipboard records.
//
// "TileDesigner": u32 count, then one "CTile" entry per frame position (see
// TileClipboard.h), rows top to bottom and, within a row, columns from right
// to left.
//
// "TileDesignerPixel": u32 width, u32 height of a pixel selection, then its
// pixels row by row, left to right, one byte each.

#include "core/base/Result.h"
#include "core/tiles/TileClipboard.h"
#include "core/tiles/TileFrame.h"
#include "core/tiles/TileSet.h"
#include "core/undo/UndoStore.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace qm {

inline constexpr std::string_view CLIPBOARD_TILE_DESIGNER = "TileDesigner";
inline constexpr std::string_view CLIPBOARD_TILE_DESIGNER_PIXEL = "TileDesignerPixel";

// Positions at tile 512 or beyond are written as blank entries, so the count
// always matches the frame.
std::vector<std::uint8_t> encodeTileDesigner(const TileSet& set, const TileFrame& frame);

// Saves the frame, then fills its positions in the copy's order with the
// entries' pixels, palettes and comments. A row ends at the first position
// whose number (row * width + column) is not below the entry count.
Result pasteTileDesigner(TileSet& set, UndoStore& undo, const TileFrame& frame,
                         const std::vector<TileClipEntry>& entries);

struct PixelRect {
    int left = 0, top = 0, right = 0, bottom = 0; // inclusive, frame pixels
    static PixelRect fromCorners(int x0, int y0, int x1, int y1);
    int width() const { return right - left + 1; }
    int height() const { return bottom - top + 1; }
};

struct PixelClip {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::vector<std::uint8_t> pixels; // width * height, colour indices 0..3
};

// Pixels outside the frame or on tiles at 512 or beyond are written as 0, as
// the editor shows them, so the record always holds width * height pixels.
std::vector<std::uint8_t> encodeTileDesignerPixel(const TileSet& set, const TileFrame& frame, const PixelRect& rect);
// nullopt unless the record holds exactly width * height pixels after its
// header. Pixel values are masked to 0..3.
std::optional<PixelClip> decodeTileDesignerPixel(std::span<const std::uint8_t> bytes);

// Saves the frame, then writes the pixels with their top left corner at
// (x, y) of the frame picture; pixels outside the frame or on tiles at 512 or
// beyond are dropped.
Result pasteTileDesignerPixel(TileSet& set, UndoStore& undo, const TileFrame& frame, int x, int y,
                              const PixelClip& clip);

} // namespace qm
