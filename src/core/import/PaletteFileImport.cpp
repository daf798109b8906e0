#include "core/import/PaletteFileImport.h"

#include "core/import/FileHead.h"
#include "core/tiles/PaletteFile.h"
#include "core/tiles/TileSetFile.h"

#include <algorithm>

namespace qm {

Result importPaletteBytes(std::span<const std::uint8_t> bytes, Workspace& ws, TileKind kind, Progress& progress)
{
    const TileKind k = kind == TILE_OBJ ? TILE_OBJ : TILE_BG;
    GbcPaletteGroup& group = ws.tiles.palettes.colourGroup(k);
    ProgressScope scope(progress, "Exporting palette...", 8);
    for (size_t p = 0; p < 8; ++p) {
        for (size_t c = 0; c < 4; ++c) {
            const size_t at = (p * 4 + c) * 2;
            if (at + 2 > bytes.size())
                break;
            group[p][c] = gbcColorOfWord(static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8));
        }
        scope.step();
    }
    ws.tiles.palettes.recomputeDisplay(k);
    ws.project.setChanged(CHANGED_PROJECT);
    return Result::success();
}

Result importPaletteFile(const std::string& path, Workspace& ws, TileKind kind, Progress& progress)
{
    // Enough for any palette file of 256 colours with long names; a larger
    // file is only read as far as the 64-byte palette data goes.
    std::vector<std::uint8_t> bytes;
    const ReadResult read = readFileHead(path, PALETTE_TEXT_LIMIT + 1, bytes);
    if (read != ReadStatus::Ok)
        return Result::failure(readFailureText(read, path, tileSetDamagedMessage(path)));
    const DecodedPalette decoded = decodePaletteFile(bytes, path);
    if (decoded.format == PaletteFileFormat::Binary) {
        bytes.resize(std::min(bytes.size(), PALETTE_FILE_SIZE));
        return importPaletteBytes(bytes, ws, kind, progress);
    }
    if (bytes.size() > PALETTE_TEXT_LIMIT)
        return Result::failure(tileSetDamagedMessage(path) + "\nThe file is larger than any palette file.");
    if (!decoded.error.empty())
        return Result::failure(tileSetDamagedMessage(path) + "\n" + decoded.error);
    const TileKind k = kind == TILE_OBJ ? TILE_OBJ : TILE_BG;
    GbcPaletteGroup& group = ws.tiles.palettes.colourGroup(k);
    ProgressScope scope(progress, "Exporting palette...", 8);
    for (size_t i = 0; i < decoded.colours.size(); ++i)
        group[i / 4][i % 4] = decoded.colours[i];
    for (int p = 0; p < 8; ++p)
        scope.step();
    ws.tiles.palettes.recomputeDisplay(k);
    ws.project.setChanged(CHANGED_PROJECT);
    return Result::success();
}

} // namespace qm
