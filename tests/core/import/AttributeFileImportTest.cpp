#include "core/import/AttributeFileImport.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace qm;
using namespace qm::test;

TEST(AttributeFileImport, GbcAttributeBitsGoToTheChosenLayer)
{
    MapCell cell;
    cell.set(TILE_BG | ATTR_PRIORITY, 3, TILE_OBJ, 9, 4);
    applyGbcAttribute(cell, TILE_BG, 0x6B);
    EXPECT_EQ(cell.palette(TILE_BG), 3);
    EXPECT_EQ(cell.bgTile, 259);
    EXPECT_EQ(cell.bgAttr, TILE_BG | ATTR_FLIP_H | ATTR_FLIP_V | (3 << 2)); // priority cleared
    EXPECT_EQ(cell.objAttr, TILE_OBJ);
    EXPECT_EQ(cell.objTile, 9);
    EXPECT_EQ(cell.tag, 4);

    // Bank set on a bank-1 tile keeps it; bank clear never lowers it; bit 4 is ignored.
    MapCell high;
    high.set(0, 300, TILE_OBJ, 300, 0);
    applyGbcAttribute(high, TILE_OBJ, 0x08 | 0x80);
    EXPECT_EQ(high.objTile, 300);
    EXPECT_EQ(high.objAttr, TILE_OBJ | ATTR_PRIORITY);
    applyGbcAttribute(high, TILE_OBJ, 0x10);
    EXPECT_EQ(high.objTile, 300);
    EXPECT_EQ(high.objAttr, TILE_OBJ);
    EXPECT_EQ(high.bgAttr, 0);
}

TEST(AttributeFileImport, ShortFileLeavesTheRemainingCellsAndLongerIsReadAsFarAsNeeded)
{
    ProjectState project;
    project.map.create(3, 2);
    CountingProgress progress;
    ASSERT_TRUE(importAttributeBytes(std::vector<std::uint8_t>{0x01, 0x02}, project, TILE_BG, progress));
    EXPECT_EQ(project.map.cells[0].palette(TILE_BG), 1);
    EXPECT_EQ(project.map.cells[1].palette(TILE_BG), 2);
    EXPECT_EQ(project.map.cells[2], MapCell{});
    EXPECT_TRUE(project.changeFlags & CHANGED_MAP);
    EXPECT_EQ(progress.captions, std::vector<std::string>{"Import map attributes."});
    EXPECT_EQ(progress.totals, std::vector<int>{6});

    TempDir dir;
    writeBytes(dir.file("a.bin"), std::vector<std::uint8_t>(100, 0x07));
    ASSERT_TRUE(importAttributeFile(dir.file("a.bin"), project, TILE_OBJ, progress));
    EXPECT_EQ(project.map.cells[5].palette(TILE_OBJ), 7);
    EXPECT_EQ(importAttributeFile(dir.file("none.bin"), project, TILE_OBJ, progress).text(),
              "Unable to open file " + dir.file("none.bin") + ": No such file or directory");
}
