#include "core/reports/UnusedTileReport.h"
#include "ReportLines.h"

#include <gtest/gtest.h>

#include <memory>

using namespace qm;
using namespace qm::test;

TEST(UnusedTileReport, EmptyMapUsesTileZeroOnly)
{
    ProjectState project;
    project.projectPath = "/p/a.qmm";
    project.bgTileSetPath = "/p/a.qmb";
    project.objTileSetPath = "/p/a.qmo";
    project.map.create(4, 3);
    project.map.cellAt(1, 1)->bgTile = 256 + 7; // counts even without the BG mark
    project.map.cellAt(2, 1)->set(0, 0, TILE_OBJ, 300, 0);
    NullProgress quiet;
    const std::vector<std::string> bg = linesOf(unusedTileReportText(project, TILE_BG, quiet));
    EXPECT_EQ(bg[0], "Quilt Mark v1.0 - Unused BG Tile Report.");
    EXPECT_EQ(bg[1], "Project File : /p/a.qmm");
    EXPECT_EQ(bg[2], "BG Tile Set: /p/a.qmb");
    EXPECT_EQ(bg[3], "");
    EXPECT_EQ(bg[4], "Unused BG0 Tile ");
    EXPECT_EQ(bg[5], "--------------");
    EXPECT_EQ(bg[6], "Tile 1");
    EXPECT_EQ(bg[6 + 254], "Tile 255");
    EXPECT_EQ(bg[261], "");
    EXPECT_EQ(bg[262], "Unused BG1 Tile ");
    EXPECT_EQ(bg[263], "--------------");
    EXPECT_EQ(bg[264 + 6], "Tile 6");
    EXPECT_EQ(bg[264 + 7], "Tile 8");
    EXPECT_EQ(bg.size(), 264u + 255u + 1u);

    const std::vector<std::string> obj = linesOf(unusedTileReportText(project, TILE_OBJ, quiet));
    EXPECT_EQ(obj[0], "Quilt Mark v1.0 - Unused OBJ Tile Report.");
    EXPECT_EQ(obj[2], "OBJ Tile Set: /p/a.qmo");
    EXPECT_EQ(obj[4], "Unused OBJ0 Tile ");
    EXPECT_EQ(obj[262], "Unused OBJ1 Tile ");
    EXPECT_EQ(obj[264 + 43], "Tile 43");
    EXPECT_EQ(obj[264 + 44], "Tile 45");
}
