#include "core/edit/TilePaletteFollow.h"
#include "core/project/CellInfo.h"

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

TEST_F(CellInfoTest, PaletteFollowIsOneUndoableStep)
{
    MapGrid& map = ws->project.map;
    map.cellAt(0, 0)->place(TILE_BG, 10, 2);
    map.cellAt(1, 0)->place(TILE_BG, 11, 2);
    map.cellAt(2, 0)->place(TILE_BG, 11, 1); // other palette
    map.cellAt(3, 0)->place(TILE_BG, 30, 2); // outside the range
    MapRenderer renderer(map, ws->tiles);
    ASSERT_TRUE(renderer.createImages().map);
    UndoStore undo;
    const FollowResult r = followTilePaletteChange(*ws, undo, renderer, TilePaletteChange{2, 5, TILE_BG, 10, 20});
    EXPECT_TRUE(r.result);
    EXPECT_EQ(r.cellsChanged, 2);
    EXPECT_EQ(map.cellAt(0, 0)->palette(TILE_BG), 5);
    EXPECT_EQ(map.cellAt(1, 0)->palette(TILE_BG), 5);
    EXPECT_EQ(map.cellAt(2, 0)->palette(TILE_BG), 1);
    EXPECT_EQ(map.cellAt(3, 0)->palette(TILE_BG), 2);
    EXPECT_EQ(renderer.mapPixel(0, 0), 20);
    EXPECT_EQ(undo.stepKind, STEP_TILE_PALETTE);
    UndoListener quiet;
    undo.undo(*ws, quiet);
    EXPECT_EQ(map.cellAt(0, 0)->palette(TILE_BG), 2);

    // DMG mode: colour palettes are not shown, the map keeps its palettes;
    // tag tiles never change cells.
    ws->tiles.dmgMode = true;
    EXPECT_EQ(followTilePaletteChange(*ws, undo, renderer, TilePaletteChange{2, 5, TILE_BG, 10, 20}).cellsChanged, 0);
    ws->tiles.dmgMode = false;
    map.cellAt(0, 1)->place(TILE_OBJ, 3, 0);
    EXPECT_EQ(followTilePaletteChange(*ws, undo, renderer, TilePaletteChange{0, 4, TILE_TAG, 0, 511}).cellsChanged, 0);
    EXPECT_EQ(map.cellAt(0, 1)->palette(TILE_OBJ), 0);
}

TEST_F(CellInfoTest, PaletteFollowOfSeveralTilesIsUndoneTogether)
{
    // The manager gives tiles 1 and 2 palette 4 in one step: a snapshot and
    // a message for each tile.
    MapGrid& map = ws->project.map;
    map.cellAt(0, 0)->place(TILE_BG, 1, 0);
    map.cellAt(1, 0)->place(TILE_BG, 2, 0);
    MapRenderer renderer(map, ws->tiles);
    UndoStore undo;
    undo.beginStep(STEP_TILES);
    for (int t : {1, 2}) {
        CTile& tile = ws->tiles.bg.tiles[static_cast<size_t>(t)];
        ASSERT_TRUE(undo.saveTile(tile));
        tile.setPalette(4);
        followTilePaletteChange(*ws, undo, renderer,
                                TilePaletteChange{0, 4, TILE_BG, static_cast<std::int32_t>(t), static_cast<std::int32_t>(t)});
    }
    EXPECT_EQ(map.cellAt(0, 0)->palette(TILE_BG), 4);
    EXPECT_EQ(map.cellAt(1, 0)->palette(TILE_BG), 4);
    UndoListener quiet;
    ASSERT_TRUE(undo.undo(*ws, quiet));
    EXPECT_EQ(map.cellAt(0, 0)->palette(TILE_BG), 0);
    EXPECT_EQ(map.cellAt(1, 0)->palette(TILE_BG), 0);
    EXPECT_EQ(ws->tiles.bg.tiles[1].palette(), 0);
    EXPECT_EQ(ws->tiles.bg.tiles[2].palette(), 0);
}

TEST_F(CellInfoTest, PaletteFollowStopsWhenUndoMemoryRunsOut)
{
    MapGrid& map = ws->project.map;
    for (int x = 0; x < 4; ++x)
        map.cellAt(x, 0)->place(TILE_OBJ, 1, 0);
    MapRenderer renderer(map, ws->tiles);
    UndoStore undo;
    undo.maxRecords = 2;
    const FollowResult r = followTilePaletteChange(*ws, undo, renderer, TilePaletteChange{0, 1, TILE_OBJ, 0, 1});
    EXPECT_EQ(r.result.text(), "Not enough memory to save undo data, operation aborted.");
    EXPECT_EQ(r.cellsChanged, 2);
    EXPECT_EQ(map.cellAt(2, 0)->palette(TILE_OBJ), 0);
}

} // namespace
} // namespace qm
