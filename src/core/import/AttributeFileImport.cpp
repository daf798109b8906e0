#include "core/import/AttributeFileImport.h"

#include "core/import/FileHead.h"

#include <algorithm>

namespace qm {

void applyGbcAttribute(MapCell& cell, TileKind layer, std::uint8_t a)
{
    const bool bg = layer == TILE_BG;
    std::uint8_t& attr = bg ? cell.bgAttr : cell.objAttr;
    std::uint16_t& tile = bg ? cell.bgTile : cell.objTile;
    std::uint8_t bits = static_cast<std::uint8_t>((a & 0x07) << 2);
    if (a & 0x20)
        bits |= ATTR_FLIP_H;
    if (a & 0x40)
        bits |= ATTR_FLIP_V;
    if (a & 0x80)
        bits |= ATTR_PRIORITY;
    attr = static_cast<std::uint8_t>((attr & TILE_KIND_MASK) | bits);
    if ((a & 0x08) && tile < TILES_PER_BANK)
        tile = static_cast<std::uint16_t>(tile + TILES_PER_BANK);
}

Result importAttributeBytes(std::span<const std::uint8_t> bytes, ProjectState& project, TileKind layer,
                            Progress& progress)
{
    const TileKind k = layer == TILE_BG ? TILE_BG : TILE_OBJ;
    std::vector<MapCell>& cells = project.map.cells;
    ProgressScope scope(progress, "Import map attributes.", static_cast<int>(std::min<size_t>(cells.size(), 0x7FFFFFFF)));
    const size_t n = std::min(cells.size(), bytes.size());
    for (size_t i = 0; i < n; ++i) {
        applyGbcAttribute(cells[i], k, bytes[i]);
        scope.step();
    }
    project.setChanged(CHANGED_MAP);
    return Result::success();
}

Result importAttributeFile(const std::string& path, ProjectState& project, TileKind layer, Progress& progress)
{
    std::vector<std::uint8_t> bytes;
    const ReadResult read = readFileHead(path, project.map.cells.size(), bytes);
    if (read != ReadStatus::Ok)
        return Result::failure(readFailureText(read, path, "Unable to open file " + path));
    return importAttributeBytes(bytes, project, layer, progress);
}

} // namespace qm
