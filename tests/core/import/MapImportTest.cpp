#include "core/import/MapImport.h"
#include "support/TestSupport.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <utility>

using namespace qm;
using namespace qm::test;

namespace {

MapGrid mapOf(int w, int h)
{
    MapGrid m;
    m.create(w, h);
    // Every cell remembers where it was.
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            m.cellAt(x, y)->set(TILE_BG, static_cast<std::uint16_t>(y * 100 + x), 0, 0, 1);
    return m;
}

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

bool isBlank(const MapGrid& m, int x, int y) { return *m.cellAt(x, y) == MapCell{}; }

} // namespace

TEST(MapImport, DimensionDialogHelpers)
{
    EXPECT_EQ(otherSideFor(360, 20), 18u);
    EXPECT_EQ(otherSideFor(361, 18), 20u);
    EXPECT_FALSE(otherSideFor(360, 0));
    EXPECT_EQ(checkMapDimension(0, 0).text(), "Height must be greater than 0");
    EXPECT_EQ(checkMapDimension(0, 5).text(), "Width must be greater than 0");
    EXPECT_TRUE(checkMapDimension(1, 1));
}

TEST(MapImport, BytesBecomeTileNumbersWithTheSwapTable)
{
    const std::vector<std::uint8_t> bytes = {0x00, 0x7F, 0x80, 0xFF};
    MapImportOptions o;
    o.width = 4;
    o.height = 2; // the second row is missing from the file
    MapGrid block;
    test::CountingProgress progress;
    ASSERT_TRUE(readMapBlock(bytes, o, block, progress));
    EXPECT_EQ(progress.captions, std::vector<std::string>{"importing map data"});
    EXPECT_EQ(progress.steps, 2);
    const std::vector<int> plain = {0, 127, 128, 255, 0, 0, 0, 0};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(block.cells[i].bgTile, plain[i]);
        EXPECT_EQ(block.cells[i].bgAttr, TILE_BG);
        EXPECT_EQ(block.cells[i].objAttr, 0);
    }
    o.swapBytes = true;
    ASSERT_TRUE(readMapBlock(bytes, o, block, progress));
    const std::vector<int> swapped = {128, 255, 0, 127, 128, 128, 128, 128};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(block.cells[i].bgTile, swapped[i]) << i;

    o.swapBytes = false;
    o.layer = TILE_OBJ;
    ASSERT_TRUE(readMapBlock(bytes, o, block, progress));
    EXPECT_EQ(block.cells[1].objAttr, TILE_OBJ);
    EXPECT_EQ(block.cells[1].objTile, 127);
    EXPECT_EQ(block.cells[1].bgAttr, 0);

    // The tag page puts the bytes into the tags; the palette page is refused.
    o.layer = TILE_TAG;
    ASSERT_TRUE(readMapBlock(bytes, o, block, progress));
    EXPECT_EQ(block.cells[3].tag, 255);
    EXPECT_EQ(block.cells[3].bgAttr, 0);
    o.layer = TILE_NONE;
    const Result r = readMapBlock(bytes, o, block, progress);
    ASSERT_FALSE(r);
    EXPECT_EQ(r.text(), MSG_MAP_IMPORT_NEEDS_LAYER);
}

TEST(MapImport, BottomRightGrowsRightAndDown)
{
    MapGrid map = mapOf(20, 18);
    NullProgress quiet;
    ASSERT_TRUE(mergeMapBlock(map, blockOf(4, 4), 18, 16, MapOrientation::BottomRight, quiet));
    ASSERT_EQ(map.width, 22);
    ASSERT_EQ(map.height, 20);
    EXPECT_EQ(map.cellAt(18, 16)->bgTile, 200);
    EXPECT_EQ(map.cellAt(21, 19)->bgTile, 215);
    EXPECT_EQ(map.cellAt(17, 15)->bgTile, 15 * 100 + 17);
    EXPECT_TRUE(isBlank(map, 20, 0));
    EXPECT_TRUE(isBlank(map, 0, 18));
    EXPECT_TRUE(isBlank(map, 21, 15));
}

TEST(MapImport, TopLeftGrowsBeforeTheFirstColumnAndRow)
{
    MapGrid map = mapOf(20, 18);
    NullProgress quiet;
    ASSERT_TRUE(mergeMapBlock(map, blockOf(4, 4), 1, 1, MapOrientation::TopLeft, quiet));
    ASSERT_EQ(map.width, 22);
    ASSERT_EQ(map.height, 20);
    EXPECT_EQ(map.cellAt(0, 0)->bgTile, 200);
    EXPECT_EQ(map.cellAt(3, 3)->bgTile, 215); // the block's corner lies on the cursor cell
    EXPECT_EQ(map.cellAt(4, 4)->bgTile, 2 * 100 + 2);
    EXPECT_EQ(map.cellAt(21, 19)->bgTile, 17 * 100 + 19);
    EXPECT_TRUE(isBlank(map, 0, 4));
    EXPECT_TRUE(isBlank(map, 4, 0));
    // Each block cell replaces the whole map cell: the tag is 0 and the OBJ layer empty.
    EXPECT_EQ(map.cellAt(3, 3)->tag, 0);

    MapGrid fits = mapOf(20, 18);
    ASSERT_TRUE(mergeMapBlock(fits, blockOf(3, 2), 10, 5, MapOrientation::TopLeft, quiet));
    EXPECT_EQ(fits.width, 20);
    EXPECT_EQ(fits.height, 18);
    EXPECT_EQ(fits.cellAt(8, 4)->bgTile, 200);
    EXPECT_EQ(fits.cellAt(10, 5)->bgTile, 205);
    EXPECT_EQ(fits.cellAt(7, 4)->bgTile, 4 * 100 + 7);
    EXPECT_EQ(fits.cellAt(11, 5)->bgTile, 5 * 100 + 11);
}

