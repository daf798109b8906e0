#include "core/reports/PaletteReport.h"

#include "core/base/Format.h"

namespace qm {

namespace {

std::string colours(const DisplayPalette& palette)
{
    std::string s;
    for (int c = 0; c < 4; ++c) {
        const DisplayColour& d = palette[static_cast<size_t>(c)];
        s += formatText("Color%d: %2d %2d %2d  ", c, d.red, d.green, d.blue);
    }
    return s;
}

std::string table(const DisplayTable& t)
{
    std::string s;
    for (int p = 0; p < 8; ++p)
        s += formatText("P %d:", p) + colours(t[static_cast<size_t>(p)]) + "\r\n";
    return s;
}

} // namespace

std::string paletteReportText(const PaletteStore& palettes, const ProjectState& project, Progress& progress)
{
    ProgressScope scope(progress, "Creating palette report...", 4);
    std::string text = "Quilt Mark v1.0 - Palette Report.\r\n";
    text += formatText("Project File : %s\r\n", project.projectPath.c_str());
    text += formatText("BG Tile Set: %s\r\n", project.bgTileSetPath.c_str());
    text += formatText("OBJ Tile Set: %s\r\n\r\n", project.objTileSetPath.c_str());
    text += "BG Color Palette:\r\n-----------------\r\n";
    text += table(palettes.bgDisplay);
    scope.step();
    text += "\r\nOBJ Color Palette:\r\n--------------------\r\n";
    text += table(palettes.objDisplay);
    scope.step();
    text += "\r\nBG Monochrome Palette:\r\n------------------------\r\n";
    text += colours(palettes.bgMonoDisplay[0]);
    scope.step();
    text += "\r\n\r\nOBJ Monochrome Palette:\r\n---------------------------\r\n";
    text += colours(palettes.objMonoDisplay[0]);
    scope.step();
    return text;
}

} // namespace qm
