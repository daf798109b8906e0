#include "core/base/ZoomAnimation.h"
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

TEST(ZoomAnimation, FramesGrowAndShrinkBySteps)
{
    const std::vector<FrameRect> in = zoomAnimationFrames(true, 800, 600);
    ASSERT_EQ(in.size(), 7u);
    EXPECT_EQ(in.front().width, 20);
    EXPECT_EQ(in.front().left, 390);
    EXPECT_EQ(in.back().width, 500);
    const std::vector<FrameRect> out = zoomAnimationFrames(false, 800, 600);
    EXPECT_EQ(out.front().left, 50);
    EXPECT_EQ(out.front().width, 700);
    EXPECT_EQ(out[1].top, 90);
    EXPECT_LE(out.back().width, 50);
    EXPECT_GT(out[out.size() - 2].width, 50);
}

} // namespace
} // namespace qm
