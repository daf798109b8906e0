#include "core/import/MapImport.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <utility>

using namespace qm;
using namespace qm::test;

namespace {

// Every cell remembers where it was: tile 1000 + y * 100 + x, tag 1.
MapGrid mapOf(int w, int h)
{
    MapGrid m;
    m.create(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            m.cellAt(x, y)->set(TILE_BG, static_cast<std::uint16_t>(1000 + y * 100 + x), 0, 0, 1);
    return m;
}

// Block cell i holds tile 200 + i.
MapGrid blockOf(int w, int h)
{
    MapImportOptions o;
    o.width = w;
    o.height = h;
    std::vector<std::uint8_t> bytes(static_cast<size_t>(w * h));
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(200 + i);
    MapGrid block;
    NullProgress quiet;
    EXPECT_TRUE(readMapBlock(bytes, o, block, quiet));
    return block;
}

} // namespace

TEST(MapImport, BytesBecomeCellsOfTheShownLayerWithTheSwapTable)
{
    const std::vector<std::uint8_t> bytes = {0x00, 0x7F, 0x80, 0xFF};
    MapImportOptions o;
    o.width = 4;
    o.height = 2; // the second row is missing from the file
    const struct {
        bool swap;
        TileKind layer;
        std::vector<int> values; // of the 8 cells
    } cases[] = {
        {false, TILE_BG, {0, 127, 128, 255, 0, 0, 0, 0}},
        {true, TILE_BG, {128, 255, 0, 127, 128, 128, 128, 128}},
        {false, TILE_OBJ, {0, 127, 128, 255, 0, 0, 0, 0}},
        {false, TILE_TAG, {0, 127, 128, 255, 0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        o.swapBytes = c.swap;
        o.layer = c.layer;
        MapGrid block;
        CountingProgress progress;
        ASSERT_TRUE(readMapBlock(bytes, o, block, progress));
        EXPECT_EQ(progress.captions, std::vector<std::string>{"importing map data"});
        EXPECT_EQ(progress.steps, 2);
        std::vector<MapCell> expected(8);
        for (size_t i = 0; i < 8; ++i) {
            const auto v = static_cast<std::uint16_t>(c.values[i]);
            if (c.layer == TILE_BG)
                expected[i].set(TILE_BG, v, 0, 0, 0);
            else if (c.layer == TILE_OBJ)
                expected[i].set(0, 0, TILE_OBJ, v, 0);
            else
                expected[i].tag = static_cast<std::uint8_t>(v);
        }
        EXPECT_EQ(block.cells, expected) << int(c.layer) << c.swap;
    }
    o.layer = TILE_NONE; // the palette page
    MapGrid block;
    NullProgress quiet;
    EXPECT_EQ(readMapBlock(bytes, o, block, quiet).text(), MSG_MAP_IMPORT_NEEDS_LAYER);
}

TEST(MapImport, TheBlocksOppositeCornerLiesOnTheCursorAndTheMapGrowsOnThatSide)
{
    const struct {
        MapOrientation orientation;
        int mapW, mapH, blockW, blockH, cursorX, cursorY, grownW, grownH;
        std::vector<std::tuple<int, int, int>> cells; // x, y, tile: 200 to 999 from the block, -1 blank
    } cases[] = {
        {MapOrientation::BottomRight, 20, 18, 4, 4, 18, 16, 22, 20,
         {{18, 16, 200}, {21, 19, 215}, {17, 15, 2517}, {20, 0, -1}, {0, 18, -1}, {21, 15, -1}}},
        {MapOrientation::TopLeft, 20, 18, 4, 4, 1, 1, 22, 20,
         {{0, 0, 200}, {3, 3, 215}, {4, 4, 1202}, {21, 19, 2719}, {0, 4, -1}, {4, 0, -1}}},
        {MapOrientation::TopLeft, 20, 18, 3, 2, 10, 5, 20, 18, {{8, 4, 200}, {10, 5, 205}, {7, 4, 1407}, {11, 5, 1511}}},
        {MapOrientation::TopRight, 5, 5, 3, 3, 4, 0, 7, 7, {{4, 0, 200}, {6, 2, 208}, {0, 2, 1000}, {5, 3, -1}}},
        {MapOrientation::BottomLeft, 5, 5, 3, 3, 0, 4, 7, 7, {{0, 4, 200}, {2, 4, 202}, {2, 0, 1000}}},
    };
    NullProgress quiet;
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.orientation));
        MapGrid map = mapOf(c.mapW, c.mapH);
        ASSERT_TRUE(mergeMapBlock(map, blockOf(c.blockW, c.blockH), c.cursorX, c.cursorY, c.orientation, quiet));
        EXPECT_EQ(map.width, c.grownW);
        EXPECT_EQ(map.height, c.grownH);
        for (const auto& [x, y, tile] : c.cells) {
            // A block cell replaces the whole map cell: its tag is 0.
            MapCell expected;
            if (tile >= 0)
                expected.set(TILE_BG, static_cast<std::uint16_t>(tile), 0, 0, tile >= 1000 ? 1 : 0);
            EXPECT_EQ(*map.cellAt(x, y), expected) << x << ", " << y;
        }
    }
}

