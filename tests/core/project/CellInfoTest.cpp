#include "core/project/CellInfo.h"
#include "core/project/Workspace.h"

#include <gtest/gtest.h>

#include <memory>

namespace qm {
namespace {

class CellInfoTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ws = std::make_unique<Workspace>();
        ASSERT_TRUE(ws->project.map.create(4, 3));
        MapCell& both = *ws->project.map.cellAt(1, 2);
        both.place(TILE_BG, 300, 3);
        both.bgAttr |= ATTR_FLIP_H | ATTR_FLIP_V | ATTR_PRIORITY;
        both.place(TILE_OBJ, 12, 6);
        both.objAttr |= ATTR_FLIP_V;
        both.tag = 17;
        ws->tiles.bg.tiles[300].setComment("grass");
    }
    std::optional<std::string> info(int x, int y, bool b, bool o)
    {
        return cellInfoText(ws->project.map, ws->tiles, x, y, b, o);
    }
    std::unique_ptr<Workspace> ws;
};

TEST_F(CellInfoTest, KeysChooseTheLayer)
{
    EXPECT_EQ(info(1, 2, false, false), "Tile Set:BG, OBJ. B+Click to see BG tileset. O+Click to see OBJ tileset");
    EXPECT_EQ(info(1, 2, true, false),
              "x:1 y:2 Tile Set:BG1 Tile:44 Pal:3 Tag:17 Flip:h,v Priority:BG Comment:grass");
    EXPECT_EQ(info(1, 2, false, true),
              "x:1 y:2 Tile Set:OBJ0 Tile:12 Pal:6 Tag:17 Flip:v Priority:BG Comment:");
    EXPECT_EQ(info(1, 2, true, true), info(1, 2, false, true));
}

TEST_F(CellInfoTest, SingleLayersEmptyCellsAndMissingTiles)
{
    ws->project.map.cellAt(0, 0)->place(TILE_OBJ, 5, 0);
    ws->project.map.cellAt(0, 0)->objAttr |= ATTR_FLIP_H;
    EXPECT_EQ(info(0, 0, false, false), "x:0 y:0 Tile Set:OBJ0 Tile:5 Pal:0 Tag:0 Flip:h Priority:OBJ Comment:");
    EXPECT_EQ(info(0, 0, true, false), ""); // B held, no BG tile
    EXPECT_EQ(info(3, 0, false, false), "");
    EXPECT_EQ(info(3, 0, false, true), "");
    EXPECT_EQ(info(4, 0, false, false), std::nullopt);
    ws->project.map.cellAt(2, 0)->bgAttr = TILE_BG;
    ws->project.map.cellAt(2, 0)->bgTile = 600;
    EXPECT_EQ(info(2, 0, false, false), std::nullopt); // leave the pane as it is
}

TEST(SelectionTextTest, Format)
{
    EXPECT_EQ(selectionText(2, 3, 5, 7, 4, 5), "a(2,3)-b(5,7)  Width:4  Height:5  Number of tiles:20");
}

} // namespace
} // namespace qm
