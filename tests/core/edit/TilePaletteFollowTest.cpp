#include "core/edit/TileFrameEdit.h"
#include "core/edit/TilePaletteFollow.h"
#include "core/project/Workspace.h"

#include <gtest/gtest.h>

#include <memory>

namespace qm {
namespace {

// Past the ui's CTileEditorTest (the notices) and CMainFrameTileSetsTest (tiles undone together):
TEST(TilePaletteFollow, CellsShowingTheirTilesPaletteFollowItInOneStepAndNothingElse)
{
    auto ws = std::make_unique<Workspace>();
    TileSet& set = ws->tiles.bg;
    MapGrid& map = ws->project.map;
    ASSERT_TRUE(map.create(5, 1));
    map.cellAt(0, 0)->place(TILE_BG, 8, 0);
    map.cellAt(1, 0)->place(TILE_BG, 10, 1); // shown with palette 1, like its tile
    map.cellAt(2, 0)->place(TILE_BG, 9, 3);  // another palette than its tile's
    map.cellAt(3, 0)->place(TILE_BG, 11, 0); // outside the frame
    map.cellAt(4, 0)->place(TILE_OBJ, 8, 0); // another layer
    const auto cellPalettes = [&] {
        std::vector<int> out;
        for (int x = 0; x < 5; ++x)
            out.push_back(map.cellAt(x, 0)->palette(x < 4 ? TILE_BG : TILE_OBJ));
        return out;
    };
    MapRenderer renderer(map, ws->tiles);
    renderer.reset();
    UndoStore undo;
    UndoListener quiet;
    set.tiles[10].setPalette(1);
    set.tiles[8].pixels[0] = 2;
    const auto follow = [&](const TilePaletteChange& c) { return followTilePaletteChange(*ws, undo, renderer, c); };
    ASSERT_TRUE(setFramePalette(set, undo, TileFrame{8, 3, 1}, 5, follow));
    EXPECT_EQ(cellPalettes(), (std::vector<int>{5, 5, 3, 0, 0}));
    EXPECT_EQ(renderer.mapPixel(0, 0), 5 * 4 + 2);
    ASSERT_TRUE(undo.undo(*ws, quiet)); // one Undo puts back the tiles and every cell
    EXPECT_EQ(std::tuple(set.tiles[8].palette(), set.tiles[9].palette(), set.tiles[10].palette()), std::tuple(0, 0, 1));
    EXPECT_EQ(cellPalettes(), (std::vector<int>{0, 1, 3, 0, 0}));

    ws->tiles.dmgMode = true; // colour palettes are not shown: the map keeps its own
    EXPECT_EQ(follow(TilePaletteChange{0, 5, TILE_OBJ, 0, 511}).cellsChanged, 0);
    ws->tiles.dmgMode = false;
    EXPECT_EQ(follow(TilePaletteChange{0, 4, TILE_TAG, 0, 511}).cellsChanged, 0);
    undo.clear();
    undo.maxRecords = 1; // cells 0 and 3 would follow: the first does
    const FollowResult r = follow(TilePaletteChange{0, 6, TILE_BG, 0, 511});
    EXPECT_EQ(std::pair(r.result.text(), r.cellsChanged), std::pair(std::string(MSG_NO_MEMORY_UNDO), 1));
    EXPECT_EQ(cellPalettes(), (std::vector<int>{6, 1, 3, 0, 0}));
}

} // namespace
} // namespace qm
