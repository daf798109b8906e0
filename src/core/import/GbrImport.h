#pragma once
// Import of the object files of the GBTD tile designer (.gbr): the tile data
// object (8-wide, 16 x 16 and 32 x 32 tiles, cut into 8 x 8 tiles), the
// palettes object and the tile palettes object, into the target tile set from
// tile 0 upward and into its palette group (OBJ palettes for the OBJ set, BG
// palettes for the BG and the tag set).
//
// The file is read whole before anything changes: a file that does not start
// with "GBO", that ends inside an object, whose tiles have a size we cannot
// cut, or whose tile palettes object comes without a tile data object before
// it is refused with "Invalid gbr file." and the tile set stays as it was.

#include "core/base/Result.h"
#include "core/tiles/TileLibrary.h"

#include <cstdint>
#include <span>
#include <string>

namespace qm {

inline constexpr const char* MSG_INVALID_GBR = "Invalid gbr file.";
// Shown by the command after a failed import, following the reader's own message.
inline constexpr const char* MSG_GBR_LOAD_FAILED = "Error!! Unable to load the specified gbr file.";

// GBTD object types we read.
inline constexpr std::uint16_t GBR_PRODUCER = 1;
inline constexpr std::uint16_t GBR_TILE_DATA = 2;
inline constexpr std::uint16_t GBR_PALETTES = 13;
inline constexpr std::uint16_t GBR_TILE_PALETTES = 14;

// target is TILE_BG, TILE_OBJ or TILE_TAG. Changes no map and no change flag.
Result importGbrBytes(std::span<const std::uint8_t> bytes, TileLibrary& library, TileKind target);
Result importGbrFile(const std::string& path, TileLibrary& library, TileKind target);

} // namespace qm
