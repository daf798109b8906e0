#include "core/edit/TilePaletteFollow.h"

#include <gtest/gtest.h>

#include <memory>

namespace qm {
namespace {

// Which cells follow a tile's palette is pinned with the tile editor's frame palette, several
// tiles undone in one step by the ui's CMainFrameTileSetsTest; these are the cases that change
// no cell or stop.
TEST(TilePaletteFollow, NothingFollowsInDmgModeOrForTagsAndAnUndoMemoryFailureStops)
{
    auto ws = std::make_unique<Workspace>();
    MapGrid& map = ws->project.map;
    ASSERT_TRUE(map.create(4, 1));
    for (int x = 0; x < 4; ++x)
        map.cellAt(x, 0)->place(TILE_OBJ, 1, 0);
    MapRenderer renderer(map, ws->tiles);
    UndoStore undo;
    ws->tiles.dmgMode = true; // colour palettes are not shown: the map keeps its own
    EXPECT_EQ(followTilePaletteChange(*ws, undo, renderer, TilePaletteChange{0, 5, TILE_OBJ, 0, 511}).cellsChanged, 0);
    ws->tiles.dmgMode = false;
    EXPECT_EQ(followTilePaletteChange(*ws, undo, renderer, TilePaletteChange{0, 4, TILE_TAG, 0, 511}).cellsChanged, 0);
    undo.maxRecords = 2;
    const FollowResult r = followTilePaletteChange(*ws, undo, renderer, TilePaletteChange{0, 1, TILE_OBJ, 0, 1});
    EXPECT_EQ(r.result.text(), MSG_NO_MEMORY_UNDO);
    EXPECT_EQ(r.cellsChanged, 2);
    EXPECT_EQ(std::tuple(map.cellAt(1, 0)->palette(TILE_OBJ), map.cellAt(2, 0)->palette(TILE_OBJ)), std::tuple(1, 0));
}

} // namespace
} // namespace qm
