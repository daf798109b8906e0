#include "core/edit/TypeIn.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

TEST(TypeIn, KeyOffsets)
{
    EXPECT_EQ(typeInOffset('A'), 0);
    EXPECT_EQ(typeInOffset('B'), 1);
    EXPECT_EQ(typeInOffset('Z'), 25);
    EXPECT_EQ(typeInOffset('0'), 26);
    EXPECT_EQ(typeInOffset('9'), 35);
    EXPECT_EQ(typeInOffset(' '), 36);
    EXPECT_EQ(typeInOffset(0x60), 1); // keypad 0
    EXPECT_EQ(typeInOffset(0x70), 17); // F1
    EXPECT_FALSE(typeInOffset(0x71));
    EXPECT_FALSE(typeInOffset(0x1B));
    EXPECT_FALSE(typeInOffset(0x5E));
    // Base 511 and B: 512 is no tile.
    EXPECT_GT(511 + *typeInOffset('B'), 511);
}

TEST(TypeIn, CursorWraps)
{
    MapGrid map;
    ASSERT_TRUE(map.create(3, 2));
    EXPECT_EQ(nextTypeInCell(map, {0, 0}), (CellPos{1, 0}));
    EXPECT_EQ(nextTypeInCell(map, {2, 0}), (CellPos{0, 1}));
    EXPECT_EQ(nextTypeInCell(map, {2, 1}), (CellPos{0, 0}));
}

} // namespace
} // namespace qm
