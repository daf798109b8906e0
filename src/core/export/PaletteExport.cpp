#include "core/export/PaletteExport.h"

#include "core/base/Format.h"
#include "core/export/ExportFile.h"
#include "core/export/ExportFileName.h"
#include "core/export/MapExport.h"
#include "core/tiles/PaletteFile.h"

namespace qm {

std::array<std::uint8_t, 64> encodePaletteGroup(const GbcPaletteGroup& group)
{
    std::array<std::uint8_t, 64> out{};
    size_t i = 0;
    for (const GbcPalette& palette : group) {
        for (const GbcColor& c : palette) {
            const std::uint16_t v = gbcWordOf(c);
            out[i++] = static_cast<std::uint8_t>(v);
            out[i++] = static_cast<std::uint8_t>(v >> 8);
        }
    }
    return out;
}

Result writePaletteFile(const std::string& path, const PaletteStore& palettes, TileKind kind)
{
    const TileKind k = kind == TILE_OBJ ? TILE_OBJ : TILE_BG;
    const std::vector<std::uint8_t> bytes = encodePaletteFile(palettes.colourGroup(k), paletteFileFormatOf(path), k);
    if (const WriteResult written = writeFileAtomically(path, bytes); !written)
        return Result::failure(withOsReason(formatText(MSG_UNABLE_TO_WRITE_FILE, path.c_str()), written.error));
    return Result::success();
}

namespace {

void exportPaletteGroup(const std::string& location, const std::string& name, const GbcPaletteGroup& group,
                        Prompter& prompter, Progress& progress, ExportReport& report, ExportFormat format)
{
    std::optional<ExportFile> file = openExportFile(location, exportPath(location, name), prompter, report, format);
    if (!file)
        return;
    {
        ProgressScope scope(progress, "Exporting palette...", 8);
        const auto bytes = encodePaletteGroup(group);
        for (int p = 0; p < 8; ++p) {
            scope.step();
            file->bytes().insert(file->bytes().end(), bytes.begin() + p * 8, bytes.begin() + p * 8 + 8);
        }
    }
    commitExportFile(*file, prompter, report);
}

} // namespace

ExportReport exportPalettePage(const PaletteStore& palettes, const ExportSettings& s, Prompter& prompter,
                               Progress& progress, ExportFormat format)
{
    ExportReport report;
    if (s.paletteFlags & (PALETTE_BG | PALETTE_OBJ)) {
        if (s.paletteLocation.empty()) {
            prompter.inform(MSG_EMPTY_LOCATION);
            report.skipped("", MSG_EMPTY_LOCATION);
            return report;
        }
        if (refuseExportNames(ExportPage::Palette, s.palettePrefix, s.paletteSuffix, prompter, report))
            return report;
    }
    if (s.paletteFlags & PALETTE_BG)
        exportPaletteGroup(s.paletteLocation, exportFileName(EXPORT_PALETTE_BG, s.palettePrefix, s.paletteSuffix),
                           palettes.bgPalettes, prompter, progress, report, format);
    if (s.paletteFlags & PALETTE_OBJ)
        exportPaletteGroup(s.paletteLocation, exportFileName(EXPORT_PALETTE_OBJ, s.palettePrefix, s.paletteSuffix),
                           palettes.objPalettes, prompter, progress, report, format);
    return report;
}

} // namespace qm
