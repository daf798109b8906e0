#include "core/edit/TilePaletteFollow.h"

#include <gtest/gtest.h>

#include <memory>

namespace qm {
namespace {

// Which cells follow a tile's palette is pinned with the tile editor's frame palette.
TEST(TilePaletteFollow, SeveralTilesUndoTogetherAndNothingFollowsInDmgModeOrForTags)
{
    auto ws = std::make_unique<Workspace>();
    MapGrid& map = ws->project.map;
    ASSERT_TRUE(map.create(4, 1));
    map.cellAt(0, 0)->place(TILE_BG, 1, 0);
    map.cellAt(1, 0)->place(TILE_BG, 2, 0);
    MapRenderer renderer(map, ws->tiles);
    UndoStore undo;
    UndoListener quiet;
    undo.beginStep(STEP_TILES); // the manager gives tiles 1 and 2 palette 4 in one step
    for (int t : {1, 2}) {
        ASSERT_TRUE(undo.saveTile(ws->tiles.bg.tiles[size_t(t)]));
        ws->tiles.bg.tiles[size_t(t)].setPalette(4);
        followTilePaletteChange(*ws, undo, renderer, TilePaletteChange{0, 4, TILE_BG, t, t});
    }
    EXPECT_EQ(std::tuple(map.cellAt(0, 0)->palette(TILE_BG), map.cellAt(1, 0)->palette(TILE_BG)), std::tuple(4, 4));
    ASSERT_TRUE(undo.undo(*ws, quiet));
    EXPECT_EQ(std::tuple(map.cellAt(0, 0)->palette(TILE_BG), map.cellAt(1, 0)->palette(TILE_BG)), std::tuple(0, 0));
    EXPECT_EQ(std::tuple(ws->tiles.bg.tiles[1].palette(), ws->tiles.bg.tiles[2].palette()), std::tuple(0, 0));

    ws->tiles.dmgMode = true; // colour palettes are not shown: the map keeps its own
    EXPECT_EQ(followTilePaletteChange(*ws, undo, renderer, TilePaletteChange{0, 5, TILE_BG, 0, 511}).cellsChanged, 0);
    ws->tiles.dmgMode = false;
    for (int x = 0; x < 4; ++x)
        map.cellAt(x, 0)->place(TILE_OBJ, 1, 0);
    EXPECT_EQ(followTilePaletteChange(*ws, undo, renderer, TilePaletteChange{0, 4, TILE_TAG, 0, 511}).cellsChanged, 0);
    undo.maxRecords = 2;
    const FollowResult r = followTilePaletteChange(*ws, undo, renderer, TilePaletteChange{0, 1, TILE_OBJ, 0, 1});
    EXPECT_EQ(r.result.text(), MSG_NO_MEMORY_UNDO);
    EXPECT_EQ(r.cellsChanged, 2);
    EXPECT_EQ(std::tuple(map.cellAt(1, 0)->palette(TILE_OBJ), map.cellAt(2, 0)->palette(TILE_OBJ)), std::tuple(1, 0));
}

} // namespace
} // namespace qm
