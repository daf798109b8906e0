#pragma once
// The "Export Tile Set" run: 2-bits-per-pixel tile data of the BG and OBJ
// banks (optionally also packed by the outside compressor) and the per-tile
// attribute tables.

#include "core/base/Progress.h"
#include "core/base/Prompter.h"
#include "core/export/ExportFormat.h"
#include "core/export/ExportReport.h"
#include "core/project/ExportSettings.h"
#include "core/project/Workspace.h"
#include "core/tiles/TileLibrary.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace qm {

// The 16 bytes of one tile: per pixel row bit 0 of each colour index, then
// bit 1, the leftmost pixel in bit 7.
std::array<std::uint8_t, 16> encodeTile2bpp(const CTile& tile);

// The 256 attribute bytes of a bank (alternate: tiles 256..511), in signed
// order byte p for bank tile (p + 128) mod 256.
std::vector<std::uint8_t> tileAttributeTable(const TileSet& set, bool alternate, bool signedOrder);

// Writes every file the tile set page's settings ask for, as binary files or
// as source code. compressorSetting is the editor's "CompressorDir" (see
// compressorDirectory); a packed copy is written in the same format.
ExportReport exportTilesetPage(const TileLibrary& tiles, const ExportSettings& settings, Prompter& prompter,
                               Progress& progress, const std::string& compressorSetting = {},
                               ExportFormat format = ExportFormat::Binary);
inline ExportReport exportTilesetPage(const Workspace& ws, Prompter& prompter, Progress& progress,
                                      const std::string& compressorSetting = {},
                                      ExportFormat format = ExportFormat::Binary)
{
    return exportTilesetPage(ws.tiles, ws.project.exportSettings, prompter, progress, compressorSetting, format);
}

} // namespace qm
