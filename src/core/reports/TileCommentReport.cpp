#include "core/reports/TileCommentReport.h"

#include "core/base/Format.h"

namespace qm {

std::string tileCommentReportText(const TileSet& set, bool bgNames, const ProjectState& project, Progress& progress)
{
    const char* prefix = bgNames ? "BG" : "OBJ";
    const std::string& setPath = bgNames ? project.bgTileSetPath : project.objTileSetPath;
    ProgressScope scope(progress, "Creating tile comment report...", TILES_PER_SET);
    std::string text = "Quilt Mark v2.0 - Tile's Comment Report.\r\n";
    text += formatText("Project File : %s\r\n\r\n", project.projectPath.c_str());
    text += formatText("%s Tile Set: %s\r\n", prefix, setPath.c_str());
    text += formatText("%s Main Tile Set :\r\n", prefix);
    text += "Quilt Mark v2.0 - Tile Set Report.\r\n";
    text += "---------------\r\n";
    const auto line = [&](int t, int shown) {
        const CTile& tile = set.tiles[static_cast<size_t>(t)];
        const std::string comment(tile.commentText());
        text += formatText("Tile %3d: Pal: %d Comment: %s\r\n", shown, tile.palette(), comment.c_str());
        scope.step();
    };
    for (int t = 0; t < TILES_PER_BANK; ++t)
        line(t, t);
    text += "\r\n\r\n";
    text += std::string(prefix) + " Alternate Tile Set :\r\n";
    text += "-----------------------\r\n";
    for (int t = TILES_PER_BANK; t < TILES_PER_SET; ++t)
        line(t, t - TILES_PER_BANK);
    return text;
}

} // namespace qm
