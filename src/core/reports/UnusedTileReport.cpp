#include "core/reports/UnusedTileReport.h"

#include "core/base/Format.h"

#include <algorithm>
#include <array>

namespace qm {

std::string unusedTileReportText(const ProjectState& project, TileKind layer, Progress& progress)
{
    const bool bg = layer == TILE_BG;
    const char* prefix = bg ? "BG" : "OBJ";
    const std::vector<MapCell>& cells = project.map.cells;
    ProgressScope scope(progress, "Checking unused tile...", static_cast<int>(std::min<size_t>(cells.size(), 0x7FFFFFFF)));
    std::array<bool, TILES_PER_SET> used{};
    for (const MapCell& cell : cells) {
        const int tile = bg ? cell.bgTile : cell.objTile;
        if (tile < TILES_PER_SET)
            used[static_cast<size_t>(tile)] = true;
        scope.step();
    }
    std::string text = formatText("Quilt Mark v1.0 - Unused %s Tile Report.\r\n", prefix);
    text += formatText("Project File : %s\r\n", project.projectPath.c_str());
    text += formatText("%s Tile Set: %s\r\n\r\n", prefix,
                       (bg ? project.bgTileSetPath : project.objTileSetPath).c_str());
    text += formatText("Unused %s0 Tile \r\n", prefix);
    text += "--------------\r\n";
    for (int t = 0; t < TILES_PER_BANK; ++t)
        if (!used[static_cast<size_t>(t)])
            text += formatText("Tile %d\r\n", t);
    text += formatText("\r\nUnused %s1 Tile \r\n", prefix);
    text += "--------------\r\n";
    for (int t = TILES_PER_BANK; t < TILES_PER_SET; ++t)
        if (!used[static_cast<size_t>(t)])
            text += formatText("Tile %d\r\n", t - TILES_PER_BANK);
    return text;
}

} // namespace qm
