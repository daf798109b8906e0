#pragma once
// What an import of a picture makes, worked out before anything changes: the
// tiles, the palettes and each block's cell.
//
// DMG: the first four pixels of the top row are the key; every pixel becomes
// the number of the first key colour it equals (0 when none) and the key
// pixels themselves 0. The key colours are the one palette.
//
// GBC: colours are reduced to 15 bits; each block's colours (at most 4) must
// fit one palette; the blocks' colour sets are packed into at most 8 palettes
// (PalettePacking.h), each ordered darkest first; a block's pixels become the
// numbers of their colours in its palette. Tiles 256..511 are bank 1.
//
// Blocks are 8x8 pixels, row by row; pixels beyond the last whole block are
// ignored. A block becomes a new tile unless reuse finds an equal one.

#include "core/base/Result.h"
#include "core/import/BitmapReader.h"
#include "core/tiles/GbcColor.h"

#include <array>
#include <cstdint>
#include <vector>

namespace qm {

enum class PictureMode { Dmg, Gbc };
enum class TileReuse {
    None,  // every block its own tile
    Exact, // a block equal to a tile made before uses it
    Flips, // also one equal to it flipped (GBC only)
};

inline constexpr int GBC_PALETTE_COUNT = 8;
inline constexpr int LISTED_BLOCKS = 20; // blocks named in a refusal before the count

inline constexpr const char* MSG_BLOCK_COLOURS = "block (%d, %d) has %d colours; a tile can hold 4";
inline constexpr const char* MSG_TOO_MANY_PALETTES = "the picture needs %d palettes; 8 are available";
inline constexpr const char* MSG_BLOCK_WITHOUT_PALETTE = "block (%d, %d) fits none of the 8 palettes";
inline constexpr const char* MSG_TOO_MANY_TILES = "the picture needs %d tiles; 512 are available";
inline constexpr const char* MSG_MORE_BLOCKS = "... and %d more (%d blocks in all)";
inline constexpr const char* MSG_FLIPS_NEED_GBC =
    "flipped tiles are reused only in GBC mode: a DMG map has no flip attribute";

struct PlanOptions {
    PictureMode mode = PictureMode::Dmg;
    TileReuse reuse = TileReuse::Exact;
    // DMG only: past 512 tiles every further new block goes into tile 511
    // (the editor's import of old) instead of refusing the picture.
    bool lastTileTakesRest = false;
};

struct PlannedCell {
    std::uint16_t tile = 0;
    std::uint8_t palette = 0;
    std::uint8_t flips = 0; // ATTR_FLIP_H and ATTR_FLIP_V of the cell
};

struct PicturePlan {
    PictureMode mode = PictureMode::Dmg;
    int blocksWide = 0;
    int blocksHigh = 0;
    std::vector<PlannedCell> cells; // row-major
    std::vector<std::array<std::uint8_t, 64>> tiles;
    std::vector<std::uint8_t> tilePalettes; // the palette of the first block of each tile
    std::vector<GbcPalette> palettes;       // DMG: the key colours

    int bank1Tiles() const { return tiles.size() > 256 ? static_cast<int>(tiles.size()) - 256 : 0; }
};

// The number of distinct colours of the picture, counting no further than limit.
int countColours(const BitmapImage& image, int limit);

// DMG for pictures of at most 4 colours, GBC for the others.
PictureMode defaultModeFor(const BitmapImage& image);

// Fails with the messages above, each offending block on a line of its own
// (the first LISTED_BLOCKS and a count).
Result planPicture(const BitmapImage& image, const PlanOptions& options, PicturePlan& plan);

} // namespace qm