TEST(MapImport, ABlockMergedIntoAMapWithoutCellsBecomesTheMap)
{
    // Growing towards the top or left once counted a cursor column and row
    // that an empty map does not have, and cut the block.
    NullProgress quiet;
    for (MapOrientation o : {MapOrientation::TopLeft, MapOrientation::TopRight, MapOrientation::BottomLeft,
                             MapOrientation::BottomRight})
        for (auto [w, h] : {std::pair{0, 0}, std::pair{0, 3}, std::pair{5, 0}}) {
            SCOPED_TRACE(std::to_string(int(o)) + " " + std::to_string(w) + "x" + std::to_string(h));
            MapGrid map;
            ASSERT_TRUE(map.create(w, h));
            ASSERT_TRUE(mergeMapBlock(map, blockOf(4, 2), 0, 0, o, quiet));
            EXPECT_EQ(map.width == 4 && map.height == 2, w == 0 && h == 0);
            EXPECT_GE(map.width, 4);
            EXPECT_GE(map.height, 2);
            EXPECT_EQ(std::count_if(map.cells.begin(), map.cells.end(), [](const MapCell& c) { return c.bgTile >= 200; }),
                      8);
        }
}

TEST(MapImport, ImportMapFileMarksTheMapChangedAndRefusalsChangeNothing)
{
    TempDir dir;
    writeBytes(dir.file("m.bin"), std::vector<std::uint8_t>(360, 7));
    ProjectState project;
    project.map = mapOf(20, 18);
    MapImportOptions o;
    o.width = 20;
    o.height = 18;
    o.orientation = MapOrientation::BottomRight;
    NullProgress quiet;
    ASSERT_TRUE(importMapFile(dir.file("m.bin"), o, project, quiet));
    EXPECT_EQ(project.map.cellAt(19, 17)->bgTile, 7);
    EXPECT_TRUE(project.changeFlags & CHANGED_MAP);

    const struct {
        const char* file;
        TileKind layer;
        int width, height;
        std::string text;
    } cases[] = {
        {"none.bin", TILE_BG, 20, 18, "Error! Unable to open file " + dir.file("none.bin") + ": No such file or directory"},
        {"m.bin", TILE_NONE, 20, 18, MSG_MAP_IMPORT_NEEDS_LAYER},
        {"m.bin", TILE_BG, 0, 18, "Width must be greater than 0"},
        {"m.bin", TILE_BG, 100000, 100000,
         "Not enought memory to create 100000x100000 map: 100000 \u00d7 100000 cells is over the limit of "
         "16,777,216 cells"},
    };
    ProjectState untouched;
    untouched.map = mapOf(3, 3);
    const auto before = untouched.map.cells;
    for (const auto& c : cases) {
        o.layer = c.layer;
        o.width = c.width;
        o.height = c.height;
        EXPECT_EQ(importMapFile(dir.file(c.file), o, untouched, quiet).text(), c.text);
        EXPECT_EQ(untouched.map.cells, before);
        EXPECT_EQ(untouched.changeFlags, 0);
    }

    // A block that would make the map too large leaves it as it was.
    MapGrid tall;
    tall.create(1, 4096);
    EXPECT_TRUE(mergeMapBlock(untouched.map, tall, 0, 0, MapOrientation::BottomRight, quiet));
    MapGrid wide;
    wide.create(5000, 1);
    EXPECT_EQ(mergeMapBlock(untouched.map, wide, 2, 0, MapOrientation::TopLeft, quiet).text(),
              "Not Enough memory to create new map. Operation failed");
    EXPECT_EQ(untouched.map.width, 3);
    EXPECT_EQ(untouched.map.height, 4096);
}
