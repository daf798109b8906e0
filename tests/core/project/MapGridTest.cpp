#include "core/project/MapGrid.h"
#include "core/project/ProjectState.h"

#include <gtest/gtest.h>

using namespace qm;

namespace {

// A grid whose cell (x, y) carries tag y*16+x+1 so moves are visible.
MapGrid numbered(int w, int h)
{
    MapGrid g;
    EXPECT_TRUE(g.create(w, h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            g.cellAt(x, y)->tag = static_cast<std::uint8_t>(y * 16 + x + 1);
    return g;
}

int tagAt(const MapGrid& g, int x, int y) { return g.cellAt(x, y)->tag; }

} // namespace

TEST(MapCell, PlaceSetsTheLayerMarkPaletteAndClearsFlips)
{
    MapCell c;
    c.bgAttr = 0xFF & ~0x80;
    c.place(TILE_BG, 300, 5);
    EXPECT_EQ(c.bgAttr, 0x40 | (5 << 2));
    EXPECT_EQ(c.bgTile, 300);
    c.place(TILE_OBJ, 7, 9);
    EXPECT_EQ(c.objAttr, 0x80);
    c.place(TILE_TAG, 0x1F3, 0);
    EXPECT_EQ(c.tag, 0xF3);
    const MapCell before = c;
    c.place(TILE_NONE, 1, 1);
    EXPECT_EQ(c, before);
    EXPECT_EQ(c.layers(), 0xC0);
}

TEST(MapCell, PaletteLayersAndShownTiles)
{
    MapCell c;
    c.objAttr = 0x80 | ATTR_FLIP_H | ATTR_PRIORITY | (2 << 2);
    EXPECT_EQ(c.setPalette(TILE_OBJ, 3), 2);
    EXPECT_EQ(c.objAttr, 0x80 | ATTR_FLIP_H | ATTR_PRIORITY | (3 << 2));
    c.bgAttr = 0x40 | (6 << 2);
    EXPECT_EQ(c.setPalette(TILE_BG, 9), 6);
    EXPECT_EQ(c.palette(TILE_BG), 0);
    EXPECT_EQ(c.palette(TILE_OBJ), 3);

    MapCell empty;
    empty.bgTile = 12;
    EXPECT_FALSE(empty.showsTile(TILE_BG, 12));
    EXPECT_EQ(empty.layers(), 0);
    empty.bgAttr = 0x40;
    EXPECT_TRUE(empty.showsTile(TILE_BG, 12));
    EXPECT_FALSE(empty.showsTile(TILE_TAG, 12));
    EXPECT_EQ(empty.layerPart(TILE_BG).tile, 12);
    EXPECT_EQ(&empty.layerPart(TILE_TAG).attr, &empty.objAttr); // tag edits use the OBJ part

    MapCell other;
    other.set(0x44, 1, 0x88, 2, 77);
    empty.copyLayers(other);
    EXPECT_EQ(empty.objTile, 2);
    EXPECT_EQ(empty.tag, 0);
}

TEST(MapGrid, CellLookupChecksCoordinates)
{
    MapGrid g = numbered(3, 2);
    EXPECT_EQ(g.cellAt(-1, 0), nullptr);
    EXPECT_EQ(g.cellAt(3, 0), nullptr);
    EXPECT_EQ(g.cellAt(0, 2), nullptr);
    MapCell c;
    c.tag = 99;
    EXPECT_FALSE(g.setCell(0, 2, c));
    EXPECT_TRUE(g.setCell(2, 1, c));
    EXPECT_EQ(tagAt(g, 2, 1), 99);
}

TEST(MapGrid, DeletingNeverGoesBelowOneColumnOrRow)
{
    MapGrid g = numbered(3, 3);
    g.deleteColumn(1);
    EXPECT_EQ(g.width, 2);
    EXPECT_EQ(tagAt(g, 1, 2), 2 * 16 + 2 + 1);
    g.deleteRow(0);
    EXPECT_EQ(g.height, 2);
    EXPECT_EQ(tagAt(g, 0, 0), 16 + 1);
    EXPECT_EQ(g.cells.size(), 4u);

    MapGrid one = numbered(1, 1);
    one.deleteColumn(0);
    one.deleteRow(0);
    EXPECT_EQ(one.width, 1);
    EXPECT_EQ(one.height, 1);
    EXPECT_EQ(tagAt(one, 0, 0), 1);
}

TEST(MapGrid, InsertRowsBeforeARowOrAfterTheLast)
{
    MapGrid a = numbered(2, 3);
    ASSERT_TRUE(a.insertRows(2, 2));
    EXPECT_EQ(a.height, 5);
    EXPECT_EQ(tagAt(a, 0, 2), 2 * 16 + 1);
    EXPECT_EQ(tagAt(a, 0, 3), 0);
    EXPECT_EQ(tagAt(a, 1, 4), 0);

    MapGrid b = numbered(2, 3);
    ASSERT_TRUE(b.insertRows(1, 2));
    EXPECT_EQ(tagAt(b, 0, 0), 1);
    EXPECT_EQ(tagAt(b, 0, 1), 0);
    EXPECT_EQ(tagAt(b, 1, 2), 0);
    EXPECT_EQ(tagAt(b, 0, 3), 16 + 1);
    EXPECT_EQ(tagAt(b, 1, 4), 2 * 16 + 2);
}

TEST(MapGrid, InsertColumnsBeforeAColumnOrAfterTheLast)
{
    MapGrid a = numbered(3, 2);
    ASSERT_TRUE(a.insertColumns(2, 1));
    EXPECT_EQ(a.width, 4);
    EXPECT_EQ(tagAt(a, 2, 1), 16 + 3);
    EXPECT_EQ(tagAt(a, 3, 1), 0);

    MapGrid b = numbered(3, 2);
    ASSERT_TRUE(b.insertColumns(0, 1));
    EXPECT_EQ(tagAt(b, 0, 0), 0);
    EXPECT_EQ(tagAt(b, 1, 0), 1);
    EXPECT_EQ(tagAt(b, 3, 1), 16 + 3);

    EXPECT_TRUE(b.insertColumns(1, 0));
    EXPECT_EQ(b.width, 4);
}

TEST(MapGrid, ResizeCutsGrowsOrKeeps)
{
    MapGrid a = numbered(20, 18);
    EXPECT_EQ(a.resize(0, 0, true), MapGrid::ResizeResult::Done);
    EXPECT_EQ(a.width, 1);
    EXPECT_EQ(a.height, 1);
    EXPECT_EQ(tagAt(a, 0, 0), 1);

    MapGrid b = numbered(20, 18);
    b.resize(10, 30, true);
    EXPECT_EQ(b.width, 10);
    EXPECT_EQ(b.height, 30);
    EXPECT_EQ(tagAt(b, 9, 17), static_cast<std::uint8_t>(17 * 16 + 9 + 1));
    EXPECT_EQ(tagAt(b, 9, 18), 0);
    EXPECT_EQ(b.cells.size(), 300u);

    MapGrid c = numbered(20, 18);
    c.resize(10, 30, false);
    EXPECT_EQ(c.width, 20);
    EXPECT_EQ(c.height, 30);
    EXPECT_EQ(tagAt(c, 19, 17), static_cast<std::uint8_t>(17 * 16 + 19 + 1));
}

TEST(MapGrid, ImpossibleSizesFailAndChangeNothing)
{
    MapGrid g = numbered(4, 4);
    EXPECT_FALSE(g.create(-1, 5));
    EXPECT_FALSE(g.create(100000, 100000));
    EXPECT_FALSE(g.create(1 << 30, 1 << 30));
    EXPECT_EQ(g.width, 4);
    EXPECT_EQ(g.cells.size(), 16u);
    EXPECT_EQ(tagAt(g, 3, 3), 3 * 16 + 4);
    EXPECT_FALSE(g.insertRows(0, 1 << 30));
    EXPECT_FALSE(g.insertColumns(0, 1 << 30));
    EXPECT_EQ(g.resize(1 << 30, 4, true), MapGrid::ResizeResult::OutOfMemory);
    EXPECT_EQ(g.width, 4);
    EXPECT_EQ(g.height, 4);
    EXPECT_TRUE(g.create(0, 7));
    EXPECT_FALSE(g.hasCells());
    // No cells, but a side beyond the limit all the same: every row walk would hang.
    EXPECT_FALSE(g.create(0, 1 << 30));
    EXPECT_FALSE(g.create(0x7FFFFFFF, 0));
    EXPECT_EQ(g.height, 7);
}

TEST(ProjectState, FlagsNotifyAndPathsNormalise)
{
    ProjectState s;
    int notified = 0;
    s.onFlagsChanged = [&] { ++notified; };
    s.setChanged(CHANGED_MAP);
    s.setChanged(CHANGED_BG_TILES);
    EXPECT_EQ(s.changeFlags, 0x44);
    s.clearChangedBits(CHANGED_MAP);
    EXPECT_EQ(s.changeFlags, 0x40);
    s.clearChanged();
    EXPECT_EQ(s.changeFlags, 0);
    EXPECT_EQ(notified, 4);

    s.projectPath = "/maps/LEVEL.QMD";
    s.bgTileSetPath = "/maps/bg.BTS";
    s.objTileSetPath = "/maps/obj.ots";
    s.normalisePaths();
    EXPECT_EQ(s.projectPath, "/maps/LEVEL.QMm");
    EXPECT_EQ(s.bgTileSetPath, "/maps/bg.qmb");
    EXPECT_EQ(s.objTileSetPath, "/maps/obj.qmo");
    s.projectPath = "/maps/a.qmm";
    s.normalisePaths();
    EXPECT_EQ(s.projectPath, "/maps/a.qmm");
}
