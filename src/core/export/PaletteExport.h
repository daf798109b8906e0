#pragma once
// The "Export Palette" run: the 64-byte Game Boy Color palette data of the BG
// and OBJ palettes (8 palettes of 4 colours, each red | green << 5 | blue << 10,
// little-endian).

#include "core/base/Progress.h"
#include "core/base/Prompter.h"
#include "core/export/ExportReport.h"
#include "core/project/ExportSettings.h"
#include "core/project/Workspace.h"
#include "core/tiles/GbcColor.h"
#include "core/tiles/PaletteStore.h"

#include <array>
#include <cstdint>

namespace qm {

std::array<std::uint8_t, 64> encodePaletteGroup(const GbcPaletteGroup& group);

ExportReport exportPalettePage(const PaletteStore& palettes, const ExportSettings& settings, Prompter& prompter,
                               Progress& progress);
inline ExportReport exportPalettePage(const Workspace& ws, Prompter& prompter, Progress& progress)
{
    return exportPalettePage(ws.tiles.palettes, ws.project.exportSettings, prompter, progress);
}

} // namespace qm
