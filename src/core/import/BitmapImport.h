#pragma once
// Turns a picture into BG tiles, a map and BG palettes (PicturePlan.h says
// how the picture is cut and coloured).
//
// The editor's import grows the map at its top and left when it is smaller
// than the picture and writes the blocks into its top-left cells, the tiles
// from tile 0 up and the palettes from palette 0 up; the rest stays. In DMG
// mode each cell gets its block's tile on the layer of the page shown in the
// tile set manager, and past 511 distinct blocks every new block is stored
// into tile 511. In GBC mode the cells are always the BG layer's.
//
// A replacing import (the command line's) makes the map the picture's size,
// keeping the OBJ part and tag of the cells it had, and replaces the whole BG
// tile set and the BG colour palettes: what the picture does not fill is
// blank tiles and grey palettes.

#include "core/base/Result.h"
#include "core/import/BitmapReader.h"
#include "core/import/MapImport.h"
#include "core/import/PicturePlan.h"
#include "core/project/Workspace.h"

#include <cstdint>
#include <span>
#include <string>

namespace qm {

inline constexpr const char* MSG_BITMAP_TOO_MANY_COLOURS = "Can not import more that 256 color bitmap.";
inline constexpr const char* MSG_MAP_GROWTH_FAILED = MSG_NEW_MAP_FAILED;
inline constexpr const char* MSG_PICTURE_TOO_SMALL = "the picture is smaller than one block of 8 x 8 pixels";

struct BitmapImportSummary {
    int tilesMade = 0;  // tiles written (at most 512)
    int blocksWide = 0; // whole 8x8 blocks across
    int blocksHigh = 0; // whole 8x8 blocks down
    int palettes = 0;   // palettes written
    int bank1Tiles = 0; // tiles from 256 on
};

enum class MapPlacement { Grow, Replace };

struct PictureImportOptions {
    PictureMode mode = PictureMode::Dmg;
    TileReuse reuse = TileReuse::Exact;
    // DMG mode with MapPlacement::Grow: the layer of the shown page (TILE_BG,
    // TILE_OBJ, TILE_TAG, or TILE_NONE for the palette page, which leaves the
    // cells alone). Otherwise the BG layer is filled.
    TileKind layer = TILE_BG;
    MapPlacement placement = MapPlacement::Grow;
};

// What the import would make, with nothing changed.
Result planPictureImport(const BitmapImage& image, const PictureImportOptions& options, PicturePlan& plan);

// Imports an already decoded picture. Nothing changes unless it succeeds.
// A growing import marks the map changed; a replacing one the map, the BG
// tiles and the palettes.
Result importPicture(const BitmapImage& image, Workspace& workspace, const PictureImportOptions& options,
                     BitmapImportSummary* summary = nullptr);

// The editor's DMG import of a decoded picture.
Result importBitmapImage(const BitmapImage& image, Workspace& workspace, TileKind layer,
                         BitmapImportSummary* summary = nullptr);

// Reads (PictureFile.h) and imports a picture file's bytes the same way.
// Nothing changes unless the whole picture was good.
Result importBitmapBytes(std::span<const std::uint8_t> bytes, Workspace& workspace, TileKind layer,
                         BitmapImportSummary* summary = nullptr);

// The same from a file.
Result importBitmapFile(const std::string& path, Workspace& workspace, TileKind layer,
                        BitmapImportSummary* summary = nullptr);

} // namespace qm
