#include "core/edit/TilePaletteFollow.h"

#include <gtest/gtest.h>

#include <memory>

namespace qm {
namespace {

class TilePaletteFollowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ws = std::make_unique<Workspace>();
        ASSERT_TRUE(ws->project.map.create(4, 3));
    }
    std::unique_ptr<Workspace> ws;
};

TEST_F(TilePaletteFollowTest, IsOneUndoableStep)
{
    MapGrid& map = ws->project.map;
    map.cellAt(0, 0)->place(TILE_BG, 10, 2);
    map.cellAt(1, 0)->place(TILE_BG, 11, 2);
    map.cellAt(2, 0)->place(TILE_BG, 11, 1); // other palette
    map.cellAt(3, 0)->place(TILE_BG, 30, 2); // outside the range
    MapRenderer renderer(map, ws->tiles);
    renderer.reset();
    UndoStore undo;
    const FollowResult r = followTilePaletteChange(*ws, undo, renderer, TilePaletteChange{2, 5, TILE_BG, 10, 20});
    EXPECT_TRUE(r.result);
    EXPECT_EQ(r.cellsChanged, 2);
    EXPECT_EQ(map.cellAt(0, 0)->palette(TILE_BG), 5);
    EXPECT_EQ(map.cellAt(1, 0)->palette(TILE_BG), 5);
    EXPECT_EQ(map.cellAt(2, 0)->palette(TILE_BG), 1);
    EXPECT_EQ(map.cellAt(3, 0)->palette(TILE_BG), 2);
    EXPECT_EQ(renderer.mapPixel(0, 0), 20);
    EXPECT_EQ(undo.stepKind(), STEP_TILE_PALETTE);
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

TEST_F(TilePaletteFollowTest, OfSeveralTilesIsUndoneTogether)
{
    // The manager gives tiles 1 and 2 palette 4 in one step: a snapshot and
    // a message for each tile.
    MapGrid& map = ws->project.map;
    map.cellAt(0, 0)->place(TILE_BG, 1, 0);
    map.cellAt(1, 0)->place(TILE_BG, 2, 0);
    MapRenderer renderer(map, ws->tiles);
    UndoStore undo;
    undo.beginStep(STEP_TILES, StepName::None);
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

TEST_F(TilePaletteFollowTest, StopsWhenUndoMemoryRunsOut)
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
