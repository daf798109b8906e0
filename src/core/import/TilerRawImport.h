#pragma once
// Import of the raw output of the Tiler tool (.raw, 6184 bytes): 8 palettes of
// 4 colours (u16, 5 bits a component), 360 tiles in the Game Boy two-bit
// format and one palette byte per tile, into tiles 0..359 of the target set
// and its palette group.

#include "core/base/Result.h"
#include "core/tiles/TileLibrary.h"

#include <cstdint>
#include <span>
#include <string>

namespace qm {

inline constexpr size_t TILER_RAW_SIZE = 6184;
inline constexpr int TILER_RAW_TILES = 360;
inline constexpr const char* MSG_INVALID_TILER_RAW = "Invalid Tiler raw file.";
// The same refusals from a file, naming it.
inline constexpr const char* MSG_TILER_RAW_TOO_SHORT =
    "Invalid Tiler raw file %s: it holds %zu bytes, a Tiler raw file holds 6184.";
inline constexpr const char* MSG_TILER_RAW_TOO_LARGE = "Invalid Tiler raw file %s: it is far too large to be one.";

// A file shorter than 6184 bytes is refused with "Invalid Tiler raw file."
// and nothing changes; bytes after the 6184th are not read. target is
// TILE_BG, TILE_OBJ or TILE_TAG. Changes no map and no change flag.
Result importTilerRawBytes(std::span<const std::uint8_t> bytes, TileLibrary& library, TileKind target);
// From a file: "Error! Unable to open file %s" when it cannot be read; a
// file that is too short or far too large is refused with a message that
// names it.
Result importTilerRawFile(const std::string& path, TileLibrary& library, TileKind target);

} // namespace qm
