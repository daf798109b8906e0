#pragma once
// Import > Tile set: copies tile pixels into the BG or the OBJ tile set, out
// of a tile set file of ours, a binary file of Game Boy two-bit tiles (16
// bytes a tile) or a PNG tile sheet (8x8 cells, left to right, top to
// bottom). Only pixels change: palettes and comments of the
// target tiles stay. The first imported tile goes to the current tile of the
// target set, the following ones to the next positions; tiles that would go
// beyond tile 511 are dropped.

#include "core/base/Prompter.h"
#include "core/base/Result.h"
#include "core/project/Workspace.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace qm {

inline constexpr const char* MSG_INVALID_IMPORT_RANGE = "Invalid import tile setting";
inline constexpr const char* MSG_INVALID_END_TILE = "Invalid end tile value. This file only has %d tiles";
inline constexpr const char* MSG_ONLY_512_TILES = "Only 512 tiles will be imported";
inline constexpr const char* MSG_INVALID_TILE_SOURCE = "Invalid or damaged file selected";
inline constexpr const char* MSG_SHEET_COLOUR_NUMBER = "tile %d of the sheet uses colour %d; a tile holds colours 0 to 3";
inline constexpr const char* MSG_SHEET_COLOURS =
    "the sheet's tiles use colours that no palette of the tile set holds; a sheet with a colour table gives "
    "the colour numbers";

enum class TileSourceFormat { Binary, TileSetFile, PngSheet };

// By the last three characters of the path, in any case: "qmb", "bts", "qmo"
// and "ots" name tile set files, "png" a tile sheet, anything else a binary
// tile file.
TileSourceFormat tileSourceFormatOf(const std::string& path);

// The number of tiles the dialog's range is checked against: file size / 16
// for a binary or a tile set file, the whole 8x8 cells of a tile sheet.
// Nothing when the file cannot be read (or is no PNG picture).
std::optional<long long> countSourceTiles(const std::string& path, TileSourceFormat format);

// What the dialog puts into "To Tile :" once a file is chosen: the last tile
// of a binary file or a tile sheet, 511 for a tile set file.
long long suggestedToTile(TileSourceFormat type, long long tiles);

// The checks of the dialog's OK button, in their order, against the source's
// tile count. When focusToTile is set the dialog moves the focus to "To Tile
// :". Either way it stays open.
struct TileRangeCheck {
    Result result;
    bool focusToTile = false;
};
TileRangeCheck checkTileImportRange(long long fromTile, long long toTile, long long tiles);

struct TileSetImportRequest {
    std::string path;
    TileKind target = TILE_BG; // TILE_BG, or TILE_OBJ for any other value
    long long fromTile = 0;
    long long toTile = 0;
    int currentTile = 0; // the current tile of the target set: the first position written
};

// Imports the request's tiles from the file's bytes. A range of more than
// 512 tiles is cut to 512 after telling the user "Only 512 tiles will be
// imported". Nothing changes when the data does not hold the tiles asked for.
// A tile sheet with a colour table gives the colour numbers (0..3) of its
// pixels; one without gives the numbers of their colours in the first palette
// of the target set that holds every colour of the imported tiles.
// Sets CHANGED_BG_TILES or CHANGED_OBJ_TILES after a successful import.
Result importTilePixels(std::span<const std::uint8_t> bytes, TileSourceFormat format,
                        const TileSetImportRequest& request, Workspace& workspace, Prompter& prompter);

// The same from the request's path; the format comes from its extension.
// "Error! Unable to open file %s" when it cannot be read.
Result importTileSet(const TileSetImportRequest& request, Workspace& workspace, Prompter& prompter);

// One tile in the Game Boy two-bit format (16 bytes: per row the low bits,
// then the high bits, leftmost pixel in bit 7) into 64 colour indices.
// Bytes missing from a shorter span count as 0.
void decodeGameBoyTile(std::span<const std::uint8_t> data, std::uint8_t* pixels);

} // namespace qm
