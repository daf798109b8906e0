// The texts of the duplicated-tile, tile-comment, palette, unused-tile and priority reports.

#include "core/reports/DuplicateTileReport.h"
#include "core/reports/PaletteReport.h"
#include "core/reports/PriorityReport.h"
#include "core/reports/TileCommentReport.h"
#include "core/reports/UnusedTileReport.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>

using namespace qm;

namespace {

std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t at; (at = text.find("\r\n", start)) != std::string::npos; start = at + 2)
        lines.push_back(text.substr(start, at - start));
    lines.push_back(text.substr(start));
    return lines;
}

// Every tile different: tile t has pixel 0 = t % 4, pixel 1 = (t / 4) % 4, ...
std::unique_ptr<TileSet> distinctSet(TileKind kind)
{
    auto set = std::make_unique<TileSet>(kind);
    for (int t = 0; t < 512; ++t)
        for (int d = 0, v = t; d < 5; ++d, v /= 4)
            set->tiles[static_cast<size_t>(t)].pixels[static_cast<size_t>(d)] = static_cast<std::uint8_t>(v % 4);
    return set;
}

} // namespace

TEST(DuplicateTileReport, BlankSetPairsEveryTileWithTileZero)
{
    auto set = std::make_unique<TileSet>(TILE_BG);
    NullProgress quiet;
    const std::vector<std::string> lines = linesOf(duplicateTileReportText(*set, true, quiet));
    ASSERT_EQ(lines.size(), 512u); // 511 lines and the empty rest after the last line end
    EXPECT_EQ(lines[0], "BG0: 0 = BG0: 1");
    EXPECT_EQ(lines[254], "BG0: 0 = BG0: 255");
    EXPECT_EQ(lines[255], "BG0: 0 = BG1: 0");
    EXPECT_EQ(lines[510], "BG0: 0 = BG1: 255");
    EXPECT_EQ(lines[511], "");
}

TEST(DuplicateTileReport, EachDuplicateOnceWithTheLowestEqualTile)
{
    auto set = distinctSet(TILE_OBJ);
    set->tiles[273].pixels = set->tiles[3].pixels;
    set->tiles[400].pixels = set->tiles[3].pixels;
    set->tiles[401].pixels = set->tiles[400].pixels;
    set->tiles[401].setPalette(5); // palettes do not matter
    // Mirror images are not duplicates.
    set->tiles[20].pixels.fill(3);
    set->tiles[20].pixels[0] = 1;
    set->tiles[21].pixels.fill(3);
    set->tiles[21].pixels[7] = 1;
    NullProgress quiet;
    EXPECT_EQ(duplicateTileReportText(*set, true, quiet), "BG0: 3 = BG1: 17\r\nBG0: 3 = BG1: 144\r\nBG0: 3 = BG1: 145\r\n");
    EXPECT_EQ(duplicateTileReportText(*set, false, quiet),
              "OBJ0: 3 = OBJ1: 17\r\nOBJ0: 3 = OBJ1: 144\r\nOBJ0: 3 = OBJ1: 145\r\n");
}

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

TEST(PriorityReport, GridOfBgPriorityBits)
{
    MapGrid map;
    map.create(3, 2);
    map.cellAt(1, 0)->bgAttr = TILE_BG | ATTR_PRIORITY;
    map.cellAt(2, 1)->objAttr = TILE_OBJ | ATTR_PRIORITY; // only the BG bit counts
    EXPECT_EQ(priorityReportText(map), "     0 1 2 \r\n0    0 1 0 \r\n1    0 0 0 \r\n");

    MapGrid wide;
    wide.create(12, 100001);
    const std::string text = priorityReportText(wide);
    EXPECT_TRUE(text.starts_with("     0 1 2 3 4 5 6 7 8 9 0 1 \r\n"));
    EXPECT_NE(text.find("\r\n99999"), std::string::npos);
    EXPECT_NE(text.find("\r\n100000" "0 "), std::string::npos); // a longer number is not cut
}
