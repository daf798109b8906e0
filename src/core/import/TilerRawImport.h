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

// A file shorter than 6184 bytes is refused with "Invalid Tiler raw file."
// and nothing changes; bytes after the 6184th are not read. target is
// TILE_BG, TILE_OBJ or TILE_TAG. Changes no map and no change flag.
Result importTilerRawBytes(std::span<const std::uint8_t> bytes, TileLibrary& library, TileKind target);
Result importTilerRawFile(const std::string& path, TileLibrary& library, TileKind target);

} // namespace qm
