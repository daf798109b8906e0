#include "core/reports/TileCommentReport.h"
#include "ReportLines.h"

#include <gtest/gtest.h>

#include <memory>

using namespace qm;
using namespace qm::test;

TEST(TileCommentReport, HeaderAndBothBanks)
{
    auto set = std::make_unique<TileSet>(TILE_OBJ);
    set->tiles[5].setComment("hello");
    set->tiles[5].setPalette(3);
    set->tiles[300].setComment("alt");
    ProjectState project;
    project.projectPath = "/p/level1.qmm";
    project.bgTileSetPath = "/p/level1.qmb";
    project.objTileSetPath = "/p/level1.qmo";
    NullProgress quiet;
    const std::vector<std::string> lines = linesOf(tileCommentReportText(*set, false, project, quiet));
    const std::vector<std::string> head = {"Quilt Mark v2.0 - Tile's Comment Report.",
                                           "Project File : /p/level1.qmm",
                                           "",
                                           "OBJ Tile Set: /p/level1.qmo",
                                           "OBJ Main Tile Set :",
                                           "Quilt Mark v2.0 - Tile Set Report.",
                                           "---------------"};
    ASSERT_GT(lines.size(), head.size());
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 7), head);
    EXPECT_EQ(lines[7], "Tile   0: Pal: 0 Comment: ");
    EXPECT_EQ(lines[12], "Tile   5: Pal: 3 Comment: hello");
    EXPECT_EQ(lines[7 + 255], "Tile 255: Pal: 0 Comment: ");
    EXPECT_EQ(lines[263], "");
    EXPECT_EQ(lines[264], "");
    EXPECT_EQ(lines[265], "OBJ Alternate Tile Set :");
    EXPECT_EQ(lines[266], "-----------------------");
    EXPECT_EQ(lines[267 + 44], "Tile  44: Pal: 0 Comment: alt");
    EXPECT_EQ(lines.size(), 267u + 256u + 1u);

    auto bg = std::make_unique<TileSet>(TILE_BG);
    const std::vector<std::string> bgLines = linesOf(tileCommentReportText(*bg, true, project, quiet));
    EXPECT_EQ(bgLines[3], "BG Tile Set: /p/level1.qmb");
    EXPECT_EQ(bgLines[265], "BG Alternate Tile Set :");
}
