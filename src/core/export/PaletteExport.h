#pragma once
// The "Export Palette" run: the 64-byte Game Boy Color palette data of the BG
// and OBJ palettes (8 palettes of 4 colours, each red | green << 5 | blue << 10,
// little-endian).

#include "core/base/Progress.h"
#include "core/base/Prompter.h"
#include "core/base/Result.h"
#include "core/export/ExportFormat.h"
#include "core/export/ExportReport.h"
#include "core/project/ExportSettings.h"
#include "core/project/Workspace.h"
#include "core/tiles/GbcColor.h"
#include "core/tiles/PaletteStore.h"

#include <array>
#include <cstdint>
#include <string>

namespace qm {

std::array<std::uint8_t, 64> encodePaletteGroup(const GbcPaletteGroup& group);

// The colour palettes of kind (TILE_BG or TILE_OBJ) as a palette file in the
// format its name asks for (paletteFileFormatOf: JASC-PAL, GIMP, raw RGB or
// the 64-byte palette data), written crash-safely. Fails with
// "Unable to write file %s" and the system's reason.
Result writePaletteFile(const std::string& path, const PaletteStore& palettes, TileKind kind);

ExportReport exportPalettePage(const PaletteStore& palettes, const ExportSettings& settings, Prompter& prompter,
                               Progress& progress, ExportFormat format = ExportFormat::Binary);
inline ExportReport exportPalettePage(const Workspace& ws, Prompter& prompter, Progress& progress,
                                      ExportFormat format = ExportFormat::Binary)
{
    return exportPalettePage(ws.tiles.palettes, ws.project.exportSettings, prompter, progress, format);
}

} // namespace qm
