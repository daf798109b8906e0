#pragma once
// Turns a picture of at most 256 colours into BG tiles, a map and BG palette 0.
//
// The first four pixels of the top row are the key: they show colour 0, 1, 2
// and 3. Every pixel becomes the number of the first key colour it equals (0
// when none), the key pixels themselves become 0. The picture is cut into
// 8x8 blocks, row by row; each block is matched against BG tiles 0..n-1 made
// so far and becomes tile n when none equals it. Past 511 distinct blocks
// every new block is stored into tile 511. The map grows at its top and left
// when it is smaller than the picture, and each cell gets its block's tile on
// the layer of the page shown in the tile set manager.

#include "core/base/Result.h"
#include "core/import/BitmapReader.h"
#include "core/import/MapImport.h"
#include "core/project/Workspace.h"

#include <cstdint>
#include <span>
#include <string>

namespace qm {

inline constexpr const char* MSG_BITMAP_TOO_MANY_COLOURS = "Can not import more that 256 color bitmap.";
inline constexpr const char* MSG_MAP_GROWTH_FAILED = MSG_NEW_MAP_FAILED;

struct BitmapImportSummary {
    int tilesMade = 0;    // tiles written (at most 512)
    int blocksWide = 0;   // whole 8x8 blocks across
    int blocksHigh = 0;   // whole 8x8 blocks down
};

// Imports an already decoded picture. layer is the kind of the shown page
// (TILE_BG, TILE_OBJ, TILE_TAG, or TILE_NONE for the palette page, which
// leaves the cells alone). Marks the map changed. Fails only when the map cannot grow, and
// then changes nothing.
Result importBitmapImage(const BitmapImage& image, Workspace& workspace, TileKind layer,
                         BitmapImportSummary* summary = nullptr);

// Decodes and imports a bitmap file's bytes. A file that is not a bitmap or
// cannot be decoded fails with an empty message (nothing is shown); too many
// colours fail with "Can not import more that 256 color bitmap.". Nothing
// changes unless the whole picture was good.
Result importBitmapBytes(std::span<const std::uint8_t> bytes, Workspace& workspace, TileKind layer,
                         BitmapImportSummary* summary = nullptr);

// The same from a file.
Result importBitmapFile(const std::string& path, Workspace& workspace, TileKind layer,
                        BitmapImportSummary* summary = nullptr);

} // namespace qm
