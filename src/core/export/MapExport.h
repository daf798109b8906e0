#pragma once
// The "Export Map" run: BG and OBJ map data, the BG and OBJ attribute maps
// (whole or as bit-plane files), the tag map and its run-length form, written
// as headerless binary files in the organisation the map page's settings ask for.

#include "core/base/Progress.h"
#include "core/base/Prompter.h"
#include "core/export/ExportFormat.h"
#include "core/export/ExportReport.h"
#include "core/project/ExportSettings.h"
#include "core/project/MapGrid.h"
#include "core/project/Workspace.h"

#include <cstdint>
#include <vector>

namespace qm {

inline constexpr const char* MSG_SPLIT_COUNT =
    "\"Split into\" needs at least 1 byte per file: %s was not written.";
inline constexpr const char* MSG_ROTATE_TALL =
    "\"Rotate 90°\" needs a map at least as wide as high: %s was not written.";
inline constexpr const char* MSG_DIAGONAL_TALL =
    "\"Remove leading placeholder tiles\" needs a map at least as wide as high: %s was not written.";
inline constexpr const char* MSG_EMPTY_LOCATION = "Please specify the location to export the file.";

// What one map file holds: the tile numbers or the attribute bytes of the BG
// or OBJ layer, or the tags (of TILE_TAG).
enum class MapEntryKind { Data, Attribute, Tag };

// The Game Boy Color background attribute byte of the BG or OBJ layer of a cell.
std::uint8_t mapAttributeByte(const MapCell& cell, TileKind layer);

// The whole stream of one kind of map file, as one file of unlimited size
// would hold it (split files are consecutive pieces of it). flags are the
// map page's: data structure, signed offset and "Rotate 90°" are taken from
// them; the caller has checked that rotation is possible. With
// "Remove leading placeholder tiles", mapDiagonalStream instead.
std::vector<std::uint8_t> mapStream(const MapGrid& map, std::uint16_t flags, TileKind layer, MapEntryKind kind,
                                    bool tags256);
// Only the diagonal band of a map at least as wide as high.
std::vector<std::uint8_t> mapDiagonalStream(const MapGrid& map, std::uint16_t flags, TileKind layer,
                                            MapEntryKind kind);

// Writes every file the map page's settings ask for, in order: BG map data,
// OBJ map data, BG attributes, OBJ attributes, tag map, RLE tag map; each
// as the binary file or as source code.
ExportReport exportMapPage(const MapGrid& map, const ExportSettings& settings, Prompter& prompter,
                           Progress& progress, ExportFormat format = ExportFormat::Binary);
inline ExportReport exportMapPage(const Workspace& ws, Prompter& prompter, Progress& progress,
                                  ExportFormat format = ExportFormat::Binary)
{
    return exportMapPage(ws.project.map, ws.project.exportSettings, prompter, progress, format);
}

} // namespace qm
