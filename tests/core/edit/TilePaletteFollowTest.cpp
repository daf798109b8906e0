#include "core/edit/TilePaletteFollow.h"

#include <gtest/gtest.h>

#include <memory>

namespace qm {
namespace {

class TilePaletteFollowTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(map().create(4, 3)); }
    MapGrid& map() { return ws->project.map; }
    int palette(int x, int y, TileKind layer = TILE_BG) { return map().cellAt(x, y)->palette(layer); }
    std::unique_ptr<Workspace> ws = std::make_unique<Workspace>();
    UndoStore undo;
    UndoListener quiet;
};

TEST_F(TilePaletteFollowTest, CellsOfTheTilesInTheOldPaletteTakeTheNewOneInOneUndoableStep)
{
    map().cellAt(0, 0)->place(TILE_BG, 10, 2);
    map().cellAt(1, 0)->place(TILE_BG, 20, 2);
    map().cellAt(2, 0)->place(TILE_BG, 11, 1); // another palette
    map().cellAt(3, 0)->place(TILE_BG, 21, 2); // outside the range
    map().cellAt(0, 1)->place(TILE_OBJ, 10, 2); // another layer
    MapRenderer renderer(map(), ws->tiles);
    ASSERT_TRUE(renderer.createImages().map);
    const FollowResult r = followTilePaletteChange(*ws, undo, renderer, TilePaletteChange{2, 5, TILE_BG, 10, 20});
    EXPECT_TRUE(r.result);
    EXPECT_EQ(r.cellsChanged, 2);
    EXPECT_EQ((std::vector<int>{palette(0, 0), palette(1, 0), palette(2, 0), palette(3, 0)}),
              (std::vector<int>{5, 5, 1, 2}));
    EXPECT_EQ(palette(0, 1, TILE_OBJ), 2);
    EXPECT_EQ(renderer.mapPixel(0, 0), 20);
    EXPECT_EQ(undo.stepKind, STEP_TILE_PALETTE);
    ASSERT_TRUE(undo.undo(*ws, quiet));
    EXPECT_EQ(palette(0, 0), 2);
    // DMG mode shows no colour palettes: the map keeps its own; tag tiles never change cells.
    ws->tiles.dmgMode = true;
    EXPECT_EQ(followTilePaletteChange(*ws, undo, renderer, TilePaletteChange{2, 5, TILE_BG, 10, 20}).cellsChanged, 0);
    ws->tiles.dmgMode = false;
    EXPECT_EQ(followTilePaletteChange(*ws, undo, renderer, TilePaletteChange{2, 4, TILE_TAG, 0, 511}).cellsChanged, 0);
    EXPECT_EQ(palette(0, 1, TILE_OBJ), 2);
}

TEST_F(TilePaletteFollowTest, ChangesOfSeveralTilesAreUndoneTogetherAndAMemoryFailureStops)
{
    // The manager gives tiles 1 and 2 palette 4 in one step: a snapshot and a message for each tile.
    map().cellAt(0, 0)->place(TILE_BG, 1, 0);
    map().cellAt(1, 0)->place(TILE_BG, 2, 0);
    MapRenderer renderer(map(), ws->tiles);
    undo.beginStep(STEP_TILES);
    for (int t : {1, 2}) {
        CTile& tile = ws->tiles.bg.tiles[static_cast<size_t>(t)];
        ASSERT_TRUE(undo.saveTile(tile));
        tile.setPalette(4);
        followTilePaletteChange(*ws, undo, renderer, TilePaletteChange{0, 4, TILE_BG, t, t});
    }
    EXPECT_EQ(std::tuple(palette(0, 0), palette(1, 0)), std::tuple(4, 4));
    ASSERT_TRUE(undo.undo(*ws, quiet));
    EXPECT_EQ(std::tuple(palette(0, 0), palette(1, 0)), std::tuple(0, 0));
    EXPECT_EQ(std::tuple(ws->tiles.bg.tiles[1].palette(), ws->tiles.bg.tiles[2].palette()), std::tuple(0, 0));

    for (int x = 0; x < 4; ++x)
        map().cellAt(x, 2)->place(TILE_OBJ, 1, 0);
    undo.maxRecords = 2;
    const FollowResult r = followTilePaletteChange(*ws, undo, renderer, TilePaletteChange{0, 1, TILE_OBJ, 0, 1});
    EXPECT_EQ(r.result.text(), MSG_NO_MEMORY_UNDO);
    EXPECT_EQ(r.cellsChanged, 2);
    EXPECT_EQ(palette(2, 2, TILE_OBJ), 0);
}

} // namespace
} // namespace qm