TEST(MapImport, ABlockMergedIntoAMapWithoutCellsBecomesTheMap)
{
    // Found by fuzzing: growing towards the top or left counted a cursor
    // column and row that an empty map does not have, and cut the block.
    NullProgress quiet;
    for (MapOrientation o : {MapOrientation::TopLeft, MapOrientation::TopRight, MapOrientation::BottomLeft,
                             MapOrientation::BottomRight}) {
        for (auto [w, h] : {std::pair{0, 0}, std::pair{0, 3}, std::pair{5, 0}}) {
            MapGrid map;
            ASSERT_TRUE(map.create(w, h));
            ASSERT_TRUE(mergeMapBlock(map, blockOf(4, 2), 0, 0, o, quiet));
            if (w == 0 && h == 0) {
                EXPECT_EQ(map.width, 4) << int(o);
                EXPECT_EQ(map.height, 2) << int(o);
            }
            EXPECT_GE(map.width, 4) << int(o) << " " << w << "x" << h;
            EXPECT_GE(map.height, 2) << int(o) << " " << w << "x" << h;
            int found = 0;
            for (const MapCell& c : map.cells)
                found += c.bgTile >= 200 ? 1 : 0;
            EXPECT_EQ(found, 8) << int(o) << " " << w << "x" << h;
        }
    }
}

TEST(MapImport, TopRightAndBottomLeftGrowOnTheirOwnSides)
{
    NullProgress quiet;
    MapGrid map = mapOf(5, 5);
    ASSERT_TRUE(mergeMapBlock(map, blockOf(3, 3), 4, 0, MapOrientation::TopRight, quiet));
    EXPECT_EQ(map.width, 7);
    EXPECT_EQ(map.height, 7);
    EXPECT_EQ(map.cellAt(4, 0)->bgTile, 200);  // top left of the block
    EXPECT_EQ(map.cellAt(6, 2)->bgTile, 208);  // bottom right on the cursor, moved down by two rows
    EXPECT_EQ(map.cellAt(0, 2)->bgTile, 0);    // old (0, 0)
    EXPECT_TRUE(isBlank(map, 5, 3));

    MapGrid other = mapOf(5, 5);
    ASSERT_TRUE(mergeMapBlock(other, blockOf(3, 3), 0, 4, MapOrientation::BottomLeft, quiet));
    EXPECT_EQ(other.width, 7);
    EXPECT_EQ(other.height, 7);
    EXPECT_EQ(other.cellAt(0, 4)->bgTile, 200);
    EXPECT_EQ(other.cellAt(2, 4)->bgTile, 202); // top right on the cursor, moved right by two columns
    EXPECT_EQ(other.cellAt(2, 0)->bgTile, 0);   // old (0, 0)
}

TEST(MapImport, ImportMapFileMarksTheMapChangedAndRefusesWhatItCannotDo)
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

    ProjectState untouched;
    untouched.map = mapOf(3, 3);
    const auto before = untouched.map.cells;
    EXPECT_EQ(importMapFile(dir.file("none.bin"), o, untouched, quiet).text(),
              "Error! Unable to open file " + dir.file("none.bin") + ": No such file or directory");
    o.layer = TILE_NONE;
    EXPECT_EQ(importMapFile(dir.file("m.bin"), o, untouched, quiet).text(), MSG_MAP_IMPORT_NEEDS_LAYER);
    o.layer = TILE_BG;
    o.width = 0;
    EXPECT_EQ(importMapFile(dir.file("m.bin"), o, untouched, quiet).text(), "Width must be greater than 0");
    o.width = 100000;
    o.height = 100000;
    EXPECT_EQ(importMapFile(dir.file("m.bin"), o, untouched, quiet).text(),
              "Not enought memory to create 100000x100000 map: 100000 \u00d7 100000 cells is over the limit of "
              "16,777,216 cells");
    EXPECT_EQ(untouched.map.cells, before);
    EXPECT_EQ(untouched.changeFlags, 0);

    // A block that would make the map too large leaves it as it was.
    MapGrid tall;
    tall.create(1, 4096);
    EXPECT_TRUE(mergeMapBlock(untouched.map, tall, 0, 0, MapOrientation::BottomRight, quiet));
    EXPECT_EQ(untouched.map.height, 4096);
    MapGrid wide;
    wide.create(5000, 1);
    EXPECT_EQ(mergeMapBlock(untouched.map, wide, 2, 0, MapOrientation::TopLeft, quiet).text(),
              "Not Enough memory to create new map. Operation failed");
    EXPECT_EQ(untouched.map.width, 3);
    EXPECT_EQ(untouched.map.height, 4096);
}
