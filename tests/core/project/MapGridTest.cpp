#include "core/project/MapGrid.h"

#include <gtest/gtest.h>

using namespace qm;

namespace {

// A grid whose cell (x, y) carries tag y*16+x+1, so moves are visible.
MapGrid numbered(int w, int h)
{
    MapGrid g;
    EXPECT_TRUE(g.create(w, h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            g.cellAt(x, y)->tag = static_cast<std::uint8_t>(y * 16 + x + 1);
    return g;
}

// The tags row by row: "1 2|17 18|".
std::string tags(const MapGrid& g)
{
    std::string s;
    for (int y = 0; y < g.height; ++y)
        for (int x = 0; x < g.width; ++x)
            s += std::to_string(g.cellAt(x, y)->tag) + (x + 1 < g.width ? " " : "|");
    return s;
}

} // namespace

TEST(MapCell, PlacingATileSetsItsLayerMarkAndPaletteAndClearsTheFlips)
{
    MapCell c;
    c.bgAttr = 0xFF & ~0x80;
    c.place(TILE_BG, 300, 5);
    c.place(TILE_OBJ, 7, 9); // palettes above 7 give 0
    c.place(TILE_TAG, 0x1F3, 0);
    c.place(TILE_NONE, 1, 1);
    EXPECT_EQ(c, (MapCell{0x40 | (5 << 2), 300, 0x80, 7, 0xF3}));
    c.objAttr |= ATTR_FLIP_H | ATTR_PRIORITY;
    EXPECT_EQ(c.setPalette(TILE_TAG, 3), 0); // the tag layer works on the OBJ part
    EXPECT_EQ(c.objAttr, 0x80 | ATTR_FLIP_H | ATTR_PRIORITY | (3 << 2));
    MapCell empty;
    empty.bgTile = 12;
    EXPECT_FALSE(empty.showsTile(TILE_BG, 12));
    empty.copyLayers(c);
    EXPECT_EQ(empty, (MapCell{c.bgAttr, 300, c.objAttr, 7, 0}));
}

// Inserting and deleting lines go through the edits of RowColumnEditTest.
TEST(MapGrid, ResizeCutsOrKeepsAndImpossibleSizesChangeNothing)
{
    MapGrid a = numbered(3, 2), b = numbered(3, 2), c = numbered(3, 2);
    EXPECT_EQ(a.resize(0, 0, true), MapGrid::ResizeResult::Done);
    EXPECT_EQ(tags(a), "1|");
    b.resize(2, 3, true);
    EXPECT_EQ(tags(b), "1 2|17 18|0 0|");
    c.resize(2, 3, false);
    EXPECT_EQ(tags(c), "1 2 3|17 18 19|0 0 0|");

    MapGrid g = numbered(2, 4);
    EXPECT_TRUE(g.cellAt(2, 0) == nullptr && g.cellAt(0, -1) == nullptr && !g.setCell(0, 4, MapCell{}));
    // No cells, but a side beyond the limit all the same: every row walk would hang.
    for (const auto& [w, h] : {std::pair{-1, 5}, {100000, 100000}, {1 << 30, 1 << 30}, {0, 1 << 30}, {0x7FFFFFFF, 0}})
        EXPECT_FALSE(g.create(w, h)) << w << " x " << h;
    EXPECT_FALSE(g.insertRows(0, 1 << 30));
    EXPECT_FALSE(g.insertColumns(0, 1 << 30));
    EXPECT_EQ(g.resize(1 << 30, 4, true), MapGrid::ResizeResult::OutOfMemory);
    EXPECT_EQ(tags(g), "1 2|17 18|33 34|49 50|");
    EXPECT_TRUE(g.create(0, 7) && !g.hasCells());
}
