#include "core/reports/DuplicateTileReport.h"
#include "core/reports/PaletteReport.h"
#include "core/reports/PriorityReport.h"
#include "core/reports/TileCommentReport.h"
#include "core/reports/UnusedTileReport.h"

#include <gtest/gtest.h>

#include <memory>

using namespace qm;

namespace {

// The lines of a report at its CR LF line ends; what follows the last one comes last.
std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t at; (at = text.find("\r\n", start)) != std::string::npos; start = at + 2)
        lines.push_back(text.substr(start, at - start));
    lines.push_back(text.substr(start));
    return lines;
}

std::unique_ptr<ProjectState> project()
{
    auto p = std::make_unique<ProjectState>();
    p->projectPath = "/p/a.qmm";
    p->bgTileSetPath = "/p/a.qmb";
    p->objTileSetPath = "/p/a.qmo";
    return p;
}

} // namespace

TEST(DuplicateTileReport, NamesEachDuplicateOnceBesideTheLowestEqualTile)
{
    NullProgress quiet;
    const std::vector<std::string> blank = linesOf(duplicateTileReportText(TileSet(TILE_BG), true, quiet));
    ASSERT_EQ(blank.size(), 512u); // every tile equals tile 0; the empty rest after the last line end
    EXPECT_EQ(blank[0], "BG0: 0 = BG0: 1");
    EXPECT_EQ(blank[255], "BG0: 0 = BG1: 0");
    EXPECT_EQ(blank[510], "BG0: 0 = BG1: 255");
    auto set = std::make_unique<TileSet>(TILE_OBJ); // every tile different: pixels 0..4 spell its number
    for (size_t t = 0; t < 512; ++t)
        for (size_t d = 0, v = t; d < 5; ++d, v /= 4)
            set->tiles[t].pixels[d] = static_cast<std::uint8_t>(v % 4);
    set->tiles[273].pixels = set->tiles[400].pixels = set->tiles[401].pixels = set->tiles[3].pixels;
    set->tiles[401].setPalette(5); // palettes do not matter
    set->tiles[511].pixels = set->tiles[510].pixels;
    set->tiles[20].pixels.fill(3); // mirror images are no duplicates
    set->tiles[20].pixels[0] = 1;
    set->tiles[21].pixels.fill(3);
    set->tiles[21].pixels[7] = 1;
    EXPECT_EQ(duplicateTileReportText(*set, false, quiet),
              "OBJ0: 3 = OBJ1: 17\r\nOBJ0: 3 = OBJ1: 144\r\nOBJ0: 3 = OBJ1: 145\r\nOBJ1: 254 = OBJ1: 255\r\n");
}

TEST(PaletteReport, TheDisplayColoursOfEveryGroup)
{
    PaletteStore palettes;
    palettes.objPalettes[2][1] = GbcColor{31, 0, 0};
    palettes.objMonoPalettes[0][3] = GbcColor{31, 0, 0};
    palettes.recomputeAll();
    const std::string grey = "Color0: 32 32 32  Color1: 105 108 108  Color2: 167 174 174  Color3: 230 239 239  ";
    std::string bg, obj;
    for (int p = 0; p < 8; ++p) {
        bg += "P " + std::to_string(p) + ":" + grey + "\r\n";
        obj += "P " + std::to_string(p) + ":" +
               (p == 2 ? "Color0: 32 32 32  Color1: 190 70 70  Color2: 167 174 174  Color3: 230 239 239  " : grey) + "\r\n";
    }
    NullProgress quiet;
    EXPECT_EQ(paletteReportText(palettes, *project(), quiet),
              "Quilt Mark v1.0 - Palette Report.\r\nProject File : /p/a.qmm\r\nBG Tile Set: /p/a.qmb\r\n"
              "OBJ Tile Set: /p/a.qmo\r\n\r\nBG Color Palette:\r\n-----------------\r\n" + bg +
              "\r\nOBJ Color Palette:\r\n--------------------\r\n" + obj +
              "\r\nBG Monochrome Palette:\r\n------------------------\r\n" + grey +
              "\r\n\r\nOBJ Monochrome Palette:\r\n---------------------------\r\n"
              "Color0: 32 32 32  Color1: 105 108 108  Color2: 167 174 174  Color3: 190 70 70  ");
}

