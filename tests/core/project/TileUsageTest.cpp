#include "core/project/TileUsage.h"

#include <gtest/gtest.h>

using namespace qm;

TEST(TileUsage, DistinctBgTilesPerBank)
{
    MapGrid map;
    ASSERT_TRUE(map.create(4, 2));
    for (const auto& [cell, tile] : {std::pair{0, 3}, {1, 3}, {2, 255}, {3, 256}}) // tile 3 twice; 256 is bank 1's
        map.cells[size_t(cell)].set(TILE_BG, std::uint16_t(tile), 0, 0, 0);
    map.cells[4].set(0, 7, TILE_OBJ, 9, 0); // no BG layer: not counted
    EXPECT_EQ(tileUsageText(countUsedTiles(map)), "Tiles 2/256 \u00B7 bank 1: 1/256");
}
