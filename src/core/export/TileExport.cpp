#include "core/export/TileExport.h"

#include "core/export/Compressor.h"
#include "core/export/ExportFile.h"
#include "core/export/ExportFileName.h"
#include "core/export/MapExport.h"

#include <algorithm>

namespace qm {

std::array<std::uint8_t, 16> encodeTile2bpp(const CTile& tile)
{
    std::array<std::uint8_t, 16> out{};
    for (int y = 0; y < 8; ++y) {
        std::uint8_t low = 0, high = 0;
        for (int x = 0; x < 8; ++x) {
            const std::uint8_t v = tile.pixel(x, y);
            if (v > 3)
                continue;
            low |= static_cast<std::uint8_t>((v & 1) << (7 - x));
            high |= static_cast<std::uint8_t>(((v >> 1) & 1) << (7 - x));
        }
        out[static_cast<size_t>(y * 2)] = low;
        out[static_cast<size_t>(y * 2 + 1)] = high;
    }
    return out;
}

std::vector<std::uint8_t> tileAttributeTable(const TileSet& set, bool alternate, bool signedOrder)
{
    std::vector<std::uint8_t> out(TILES_PER_BANK);
    for (int p = 0; p < TILES_PER_BANK; ++p) {
        const int position = signedOrder ? (p + 128) % 256 : p;
        const CTile& tile = set.tiles[static_cast<size_t>(position + (alternate ? TILES_PER_BANK : 0))];
        out[static_cast<size_t>(p)] = static_cast<std::uint8_t>((tile.attr & 0x07) | (alternate ? 0x08 : 0));
    }
    return out;
}

namespace {

class TilesetPageRun {
public:
    TilesetPageRun(const TileLibrary& tiles, const ExportSettings& s, Prompter& prompter, Progress& progress,
                   const std::string& compressorSetting, ExportFormat format)
        : tiles_(tiles), s_(s), prompter_(prompter), progress_(progress), compressorSetting_(compressorSetting),
          format_(format)
    {
    }

    ExportReport run()
    {
        const std::uint16_t f = s_.tilesetFlags;
        if (f & TILES_BG_MAIN)
            tileData(EXPORT_BG_MAIN, tiles_.bg, false, s_.bgMainFrom, s_.bgMainTo);
        if (f & TILES_BG_MAIN_ATTR)
            attributes(EXPORT_BG_MAIN_ATTR, tiles_.bg, false);
        if (f & TILES_BG_ALT)
            tileData(EXPORT_BG_ALT, tiles_.bg, true, s_.bgAltFrom, s_.bgAltTo);
        if (f & TILES_BG_ALT_ATTR)
            attributes(EXPORT_BG_ALT_ATTR, tiles_.bg, true);
        if (f & TILES_OBJ_MAIN)
            tileData(EXPORT_OBJ_MAIN, tiles_.obj, false, s_.objMainFrom, s_.objMainTo);
        if (f & TILES_OBJ_MAIN_ATTR)
            attributes(EXPORT_OBJ_MAIN_ATTR, tiles_.obj, false);
        if (f & TILES_OBJ_ALT)
            tileData(EXPORT_OBJ_ALT, tiles_.obj, true, s_.objAltFrom, s_.objAltTo);
        if (f & TILES_OBJ_ALT_ATTR)
            attributes(EXPORT_OBJ_ALT_ATTR, tiles_.obj, true);
        return std::move(report_);
    }

private:
    std::string pathOf(int code) const
    {
        return exportPath(s_.tilesetLocation, exportFileName(code, s_.tilesetPrefix, s_.tilesetSuffix));
    }

    void tileData(int code, const TileSet& set, bool alternate, int from, int to)
    {
        const std::string path = pathOf(code);
        const bool compress = (s_.tilesetFlags & TILES_COMPRESS) != 0;
        std::string compressorDir;
        if (compress) {
            compressorDir = compressorDirectory(compressorSetting_);
            std::string message;
            if (!compressorPresent(compressorDir, message)) {
                prompter_.inform(message);
                report_.skipped(shownExportPath(path, format_), message);
                return;
            }
        }
        std::optional<ExportFile> file = openExportFile(s_.tilesetLocation, path, prompter_, report_, format_);
        if (!file)
            return;
        {
            ProgressScope scope(progress_, set.kind() == TILE_OBJ ? "Export OBJ Tile Set" : "Export BG Tile Set",
                                std::max(0, to - from));
            const int bankStart = alternate ? TILES_PER_BANK : 0;
            if (from <= to)
                file->bytes().reserve(static_cast<size_t>(to - from + 1) * 16);
            for (int p = from; p <= to; ++p) {
                scope.step();
                const auto bytes = encodeTile2bpp(set.tiles[static_cast<size_t>(bankStart + p)]);
                file->bytes().insert(file->bytes().end(), bytes.begin(), bytes.end());
            }
        }
        if (!commitExportFile(*file, prompter_, report_) || !compress)
            return;
        // The packed copy beside it is an export file of its own.
        const std::string packedPath = packedPathFor(path);
        std::string reason;
        std::optional<std::vector<std::uint8_t>> packed =
            runCompressor(compressorDir, file->bytes(), shownExportPath(packedPath, format_), prompter_, reason);
        if (!packed) {
            report_.skipped(shownExportPath(packedPath, format_), reason);
            return;
        }
        std::optional<ExportFile> packedFile =
            openExportFile(s_.tilesetLocation, packedPath, prompter_, report_, format_);
        if (!packedFile)
            return;
        packedFile->bytes() = std::move(*packed);
        commitExportFile(*packedFile, prompter_, report_);
    }

    void attributes(int code, const TileSet& set, bool alternate)
    {
        std::optional<ExportFile> file = openExportFile(s_.tilesetLocation, pathOf(code), prompter_, report_, format_);
        if (!file)
            return;
        {
            ProgressScope scope(progress_, "Exporting tile set attributes data", TILES_PER_BANK);
            file->bytes() = tileAttributeTable(set, alternate, (s_.tilesetFlags & TILES_SIGNED) != 0);
            for (int p = 0; p < TILES_PER_BANK; ++p)
                scope.step();
        }
        commitExportFile(*file, prompter_, report_);
    }

    const TileLibrary& tiles_;
    const ExportSettings& s_;
    Prompter& prompter_;
    Progress& progress_;
    const std::string& compressorSetting_;
    ExportFormat format_;
    ExportReport report_;
};

} // namespace

ExportReport exportTilesetPage(const TileLibrary& tiles, const ExportSettings& settings, Prompter& prompter,
                               Progress& progress, const std::string& compressorSetting, ExportFormat format)
{
    const std::uint16_t any = TILES_BG_MAIN | TILES_BG_ALT | TILES_BG_MAIN_ATTR | TILES_BG_ALT_ATTR |
                              TILES_OBJ_MAIN | TILES_OBJ_ALT | TILES_OBJ_MAIN_ATTR | TILES_OBJ_ALT_ATTR;
    if (settings.tilesetFlags & any) {
        ExportReport report;
        if (settings.tilesetLocation.empty()) {
            prompter.inform(MSG_EMPTY_LOCATION);
            report.skipped("", MSG_EMPTY_LOCATION);
            return report;
        }
        if (refuseExportNames(ExportPage::Tileset, settings.tilesetPrefix, settings.tilesetSuffix, prompter, report))
            return report;
    }
    return TilesetPageRun(tiles, settings, prompter, progress, compressorSetting, format).run();
}

} // namespace qm
