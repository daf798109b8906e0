#include "core/project/TileUsage.h"

#include <gtest/gtest.h>

using namespace qm;

TEST(TileUsage, DistinctBgTilesPerBank)
{
    MapGrid map;
    ASSERT_TRUE(map.create(4, 2));
    map.cells[0].set(TILE_BG, 3, 0, 0, 0);
    map.cells[1].set(TILE_BG, 3, 0, 0, 0);   // the same tile again
    map.cells[2].set(TILE_BG, 255, 0, 0, 0);
    map.cells[3].set(TILE_BG, 256, 0, 0, 0); // bank 1
    map.cells[4].set(0, 7, TILE_OBJ, 9, 0);  // no BG layer: not counted
    const TileUsage usage = countUsedTiles(map);
    EXPECT_EQ(usage.bank0, 2);
    EXPECT_EQ(usage.bank1, 1);
    EXPECT_EQ(tileUsageText(usage), "Tiles 2/256 \u00B7 bank 1: 1/256");
}
