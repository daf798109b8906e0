#pragma once
// Import > Map Attribute: one Game Boy Color attribute byte per map cell, row
// by row (the attribute map the export writes), into the BG or OBJ layer.
//
// Bits of a byte: 0-2 palette, 3 bank (a tile number below 256 is raised by
// 256; when clear the tile number stays), 4 ignored, 5 horizontal flip, 6
// vertical flip, 7 priority. The layer marks and every other field stay.

#include "core/base/Progress.h"
#include "core/base/Result.h"
#include "core/project/ProjectState.h"

#include <cstdint>
#include <span>
#include <string>

namespace qm {

inline constexpr const char* MSG_ATTRIBUTE_IMPORT_NOTICE =
    "The file will be imported according to the map size.\nSo make sure the dimension of map attribute is same as "
    "current map size.";

// Applies one attribute byte to the layer (TILE_BG, or TILE_OBJ for any other value) of a cell.
void applyGbcAttribute(MapCell& cell, TileKind layer, std::uint8_t value);

// Cells past the end of the data stay as they were; bytes past the map are
// not read. Marks the map changed.
Result importAttributeBytes(std::span<const std::uint8_t> bytes, ProjectState& project, TileKind layer,
                            Progress& progress);
// "Unable to open file " followed by the path when it cannot be read.
Result importAttributeFile(const std::string& path, ProjectState& project, TileKind layer, Progress& progress);

} // namespace qm
