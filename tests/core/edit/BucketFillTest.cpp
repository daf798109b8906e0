#include "core/edit/BucketFill.h"
#include "core/edit/MapCommands.h"

#include "MapEditFixture.h"

namespace qm {
namespace {

using BucketFillTest = MapEditTest;

TEST_F(BucketFillTest, FillsTheTouchingCellsOfTheClickedTileWhateverTheirPaletteAndFlips)
{
    for (int x = 1; x <= 5; ++x)
        cell(x, 1).set(TILE_BG | ATTR_FLIP_H | (x << 2), 2, 0, 0, 0);
    cell(5, 2).set(TILE_BG | ATTR_FLIP_V | ATTR_PRIORITY | (7 << 2), 2, 0, 0, 0);
    cell(6, 3).place(TILE_BG, 2, 0); // only diagonal to the others
    cell(3, 0).place(TILE_BG, 2, 0);
    cell(3, 2).place(TILE_BG, 2, 0);
    cell(2, 2).place(TILE_OBJ, 2, 0);
    MapEdit e = edit();
    const EditResult r = bucketFill(e, 3, 1, {TILE_BG, 40, 4});
    ASSERT_EQ(std::pair(r.ok(), r.changed), std::pair(true, 8));
    EXPECT_EQ(tiles(), ". . . 40 . . . .|. 40 40 40 40 40 . .|. . . 40 . 40 . .|. . . . . . 2 .|. . . . . . . .|"
                       ". . . . . . . .|");
    for (const CellPos p : {CellPos{1, 1}, CellPos{3, 1}, CellPos{5, 2}})
        EXPECT_EQ(cell(p.x, p.y).bgAttr, TILE_BG | (4 << 2)) << p.x << "," << p.y;
    // Breadth first: up, right, down, left of each filled cell.
    std::vector<int> order;
    for (const CellRecord& rec : undo.cellRecords())
        order.push_back(rec.x(map().width) * 10 + rec.y(map().width));
    EXPECT_EQ(order, (std::vector<int>{31, 30, 41, 32, 21, 51, 11, 52}));

    const std::vector<MapCell> before = map().cells; // the clicked tile already, in any palette: nothing
    EXPECT_EQ(bucketFill(e, 1, 1, {TILE_BG, 40, 3}).changed, 0);
    EXPECT_EQ(map().cells, before);
    EXPECT_TRUE(undo.cellRecords().empty());
}

// A fill large enough to be rendered as one area, and its Undo, show in the image.
TEST_F(BucketFillTest, AnEmptyAreaFillsUpToItsWallsAndOneUndoRestoresIt)
{
    makeMap(80, 60);
    ws->tiles.bg.tiles[5].pixels.fill(2);
    cell(79, 59).place(TILE_BG, 6, 0); // a corner the fill does not reach
    for (int y = 0; y < 60; ++y)
        cell(70, y).place(TILE_BG, 6, 0);
    cell(2, 0).place(TILE_OBJ, 1, 0); // OBJ does not stop a BG fill
    renderer->renderAll();
    MapEdit e = edit();
    ASSERT_EQ(bucketFill(e, 0, 0, {TILE_BG, 5, 1}).changed, 70 * 60);
    EXPECT_EQ(std::tuple(cell(2, 0).showsTile(TILE_BG, 5), int(cell(79, 59).bgTile)), std::tuple(true, 6));
    EXPECT_EQ(std::tuple(renderer->mapPixel(8 * 69 + 7, 8 * 59 + 7), renderer->mapPixel(8 * 70, 0)), std::tuple(2 + 4, 0));
    undoStep();
    EXPECT_EQ(std::tuple(renderer->mapPixel(8 * 69 + 7, 8 * 59 + 7), renderer->mapPixel(0, 0)), std::tuple(64, 64));
    EXPECT_FALSE(cell(35, 30).hasBg());
}

// The undo history keeps each cell's place whole, whatever the map's width.
TEST_F(BucketFillTest, AMapWiderThan65535CellsUndoesExactly)
{
    makeMap(70000, 2);
    cell(69999, 1).place(TILE_BG, 6, 0);
    const std::vector<MapCell> before = map().cells;
    MapEdit e = edit();
    ASSERT_EQ(bucketFill(e, 69998, 1, {TILE_BG, 5, 1}).changed, 70000 * 2 - 1);
    undoStep();
    EXPECT_EQ(map().cells, before);
}

TEST_F(BucketFillTest, TheTagLayerFillsTagsOnlyAndThePalettePageFillsNothing)
{
    for (int x = 0; x < map().width; ++x)
        cell(x, 3).tag = 9;
    MapEdit e = edit(TILE_TAG);
    EXPECT_EQ(bucketFill(e, 0, 0, {TILE_TAG, 300, 0}).changed, map().width * 3); // row 3 walls off the rest
    EXPECT_EQ(tiles(TILE_TAG).substr(0, 24), "44 44 44 44 44 44 44 44|");
    EXPECT_EQ(tiles(TILE_TAG).substr(72), "9 9 9 9 9 9 9 9|0 0 0 0 0 0 0 0|0 0 0 0 0 0 0 0|");
    EXPECT_EQ(tiles().find_first_not_of(". |"), std::string::npos); // no BG tile anywhere
    EXPECT_EQ(bucketFill(e, 1, 1, {TILE_NONE, 4, 0}).changed, 0);   // the palette page puts nothing down
    const std::vector<MapCell> before = map().cells;
    MapEdit bg = edit();
    blockFill(bg, {{0, 0}, {1, 1}}, {TILE_NONE, 7, 1}); // nor does its Block Fill, though it records the cells
    EXPECT_EQ(std::pair(map().cells, undo.cellRecords().size()), std::pair(before, size_t(2)));
}

} // namespace
} // namespace qm
