#include "core/import/PaletteFileImport.h"

#include "core/import/FileHead.h"
#include "core/tiles/TileSetFile.h"

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
            const std::uint8_t lo = bytes[at];
            const std::uint8_t hi = bytes[at + 1];
            group[p][c] = GbcColor{static_cast<std::uint8_t>(lo & 31),
                                   static_cast<std::uint8_t>(((hi & 3) << 3) | (lo >> 5)),
                                   static_cast<std::uint8_t>((hi >> 2) & 31)};
        }
        scope.step();
    }
    ws.tiles.palettes.recomputeDisplay(k);
    ws.project.setChanged(CHANGED_PROJECT);
    return Result::success();
}

Result importPaletteFile(const std::string& path, Workspace& ws, TileKind kind, Progress& progress)
{
    std::vector<std::uint8_t> bytes;
    const ReadResult read = readFileHead(path, PALETTE_FILE_SIZE, bytes);
    if (read != ReadStatus::Ok)
        return Result::failure(readFailureText(read, path, tileSetDamagedMessage(path)));
    return importPaletteBytes(bytes, ws, kind, progress);
}

} // namespace qm
