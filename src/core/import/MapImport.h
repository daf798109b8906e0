#pragma once
// Import > Map: a headerless map file of one byte per cell (the low 8 bits of
// a tile number, row by row) becomes a separate block of the size the user
// gives, which is then merged into the map at the cursor in one of four
// orientations, growing the map where the block does not fit.

#include "core/base/Progress.h"
#include "core/base/Result.h"
#include "core/project/ProjectState.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace qm {

inline constexpr const char* MSG_HEIGHT_NOT_POSITIVE = "Height must be greater than 0";
inline constexpr const char* MSG_WIDTH_NOT_POSITIVE = "Width must be greater than 0";
inline constexpr const char* MSG_NEW_MAP_FAILED = "Not Enough memory to create new map. Operation failed";
inline constexpr const char* MSG_MAP_IMPORT_NEEDS_LAYER =
    "Show the BG, OBJ or tag page of the tile set manager first: the map is imported into that layer.";

// The direction in which the block extends from the cursor cell: the block's
// opposite corner lies on the cursor.
enum class MapOrientation { TopLeft, TopRight, BottomLeft, BottomRight };

// The Map Dimension dialog: typing one side sets the other to file size / side.
std::optional<std::uint32_t> otherSideFor(std::uint64_t fileSize, std::uint32_t side);
// Its OK checks: height first, then width.
Result checkMapDimension(std::int64_t width, std::int64_t height);

struct MapImportOptions {
    int width = 1;
    int height = 1;
    bool swapBytes = false; // "Swap byte values over-under": every byte gets its top bit inverted
    MapOrientation orientation = MapOrientation::TopLeft;
    int cursorX = 0;
    int cursorY = 0;
    TileKind layer = TILE_BG; // the shown page: TILE_BG, TILE_OBJ or TILE_TAG
};

// Reads the file's bytes into a cleared block of width x height cells. A
// byte goes to the BG or OBJ layer (mark set, tile number = byte) or to the
// tag; missing bytes count as 0. Other layers are refused.
Result readMapBlock(std::span<const std::uint8_t> bytes, const MapImportOptions& options, MapGrid& block,
                    Progress& progress);

// Copies the block into the map, each block cell replacing the whole map
// cell, after growing the map on the sides the orientation names. The cursor
// is kept inside the map. Nothing changes when the map cannot grow.
Result mergeMapBlock(MapGrid& map, const MapGrid& block, int cursorX, int cursorY, MapOrientation orientation,
                     Progress& progress);

// Both steps, then marks the map changed.
Result importMapBytes(std::span<const std::uint8_t> bytes, const MapImportOptions& options, ProjectState& project,
                      Progress& progress);
// From a file: "Error! Unable to open file %s" when it cannot be read.
Result importMapFile(const std::string& path, const MapImportOptions& options, ProjectState& project,
                     Progress& progress);

} // namespace qm
