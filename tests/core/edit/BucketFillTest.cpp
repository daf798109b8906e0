#include "core/edit/BucketFill.h"

#include "MapEditFixture.h"

namespace qm {
namespace {

using BucketFillTest = MapEditTest;

TEST_F(BucketFillTest, IsolatedCellFillsAlone)
{
    for (MapCell& c : map().cells)
        c.place(TILE_BG, 3, 0);
    cell(4, 2).place(TILE_BG, 7, 0);
    MapEdit e = edit();
    const EditResult r = bucketFill(e, 4, 2, {TILE_BG, 9, 2});
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.changed, 1);
    EXPECT_EQ(cell(4, 2).bgTile, 9);
    EXPECT_EQ(cell(4, 2).palette(TILE_BG), 2);
    EXPECT_EQ(cell(3, 2).bgTile, 3);
    EXPECT_EQ(undo.cellRecords().size(), 1u);
}

TEST_F(BucketFillTest, SameTileChangesNothing)
{
    for (MapCell& c : map().cells)
        c.place(TILE_BG, 5, 1);
    const std::vector<MapCell> before = map().cells;
    MapEdit e = edit();
    const EditResult r = bucketFill(e, 0, 0, {TILE_BG, 5, 3});
    EXPECT_EQ(r.changed, 0);
    EXPECT_EQ(map().cells, before);
    EXPECT_TRUE(undo.cellRecords().empty());
}

TEST_F(BucketFillTest, AcrossPalettesAndFlipsFillsAllAndClearsFlips)
{
    // An empty map with a ring of tile 2 in different palettes and flips; the
    // fill starts on the ring and stays on it.
    for (int x = 1; x <= 5; ++x) {
        cell(x, 1).place(TILE_BG, 2, x % 8);
        cell(x, 1).bgAttr |= ATTR_FLIP_H;
    }
    cell(5, 2).place(TILE_BG, 2, 7);
    cell(5, 2).bgAttr |= ATTR_FLIP_V | ATTR_PRIORITY;
    cell(6, 3).place(TILE_BG, 2, 0); // only diagonal to the ring
    MapEdit e = edit();
    const EditResult r = bucketFill(e, 3, 1, {TILE_BG, 40, 4});
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.changed, 6);
    for (int x = 1; x <= 5; ++x)
        EXPECT_EQ(cell(x, 1).bgAttr, TILE_BG | (4 << 2)) << x;
    EXPECT_EQ(cell(5, 2).bgAttr, TILE_BG | (4 << 2));
    EXPECT_EQ(cell(5, 2).bgTile, 40);
    EXPECT_EQ(cell(6, 3).bgTile, 2);
    EXPECT_FALSE(cell(0, 0).hasBg());
    // Breadth first from (3,1): up, right, down, left.
    ASSERT_EQ(undo.cellRecords().size(), 6u);
    EXPECT_EQ(undo.cellRecords()[0].x, 3);
    EXPECT_EQ(undo.cellRecords()[1].x, 4);
    EXPECT_EQ(undo.cellRecords()[2].x, 2);
}

TEST_F(BucketFillTest, EmptyAreaFillsAndOneUndoRestoresIt)
{
    cell(2, 0).place(TILE_OBJ, 1, 0); // OBJ does not stop a BG fill
    for (int y = 0; y < map().height; ++y)
        cell(3, y).place(TILE_BG, 8, 0); // a wall
    MapEdit e = edit();
    const EditResult r = bucketFill(e, 0, 0, {TILE_BG, 1, 0});
    EXPECT_EQ(r.changed, 3 * map().height);
    EXPECT_TRUE(cell(2, 0).showsTile(TILE_BG, 1));
    EXPECT_FALSE(cell(4, 0).hasBg());
    EXPECT_EQ(renderer->mapPixel(0, 0), 0); // tile 1 of a blank set, palette 0
    undoStep();
    EXPECT_FALSE(cell(0, 0).hasBg());
    EXPECT_FALSE(cell(2, 5).hasBg());
    EXPECT_EQ(renderer->mapPixel(0, 0), 64);
}

// A fill large enough to be rendered as one area: every filled cell shows
// in the image, and the one outside the area is left alone.
TEST_F(BucketFillTest, LargeFillRendersItsAreaAndUndoRestoresIt)
{
    makeMap(80, 60);
    for (auto& p : ws->tiles.bg.tiles[5].pixels)
        p = 2;
    cell(79, 59).place(TILE_BG, 6, 0); // a corner the fill does not reach
    for (int y = 0; y < 60; ++y)
        cell(70, y).place(TILE_BG, 6, 0);
    renderer->renderAll();
    MapEdit e = edit();
    const EditResult r = bucketFill(e, 0, 0, {TILE_BG, 5, 1});
    ASSERT_EQ(r.changed, 70 * 60);
    EXPECT_EQ(renderer->mapPixel(8 * 69 + 7, 8 * 59 + 7), 2 + 4);
    EXPECT_EQ(renderer->mapPixel(8 * 70, 0), 0);
    undoStep();
    EXPECT_EQ(renderer->mapPixel(8 * 69 + 7, 8 * 59 + 7), 64);
    EXPECT_EQ(renderer->mapPixel(0, 0), 64);
    EXPECT_FALSE(cell(35, 30).hasBg());
}

TEST_F(BucketFillTest, TagLayerFillsTagsOnly)
{
    for (int x = 0; x < map().width; ++x)
        cell(x, 3).tag = 9;
    MapEdit e = edit(TILE_TAG);
    const EditResult r = bucketFill(e, 0, 0, {TILE_TAG, 300, 0});
    EXPECT_EQ(r.changed, map().width * 3); // row 3 walls off the rows below
    EXPECT_EQ(cell(0, 0).tag, 300 & 0xFF);
    EXPECT_EQ(cell(0, 3).tag, 9);
    EXPECT_EQ(cell(0, 4).tag, 0);
    EXPECT_FALSE(cell(0, 0).hasBg());
}

TEST_F(BucketFillTest, PalettePageRecordsNothingAndChangesNothing)
{
    const std::vector<MapCell> before = map().cells;
    MapEdit e = edit();
    EXPECT_EQ(bucketFill(e, 1, 1, {TILE_NONE, 4, 0}).changed, 0);
    EXPECT_EQ(map().cells, before);
}

TEST_F(BucketFillTest, UndoMemoryFailureStopsWithFilledCellsUndoable)
{
    undo.maxRecords = 5;
    MapEdit e = edit();
    const EditResult r = bucketFill(e, 0, 0, {TILE_BG, 2, 0});
    EXPECT_EQ(r.result.text(), MSG_NO_MEMORY_UNDO);
    EXPECT_EQ(r.changed, 5);
    undoStep();
    for (const MapCell& c : map().cells)
        EXPECT_FALSE(c.hasBg());
}

} // namespace
} // namespace qm