TEST(PriorityReport, AGridOfTheBgPriorityBits)
{
    MapGrid map;
    map.create(3, 2);
    map.cellAt(1, 0)->bgAttr = TILE_BG | ATTR_PRIORITY;
    map.cellAt(2, 1)->objAttr = TILE_OBJ | ATTR_PRIORITY; // only the BG bit counts
    EXPECT_EQ(priorityReportText(map), "     0 1 2 \r\n0    0 1 0 \r\n1    0 0 0 \r\n");
    map.create(12, 100001);
    const std::string text = priorityReportText(map);
    EXPECT_TRUE(text.starts_with("     0 1 2 3 4 5 6 7 8 9 0 1 \r\n"));
    EXPECT_NE(text.find("\r\n99999"), std::string::npos);
    EXPECT_NE(text.find("\r\n100000" "0 "), std::string::npos); // a longer number is not cut
}

TEST(TileCommentReport, TheHeaderAndALineForEveryTileOfBothBanks)
{
    auto set = std::make_unique<TileSet>(TILE_OBJ);
    set->tiles[5].setComment("hello");
    set->tiles[5].setPalette(3);
    set->tiles[300].setComment("alt");
    NullProgress quiet;
    const std::vector<std::string> lines = linesOf(tileCommentReportText(*set, false, *project(), quiet));
    ASSERT_EQ(lines.size(), 267u + 256u + 1u);
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 8),
              (std::vector<std::string>{"Quilt Mark v2.0 - Tile's Comment Report.", "Project File : /p/a.qmm", "",
                                        "OBJ Tile Set: /p/a.qmo", "OBJ Main Tile Set :",
                                        "Quilt Mark v2.0 - Tile Set Report.", "---------------",
                                        "Tile   0: Pal: 0 Comment: "}));
    EXPECT_EQ(lines[12], "Tile   5: Pal: 3 Comment: hello");
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 262, lines.begin() + 267),
              (std::vector<std::string>{"Tile 255: Pal: 0 Comment: ", "", "", "OBJ Alternate Tile Set :",
                                        "-----------------------"}));
    EXPECT_EQ(lines[267 + 44], "Tile  44: Pal: 0 Comment: alt");
    const std::vector<std::string> bg = linesOf(tileCommentReportText(TileSet(TILE_BG), true, *project(), quiet));
    EXPECT_EQ(std::tuple(bg[3], bg[265]), std::tuple("BG Tile Set: /p/a.qmb", "BG Alternate Tile Set :"));
}

TEST(UnusedTileReport, ListsTheTilesNoCellUsesBankByBank)
{
    auto p = project();
    p->map.create(4, 3);
    p->map.cellAt(1, 1)->bgTile = 256 + 7; // counts even without the BG mark
    p->map.cellAt(2, 1)->set(0, 0, TILE_OBJ, 300, 0);
    NullProgress quiet;
    const std::vector<std::string> bg = linesOf(unusedTileReportText(*p, TILE_BG, quiet));
    EXPECT_EQ(std::vector<std::string>(bg.begin(), bg.begin() + 7),
              (std::vector<std::string>{"Quilt Mark v1.0 - Unused BG Tile Report.", "Project File : /p/a.qmm",
                                        "BG Tile Set: /p/a.qmb", "", "Unused BG0 Tile ", "--------------", "Tile 1"}));
    EXPECT_EQ(std::vector<std::string>(bg.begin() + 260, bg.begin() + 264),
              (std::vector<std::string>{"Tile 255", "", "Unused BG1 Tile ", "--------------"}));
    EXPECT_EQ(std::tuple(bg[264 + 6], bg[264 + 7], bg.size()), std::tuple("Tile 6", "Tile 8", 264u + 255u + 1u));
    const std::vector<std::string> obj = linesOf(unusedTileReportText(*p, TILE_OBJ, quiet));
    EXPECT_EQ(std::tuple(obj[0], obj[2], obj[4], obj[262]),
              std::tuple("Quilt Mark v1.0 - Unused OBJ Tile Report.", "OBJ Tile Set: /p/a.qmo", "Unused OBJ0 Tile ",
                         "Unused OBJ1 Tile "));
    EXPECT_EQ(std::tuple(obj[264 + 43], obj[264 + 44]), std::tuple("Tile 43", "Tile 45"));
}
