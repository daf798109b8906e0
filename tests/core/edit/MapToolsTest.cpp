#include "core/edit/MapLine.h"
#include "core/edit/TypeIn.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

// Past the ui's CQuiltmarkViewToolsTest (one line, a few typed keys):
TEST(MapTools, LinesOfEveryDirectionEndAtTheTargetAndTypeInKeysGiveTheirOffsets)
{
    using Cells = std::vector<CellPos>;
    EXPECT_EQ(lineCells(2, 2, 2, 2), Cells{});
    EXPECT_EQ(lineCells(3, 3, 3, 0), (Cells{{3, 2}, {3, 1}, {3, 0}}));
    EXPECT_EQ(lineCells(3, 1, 0, 1), (Cells{{2, 1}, {1, 1}, {0, 1}}));
    EXPECT_EQ(lineCells(0, 3, 3, 0), (Cells{{1, 2}, {2, 1}, {3, 0}}));
    EXPECT_EQ(lineCells(6, 0, 0, 2), (Cells{{5, 0}, {4, 0}, {3, 1}, {2, 1}, {1, 1}, {0, 2}}));
    EXPECT_EQ(lineCells(0, 0, 4, 5), (Cells{{0, 1}, {1, 2}, {2, 3}, {2, 4}, {3, 5}, {4, 5}}));

    const std::pair<int, std::optional<int>> keys[] = {{'A', 0},  {'Z', 25},  {'0', 26},   {'9', 35},
                                                       {' ', 36}, {0x60, 1},  {0x70, 17},  {0x71, std::nullopt},
                                                       {0x1B, std::nullopt}, {0x5E, std::nullopt}};
    for (const auto& [key, offset] : keys)
        EXPECT_EQ(typeInOffset(key), offset) << key;
    MapGrid map;
    ASSERT_TRUE(map.create(3, 2));
    EXPECT_EQ(nextTypeInCell(map, {2, 0}), (CellPos{0, 1})); // the wrap at the end is pinned by the ui
}

} // namespace
} // namespace qm
