#include "core/reports/PaletteReport.h"
#include "ReportLines.h"

#include <gtest/gtest.h>

#include <memory>

using namespace qm;
using namespace qm::test;

TEST(PaletteReport, DisplayColoursOfEveryGroup)
{
    PaletteStore palettes;
    palettes.objPalettes[2][1] = GbcColor{31, 0, 0};
    palettes.recomputeDisplay(TILE_OBJ);
    ProjectState project;
    project.projectPath = "/p/a.qmm";
    project.bgTileSetPath = "/p/a.qmb";
    project.objTileSetPath = "/p/a.qmo";
    NullProgress quiet;
    const std::string text = paletteReportText(palettes, project, quiet);
    const std::string greys = "Color0: 32 32 32  Color1: 105 108 108  Color2: 167 174 174  Color3: 230 239 239  ";
    const std::vector<std::string> lines = linesOf(text);
    ASSERT_EQ(lines.size(), 34u);
    EXPECT_EQ(lines[0], "Quilt Mark v1.0 - Palette Report.");
    EXPECT_EQ(lines[1], "Project File : /p/a.qmm");
    EXPECT_EQ(lines[2], "BG Tile Set: /p/a.qmb");
    EXPECT_EQ(lines[3], "OBJ Tile Set: /p/a.qmo");
    EXPECT_EQ(lines[4], "");
    EXPECT_EQ(lines[5], "BG Color Palette:");
    EXPECT_EQ(lines[6], "-----------------");
    EXPECT_EQ(lines[7], "P 0:" + greys);
    EXPECT_EQ(lines[14], "P 7:" + greys);
    EXPECT_EQ(lines[15], "");
    EXPECT_EQ(lines[16], "OBJ Color Palette:");
    EXPECT_EQ(lines[17], "--------------------");
    EXPECT_EQ(lines[20], "P 2:Color0: 32 32 32  Color1: 190 70 70  Color2: 167 174 174  Color3: 230 239 239  ");
    EXPECT_EQ(lines[26], "");
    EXPECT_EQ(lines[27], "BG Monochrome Palette:");
    EXPECT_EQ(lines[28], "------------------------");
    EXPECT_EQ(lines[29], greys);
    EXPECT_EQ(lines[30], "");
    EXPECT_EQ(lines[31], "OBJ Monochrome Palette:");
    EXPECT_EQ(lines[32], "---------------------------");
    EXPECT_EQ(lines[33], greys);
    // The file ends with the OBJ monochrome colours and no line end.
    EXPECT_TRUE(text.ends_with("---------------------------\r\n" + greys));
}
